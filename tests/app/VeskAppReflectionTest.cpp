#include "app/VeskApp.h"

#include "TestDesktop.h"
#include "analytics/AnalyticsTracking.h"
#include "app/MainWindow.h"
#include "app/SessionSetupView.h"
#include "core/ManualScheduler.h"
#include "platform/simulated/DesktopWorkspace.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "screens/ReflectionChip.h"
#include "ui/ScaleFadeEffect.h"
#include "screens/SessionHistoryTile.h"
#include "screens/SessionHistoryView.h"
#include "screens/SessionReflectionHost.h"
#include "screens/SessionReflectionView.h"
#include "scripted/VirtualTimeDriver.h"
#include "session/SchedulerSessionTimerFactory.h"
#include "session/SessionManager.h"
#include "setup/SessionSetupModel.h"
#include "store/FocusSession.h"
#include "store/ModelContainer.h"
#include "ui/TextLabel.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <gtest/gtest.h>

using namespace vesk;

namespace {

struct TrackedEvent {
    QString name;
    std::map<QString, QString> parameters;
};

class RecordingAnalytics final : public AnalyticsTracking {
public:
    explicit RecordingAnalytics(std::vector<TrackedEvent>& events) : events_(events) { }
    void track(const AnalyticsEvent& event) override { events_.push_back({event.signalName(), event.parameters()}); }

private:
    std::vector<TrackedEvent>& events_;
};

// The application on the simulated desktop in virtual time, with its analytics
// recorded: sessions end, the card shows over the main window, and what the
// user answers goes to the store and to the analytics.
class VeskAppReflectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(directory_.isValid());
        ASSERT_TRUE(desktop_.applyScenario(test::oneDisplayScenario()).isEmpty());
        VeskAppEnvironment environment{desktop_.interfaces(),
                                       scheduler_,
                                       scheduler_,
                                       std::make_shared<SchedulerSessionTimerFactory>(scheduler_),
                                       directory_.path() + "/VeskData.store",
                                       directory_.path() + "/defaults"};
        environment.makeAnalyticsService = [this](VeskDefaultsStore&) {
            return std::make_shared<RecordingAnalytics>(events_);
        };
        app_ = std::make_unique<VeskApp>(environment);
        ASSERT_TRUE(app_->isReady());
        app_->launch();
        QApplication::setActiveWindow(app_->mainWindow());
    }

    void runSession(int durationSeconds, std::optional<QString> goal, double runSeconds)
    {
        const QUrl editorURL = *desktop_.workspace().urlForApplication(test::kEditorBundleID);
        app_->sessionManager().startSession(durationSeconds, {test::kEditorBundleID},
                                            {{test::kEditorBundleID, editorURL}}, std::move(goal), false, 3);
        time_.advance(runSeconds);
    }

    // A session that ends as soon as it has started, before any time passes.
    void endSessionAtOnce()
    {
        app_->sessionManager().startSession(0, {test::kEditorBundleID}, {}, std::nullopt, false, 3);
        app_->sessionManager().stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
        ASSERT_TRUE(app_->sessionManager().pendingReflection());
    }

    SessionSetupView& setupView() const { return *app_->setupView(); }
    SessionReflectionView* card() const { return setupView().reflectionCards().card(); }

    template <typename T>
    T* shown(const QString& text) const
    {
        for (T* widget : app_->mainWindow()->findChildren<T*>()) {
            if (widget->text() == text && widget->isVisibleTo(app_->mainWindow()))
                return widget;
        }
        return nullptr;
    }

    void click(QWidget* widget)
    {
        ASSERT_NE(widget, nullptr);
        QTest::mouseClick(widget, Qt::LeftButton);
    }

    std::shared_ptr<FocusSession> storedSession(const QUuid& id)
    {
        const auto fetched = app_->modelContainer().mainContext().fetch<FocusSession>();
        for (const auto& session : fetched.value()) {
            if (session->id == id)
                return session;
        }
        return nullptr;
    }

    std::vector<QString> reflectionEvents() const
    {
        std::vector<QString> names;
        for (const TrackedEvent& event : events_) {
            if (event.name.startsWith("reflection."))
                names.push_back(event.name);
        }
        return names;
    }

    QTemporaryDir directory_;
    ManualScheduler scheduler_;
    platform::SimulatedDesktop desktop_{scheduler_, directory_.path() + "/root"};
    VirtualTimeDriver time_{scheduler_, desktop_};
    std::vector<TrackedEvent> events_;
    std::unique_ptr<VeskApp> app_;
};

