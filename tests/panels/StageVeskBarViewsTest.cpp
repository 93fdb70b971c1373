#include "StageBarsScene.h"

#include "QtPrinters.h"
#include "panels/StageVeskAppTile.h"
#include "panels/StageVeskBottomControlView.h"
#include "panels/StageVeskCard.h"
#include "panels/StageVeskSettingsControlView.h"
#include "panels/StageVeskSidebarControlView.h"
#include "panels/StageVeskTopControlView.h"
#include "ui/FilledButton.h"
#include "ui/ToggleSwitch.h"

#include <QCoreApplication>
#include <QLabel>

#include <gtest/gtest.h>

using namespace vesk;
using test::StageBarsScene;

namespace {

constexpr StageVeskScreenID first{1};
constexpr StageVeskScreenID second{2};

class StageVeskBarViewsTest : public ::testing::Test {
protected:
    StageBarsScene scene;
    Localizer german;

    StageVeskService& stage() { return *scene.stage.service; }

    // Applications on the stage: "com.a" and "com.b" in slots of the first
    // screen, "com.c" queued there.
    void activateThreeApps()
    {
        scene.stage.visible = {{"com.a", {300, 300, 500, 400}}, {"com.b", {700, 200, 500, 400}}};
        stage().activate({"com.a", "com.b", "com.c"}, {{"com.c", "Chat"}}, first);
        stage().setPhase(StageVeskPhase::split, first);
    }

    static FilledButton* buttonWithText(QWidget& view, const QString& text)
    {
        for (auto* button : view.findChildren<FilledButton*>()) {
            if (button->text() == text || button->toolTip() == text || button->accessibleName() == text)
                return button;
        }
        return nullptr;
    }
};

StageVeskAppState app(const QString& id, StageVeskScreenID screen, const QDateTime& touched)
{
    StageVeskAppState state;
    state.bundleID = id;
    state.isOpen = true;
    state.screenID = screen;
    state.lastTouched = touched;
    return state;
}

} // namespace

TEST_F(StageVeskBarViewsTest, TheTopBarShowsTheGoalAndSetsTheLayoutOfItsOwnScreen)
{
    activateThreeApps();
    StageVeskTopControlView firstBar(scene.session, stage(), first, german);
    StageVeskTopControlView secondBar(scene.session, stage(), second, german);
    firstBar.resize(620, 42);
    firstBar.show();

    EXPECT_EQ(firstBar.shownGoal(), "Session");
    const auto selected = [](StageVeskTopControlView& bar) {
        QStringList glyphs;
        for (const StageVeskPhase phase : allCases<StageVeskPhase>()) {
            if (bar.modeButton(phase)->look().fill.alpha() > 0)
                glyphs << bar.modeButton(phase)->text();
        }
        return glyphs;
    };
    EXPECT_EQ(selected(firstBar), QStringList{"2"});
    EXPECT_EQ(selected(secondBar), QStringList{"∞"}) << "a screen without a layout is freestyle";
    EXPECT_EQ(secondBar.modeButton(StageVeskPhase::focus)->toolTip(), "Fokus");

    secondBar.modeButton(StageVeskPhase::quad)->click();
    EXPECT_EQ(stage().state().phase(second), StageVeskPhase::quad);
    EXPECT_EQ(selected(secondBar), QStringList{"4"});
    EXPECT_EQ(selected(firstBar), QStringList{"2"}) << "the other screen keeps its layout";

    scene.session.setGoal(QString(200, QChar('x')));
    EXPECT_TRUE(firstBar.shownGoal().endsWith(QChar(0x2026))) << "a long goal is cut to one line";
    EXPECT_LT(firstBar.shownGoal().size(), 200);
}

TEST_F(StageVeskBarViewsTest, TheControlBarCountsTheStagedAppsAndLeavesInTwoSteps)
{
    activateThreeApps();
    StageVeskBottomControlView bar(scene.session, stage(), second, {}, scene.stage.scheduler, scene.stage.scheduler,
                                   german);
    EXPECT_EQ(bar.clockText(), "25:00");
    EXPECT_EQ(bar.countText(), "2 offen") << "staged on every screen, the queued one left out";

    buttonWithText(bar, "App zur Session hinzufuegen")->click();
    EXPECT_EQ(scene.session.calls, QStringList{"toggleQuickAccessPanel(2)"}) << "the bar's own screen";

    buttonWithText(bar, "Verlassen")->click();
    EXPECT_TRUE(bar.isShowingExitConfirmation());
    buttonWithText(bar, "Abbrechen")->click();
    EXPECT_FALSE(bar.isShowingExitConfirmation());
    buttonWithText(bar, "Verlassen")->click();
    buttonWithText(bar, "Offen lassen")->click();
    buttonWithText(bar, "Apps schliessen")->click();
    EXPECT_TRUE(bar.isShowingExitConfirmation()) << "the row stays until the stop takes the bar away";
    EXPECT_EQ(scene.session.calls,
              (QStringList{"toggleQuickAccessPanel(2)", "requestManualExitConfirmation",
                           "logManualExitConfirmationCanceled", "requestManualExitConfirmation",
                           "confirmManualExit(leaveOpen)", "confirmManualExit(terminateAllowedApps)"}));

    // The clock is read again every second.
    scene.session.timeText = [](const QDateTime&) { return QStringLiteral("24:59"); };
    scene.stage.scheduler.advance(0.5);
    EXPECT_EQ(bar.clockText(), "25:00");
    scene.stage.scheduler.advance(0.5);
    EXPECT_EQ(bar.clockText(), "24:59");
}

