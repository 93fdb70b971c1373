#include "StageBarsScene.h"

#include "DesktopSpecs.h"
#include "QtPrinters.h"
#include "panels/StageVeskBottomControlView.h"
#include "panels/StageVeskCard.h"
#include "panels/StageVeskControlPanel.h"
#include "panels/StageVeskSettingsControlView.h"
#include "panels/StageVeskSidebarControlView.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "ui/FilledButton.h"
#include "ui/ToggleSwitch.h"

#include <QLabel>

#include <gtest/gtest.h>

using namespace vesk;
using test::StageBarsScene;

namespace {

constexpr StageVeskScreenID first{1};
constexpr StageVeskScreenID second{2};

class StageVeskPanelTest : public ::testing::Test {
protected:
    StageBarsScene scene;

    std::map<StageVeskScreenID, Rect>
    frames(const std::map<StageVeskScreenID, QPointer<StageVeskControlPanel>>& panels) const
    {
        std::map<StageVeskScreenID, Rect> result;
        for (const auto& [screenID, panel] : panels)
            result[screenID] = panel->frame();
        return result;
    }

    template <typename View>
    View* contentOf(StageVeskControlPanel* panel) const
    {
        return panel ? qobject_cast<View*>(panel->content()) : nullptr;
    }

    // The view's button with this text or accessible name.
    static FilledButton* buttonOf(QWidget* view, const QString& label)
    {
        for (auto* button : view->findChildren<FilledButton*>()) {
            if (button->text() == label || button->accessibleName() == label)
                return button;
        }
        return nullptr;
    }

    StageVeskSettingsControlView* openSettings()
    {
        scene.panel->toggleSettingsPanel();
        return contentOf<StageVeskSettingsControlView>(scene.panel->settingsPanel());
    }

    QStringList panelLog() const { return scene.stage.logs.messages(QStringLiteral("StageVeskPanel")); }
};

} // namespace

TEST_F(StageVeskPanelTest, WithDefaultSettingsTheMainScreenGetsEveryBarAndTheOtherOnlyItsAppsBar)
{
    StageVeskPanel& panel = scene.show();

    using Frames = std::map<StageVeskScreenID, Rect>;
    EXPECT_EQ(frames(panel.sidebarPanels()), (Frames{{first, {0, 0, 46, 900}}, {second, {1440, 0, 46, 1080}}}));
    EXPECT_EQ(frames(panel.topPanels()), (Frames{{first, {410, 848, 620, 42}}}));
    EXPECT_EQ(frames(panel.bottomPanels()), (Frames{{first, {530, 16, 380, 42}}}));
    EXPECT_EQ(panel.controlRects(),
              (std::vector<Rect>{{0, 0, 46, 900}, {1440, 0, 46, 1080}, {410, 848, 620, 42}, {530, 16, 380, 42}}));
    EXPECT_EQ(panel.topPanels().at(first)->windowFlags() & Qt::WindowDoesNotAcceptFocus, Qt::WindowDoesNotAcceptFocus);
    EXPECT_EQ(StageVeskControlPanel::windowLevel(), platform::shieldingWindowLevel() + 2);
    EXPECT_GE(scene.controlRectsChanges, 1);
    EXPECT_TRUE(panelLog().contains("StageVesk control panels shown — sidebars=2, topBars=1, bottomBars=1"));
}

TEST_F(StageVeskPanelTest, TheTopBarLeavesRoomForAnExpandedAppsBar)
{
    EXPECT_EQ(StageVeskPanel::topBarFrame({0, 0, 1440, 900}).width, 620);
    EXPECT_EQ(StageVeskPanel::topBarFrame({0, 0, 800, 600}), (Rect{102, 548, 596, 42}));
    EXPECT_EQ(StageVeskPanel::controlBarFrame({-1920, 200, 1920, 1080}), (Rect{-1150, 216, 380, 42}));
    EXPECT_EQ(StageVeskPanel::sidebarFrame({-1920, 200, 1920, 1080}, true), (Rect{-1920, 200, 172, 1080}));
}

TEST_F(StageVeskPanelTest, WithTheControlBarOffEverywhereItIsForcedOntoTheMainScreen)
{
    VeskDefaultsStore store(scene.defaults, [] { return QStringList{"de-DE"}; });
    store.setScreenFunction(false, VeskScreenFunction::controlBar, 1, true);
    StageVeskPanel& panel = scene.show();
    ASSERT_EQ(panel.bottomPanels().size(), 1u);
    EXPECT_EQ(panel.bottomPanels().begin()->first, first);
    EXPECT_TRUE(panelLog().contains("StageVesk control bar disabled on all screens — forcing it onto the main screen"));

    // Without a main screen no screen has the bar by default, and nothing is forced.
    store.setScreenFunction(true, VeskScreenFunction::controlBar, 1, true);
    scene.stage.screens.main.reset();
    StageVeskPanel& withoutMain = scene.show();
    EXPECT_TRUE(withoutMain.bottomPanels().empty());
    EXPECT_EQ(withoutMain.sidebarPanels().size(), 2u);
}

