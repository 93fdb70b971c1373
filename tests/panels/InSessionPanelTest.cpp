#include "panels/AppLaunchPromptPanel.h"
#include "panels/BugReportPanel.h"
#include "panels/QuickAccessPanel.h"
#include "panels/SessionHUDPanel.h"
#include "platform/WindowLevel.h"

#include "PanelScene.h"

#include <QCoreApplication>
#include <QKeyEvent>

using namespace vesk;

namespace {

using InSessionPanelTest = test::PanelScene;

void pressEscape(QWidget& panel)
{
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&panel, &escape);
}

} // namespace

TEST_F(InSessionPanelTest, EachPanelIsPlacedListedAtItsLevelAndKeyOnlyWhereItTakesTheKeyboard)
{
    const int shielding = platform::shieldingWindowLevel();
    SessionHUDPanel hud(environment);
    hud.show(new QWidget);
    AppLaunchPromptPanel prompt(environment);
    prompt.show(new QWidget);
    EXPECT_EQ(hud.frame(), (Rect{1100, 621, 320, 234}));
    EXPECT_EQ(prompt.frame(), (Rect{560, 371.5, 320, 132}));
    EXPECT_FALSE(desktop.keyOwnWindow()) << "the HUD and the prompt never become key";

    desktop.setMouseLocation(QPointF(1439, 1)); // bottom-right corner
    QuickAccessPanel quickAccess(environment);
    quickAccess.show(new QWidget, [] {});
    EXPECT_EQ(quickAccess.frame(), (Rect{1440 - 380, 0, 380, 420})) << "right edge on maxX, bottom on minY";
    EXPECT_EQ(desktop.keyOwnWindow(), quickAccess.windowNumber());

    desktop.setMouseLocation(QPointF(100, 899)); // near the top
    BugReportPanel bugReport(environment);
    bugReport.show(new QWidget, [] {});
    EXPECT_EQ(bugReport.frame(), (Rect{100, 875 - 520, 460, 520})) << "top edge at most the visible maxY";

    struct Expected {
        const InSessionPanel& panel;
        int level;
        bool canBecomeKey;
        bool movable;
    };
    for (const Expected& expected :
         {Expected{hud, shielding + 2, false, true}, Expected{prompt, shielding + 3, false, false},
          Expected{quickAccess, shielding + 3, true, true}, Expected{bugReport, shielding + 3, true, true}}) {
        SCOPED_TRACE(expected.panel.kind().className.toStdString());
        const auto window = listed(expected.panel.windowNumber());
        ASSERT_TRUE(window);
        EXPECT_TRUE(window->isPanel);
        EXPECT_TRUE(window->visible);
        EXPECT_EQ(window->level, expected.level);
        EXPECT_EQ(window->frame, toQRectF(expected.panel.frame()));
        EXPECT_EQ(desktop.window(window->number)->canBecomeKey, expected.canBecomeKey);
        EXPECT_EQ(expected.panel.isMovableByWindowBackground(), expected.movable);
        EXPECT_EQ(expected.panel.styleMask(), 144);
        EXPECT_EQ(expected.panel.collectionBehavior(), 273);
        EXPECT_TRUE(expected.panel.hasShadow());
    }

    for (const QString& line :
         {QStringLiteral("Session HUD shown — level=%1, frame=(1100.0, 621.0, 320.0, 234.0)").arg(shielding + 2),
          QStringLiteral("App-launch prompt shown — level=%1, frame=(560.0, 371.5, 320.0, 132.0)").arg(shielding + 3),
          QStringLiteral("Quick access panel shown — level=%1, frame=(1060.0, 0.0, 380.0, 420.0), canBecomeKey=true")
              .arg(shielding + 3),
          QStringLiteral("Bug report panel shown — level=%1, frame=(100.0, 355.0, 460.0, 520.0)").arg(shielding + 3),
          QStringLiteral("SessionHUDPanel initialized"), QStringLiteral("QuickAccessPanel initialized")})
        EXPECT_TRUE(logs.contains(line)) << line.toStdString();
}

TEST_F(InSessionPanelTest, WithoutScreensAPanelKeepsItsOriginAtZero)
{
    desktop.removeDisplay(0);
    SessionHUDPanel hud(environment);
    hud.show(new QWidget);
    QuickAccessPanel quickAccess(environment);
    quickAccess.show(new QWidget, [] {});
    EXPECT_EQ(hud.frame(), (Rect{0, 0, 320, 234}));
    EXPECT_EQ(quickAccess.frame(), (Rect{0, 0, 380, 420}));
}

TEST_F(InSessionPanelTest, OutsideClickAndEscapeCallTheCloseCallbackOnlyWhenTheyShould)
{
    desktop.setMouseLocation(QPointF(200, 600));
    QuickAccessPanel panel(environment);
    int closes = 0;
    panel.show(new QWidget, [&closes] { ++closes; });
    const Rect frame = panel.frame(); // (200, 180, 380, 420)

    panel.dismissIfClickOutside(Point{frame.x + 10, frame.y + 10});
    panel.dismissIfClickOutside(Point{frame.x, frame.y}); // bottom-left corner is inside
    EXPECT_EQ(closes, 0);
    panel.dismissIfClickOutside(Point{frame.maxX(), frame.y + 10}); // on the right edge
    EXPECT_EQ(closes, 1);
    panel.dismissIfClickOutside(Point{frame.x + 10, frame.maxY()}); // on the top edge
    EXPECT_EQ(closes, 2);
    pressEscape(panel);
    EXPECT_EQ(closes, 3);
    EXPECT_EQ(logs.count(QStringLiteral("Quick access panel dismissing via user interaction — reason=clickOutside")),
              2);
    EXPECT_TRUE(logs.contains(QStringLiteral("Quick access panel dismissing via user interaction — reason=escapeKey")));

    panel.orderOut();
    panel.dismissIfClickOutside(Point{0, 0});
    EXPECT_EQ(closes, 3) << "a held panel that is not visible ignores clicks";

    logs.clear();
    panel.orderFrontRegardless();
    panel.clearOnDismiss();
    pressEscape(panel);
    panel.dismissIfClickOutside(Point{0, 0});
    EXPECT_EQ(closes, 3);
    EXPECT_FALSE(logs.contains(QStringLiteral("dismissing"))) << "nothing happens without a close callback";
}

TEST_F(InSessionPanelTest, TheHUDGrowsDownwardWhereItsViewNeedsMoreThanItsHeight)
{
    SessionHUDPanel hud(environment);
    auto* tall = new QWidget;
    tall->setFixedHeight(260); // the confirmation below an expanded goal banner
    hud.show(tall);
    EXPECT_EQ(hud.frame(), (Rect{1100, 875 - 20 - 260, 320, 260})) << "the top edge stays 20 below the visible top";
}
