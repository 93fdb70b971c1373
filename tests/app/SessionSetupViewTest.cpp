#include "app/SessionSetupView.h"

#include "update/SoftwareUpdateOverlay.h"

#include "LogCapture.h"
#include "TestDesktop.h"
#include "app/AboutWindow.h"
#include "app/ActiveSessionView.h"
#include "app/MainWindow.h"
#include "app/SettingsWindow.h"
#include "app/VeskApp.h"
#include "core/ManualScheduler.h"
#include "feedback/BugReportView.h"
#include "platform/simulated/DesktopWorkspace.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "screens/SessionReflectionView.h"
#include "scripted/ScriptedControlInput.h"
#include "scripted/VirtualTimeDriver.h"
#include "session/SchedulerSessionTimerFactory.h"
#include "session/SessionManager.h"
#include "settings/VeskDefaultsStore.h"
#include "setup/AnalyticsNoticeCard.h"
#include "setup/AppSearchDropdown.h"
#include "setup/AppSearchResultsView.h"
#include "setup/SessionSetupModel.h"
#include "setup/SetupColumnView.h"
#include "setup/SetupVersionButton.h"
#include "setup/StartControl.h"
#include "setup/StartSymbolLayer.h"
#include "ui/FilledButton.h"
#include "ui/OpacityOffsetBlurEffect.h"
#include "ui/TextLabel.h"
#include "update/FeedUpdater.h"
#include "update/SoftwareUpdateService.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace vesk;

namespace {

using Phase = WormveskAnimator::Phase;
using UpdatePhase = SoftwareUpdateViewModel::Phase;

// The application on one display with three installed applications (the
// editor, the chat and the Finder) and both permissions granted, its update
// service over a feed updater without a feed.
class SessionSetupViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(desktop_.applyScenario(test::oneDisplayScenario()).isEmpty());
        desktop_.setAccessibilityTrusted(true);
        desktop_.setInputMonitoringGranted(true);
        VeskAppEnvironment environment{desktop_.interfaces(),
                                       scheduler_,
                                       scheduler_,
                                       std::make_shared<SchedulerSessionTimerFactory>(scheduler_),
                                       directory_.filePath("VeskData.store"),
                                       directory_.filePath("defaults")};
        environment.makeUpdater = [this](platform::UpdateUserDriver& driver) {
            return std::make_unique<FeedUpdater>(
                FeedUpdater::Configuration{std::nullopt, QStringLiteral("1"), directory_.filePath("updates"), {}},
                driver, scheduler_, [](const platform::UpdateFeedItem&, const QString&) { return false; });
        };
        app_ = std::make_unique<VeskApp>(environment);
        ASSERT_TRUE(app_->isReady());
        app_->launch();
        time_.settle();
    }

    SessionSetupView& view() const { return *app_->setupView(); }
    SessionSetupModel& model() const { return view().model(); }
    SessionManager& manager() const { return app_->sessionManager(); }
    SoftwareUpdateService& updates() const { return app_->updateService(); }
    bool isShown(const QWidget* widget) const { return widget && widget->isVisibleTo(&view()); }

    // Saves the main window as it looks now into the build folder.
    void render(const QString& name, QSize size = QSize(360, 440)) const
    {
        QDir().mkpath(VESK_GALLERY_DIR);
        const QImage image = app_->mainWindow()->grab().toImage();
        EXPECT_EQ(image.size() / image.devicePixelRatio(), size) << name.toStdString();
        EXPECT_TRUE(image.save(QDir(VESK_GALLERY_DIR).filePath(name + ".png")));
    }

    void startSession(int seconds, bool hardcore)
    {
        const QUrl editorURL = *desktop_.workspace().urlForApplication(test::kEditorBundleID);
        manager().startSession(seconds, {test::kEditorBundleID}, {{test::kEditorBundleID, editorURL}},
                               QStringLiteral("Write"), hardcore, 3);
        for (int step = 0; step < 200 && !manager().isSessionActive(); ++step)
            time_.advance(0.05);
        ASSERT_TRUE(manager().isSessionActive());
        // The session hides the main window; this shows it as it would come to the front.
        app_->mainWindow()->show();
        time_.settle();
    }

    void acknowledgeNotice() { app_->defaultsStore().setAnalyticsNoticeShown(true); }

    QTemporaryDir directory_;
    ManualScheduler scheduler_;
    platform::SimulatedDesktop desktop_{scheduler_, directory_.filePath("root")};
    VirtualTimeDriver time_{scheduler_, desktop_};
    std::unique_ptr<VeskApp> app_;
};