TEST_F(StageVeskPanelTest, ShowingAgainKeepsTheAppsBarsAndReplacesTheOtherBars)
{
    StageVeskPanel& panel = scene.show();
    panel.toggleSidebarExpansion(second);
    const QPointer<StageVeskControlPanel> sidebar = panel.sidebarPanels().at(second);
    const QPointer<StageVeskControlPanel> top = panel.topPanels().at(first);
    const QPointer<StageVeskControlPanel> bottom = panel.bottomPanels().at(first);

    panel.show();
    StageBarsScene::settle();
    EXPECT_EQ(panel.sidebarPanels().at(second), sidebar);
    EXPECT_EQ(panel.sidebarPanels().at(second)->frame().width, 172);
    EXPECT_TRUE(panel.topPanels().at(first) && panel.topPanels().at(first) != top);
    EXPECT_TRUE(panel.bottomPanels().at(first) && panel.bottomPanels().at(first) != bottom);
    EXPECT_FALSE(top) << "the old top bar is gone";
}

TEST_F(StageVeskPanelTest, TheCollapseToggleWidensAndNarrowsTheAppsBarFromItsOwnClick)
{
    StageVeskPanel& panel = scene.show();
    const int changesBefore = scene.controlRectsChanges;
    auto* view = contentOf<StageVeskSidebarControlView>(panel.sidebarPanels().at(second));
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->isCollapsed());

    // The toggle rebuilds the view that holds it, from within its click.
    auto* toggle = view->findChild<FilledButton*>();
    ASSERT_TRUE(toggle);
    EXPECT_EQ(toggle->text(), "›");
    toggle->click();
    StageBarsScene::settle();
    EXPECT_EQ(panel.sidebarPanels().at(second)->frame(), (Rect{1440, 0, 172, 1080}));
    EXPECT_EQ(panel.expandedSidebarScreenIDs(), std::set<StageVeskScreenID>{second});
    EXPECT_GT(scene.controlRectsChanges, changesBefore);
    auto* expanded = contentOf<StageVeskSidebarControlView>(panel.sidebarPanels().at(second));
    ASSERT_TRUE(expanded);
    EXPECT_FALSE(expanded->isCollapsed());
    EXPECT_EQ(expanded->findChild<FilledButton*>()->text(), "‹");

    expanded->findChild<FilledButton*>()->click();
    StageBarsScene::settle();
    EXPECT_EQ(panel.sidebarPanels().at(second)->frame().width, 46);
    EXPECT_EQ(panel.sidebarPanels().at(first)->frame().width, 46) << "the other screen's bar is left alone";

    panel.toggleSidebarExpansion(StageVeskScreenID{99});
    EXPECT_TRUE(panel.expandedSidebarScreenIDs().empty()) << "an unknown screen changes nothing";
}

TEST_F(StageVeskPanelTest, AnOutsideClickClosesTheSettingsPanelButNotOneOnItOrOnABar)
{
    StageVeskPanel& panel = scene.show();
    scene.pointer.location = QPointF(700, 400);
    ASSERT_TRUE(openSettings());
    EXPECT_EQ(panel.settingsPanel()->frame(), (Rect{700, 0, 360, 420})) << "pushed up into the visible frame";
    EXPECT_EQ(panel.controlRects().size(), 5u);
    EXPECT_EQ(panel.controlRects().back(), panel.settingsPanel()->frame());

    for (const Point point : {Point{800, 200}, Point{20, 600}, Point{600, 30}, Point{700, 860}, Point{1450, 500}}) {
        panel.dismissSettingsIfClickOutside(point);
        ASSERT_TRUE(panel.settingsPanel()) << toString(point).toStdString();
    }
    panel.dismissSettingsIfClickOutside({1200, 600});
    EXPECT_FALSE(panel.settingsPanel());
    EXPECT_EQ(panel.controlRects().size(), 4u);
    EXPECT_TRUE(panelLog().contains("StageVesk settings panel dismissing via click outside"));
}