// The card hugs the row it shows and stays in the middle of the bar, also
// when the confirmation row came and went.
TEST_F(StageVeskBarViewsTest, TheControlBarsCardStaysCentredThroughTheConfirmationRow)
{
    activateThreeApps();
    StageVeskBottomControlView bar(scene.session, stage(), first, {}, scene.stage.scheduler, scene.stage.scheduler,
                                   german);
    bar.resize(380, 42);
    bar.show();
    const auto card = [&bar] {
        QCoreApplication::processEvents();
        return bar.findChild<StageVeskCard*>()->geometry();
    };
    const QRect normal = card();
    EXPECT_NEAR(normal.center().x(), 190, 1);
    EXPECT_NEAR(normal.center().y(), 21, 1);

    buttonWithText(bar, "Verlassen")->click();
    EXPECT_NEAR(card().center().x(), 190, 1);
    buttonWithText(bar, "Abbrechen")->click();
    EXPECT_EQ(card(), normal) << "the bar kept the width it grew to while both rows were in";
}

TEST_F(StageVeskBarViewsTest, InAHardcoreSessionTheBadgeTakesTheLeaveButtonsPlace)
{
    StageVeskBottomControlView bar(scene.session, stage(), first, {}, scene.stage.scheduler, scene.stage.scheduler,
                                   german);
    EXPECT_TRUE(bar.showsLeaveButton());
    EXPECT_FALSE(bar.showsHardcoreBadge());
    scene.session.setHardcore(true);
    EXPECT_FALSE(bar.showsLeaveButton());
    EXPECT_TRUE(bar.showsHardcoreBadge());
    EXPECT_EQ(bar.countText(), "0 offen");
}

TEST_F(StageVeskBarViewsTest, TheSettingsViewListsEachScreensSwitchesAndTheHardcoreStopOnlyInHardcore)
{
    scene.stage.screens.list.pop_back();
    scene.stage.screens.list.front().name = "Built-in";
    VeskDefaultsStore defaults(scene.defaults, [] { return QStringList{"de-DE"}; });
    int closes = 0;
    StageVeskSettingsControlView view(
        scene.session, stage(), defaults, scene.stage.screens, {}, [&] { ++closes; }, german);
    ASSERT_EQ(view.sectionTitles().size(), 1u);
    EXPECT_EQ(view.sectionTitles()[0]->text(), "Hauptbildschirm");
    ASSERT_EQ(view.switchRows().size(), 3u);
    for (const auto& row : view.switchRows()) {
        EXPECT_TRUE(row.control->isChecked());
        EXPECT_EQ(row.badge->text(), "AN");
    }
    EXPECT_FALSE(view.showsDebugStop());
    EXPECT_FALSE(view.showsAccessibilityWarning());

    buttonWithText(view, "Bug melden")->click();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(scene.session.calls, QStringList{"toggleBugReportPanel"});
    buttonWithText(view, "×")->click();
    EXPECT_EQ(closes, 2);

    scene.session.setHardcore(true);
    EXPECT_TRUE(view.showsDebugStop());
    FilledButton* stop = buttonWithText(view, "Debug: Hardcore beenden");
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->toolTip(), "Nur für Entwicklung: Beendet die Hardcore-Session sofort.");
    stop->click();
    EXPECT_EQ(scene.session.calls.last(), "debugForceStop");

    // A screen that is not the main one shows its own name.
    scene.stage.screens.main.reset();
    StageVeskSettingsControlView unnamed(scene.session, stage(), defaults, scene.stage.screens, {}, {}, german);
    EXPECT_EQ(unnamed.sectionTitles()[0]->text(), "Built-in");
}