TEST_F(SessionSetupViewTest, TheMainWindowShowsTheSetupScreenAndItsStartControlStartsTheSession)
{
    EXPECT_EQ(app_->mainWindow()->centralWidget(), &view());
    EXPECT_TRUE(view().isSetupContentShown());
    EXPECT_EQ(model().installedApps().size(), 3u) << "the screen appeared and scanned";
    EXPECT_FALSE(isShown(view().activeSessionView()));

    model().setSelectedBundleIDs({test::kEditorBundleID});
    model().setSessionGoalText(QStringLiteral("  Kapitel drei  "));
    time_.settle();
    view().column()->startControl()->click();
    EXPECT_EQ(model().animator().phase(), Phase::flyers);
    time_.advance(3.0);
    time_.advance(6.0);

    ASSERT_TRUE(manager().isSessionActive()) << "the animation's end started the session";
    EXPECT_EQ(manager().currentAllowlist(), std::set<QString>{test::kEditorBundleID});
    EXPECT_EQ(manager().sessionDurationSeconds(), 900);
    EXPECT_EQ(manager().currentGoal(), QStringLiteral("Kapitel drei"));
    EXPECT_FALSE(view().isSetupContentShown());
    EXPECT_TRUE(isShown(view().activeSessionView()));
}

TEST_F(SessionSetupViewTest, TheFlyersAimAtTheSymbolsCentreAndStartFromTheTiles)
{
    model().setSelectedBundleIDs({test::kEditorBundleID, test::kChatBundleID});
    time_.settle();
    const QPointF center = view().symbolLayer()->symbolCenter();
    EXPECT_EQ(model().logoCenter(), center);
    EXPECT_EQ(center.x(), 180) << "the symbol stands in the middle of the window";
    ASSERT_EQ(model().iconFrames().size(), 2u);
    for (const auto& [id, frame] : model().iconFrames()) {
        EXPECT_EQ(frame.size(), QSizeF(44, 44)) << id.toStdString();
        EXPECT_LT(frame.bottom(), center.y() - 110) << "the tiles lie above the symbol";
    }
}

TEST_F(SessionSetupViewTest, TheActiveSessionViewCountsDownAndEndsANormalSessionAtOnce)
{
    startSession(1800, false);
    ActiveSessionView& active = *view().activeSessionView();
    EXPECT_EQ(active.clockText(), "30:00");
    render("active-session-30-00");
    time_.advance(1.0);
    EXPECT_EQ(active.clockText(), "29:59");
    render("active-session-29-59");

    ASSERT_TRUE(isShown(active.stopButton()));
    active.stopButton()->click();
    time_.advance(3.0);
    EXPECT_FALSE(manager().isSessionActive());
    ASSERT_TRUE(manager().pendingReflection().has_value());
    EXPECT_EQ(manager().pendingReflection()->endReason, SessionEndReason::manualStop);
    EXPECT_NE(desktop_.runningApplication(test::kEditorBundleID), nullptr) << "the allowed apps are left open";
}

TEST_F(SessionSetupViewTest, AnOpenEndedClockTicksByItselfAndAHardcoreSessionOffersNoStop)
{
    startSession(0, true);
    ActiveSessionView& active = *view().activeSessionView();
    EXPECT_EQ(active.clockText(), "00:00:00");
    EXPECT_FALSE(isShown(active.stopButton())) << "a hardcore session ends only by its timer";
    const QString shownBefore = active.findChild<TextLabel*>()->text();
    scheduler_.advance(1.0);
    EXPECT_EQ(active.clockText(), "00:00:01");
    EXPECT_NE(active.findChild<TextLabel*>()->text(), shownBefore) << "the view redrew without the manager";
    render("active-session-open-ended-00-00-01");
}

