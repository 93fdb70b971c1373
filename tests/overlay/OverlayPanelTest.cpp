#include "overlay/OverlayPanel.h"
#include "core/ManualScheduler.h"
#include "overlay/OverlayBackingPanel.h"
#include "overlay/OverlayContentView.h"
#include "overlay/SystemMouseInteractionDetector.h"
#include "platform/WindowLevel.h"
#include "platform/simulated/SimulatedDesktop.h"

#include "FakeScreens.h"
#include "LogCapture.h"
#include "PixelChecks.h"

#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <QWindow>

#include <gtest/gtest.h>

using namespace vesk;

namespace {

class OverlayPanelTest : public testing::Test {
protected:
    OverlayPanelTest()
    {
        platform::DisplaySpec display;
        display.displayID = 1;
        display.bounds = QRectF(0, 0, 1440, 900);
        display.name = QStringLiteral("Built-in");
        desktop.addDisplay(display);
        screens.add(1, QRectF(0, 0, 1440, 900), QStringLiteral("Built-in"));
        screenInfo = screens.list.front();
    }

    const platform::OwnWindowInfo* ownWindow(std::optional<quint32> number) const
    {
        static platform::OwnWindowInfo found;
        for (const auto& window : desktop.ownWindows()) {
            if (number && window.number == *number) {
                found = window;
                return &found;
            }
        }
        return nullptr;
    }

    test::LogCapture logs;
    QTemporaryDir root;
    ManualScheduler scheduler;
    platform::SimulatedDesktop desktop{scheduler, root.path()};
    FakeScreens screens;
    platform::ScreenInfo screenInfo;
    const Rect quartzFrame{0, 0, 1440, 900};
};

} // namespace

TEST_F(OverlayPanelTest, BlackPanelIsListedAboveTheShieldingLevelIgnoringTheMouse)
{
    OverlayPanel panel(screenInfo, quartzFrame, screens, &desktop);
    EXPECT_FALSE(panel.windowNumber().has_value()) << "listed only once ordered in";
    panel.showOnScreen();
    EXPECT_TRUE(panel.isVisible());
    const auto* listed = ownWindow(panel.windowNumber());
    ASSERT_NE(listed, nullptr);
    EXPECT_EQ(listed->level, platform::shieldingWindowLevel() + 1);
    EXPECT_TRUE(listed->visible);
    EXPECT_EQ(listed->frame, QRectF(0, 0, 1440, 900));
    EXPECT_TRUE(desktop.window(*panel.windowNumber())->ignoresMouseEvents);
    EXPECT_TRUE(panel.testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(logs.contains(QStringLiteral("OverlayPanel created for screen: Built-in")));
    EXPECT_TRUE(logs.contains(QStringLiteral("Overlay shown on screen: Built-in")));

    panel.orderOut();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_FALSE(ownWindow(panel.windowNumber())->visible);
}

TEST_F(OverlayPanelTest, BackingPanelIsListedJustAboveTheDesktopIconsAndTakesTheMouse)
{
    OverlayBackingPanel panel(screenInfo, quartzFrame, screens, &desktop);
    panel.showOnScreen();
    const auto* listed = ownWindow(panel.windowNumber());
    ASSERT_NE(listed, nullptr);
    EXPECT_EQ(listed->level, platform::windowLevelForKey(platform::WindowLevelKey::desktopIcon) + 1);
    EXPECT_LT(listed->level, platform::WindowLevel::normal);
    EXPECT_FALSE(desktop.window(*panel.windowNumber())->ignoresMouseEvents);
    EXPECT_TRUE(logs.contains(QStringLiteral("Overlay backing shown on screen: Built-in")));

    const QImage image = panel.grab().toImage();
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(1400, 850), QColor(Qt::black));
}

TEST_F(OverlayPanelTest, PanelsLeaveTheWindowListWhenDestroyed)
{
    std::optional<quint32> number;
    {
        OverlayPanel panel(screenInfo, quartzFrame, screens, &desktop);
        panel.showOnScreen();
        number = panel.windowNumber();
    }
    EXPECT_EQ(ownWindow(number), nullptr);
    EXPECT_TRUE(desktop.ownWindows().empty());
}