TEST_F(StageVeskBarViewsTest, TheAppsBarListsItsScreensQueuedThenParkedAppsAndMarksStaleOnes)
{
    const QDateTime now = scene.stage.scheduler.now();
    StageVeskState state;
    state.apps["com.queued"] = app("com.queued", first, now.addSecs(-301));
    state.apps["com.fresh"] = app("com.fresh", first, now.addSecs(-299));
    state.apps["com.active"] = app("com.active", first, now.addSecs(-900));
    state.apps["com.parked"] = app("com.parked", first, now.addSecs(-900));
    state.apps["com.parked"].isParked = true;
    state.apps["com.parked"].isOpen = false;
    state.apps["com.slotted"] = app("com.slotted", first, now);
    state.apps["com.slotted"].slot = 0;
    state.apps["com.elsewhere"] = app("com.elsewhere", second, now);
    state.apps["com.nowhere"] = app("com.nowhere", first, now);
    state.apps["com.nowhere"].screenID.reset();
    state.appOrder = {"com.parked",  "com.queued",    "com.fresh",   "com.active",
                      "com.slotted", "com.elsewhere", "com.nowhere", "com.unknown"};
    state.activeBundleID = "com.active";

    InstalledApp iconic;
    iconic.id = "com.fresh";
    iconic.icon = QImage(32, 32, QImage::Format_ARGB32);
    const std::map<QString, InstalledApp> installed{{"com.fresh", iconic}};
    const auto name = [](const QString& id) { return id == "com.queued" ? QStringLiteral("ärger") : QString(); };
    const auto tiles = StageVeskSidebarControlView::tiles(state, first, false, name, installed, now, 5 * 60, german);

    ASSERT_EQ(tiles.size(), 4u);
    EXPECT_EQ(tiles[0].bundleID, "com.queued");
    EXPECT_EQ(tiles[0].content.status, "Brauchst du das noch?");
    EXPECT_EQ(tiles[0].content.statusColor, QColor(255, 189, 46));
    EXPECT_EQ(StageVeskAppTile::initial(tiles[0].content.displayName), "Ä");
    EXPECT_EQ(tiles[1].bundleID, "com.fresh");
    EXPECT_EQ(tiles[1].content.status, "in Queue");
    EXPECT_FALSE(tiles[1].content.icon.isNull());
    EXPECT_EQ(StageVeskAppTile::initial(tiles[1].content.displayName), "") << "an empty name has no initial";
    EXPECT_EQ(tiles[2].bundleID, "com.active");
    EXPECT_EQ(tiles[2].content.status, "in Queue") << "the active application never ages";
    EXPECT_EQ(tiles[3].bundleID, "com.parked");
    EXPECT_EQ(tiles[3].content.status, "geparkt");
    EXPECT_TRUE(tiles[3].content.isParked);

    // Collapsed, the bar lists the same tiles, the parked ones too.
    const auto collapsed = StageVeskSidebarControlView::tiles(state, first, true, name, installed, now, 300, german);
    ASSERT_EQ(collapsed.size(), tiles.size());
    for (size_t i = 0; i < tiles.size(); ++i) {
        EXPECT_EQ(collapsed[i].bundleID, tiles[i].bundleID);
        EXPECT_EQ(collapsed[i].content.isParked, tiles[i].content.isParked);
        EXPECT_TRUE(collapsed[i].content.isCollapsed);
    }

    const auto others = StageVeskSidebarControlView::tiles(state, second, true, name, installed, now, 300, german);
    ASSERT_EQ(others.size(), 1u);
    EXPECT_EQ(others[0].bundleID, "com.elsewhere");
    EXPECT_TRUE(others[0].content.isCollapsed);
}

TEST_F(StageVeskBarViewsTest, AClickOnATileBringsTheAppBackOntoTheStageFromWithinTheRebuild)
{
    activateThreeApps();
    VeskDefaultsStore defaults(scene.defaults, [] { return QStringList{"de-DE"}; });
    StageVeskSidebarControlView expanded(stage(), defaults, first, false, {}, {}, scene.stage.scheduler, german);
    EXPECT_EQ(expanded.headerText(), "QUEUE · 1");
    EXPECT_TRUE(expanded.showsFooter());
    EXPECT_FALSE(expanded.showsParkedTitle());
    ASSERT_EQ(expanded.tileButtons().size(), 1u);
    EXPECT_EQ(expanded.tileButtons()[0]->text(), "Chat");

    StageVeskSidebarControlView collapsed(stage(), defaults, first, true, {}, {}, scene.stage.scheduler, german);
    EXPECT_EQ(collapsed.headerText(), "");
    EXPECT_FALSE(collapsed.showsFooter());

    expanded.tileButtons()[0]->click();
    StageBarsScene::settle();
    EXPECT_TRUE(stage().state().apps.at("com.c").position || stage().state().apps.at("com.c").slot);
    EXPECT_TRUE(expanded.tileButtons().empty());
    EXPECT_EQ(expanded.headerText(), "QUEUE · 0");
}