TEST_F(SessionSetupViewTest, APendingReflectionDimsTheSetupAndHidesTheNoticeUntilItIsSkipped)
{
    EXPECT_TRUE(isShown(view().analyticsNotice()));
    startSession(60, false);
    manager().stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    time_.advance(3.0);
    ASSERT_TRUE(manager().pendingReflection().has_value());

    const auto& dim = *static_cast<const OpacityOffsetBlurEffect*>(view().column()->graphicsEffect());
    EXPECT_TRUE(view().isSetupContentShown());
    EXPECT_DOUBLE_EQ(dim.opacity(), 0.32);
    EXPECT_DOUBLE_EQ(dim.blurRadius(), 1.5);
    EXPECT_TRUE(isShown(view().reflectionHost()));
    EXPECT_FALSE(isShown(view().analyticsNotice()));

    manager().dismissReflection();
    EXPECT_DOUBLE_EQ(dim.opacity(), 1.0);
    EXPECT_TRUE(isShown(view().reflectionHost())) << "while the card leaves";
    time_.advance(SessionReflectionView::cardTransitionSeconds + 0.05);
    EXPECT_FALSE(isShown(view().reflectionHost()));
    EXPECT_TRUE(isShown(view().analyticsNotice())) << "not acknowledged yet";
    acknowledgeNotice();
    EXPECT_FALSE(isShown(view().analyticsNotice()));
}

// The search's list floats over the window's content: a card that covers the
// setup screen must cover it too, and the search takes no keys meanwhile.
TEST_F(SessionSetupViewTest, TheSearchListStaysUnderTheReflectionCardAndTheUpdatePanel)
{
    acknowledgeNotice();
    model().setSearchText(QStringLiteral("zzz"));
    const QWidget* list = view().column()->search()->list();
    ASSERT_TRUE(list->isVisible()) << "the list floats open";

    startSession(60, false);
    manager().stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    time_.advance(3.0);
    ASSERT_TRUE(manager().pendingReflection().has_value());
    EXPECT_FALSE(list->isVisible()) << "under the reflection card";
    EXPECT_FALSE(view().column()->search()->isEnabled());
    manager().dismissReflection();
    EXPECT_FALSE(list->isVisible()) << "under the leaving card";
    time_.advance(1.0);
    EXPECT_TRUE(list->isVisible()) << "back once the card is gone";

    updates().viewModel().setPresented(true);
    EXPECT_FALSE(list->isVisible()) << "under the update panel";
    updates().viewModel().setPresented(false);
    EXPECT_TRUE(list->isVisible());
}