TEST_F(StageVeskPanelTest, TheGearClosesASettingsPanelThatWasOrderedOutAndOpensItAgain)
{
    StageVeskPanel& panel = scene.show();
    auto* bar = contentOf<StageVeskBottomControlView>(panel.bottomPanels().at(first));
    ASSERT_TRUE(bar);
    FilledButton* gear = buttonOf(bar, "Einstellungen");
    ASSERT_TRUE(gear);
    gear->click();
    ASSERT_TRUE(panel.settingsPanel());
    panel.settingsPanel()->orderOut();
    panel.dismissSettingsIfClickOutside({1200, 600});
    EXPECT_EQ(panel.controlRects().size(), 4u) << "an ordered-out panel is no control rect";

    gear->click();
    EXPECT_FALSE(panel.settingsPanel());
    gear->click();
    ASSERT_TRUE(panel.settingsPanel());
    EXPECT_TRUE(panel.settingsPanel()->isOrderedIn());
}

TEST_F(StageVeskPanelTest, TurningOnTheControlBarForTheSecondScreenAddsItAtOnceAndTheSettingsStayOpen)
{
    StageVeskPanel& panel = scene.show();
    StageVeskSettingsControlView* settings = openSettings();
    ASSERT_TRUE(settings);
    const QPointer<StageVeskControlPanel> settingsPanel = panel.settingsPanel();
    const auto& rows = settings->switchRows();
    ASSERT_EQ(rows.size(), 6u);
    const auto row = std::find_if(rows.begin(), rows.end(), [](const auto& candidate) {
        return candidate.screen.screenID == 2 && candidate.function == VeskScreenFunction::controlBar;
    });
    ASSERT_NE(row, rows.end());
    EXPECT_FALSE(row->control->isChecked());
    EXPECT_EQ(row->badge->text(), "AUS");

    row->control->click();
    EXPECT_EQ(panel.bottomPanels().size(), 2u);
    ASSERT_TRUE(panel.bottomPanels().contains(second));
    EXPECT_EQ(panel.bottomPanels().at(second)->frame(), (Rect{2210, 16, 380, 42}));
    EXPECT_EQ(panel.controlRects().size(), 6u);
    EXPECT_EQ(panel.settingsPanel(), settingsPanel);
    EXPECT_TRUE(row->control->isChecked());
    EXPECT_EQ(row->badge->text(), "AN");
    EXPECT_EQ(scene.defaults.stringArrayForKey("vesk.screenFunctionOverrides"), QStringList{"2:controlBar"});

    // Off on the main screen while off elsewhere: the forced bar stays, the switch reads off.
    row->control->click();
    const auto mainRow = std::find_if(rows.begin(), rows.end(), [](const auto& candidate) {
        return candidate.screen.screenID == 1 && candidate.function == VeskScreenFunction::controlBar;
    });
    mainRow->control->click();
    EXPECT_EQ(panel.bottomPanels().size(), 1u);
    EXPECT_TRUE(panel.bottomPanels().contains(first));
    EXPECT_FALSE(mainRow->control->isChecked());
    EXPECT_EQ(mainRow->badge->text(), "AUS");

    // Turning the apps bar off removes it; the other screen's stays.
    const auto appsRow = std::find_if(rows.begin(), rows.end(), [](const auto& candidate) {
        return candidate.screen.screenID == 2 && candidate.function == VeskScreenFunction::appsBar;
    });
    appsRow->control->click();
    EXPECT_FALSE(panel.sidebarPanels().contains(second));
    EXPECT_TRUE(panel.sidebarPanels().contains(first));
}

// The switch rebuilds the bars, and every rebuilt bar is a new panel ordered
// in front; the settings panel the user is working in stays in front of them.
TEST_F(StageVeskPanelTest, TheSettingsPanelStaysInFrontOfTheBarsItsSwitchesRebuild)
{
    QTemporaryDir desktopRoot;
    platform::SimulatedDesktop desktop{scene.stage.scheduler, desktopRoot.path()};
    desktop.addDisplay(test::display(1, QRectF(0, 0, 1440, 900)));
    StageVeskPanelEnvironment environment = scene.environment();
    environment.ownWindows = &desktop;
    StageVeskPanel panel(environment);
    panel.setSources(&scene.session, scene.stage.service.get());
    panel.show();
    panel.toggleSettingsPanel();
    auto* settings = contentOf<StageVeskSettingsControlView>(panel.settingsPanel());
    ASSERT_TRUE(settings);
    const auto frontNumber = [&desktop] {
        for (const platform::OwnWindowInfo& window : desktop.ownWindows()) {
            if (window.visible)
                return std::optional<quint32>(window.number);
        }
        return std::optional<quint32>();
    };
    ASSERT_EQ(frontNumber(), panel.settingsPanel()->windowNumber());

    const auto& rows = settings->switchRows();
    const auto topBarRow = std::find_if(rows.begin(), rows.end(), [](const auto& candidate) {
        return candidate.screen.screenID == 1 && candidate.function == VeskScreenFunction::targetMode;
    });
    ASSERT_NE(topBarRow, rows.end());
    topBarRow->control->click();
    EXPECT_TRUE(panel.topPanels().empty());
    EXPECT_EQ(frontNumber(), panel.settingsPanel()->windowNumber());
    EXPECT_TRUE(panel.settingsPanel()->isOrderedIn());

    topBarRow->control->click();
    EXPECT_EQ(panel.topPanels().size(), 1u);
    EXPECT_EQ(frontNumber(), panel.settingsPanel()->windowNumber());
    panel.dismiss();
    StageBarsScene::settle();
}