TEST_F(VeskAppReflectionTest, AfterTheTimerEndsTheSessionTheAnswersGoToTheStoreAndTheAnalytics)
{
    EXPECT_EQ(card(), nullptr);
    runSession(1800, QStringLiteral("Bericht gliedern"), 1810);
    ASSERT_FALSE(app_->sessionManager().isSessionActive());
    ASSERT_TRUE(app_->sessionManager().pendingReflection());
    const QUuid id = app_->sessionManager().pendingReflection()->id;

    ASSERT_NE(card(), nullptr);
    EXPECT_TRUE(card()->isVisible());
    EXPECT_EQ(card()->parentWidget(), setupView().reflectionHost());
    EXPECT_TRUE(setupView().reflectionHost()->isVisible());
    EXPECT_EQ(card()->size(), setupView().size());
    EXPECT_NE(shown<TextLabel>("ZEIT ABGELAUFEN · 30:00 / 30:00"), nullptr);
    EXPECT_NE(shown<TextLabel>("Bericht gliedern"), nullptr);
    QDir().mkpath(VESK_GALLERY_DIR);
    app_->mainWindow()->grab().save(QDir(VESK_GALLERY_DIR).filePath("main-window-reflection-card.png"));

    click(shown<ReflectionChip>("Teilweise"));
    click(shown<ReflectionChip>("Nein"));
    click(shown<ReflectionChip>("Technisches Problem"));
    click(shown<QPushButton>("Speichern"));

    EXPECT_FALSE(app_->sessionManager().pendingReflection());
    EXPECT_EQ(card(), nullptr);
    const auto stored = storedSession(id);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->goalStatus, GoalStatus::partial);
    EXPECT_EQ(stored->veskHelpful, VeskHelpful::no);
    EXPECT_EQ(stored->endReason, QStringLiteral("timerExpired"));
    EXPECT_TRUE(stored->goalAnsweredAt);

    // The store as a fresh connection reads it, not only the cached record.
    auto reopened = ModelContainer::open(directory_.path() + "/VeskData.store");
    ASSERT_TRUE(reopened);
    const auto rows = reopened.value()->mainContext().fetch<FocusSession>().value();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows.front()->goalStatus, GoalStatus::partial);

    ASSERT_EQ(reflectionEvents(), std::vector<QString>{"reflection.answered"});
    const auto& answered = events_.back();
    EXPECT_EQ(answered.parameters, (std::map<QString, QString>{{"goalStatus", "partial"},
                                                               {"veskHelpful", "no"},
                                                               {"reasonCategory", "technicalProblem"}}));
}

TEST_F(VeskAppReflectionTest, EscapeDismissesWithoutAnswersAndTracksTheSkip)
{
    runSession(0, std::nullopt, 30);
    app_->sessionManager().stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    time_.advance(1);
    ASSERT_NE(card(), nullptr);
    const QUuid id = app_->sessionManager().pendingReflection()->id;
    EXPECT_EQ(shown<ReflectionChip>("Erledigt"), nullptr);
    click(shown<ReflectionChip>("Ja"));

    QTest::keyClick(app_->mainWindow(), Qt::Key_Escape);
    EXPECT_FALSE(app_->sessionManager().pendingReflection());
    EXPECT_EQ(card(), nullptr);
    EXPECT_EQ(reflectionEvents(), std::vector<QString>{"reflection.skipped"});
    const auto stored = storedSession(id);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->veskHelpful, std::nullopt);
    EXPECT_EQ(stored->goalAnsweredAt, std::nullopt);
}

TEST_F(VeskAppReflectionTest, ASaveTheStoreRefusesKeepsTheCardWithItsAnswers)
{
    runSession(600, QStringLiteral("Mails"), 610);
    ASSERT_NE(card(), nullptr);
    SessionReflectionView* shownCard = card();
    click(shown<ReflectionChip>("Erledigt"));
    app_->modelContainer().mainContext().setFaultInjector([](StoreOperation operation) -> std::optional<StoreError> {
        if (operation == StoreOperation::save)
            return StoreError{QStringLiteral("disk full")};
        return std::nullopt;
    });
    click(shown<QPushButton>("Speichern"));
    EXPECT_TRUE(app_->sessionManager().pendingReflection());
    EXPECT_EQ(card(), shownCard);
    EXPECT_EQ(card()->model().selectedGoalStatus(), GoalStatus::done);
    EXPECT_TRUE(reflectionEvents().empty());

    app_->modelContainer().mainContext().setFaultInjector({});
    click(shown<QPushButton>("Speichern"));
    EXPECT_EQ(card(), nullptr);
    EXPECT_EQ(reflectionEvents(), std::vector<QString>{"reflection.answered"});
}

