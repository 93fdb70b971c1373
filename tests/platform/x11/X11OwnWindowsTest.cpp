#include "platform/x11/X11OwnWindows.h"
#include "platform/x11/X11ScreenProvider.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

namespace vesk::platform::testing {
namespace {

class X11OwnWindowsTest : public ::testing::Test {
protected:
    static OwnWindowSpec spec(QString title, bool visible = true, bool canBecomeKey = false)
    {
        OwnWindowSpec s;
        s.title = std::move(title);
        s.frame = QRectF(10, 10, 200, 100);
        s.visible = visible;
        s.canBecomeKey = canBecomeKey;
        return s;
    }

    std::vector<WindowNumber> order() const
    {
        std::vector<WindowNumber> numbers;
        for (const OwnWindowInfo& info : windows.ownWindows())
            numbers.push_back(info.number);
        return numbers;
    }

    X11ScreenProvider screens;
    X11OwnWindows windows{screens};
};

TEST_F(X11OwnWindowsTest, NumbersWindowsAboveEveryXResourceAndListsTheNewestFirst)
{
    const WindowNumber main = windows.addOwnWindow(spec("main"));
    const WindowNumber panel = windows.addOwnWindow(spec("panel", false));
    // X resource ids leave the top three bits clear.
    EXPECT_GE(main & 0xE0000000u, 0xE0000000u);
    EXPECT_NE(main, panel);
    EXPECT_EQ(order(), (std::vector<WindowNumber>{panel, main}));

    // Showing a window orders it in front; a change that shows nothing new leaves the order.
    ASSERT_TRUE(windows.updateOwnWindow(main, spec("main, renamed")));
    EXPECT_EQ(order(), (std::vector<WindowNumber>{panel, main}));
    ASSERT_TRUE(windows.updateOwnWindow(main, spec("main", false)));
    ASSERT_TRUE(windows.updateOwnWindow(main, spec("main", true)));
    EXPECT_EQ(order(), (std::vector<WindowNumber>{main, panel}));

    EXPECT_FALSE(windows.updateOwnWindow(12345, spec("unknown")));
    windows.removeOwnWindow(panel);
    EXPECT_EQ(order(), (std::vector<WindowNumber>{main}));
}

TEST_F(X11OwnWindowsTest, KeepsTheFrameAndTheDisplayOfEachWindow)
{
    const WindowNumber number = windows.addOwnWindow(spec("main"));
    const std::vector<OwnWindowInfo> infos = windows.ownWindows();
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_EQ(infos.front().number, number);
    EXPECT_EQ(infos.front().frame, QRectF(10, 10, 200, 100));
    EXPECT_EQ(infos.front().displayIndex, 0);
    EXPECT_EQ(windows.entries().front().quartzBounds, screens.quartzRect(QRectF(10, 10, 200, 100)));
}

TEST_F(X11OwnWindowsTest, OnlyAWindowThatCanBecomeKeyTakesTheKeyboardWhileItIsShown)
{
    const WindowNumber field = windows.addOwnWindow(spec("quick access", true, true));
    const WindowNumber overlay = windows.addOwnWindow(spec("overlay"));
    windows.makeOwnWindowKey(overlay);
    EXPECT_EQ(windows.keyOwnWindow(), std::nullopt);
    windows.makeOwnWindowKey(field);
    EXPECT_EQ(windows.keyOwnWindow(), field);
    ASSERT_TRUE(windows.updateOwnWindow(field, spec("quick access", false, true)));
    EXPECT_EQ(windows.keyOwnWindow(), std::nullopt);
    ASSERT_TRUE(windows.updateOwnWindow(field, spec("quick access", true, true)));
    EXPECT_EQ(windows.keyOwnWindow(), field);
    windows.removeOwnWindow(field);
    EXPECT_EQ(windows.keyOwnWindow(), std::nullopt);
}

} // namespace
} // namespace vesk::platform::testing
