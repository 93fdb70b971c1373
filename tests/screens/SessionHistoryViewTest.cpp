#include "screens/SessionHistoryView.h"
#include "SessionRecords.h"
#include "core/ManualScheduler.h"
#include "platform/simulated/DesktopTestScene.h"
#include "screens/SessionHistoryList.h"
#include "screens/SessionHistoryTile.h"
#include "store/ModelContainer.h"
#include "ui/TextLabel.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace vesk::test {
namespace {

// A store in a temporary folder, a desktop with four installed apps and the
// clock at noon of 5 March 2026.
class SessionHistoryViewTest : public platform::testing::DesktopTestScene {
protected:
    void SetUp() override
    {
        auto scenario = twoDisplayScenario();
        scenario.bundles.push_back(bundle("/Applications/Mail.app", "com.example.mail", "Mail"));
        scenario.bundles.push_back(bundle("/Applications/Notes.app", "com.example.notes", "Notes"));
        build(scenario);
        auto opened = ModelContainer::open(root.filePath("VeskData.store"));
        ASSERT_TRUE(opened);
        container = std::move(opened).value();
    }

    ModelContext& context() { return container->mainContext(); }

    std::shared_ptr<FocusSession> store(std::shared_ptr<FocusSession> session)
    {
        context().insert(session);
        EXPECT_TRUE(context().save());
        return session;
    }

    std::unique_ptr<SessionHistoryView> makeView(const Localizer& localizer = Localizer())
    {
        const auto platform = desktop->interfaces();
        auto view = std::make_unique<SessionHistoryView>(
            std::make_unique<SessionHistoryModel>(context(), clock), AppDirectory{platform.workspace, platform.files},
            [this] { ++dismissCount; }, localizer);
        view->show();
        QApplication::setActiveWindow(view.get());
        return view;
    }

    // Six sessions of a week: answered and not, a note, an emergency exit,
    // an unknown end reason, seven apps.
    void seedWeek()
    {
        auto first = finishedSession(utc(2026, 3, 2, 8, 0), 1800);
        first->goalText = QStringLiteral("Quartalsbericht gliedern");
        first->goalStatus = GoalStatus::done;
        first->veskHelpful = VeskHelpful::yes;
        first->allAllowedAppBundleIDs = {"com.example.editor", "com.example.notes"};
        store(first);

        auto second = finishedSession(utc(2026, 3, 3, 13, 15), 2 * 3600 + 14 * 60 + 9, QStringLiteral("manualStop"));
        second->durationSeconds = 3 * 3600;
        second->goalText = QStringLiteral("Präsentation für Freitag fertig machen und an das Team schicken");
        second->goalStatus = GoalStatus::partial;
        second->veskHelpful = VeskHelpful::somewhat;
        second->goalNote = QStringLiteral("Zu viele Unterbrechungen am Nachmittag, aber der Hauptteil steht. "
                                          "Morgen früh die Folien zu den Zahlen nachziehen.");
        second->allAllowedAppBundleIDs = {"com.example.editor",  "com.example.browser", "com.example.mail",
                                          "com.example.notes",   "com.unknown.figma",   "com.unknown.slack",
                                          "com.unknown.terminal"};
        store(second);

        auto third = finishedSession(utc(2026, 3, 4, 9, 40), 754, QStringLiteral("emergencyExit"));
        third->durationSeconds = 3600;
        third->goalText = QStringLiteral("Steuererklärung");
        third->goalStatus = GoalStatus::failed;
        third->veskHelpful = VeskHelpful::no;
        third->allowedAppBundleIDs = {"com.example.browser"};
        store(third);

        auto fourth = finishedSession(utc(2026, 3, 4, 16, 0), 3600, QStringLiteral("noAllowedWindows"));
        fourth->goalText = QStringLiteral("   ");
        fourth->goalNote = QStringLiteral("  \n ");
        fourth->allAllowedAppBundleIDs = {"com.example.mail"};
        store(fourth);

        auto fifth = finishedSession(utc(2026, 3, 5, 7, 30), 2700, QStringLiteral("somethingNew"));
        fifth->veskHelpful = VeskHelpful::yes;
        fifth->allAllowedAppBundleIDs = {"com.example.notes", "com.example.editor"};
        store(fifth);

        auto running = finishedSession(utc(2026, 3, 5, 11, 30), 0);
        running->endedAt.reset();
        running->endReason.reset();
        running->isActive = true;
        store(running);
    }

    static void render(QWidget& view, const QString& name)
    {
        view.grab().save(QStringLiteral(VESK_SCREENS_RENDER_DIR "/history-%1.png").arg(name));
    }