TEST_F(VeskAppReflectionTest, ALeavingCardStaysOnScreenUntilItHasGoneAndASessionEndingMeanwhileBringsItsOwn)
{
    SessionReflectionHost& host = setupView().reflectionCards();
    runSession(600, QStringLiteral("Mails"), 610);
    QPointer<SessionReflectionView> first = card();
    ASSERT_NE(first, nullptr);
    EXPECT_DOUBLE_EQ(first->cardTransition().opacity(), 1);

    click(shown<QPushButton>("Später"));
    ASSERT_FALSE(app_->sessionManager().pendingReflection());
    EXPECT_EQ(card(), nullptr);
    EXPECT_EQ(host.leavingCards(), std::vector<SessionReflectionView*>{first.data()});
    EXPECT_TRUE(first->isVisible()) << "on screen while it leaves";
    EXPECT_TRUE(setupView().reflectionHost()->isVisible());
    time_.advance(SessionReflectionView::cardTransitionSeconds / 2);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_GT(first->cardTransition().opacity(), 0);
    EXPECT_LT(first->cardTransition().opacity(), 1);
    QDir().mkpath(VESK_GALLERY_DIR);
    app_->mainWindow()->grab().save(QDir(VESK_GALLERY_DIR).filePath("main-window-reflection-card-leaving.png"));

    // A second session ends before the first card has gone.
    endSessionAtOnce();
    QPointer<SessionReflectionView> second = card();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->model().prompt().id, app_->sessionManager().pendingReflection()->id);
    EXPECT_EQ(host.leavingCards(), std::vector<SessionReflectionView*>{first.data()});
    const QObjectList& layers = setupView().reflectionHost()->children();
    EXPECT_GT(layers.indexOf(second.data()), layers.indexOf(first.data())) << "the new card lies on top";

    time_.advance(1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(first, nullptr) << "gone once it has left";
    EXPECT_TRUE(host.leavingCards().empty());
    ASSERT_EQ(card(), second.data()) << "the new card is not lost";
    EXPECT_TRUE(second->isVisible());
    EXPECT_DOUBLE_EQ(second->cardTransition().opacity(), 1);
    EXPECT_TRUE(setupView().reflectionHost()->isVisible());

    // Escape goes to the card on top, not to one that is leaving under it.
    click(shown<QPushButton>("Später"));
    endSessionAtOnce();
    QPointer<SessionReflectionView> third = card();
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(host.leavingCards(), std::vector<SessionReflectionView*>{second.data()});
    QTest::keyClick(app_->mainWindow(), Qt::Key_Escape);
    EXPECT_FALSE(app_->sessionManager().pendingReflection());
    EXPECT_EQ(host.leavingCards(), (std::vector<SessionReflectionView*>{second.data(), third.data()}));

    time_.advance(1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(third, nullptr);
    EXPECT_FALSE(host.isShowingCard());
    EXPECT_FALSE(setupView().reflectionHost()->isVisible());
    EXPECT_EQ(reflectionEvents(), std::vector<QString>(3, "reflection.skipped"));
}

TEST_F(VeskAppReflectionTest, TheHistorySheetShowsFinishedSessionsAndFollowsTheStore)
{
    const auto visibleOwnWindows = [this] {
        const std::vector<platform::OwnWindowInfo> windows = desktop_.ownWindows();
        return std::count_if(windows.begin(), windows.end(), [](const auto& window) { return window.visible; });
    };
    const auto visibleBefore = visibleOwnWindows();
    setupView().model().historyButtonTapped();
    QWidget* sheet = setupView().historySheet();
    ASSERT_NE(sheet, nullptr);
    auto* history = sheet->findChild<SessionHistoryView*>();
    ASSERT_NE(history, nullptr);
    EXPECT_TRUE(history->showsEmptyState());
    EXPECT_EQ(visibleOwnWindows(), visibleBefore + 1) << "a screen capture shows the sheet";

    runSession(600, QStringLiteral("Mails"), 610);
    EXPECT_FALSE(history->showsEmptyState());
    EXPECT_EQ(history->tile(0).value(), "1");
    EXPECT_EQ(history->tile(1).value(), "10 min");
    click(shown<ReflectionChip>("Ja"));
    click(shown<QPushButton>("Speichern"));
    EXPECT_EQ(history->tile(3).value(), "100 %");

    QApplication::setActiveWindow(sheet);
    QTest::keyClick(sheet, Qt::Key_Escape);
    EXPECT_FALSE(setupView().model().isHistoryPresented());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(setupView().historySheet(), nullptr);
    EXPECT_EQ(visibleOwnWindows(), visibleBefore) << "the listing goes with the sheet";
}

} // namespace