TEST_F(OverlayPanelTest, PanelOnNoDisplayIsShownAsUnknown)
{
    platform::ScreenInfo gone = screenInfo;
    gone.frame = QRectF(5000, 5000, 800, 600);
    OverlayPanel panel(gone, Rect{5000, -4700, 800, 600}, screens, &desktop);
    panel.showOnScreen();
    OverlayBackingPanel backing(gone, Rect{5000, -4700, 800, 600}, screens, &desktop);
    backing.showOnScreen();
    EXPECT_TRUE(logs.contains(QStringLiteral("Overlay shown on screen: unknown")));
    EXPECT_TRUE(logs.contains(QStringLiteral("Overlay backing shown on screen: unknown")));
    EXPECT_EQ(backing.screenLabel(), QStringLiteral("unknown"));
}

TEST_F(OverlayPanelTest, HolesWrittenToThePanelReachItsView)
{
    OverlayPanel panel(screenInfo, quartzFrame, screens, &desktop);
    const std::vector<Rect> holes{Rect{100, 100, 200, 100}};
    panel.setPassthroughRects(holes);
    EXPECT_EQ(panel.passthroughRects(), holes);
    EXPECT_EQ(panel.contentView()->passthroughRects(), holes);
}

TEST_F(OverlayPanelTest, TheShapeFollowsTheHolesAsTheyChange)
{
    OverlayPanel panel(screenInfo, quartzFrame, screens, &desktop);
    // Cocoa (100, 100, 200, 100) on the 900-high display is view (100, 700, 200, 100).
    panel.setPassthroughRects({Rect{100, 100, 200, 100}});
    EXPECT_FALSE(panel.mask().contains(QPoint(150, 750)));
    EXPECT_TRUE(panel.mask().contains(QPoint(150, 650)));
    panel.setPassthroughRects({Rect{100, 100, 200, 100}}); // a steady frame
    EXPECT_FALSE(panel.mask().contains(QPoint(150, 750)));

    panel.setPassthroughRects({Rect{500, 500, 100, 100}}); // view (500, 300, 100, 100)
    EXPECT_TRUE(panel.mask().contains(QPoint(150, 750))) << "the old hole is closed again";
    EXPECT_FALSE(panel.mask().contains(QPoint(550, 350)));
    panel.setPassthroughRects({});
    EXPECT_TRUE(panel.mask().contains(QPoint(550, 350)));
}

TEST_F(OverlayPanelTest, TheOpaquePanelShowsItsHolesThroughItsShape)
{
    OverlayPanel panel(screenInfo, quartzFrame, screens, &desktop);
    panel.setPassthroughRects({Rect{100, 100, 200, 100}}); // view (100, 700, 200, 100)
    panel.orderFrontRegardless();
    // A window with an alpha channel has its backing store cleared before
    // every paint pass, a second write of each pixel per frame.
    ASSERT_NE(panel.windowHandle(), nullptr);
    EXPECT_FALSE(panel.windowHandle()->requestedFormat().hasAlpha());

    // The desktop still shows what lies beneath the hole.
    const platform::OwnWindowRenderer* renderer = desktop.ownWindowRenderer(*panel.windowNumber());
    ASSERT_NE(renderer, nullptr);
    const QImage image = (*renderer)(QSize(1440, 900)).convertToFormat(QImage::Format_ARGB32);
    EXPECT_TRUE(test::isTransparent(image, 150, 750));
    EXPECT_TRUE(test::isBlack(image, 150, 650));
    EXPECT_TRUE(test::isBlack(image, 350, 750));
}

struct ButtonCase {
    std::vector<int> held;
    bool active;
};

class MouseInteractionDetectorTest : public OverlayPanelTest, public testing::WithParamInterface<ButtonCase> { };

TEST_P(MouseInteractionDetectorTest, AnyOfTheFirstThreeButtonsCounts)
{
    for (int button : GetParam().held)
        desktop.setMouseButtonDown(button, true);
    const SystemMouseInteractionDetector detector(desktop.pointer());
    EXPECT_EQ(detector.isMouseInteractionActive(), GetParam().active);
}

INSTANTIATE_TEST_SUITE_P(Buttons, MouseInteractionDetectorTest,
                         testing::Values(ButtonCase{{}, false}, ButtonCase{{0}, true}, ButtonCase{{1}, true},
                                         ButtonCase{{2}, true}, ButtonCase{{3}, false}, ButtonCase{{4, 1}, true}));