TEST_F(SessionSetupViewTest, TheUpdatePanelStandsOverAVeilWhoseTapDismissesTheFlow)
{
    SoftwareUpdateViewModel& viewModel = updates().viewModel();
    for (const auto& [phase, waiting] :
         {std::pair{UpdatePhase::idle, false}, std::pair{UpdatePhase::checking, false},
          std::pair{UpdatePhase::available, true}, std::pair{UpdatePhase::downloading, true},
          std::pair{UpdatePhase::ready, true}, std::pair{UpdatePhase::upToDate, false},
          std::pair{UpdatePhase::error, false}}) {
        viewModel.setPhase(phase);
        EXPECT_EQ(view().column()->versionButton()->isUpdateWaiting(), waiting) << static_cast<int>(phase);
    }

    SoftwareUpdateOverlay& overlay = *view().updateOverlay();
    EXPECT_FALSE(isShown(&overlay));
    viewModel.setPresented(true);
    EXPECT_TRUE(isShown(&overlay));
    ASSERT_NE(overlay.panel(), nullptr);
    EXPECT_EQ(overlay.geometry(), view().rect()) << "the dimming covers the whole root";

    QTest::mouseClick(&overlay, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(viewModel.isPresented()) << "the tap dismissed the update flow";
    scheduler_.advance(SoftwareUpdateOverlay::transitionSeconds + 1.0 / 30);
    EXPECT_FALSE(isShown(&overlay));
}

// Whatever else of the root changes while the update panel shows, the panel
// and its dimming stay above everything, the analytics notice included.
TEST_F(SessionSetupViewTest, TheUpdatePanelAndItsDimmingStayAboveTheAnalyticsNotice)
{
    ASSERT_TRUE(isShown(view().analyticsNotice()));
    updates().viewModel().setPresented(true);
    SoftwareUpdateOverlay* overlay = view().updateOverlay();
    const QWidget* root = overlay->parentWidget();
    FilledButton* acknowledge = view().analyticsNotice()->acknowledgeButton();
    const QPoint onAcknowledge = acknowledge->mapTo(root, acknowledge->rect().center());
    const auto underPointer = [&] {
        QWidget* hit = root->childAt(onAcknowledge);
        return hit == overlay || overlay->isAncestorOf(hit);
    };
    EXPECT_TRUE(underPointer());

    // A change of style lays the root's layers out anew.
    app_->defaultsStore().setWormveskStyle(VeskDefaultsStore::WormveskStylePreference::solar);
    EXPECT_TRUE(underPointer()) << "after a change of style";
    scheduler_.advance(SoftwareUpdateOverlay::transitionSeconds + 1.0 / 30);
    render("update-panel-over-analytics-notice", app_->mainWindow()->size());

    QTest::mouseClick(root->childAt(onAcknowledge), Qt::LeftButton, {},
                      root->childAt(onAcknowledge)->mapFrom(root, onAcknowledge));
    EXPECT_FALSE(app_->defaultsStore().analyticsNoticeShown()) << "the notice under the dimming takes no click";
}

TEST_F(SessionSetupViewTest, TheBugReportSheetHostsTheFormAndItsCloseActionEndsIt)
{
    model().bugReportButtonTapped();
    ASSERT_NE(view().bugReportSheet(), nullptr);
    EXPECT_TRUE(view().bugReportSheet()->isVisible());
    auto* form = view().bugReportSheet()->findChild<BugReportView*>();
    ASSERT_NE(form, nullptr);

    // Escape is the form's close action.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(form, &escape);
    time_.settle();
    EXPECT_FALSE(model().isBugReportPresented());
    EXPECT_TRUE(view().bugReportSheet() == nullptr || !view().bugReportSheet()->isVisible());

    model().historyButtonTapped();
    ASSERT_NE(view().historySheet(), nullptr);
    view().historySheet()->reject();
    EXPECT_FALSE(model().isHistoryPresented());
}

TEST_F(SessionSetupViewTest, AScriptedClickOutsideTheOpenPopoverClosesItBeforeItPresses)
{
    model().setSelectedBundleIDs({test::kEditorBundleID});
    ScriptedControlInput hands(desktop_);
    ASSERT_FALSE(hands.clickText(QStringLiteral("Ziel setzen")).contains("error"));
    time_.settle();
    ASSERT_TRUE(model().isMetaPopoverShown());
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);

    const QJsonObject press = hands.clickText(QStringLiteral("ENTER VESK"));
    EXPECT_EQ(press.value("delivered"), true);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_FALSE(model().isMetaPopoverShown());
    EXPECT_EQ(model().animator().phase(), Phase::flyers);
}

