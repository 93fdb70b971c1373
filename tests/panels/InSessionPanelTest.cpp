#include "panels/AppLaunchPromptPanel.h"
#include "panels/BugReportPanel.h"
#include "panels/QuickAccessPanel.h"
#include "panels/QuickAccessPanelView.h"
#include "panels/SessionHUDPanel.h"
#include "platform/WindowLevel.h"

#include "platform/simulated/DesktopScreenCapturer.h"

#include "FakeSession.h"
#include "PanelScene.h"
#include "QtPrinters.h"

#include <QCoreApplication>
#include <QDir>
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

TEST_F(InSessionPanelTest, QuickAccessCastsItsShadowAroundItsFrameWithoutWideningIt)
{
    // A wide window under the panel, so that the shadow has something to fall on.
    platform::ApplicationSpec backdrop;
    backdrop.bundleIdentifier = QStringLiteral("com.example.backdrop");
    platform::WindowSpec wide;
    wide.title = QStringLiteral("Backdrop");
    wide.bounds = QRectF(0, 0, 1440, 900);
    backdrop.windows = {wide};
    const platform::ProcessID backdropPID = desktop.addRunningApplication(backdrop);

    test::FakeSession session;
    session.setAllowlist(DynamicAllowlistState({QStringLiteral("com.example.editor")}, {}));
    desktop.setMouseLocation(QPointF(500, 600));
    QuickAccessPanel panel(environment);
    panel.show(new QuickAccessPanelView(
                   session, [] {}, {}, scheduler, scheduler),
               [] {});

    // The frame, its listing and the view are the 380 × 420 panel; only the window is larger.
    const QMargins room = shadowMargins(QuickAccessPanel::surfaceShadow());
    EXPECT_EQ(room, QMargins(54, 42, 54, 66)) << "three radii of 18, shifted 12 down";
    EXPECT_EQ(panel.frame(), (Rect{500, 180, 380, 420}));
    const QRect quartzFrame(500, 900 - 600, 380, 420);
    ASSERT_TRUE(listed(panel.windowNumber()));
    EXPECT_EQ(listed(panel.windowNumber())->frame, QRectF(500, 180, 380, 420));
    EXPECT_EQ(panel.geometry(), quartzFrame.marginsAdded(room));
    EXPECT_EQ(panel.contentView()->geometry(), QRect(QPoint(room.left(), room.top()), QSize(380, 420)));
    EXPECT_EQ(clickAtCocoa(QPointF(500 - 10, 400)).targetPID, backdropPID)
        << "a click on the shadow goes to the window under it";

    const QImage capture = platform::DesktopScreenCapturer(desktop).capture(0).convertToFormat(QImage::Format_RGB32);
    const QImage window = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(capture.copy(quartzFrame.adjusted(16, 16, -16, -16))
                == window.copy(panel.contentView()->geometry().adjusted(16, 16, -16, -16)))
        << "the capture draws the panel on its frame, not squeezed into it";

    const int backdropGrey =
        qGray(platform::DesktopScreenCapturer::windowColour(QStringLiteral("com.example.backdrop")).rgb());
    const auto darkening = [&capture, backdropGrey](int x, int y) { return backdropGrey - qGray(capture.pixel(x, y)); };
    const int centreX = quartzFrame.center().x();
    const int below = darkening(centreX, quartzFrame.bottom() + 8);
    const int above = darkening(centreX, quartzFrame.top() - 8);
    const int left = darkening(quartzFrame.left() - 8, quartzFrame.center().y());
    EXPECT_GT(below, 20) << "the shadow falls below the panel";
    EXPECT_GT(left, 5) << "and softly at its sides";
    EXPECT_GT(below, left);
    EXPECT_GT(left, above) << "moved 12 points down, it barely shows above";
    EXPECT_EQ(darkening(centreX, quartzFrame.bottom() + room.bottom() + 4), 0) << "nothing beyond its room";

    QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR));
    EXPECT_TRUE(capture.copy(quartzFrame.marginsAdded(room + QMargins(20, 20, 20, 20)))
                    .save(QStringLiteral(VESK_GALLERY_DIR "/quick-access-panel-shadow.png")));
}