TEST_F(StageVeskPanelTest, DismissClosesEveryPanelWithoutTellingTheOwner)
{
    StageVeskPanel& panel = scene.show();
    openSettings();
    const int changes = scene.controlRectsChanges;
    panel.dismiss();
    EXPECT_TRUE(panel.controlRects().empty());
    EXPECT_FALSE(panel.settingsPanel());
    EXPECT_EQ(scene.controlRectsChanges, changes);
    EXPECT_TRUE(panelLog().contains("StageVesk panel dismissed"));

    panel.show();
    EXPECT_TRUE(panel.controlRects().empty()) << "the sources are forgotten";
}

// The opaque bar windows are shaped to their rounded cards; the control bar's
// card widens for the leave confirmation and its window's shape follows.
TEST_F(StageVeskPanelTest, TheControlBarsShapeFollowsItsCardWhenTheLeaveConfirmationWidensIt)
{
    StageVeskPanel& panel = scene.show();
    StageVeskControlPanel* window = panel.bottomPanels().at(first);
    auto* bar = contentOf<StageVeskBottomControlView>(window);
    ASSERT_TRUE(bar);
    const auto cardRect = [&] { return QRect(bar->card()->mapTo(window, QPoint(0, 0)), bar->card()->size()); };
    const auto settle = [] { QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest); };
    settle();
    const QRect normal = cardRect();
    ASSERT_LT(normal.width(), window->width()) << "the card hugs its row";
    EXPECT_EQ(window->mask().boundingRect(), normal);
    EXPECT_TRUE(window->mask().contains(normal.center()));
    EXPECT_FALSE(window->mask().contains(normal.topLeft())) << "rounded corners";

    FilledButton* leave = buttonOf(bar, "Verlassen");
    ASSERT_TRUE(leave);
    leave->click();
    settle();
    ASSERT_TRUE(bar->isShowingExitConfirmation());
    const QRect confirming = cardRect();
    ASSERT_NE(confirming.width(), normal.width());
    EXPECT_EQ(window->mask().boundingRect(), confirming);
}

// Where the display composites, the top bar, the control bar and the settings
// panel are see-through around their cards and draw a shadow in room around
// their frames; without compositing every bar is opaque and shaped to its card.
TEST_F(StageVeskPanelTest, TheBarsCarryAShadowOnlyWhereTheDisplayComposites)
{
    for (const bool composites : {false, true}) {
        SCOPED_TRACE(composites ? "compositing" : "no compositing");
        scene.composites = composites;
        StageVeskPanel& panel = scene.show();
        ASSERT_TRUE(openSettings());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QMargins room = composites ? shadowMargins(StageVeskControlPanel::cardShadow()) : QMargins();
        ASSERT_GT(shadowMargins(StageVeskControlPanel::cardShadow()).bottom(), 0);
        for (StageVeskControlPanel* window :
             {panel.topPanels().at(first).data(), panel.bottomPanels().at(first).data(), panel.settingsPanel()}) {
            EXPECT_EQ(window->dropsShadow(), composites);
            EXPECT_EQ(window->isOpaque(), !composites);
            EXPECT_EQ(window->mask().isEmpty(), composites) << "only an opaque bar is cut to its card";
            EXPECT_EQ(window->size(), toQRectF(window->frame()).size().toSize().grownBy(room));
        }
        const StageVeskControlPanel* apps = panel.sidebarPanels().at(first);
        EXPECT_FALSE(apps->dropsShadow());
        EXPECT_TRUE(apps->isOpaque());
        EXPECT_EQ(panel.controlRects().size(), 5u);
        EXPECT_EQ(frames(panel.topPanels()), (std::map<StageVeskScreenID, Rect>{{first, {410, 848, 620, 42}}}))
            << "the shadow lies outside the frame";
    }
}
