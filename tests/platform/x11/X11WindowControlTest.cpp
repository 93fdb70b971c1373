#include "platform/x11/X11WindowControl.h"
#include "X11DesktopScene.h"

#include <QFile>
#include <QTemporaryDir>

namespace vesk::platform::testing {
namespace {

class X11WindowControlTest : public X11DesktopScene {
protected:
    void SetUp() override
    {
        X11DesktopScene::SetUp();
        if (!IsSkipped() && !HasFatalFailure())
            control = std::make_unique<X11WindowControl>(*connection, *cache);
    }

    void TearDown() override
    {
        control.reset();
        X11DesktopScene::TearDown();
    }

    // A window with its frame, ready to be acted on.
    xcb_window_t openFramedWindow(QStringList arguments)
    {
        const xcb_window_t id = openWindow(std::move(arguments));
        const bool framed = id != XCB_WINDOW_NONE && waitFor([&] { return !windowOf(id).frameExtents.isNull(); });
        return framed ? id : xcb_window_t(XCB_WINDOW_NONE);
    }

    QString logPath(const QString& name) const { return logs.filePath(name); }

    static QString logOf(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    xcb_window_t frontWindow() const
    {
        return cache->windows().empty() ? xcb_window_t(XCB_WINDOW_NONE) : cache->windows().front().id;
    }

    QTemporaryDir logs;
    std::unique_ptr<X11WindowControl> control;
};

TEST_F(X11WindowControlTest, MovesAndResizesAWindowToTheBoundsItIsGivenFrameIncluded)
{
    const xcb_window_t id = openFramedWindow({"--geometry", "300x200+50+50"});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const QRect targets[] = {QRect(0, 0, 400, 300), QRect(700, 420, 580, 380), QRect(123, 77, 250, 150)};
    for (const QRect& target : targets) {
        ASSERT_TRUE(control->moveResize(id, target));
        EXPECT_TRUE(waitFor([&] { return windowOf(id).bounds() == target; }))
            << "wanted " << target.x() << "," << target.y() << " " << target.width() << "x" << target.height()
            << ", got " << windowOf(id).bounds().x() << "," << windowOf(id).bounds().y() << " "
            << windowOf(id).bounds().width() << "x" << windowOf(id).bounds().height();
    }
}

TEST_F(X11WindowControlTest, ActivatingAWindowBringsItForwardWithTheKeyboard)
{
    const QString firstLog = logPath("first.log");
    const QString secondLog = logPath("second.log");
    const xcb_window_t first = openFramedWindow({"--title", "first", "--log", firstLog});
    const xcb_window_t second = openFramedWindow({"--title", "second", "--log", secondLog});
    ASSERT_NE(first, XCB_WINDOW_NONE);
    ASSERT_NE(second, XCB_WINDOW_NONE);
    ASSERT_TRUE(waitFor([&] { return frontWindow() == second; }));

    ASSERT_TRUE(control->activate(first));
    EXPECT_TRUE(waitFor([&] { return frontWindow() == first && cache->activeWindow() == first; }));
    ASSERT_TRUE(server.runTool("xdotool", {"key", "a"}));
    EXPECT_TRUE(waitFor([&] { return logOf(firstLog).contains("key "); }));
    EXPECT_FALSE(logOf(secondLog).contains("key "));
}

TEST_F(X11WindowControlTest, RaisingBringsAWindowToTheFront)
{
    const xcb_window_t first = openFramedWindow({"--title", "first"});
    const xcb_window_t second = openFramedWindow({"--title", "second"});
    ASSERT_NE(first, XCB_WINDOW_NONE);
    ASSERT_NE(second, XCB_WINDOW_NONE);
    ASSERT_TRUE(waitFor([&] { return frontWindow() == second; }));
    ASSERT_TRUE(control->raise(first));
    EXPECT_TRUE(waitFor([&] { return frontWindow() == first; }));
}

TEST_F(X11WindowControlTest, MaximisesAndFillsTheScreenAndComesBack)
{
    const xcb_window_t id = openFramedWindow({"--geometry", "300x200+200+150"});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const QRect before = windowOf(id).bounds();
    const QRect screen(0, 0, screenWidth, screenHeight);

    ASSERT_TRUE(control->setMaximized(id, true));
    EXPECT_TRUE(waitFor([&] { return windowOf(id).isMaximized() && windowOf(id).bounds() == screen; }));
    ASSERT_TRUE(control->setMaximized(id, false));
    EXPECT_TRUE(waitFor([&] { return !windowOf(id).isMaximized() && windowOf(id).bounds() == before; }));

    ASSERT_TRUE(control->setFullScreen(id, true));
    EXPECT_TRUE(waitFor([&] { return windowOf(id).fullScreen && windowOf(id).bounds() == screen; }));
    EXPECT_EQ(windowOf(id).clientGeometry, screen);
    ASSERT_TRUE(control->setFullScreen(id, false));
    EXPECT_TRUE(waitFor([&] { return !windowOf(id).fullScreen && windowOf(id).bounds() == before; }));
}

TEST_F(X11WindowControlTest, ClosingAsksTheApplicationToCloseTheWindow)
{
    const QString log = logPath("close.log");
    const xcb_window_t id = openFramedWindow({"--log", log});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    ASSERT_TRUE(control->close(id));
    EXPECT_TRUE(waitFor([&] { return cache->window(id) == nullptr; }));
    EXPECT_EQ(logOf(log), QStringLiteral("close %1\n").arg(id));
}

TEST_F(X11WindowControlTest, SwitchesDesktopsAndMovesAWindowToAnother)
{
    const xcb_window_t id = openFramedWindow({});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    ASSERT_EQ(cache->desktopCount(), 4u);

    ASSERT_TRUE(control->moveToDesktop(id, 2));
    EXPECT_TRUE(waitFor([&] { return windowOf(id).desktop == 2u && !windowOf(id).mapped; }));
    ASSERT_TRUE(control->switchToDesktop(2));
    EXPECT_TRUE(waitFor([&] { return cache->currentDesktop() == 2u && windowOf(id).mapped; }));

    EXPECT_FALSE(control->switchToDesktop(4));
    EXPECT_FALSE(control->moveToDesktop(id, 4));
}

TEST_F(X11WindowControlTest, RefusesWindowsTheWindowManagerDoesNotManage)
{
    const xcb_window_t unknown = 0x1234567;
    EXPECT_FALSE(control->moveResize(unknown, QRect(0, 0, 100, 100)));
    EXPECT_FALSE(control->activate(unknown));
    EXPECT_FALSE(control->raise(unknown));
    EXPECT_FALSE(control->minimize(unknown));
    EXPECT_FALSE(control->restore(unknown));
    EXPECT_FALSE(control->close(unknown));
    EXPECT_FALSE(control->setMaximized(unknown, true));
    EXPECT_FALSE(control->setFullScreen(unknown, true));
    EXPECT_FALSE(control->moveToDesktop(unknown, 0));
}

} // namespace
} // namespace vesk::platform::testing