TEST_F(SessionSetupViewTest, RendersTheSetupScreenInItsStates)
{
    render("setup-analytics-notice");
    acknowledgeNotice();
    time_.settle();
    render("setup-empty-hint");

    model().setSelectedBundleIDs({test::kEditorBundleID, test::kChatBundleID, QStringLiteral("com.apple.finder")});
    time_.settle();
    render("setup-three-tiles");

    desktop_.setAccessibilityTrusted(false);
    model().refreshAccessibilityPermission(QStringLiteral("poll"));
    time_.settle();
    EXPECT_TRUE(model().showsPermissionBanner());
    // The window grows by what the banner needs, and returns without it.
    const int grown = app_->mainWindow()->height();
    EXPECT_GT(grown, 440);
    render("setup-permission-banner", QSize(360, grown));
    desktop_.setAccessibilityTrusted(true);
    model().refreshAccessibilityPermission(QStringLiteral("poll"));
    time_.settle();
    EXPECT_EQ(app_->mainWindow()->height(), 440);

    const double start = scheduler_.uptime();
    view().column()->startControl()->click();
    time_.advance(0.6);
    EXPECT_EQ(model().animator().phase(), Phase::flyers);
    render("setup-start-0.6s");
    time_.advance(start + 2.2 - scheduler_.uptime());
    EXPECT_EQ(model().animator().phase(), Phase::warping);
    EXPECT_LT(view().column()->chromeFade().opacity(), 1.0);
    render("setup-start-2.2s");

    // The warping symbol reaches beyond the control's 220-point square.
    QImage layer(view().size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    view().symbolLayer()->render(&layer, QPoint(), QRegion(), QWidget::DrawChildren);
    const QPointF center = view().symbolLayer()->symbolCenter();
    EXPECT_GT(qAlpha(layer.pixel(qRound(center.x() - 110 - 12), qRound(center.y()))), 0);
}

// The texts of the labels the main window shows now.
QStringList shownTexts(const QWidget& window)
{
    QStringList texts;
    for (const TextLabel* label : window.findChildren<TextLabel*>()) {
        if (label->isVisibleTo(&window))
            texts.append(label->text());
    }
    return texts;
}

TEST_F(SessionSetupViewTest, SwitchingTheLanguageRelabelsTheOpenWindowsAndKeepsTheSelection)
{
    app_->defaultsStore().setLanguage(VeskLanguage::german);
    time_.settle();
    const QString germanHint = QStringLiteral("Suche oben nach Apps, die du mitnehmen willst.");
    ASSERT_TRUE(shownTexts(*app_->mainWindow()).contains(germanHint))
        << shownTexts(*app_->mainWindow()).join("|").toStdString();
    EXPECT_EQ(app_->mainWindow()->settingsAction()->text(), QStringLiteral("Einstellungen…"));

    app_->defaultsStore().setLanguage(VeskLanguage::english);
    time_.settle();
    const QStringList english = shownTexts(*app_->mainWindow());
    EXPECT_TRUE(english.contains(QStringLiteral("Search above for the apps you want to take along.")))
        << english.join('|').toStdString();
    EXPECT_FALSE(english.contains(germanHint));
    EXPECT_EQ(app_->mainWindow()->settingsAction()->text(), QStringLiteral("Settings…"));
    EXPECT_EQ(app_->aboutWindow()->windowTitle(), QStringLiteral("About VESK"));
    EXPECT_EQ(app_->settingsWindow()->windowTitle(), QStringLiteral("Settings"));
    EXPECT_EQ(app_->mainWindow()->locale().name(), QStringLiteral("en_US"));
    render(QStringLiteral("language-english"));

    // The rebuilt screen reads the selection back from the store.
    model().setSelectedBundleIDs({test::kEditorBundleID});
    time_.settle();
    app_->defaultsStore().setLanguage(VeskLanguage::italian);
    time_.settle();
    EXPECT_EQ(model().selectedBundleIDs(), std::set<QString>{test::kEditorBundleID});
    EXPECT_EQ(app_->mainWindow()->settingsAction()->text(), QStringLiteral("Impostazioni…"));
    render(QStringLiteral("language-italian"));

    app_->defaultsStore().setLanguage(VeskLanguage::german);
    time_.settle();
    EXPECT_EQ(app_->mainWindow()->settingsAction()->text(), QStringLiteral("Einstellungen…"));
    EXPECT_EQ(app_->aboutWindow()->windowTitle(), QStringLiteral("Über VESK"));
}

} // namespace