    static bool showsText(const QWidget& view, const QString& text)
    {
        for (auto* label : view.findChildren<TextLabel*>()) {
            if (label->text() == text && label->isVisibleTo(&view))
                return true;
        }
        return false;
    }

    ManualScheduler clock{utc(2026, 3, 5, 12, 0)};
    std::unique_ptr<ModelContainer> container;
    int dismissCount = 0;
};

TEST_F(SessionHistoryViewTest, WithoutFinishedSessionsOnlyTheHeaderAndTheEmptyStateShow)
{
    auto running = finishedSession(utc(2026, 3, 5, 11, 0), 0);
    running->isActive = true;
    running->endedAt.reset();
    store(running);
    auto view = makeView();
    render(*view, "empty");
    EXPECT_TRUE(view->showsEmptyState());
    EXPECT_TRUE(showsText(*view, "Noch kein Verlauf vorhanden"));
    EXPECT_TRUE(showsText(*view, "Deine Sessions im Rückblick"));
    EXPECT_FALSE(showsText(*view, "Einzelne Sessions"));
    EXPECT_EQ(view->size(), QSize(580, 560));
}

TEST_F(SessionHistoryViewTest, TheEmptyStateSpeaksTheSheetsLanguage)
{
    auto view = makeView(Localizer(QLocale(QLocale::English)));
    render(*view, "empty-en");
    EXPECT_TRUE(showsText(*view, "No history yet"));
    EXPECT_TRUE(
        showsText(*view, "Start and end a session, and it shows up here with its duration, apps and how it ended."));
}

TEST_F(SessionHistoryViewTest, TilesShowTheFiguresOfTheFinishedSessions)
{
    seedWeek();
    auto view = makeView();
    render(*view, "week");
    ASSERT_FALSE(view->showsEmptyState());
    EXPECT_TRUE(showsText(*view, "Einzelne Sessions"));
    EXPECT_EQ(view->tile(0).value(), "5");
    EXPECT_EQ(view->tile(0).caption(), "abgeschlossen");
    // 1800 + 8049 + 754 + 3600 + 2700 s = 4.695 h
    EXPECT_EQ(view->tile(1).value(), "4,7 h");
    EXPECT_EQ(view->tile(2).caption(), "1 · 1 · 1");
    const auto widths = view->tile(2).goalSegmentWidths();
    EXPECT_GT(widths[0], 0);
    EXPECT_DOUBLE_EQ(widths[0], widths[1]);
    EXPECT_DOUBLE_EQ(widths[1], widths[2]);
    EXPECT_EQ(view->tile(3).value(), "63 %");
    EXPECT_EQ(view->tile(3).caption(), "meist „Ja“");
    // The row centres its tiles: the goal tile, lower than the others, sits in the middle of their height.
    ASSERT_LT(view->tile(2).height(), view->tile(0).height());
    for (int index : {1, 2, 3})
        EXPECT_NEAR(view->tile(index).geometry().center().y(), view->tile(0).geometry().center().y(), 1) << index;
    view->scrollArea().verticalScrollBar()->setValue(view->scrollArea().verticalScrollBar()->maximum());
    render(*view, "week-end");
}

TEST_F(SessionHistoryViewTest, CardsComeNewestFirstWithTheirTextsAndTheAlertPillOnlyForAnEmergencyExit)
{
    seedWeek();
    auto view = makeView();
    const auto& sessions = view->model().sessions();
    ASSERT_EQ(sessions.size(), 5u);
    const auto platform = desktop->interfaces();
    const Localizer localizer;
    const SessionHistoryCardContext cardContext{localizer, AppDirectory{platform.workspace, platform.files}, clock,
                                                VeskTheme::shared()};
    std::vector<SessionHistoryCard> cards;
    for (const auto& session : sessions)
        cards.emplace_back(*session, cardContext);

    EXPECT_EQ(cards[0].dateText(), "05.03.2026, 08:30");
    EXPECT_EQ(cards[0].endReasonText(), "Unbekannter Abschluss");
    EXPECT_FALSE(cards[0].isAlertPill());
    EXPECT_EQ(cards[1].endReasonText(), "Keine erlaubten Fenster");
    EXPECT_EQ(cards[1].goalText(), std::nullopt);
    EXPECT_EQ(cards[1].noteText(), std::nullopt);
    EXPECT_EQ(cards[2].durationText(), "12:34");
    EXPECT_TRUE(cards[2].isAlertPill());
    EXPECT_EQ(cards[2].iconBundleIDs(), QStringList{"com.example.browser"});
    EXPECT_EQ(cards[3].durationText(), "02:14:09");
    EXPECT_EQ(cards[3].iconBundleIDs().size(), 5);
    EXPECT_EQ(cards[3].appsSummary(), "Browser, com.unknown.figma, com.unknown.slack, com.unknown.terminal, Editor, "
                                      "Mail, Notes");
    EXPECT_TRUE(cards[3].noteText());
    EXPECT_EQ(cards[4].dateText(), "02.03.2026, 09:00");

    // A card with a note is taller than one without.
    const auto& rects = view->list().cardRects();
    ASSERT_EQ(rects.size(), 5u);
    EXPECT_GT(rects[3].height(), rects[4].height());
    EXPECT_DOUBLE_EQ(rects[1].top(), rects[0].bottom() + SessionHistoryList::spacing);
}

TEST_F(SessionHistoryViewTest, HelpfulnessCaptionPrefersYesThenSomewhat)
{
    const std::vector<std::tuple<qint64, qint64, qint64, QString>> cases = {
        {2, 2, 1, "meist „Ja“"},   {0, 3, 3, "meist „Etwas“"}, {0, 1, 3, "meist „Nein“"},
        {0, 0, 0, "keine Angabe"}, {1, 0, 1, "meist „Ja“"},
    };
    for (const auto& [yes, somewhat, no, caption] : cases) {
        FocusSessionStatistics statistics;
        statistics.helpfulYesCount = yes;
        statistics.helpfulSomewhatCount = somewhat;
        statistics.helpfulNoCount = no;
        EXPECT_EQ(QString::fromUtf8(SessionHistoryView::helpfulCaption(statistics)), caption);
    }
}

TEST_F(SessionHistoryViewTest, WithoutGoalAnswersTheBarIsEmptyAndTheScoreADash)
{
    store(finishedSession(utc(2026, 3, 4, 10, 0), 600));
    auto view = makeView();
    EXPECT_EQ(view->tile(2).caption(), "0 · 0 · 0");
    for (double width : view->tile(2).goalSegmentWidths())
        EXPECT_EQ(width, 0);
    EXPECT_EQ(view->tile(3).value(), "—");
    EXPECT_EQ(view->tile(3).caption(), "keine Angabe");
    EXPECT_EQ(view->tile(1).value(), "10 min");
}

TEST_F(SessionHistoryViewTest, ASessionStoredWhileTheSheetIsOpenAppearsAtOnce)
{
    auto view = makeView();
    ASSERT_TRUE(view->showsEmptyState());
    auto running = finishedSession(utc(2026, 3, 5, 11, 0), 0);
    running->isActive = true;
    running->endedAt.reset();
    store(running);
    EXPECT_TRUE(view->showsEmptyState());

    // The session ends and is answered, as the session core writes it.
    running->isActive = false;
    running->endedAt = utc(2026, 3, 5, 11, 25);
    running->endReason = QStringLiteral("manualStop");
    ASSERT_TRUE(context().save());
    EXPECT_FALSE(view->showsEmptyState());
    EXPECT_EQ(view->tile(0).value(), "1");
    EXPECT_EQ(view->list().cardRects().size(), 1u);
    running->goalStatus = GoalStatus::done;
    ASSERT_TRUE(context().save());
    EXPECT_EQ(view->tile(2).caption(), "1 · 0 · 0");
    render(*view, "live");
}

TEST_F(SessionHistoryViewTest, OnlyTheCardsInViewAreBuilt)
{
    for (int day = 0; day < 60; ++day)
        store(finishedSession(utc(2026, 1, 1, 9, 0).addDays(day), 1500));
    auto view = makeView();
    view->grab();
    const int built = view->list().lastBuiltCardCount();
    EXPECT_GT(built, 0);
    EXPECT_LT(built, 10);
    view->scrollArea().verticalScrollBar()->setValue(view->scrollArea().verticalScrollBar()->maximum());
    render(*view, "scrolled");
    EXPECT_GT(view->list().lastBuiltCardCount(), 0);
    EXPECT_LT(view->list().lastBuiltCardCount(), 10);
}

TEST_F(SessionHistoryViewTest, EscapeAndTheCloseButtonDismiss)
{
    auto view = makeView();
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_EQ(dismissCount, 1);
    auto* close = view->findChild<QToolButton*>();
    ASSERT_NE(close, nullptr);
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_EQ(dismissCount, 2);
}

} // namespace
} // namespace vesk::test
