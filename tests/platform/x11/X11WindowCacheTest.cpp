#include "X11DesktopScene.h"

#include <QSysInfo>
#include <QTimer>

#include <algorithm>

namespace vesk::platform::testing {
namespace {

class X11WindowCacheTest : public X11DesktopScene {
protected:
    std::vector<xcb_window_t> listedIDs() const
    {
        std::vector<xcb_window_t> ids;
        for (const X11ManagedWindow& window : cache->windows())
            ids.push_back(window.id);
        return ids;
    }
};

TEST_F(X11WindowCacheTest, ReadsWhatTheClientAndTheWindowManagerSayOfAWindow)
{
    const xcb_window_t id = openWindow(
        {"--class", "editor,Editor", "--title", "Notizen ✓", "--geometry", "400x300+200+150", "--pid", "4711"});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    ASSERT_TRUE(waitFor([&] { return !windowOf(id).frameExtents.isNull(); }));

    const X11ManagedWindow& window = windowOf(id);
    EXPECT_EQ(window.instanceName, "editor");
    EXPECT_EQ(window.className, "Editor");
    EXPECT_EQ(window.title, QStringLiteral("Notizen ✓"));
    EXPECT_EQ(window.pid, ProcessID(4711));
    EXPECT_EQ(window.type, X11WindowType::normal);
    EXPECT_EQ(window.desktop, cache->currentDesktop());
    EXPECT_TRUE(window.mapped);
    EXPECT_FALSE(window.hidden);
    EXPECT_EQ(window.clientGeometry.size(), QSize(400, 300));
    // The frame is around the client: the bounds are the client grown by it.
    EXPECT_GT(window.frameExtents.top(), 0);
    EXPECT_EQ(window.bounds(), window.clientGeometry.marginsAdded(window.frameExtents));
    EXPECT_EQ(cache->desktopCount(), 4u);
}

TEST_F(X11WindowCacheTest, ListsWindowsFrontToBackAndDropsAClosedOne)
{
    const xcb_window_t first = openWindow({"--title", "first"});
    const xcb_window_t second = openWindow({"--title", "second"});
    ASSERT_NE(first, XCB_WINDOW_NONE);
    ASSERT_NE(second, XCB_WINDOW_NONE);
    ASSERT_TRUE(waitFor([&] { return listedIDs() == std::vector<xcb_window_t>{second, first}; }));

    ASSERT_TRUE(server.runTool("xdotool", {"windowclose", QString::number(second)}));
    EXPECT_TRUE(waitFor([&] { return listedIDs() == std::vector<xcb_window_t>{first}; }));
    EXPECT_EQ(cache->window(second), nullptr);
}

TEST_F(X11WindowCacheTest, FollowsATitleChange)
{
    const xcb_window_t id = openWindow({"--title", "before"});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const quint64 revision = cache->revision();
    ASSERT_TRUE(server.runTool("xdotool", {"set_window", "--name", "after", QString::number(id)}));
    EXPECT_TRUE(waitFor([&] { return windowOf(id).title == "after"; }));
    EXPECT_GT(cache->revision(), revision);
}

TEST_F(X11WindowCacheTest, KeepsTheProcessOnlyOfAClientOnThisMachine)
{
    struct Case {
        QString machine;
        std::optional<ProcessID> pid;
    };
    const Case cases[] = {{QSysInfo::machineHostName(), 4242}, {"elsewhere.example", std::nullopt}};
    for (const Case& c : cases) {
        const xcb_window_t id = openWindow({"--pid", "4242", "--machine", c.machine});
        ASSERT_NE(id, XCB_WINDOW_NONE);
        EXPECT_TRUE(waitFor([&] { return windowOf(id).pid == c.pid; })) << c.machine.toStdString();
    }
}

TEST_F(X11WindowCacheTest, ReadsWindowTypesAndStates)
{
    const xcb_window_t dock = openWindow({"--type", "dock", "--geometry", "1280x30+0+0"});
    const xcb_window_t above = openWindow({"--state", "above"});
    // openbox has no sticky state: a window on every desktop says so by its desktop.
    const xcb_window_t sticky = openWindow({"--desktop", QString::number(kX11AllDesktops)});
    ASSERT_NE(dock, XCB_WINDOW_NONE);
    ASSERT_NE(above, XCB_WINDOW_NONE);
    ASSERT_NE(sticky, XCB_WINDOW_NONE);
    EXPECT_TRUE(waitFor([&] { return windowOf(dock).type == X11WindowType::dock; }));
    EXPECT_TRUE(waitFor([&] { return windowOf(above).above; }));
    EXPECT_TRUE(waitFor([&] { return windowOf(sticky).isOnAllDesktops(); }));
    EXPECT_FALSE(windowOf(above).isOnAllDesktops());
}

TEST_F(X11WindowCacheTest, NoticesThatTheWindowManagerIsGone)
{
    ASSERT_TRUE(cache->hasWindowManager());
    server.killWindowManager();
    // Killed, openbox leaves its name on the root window; its check window goes.
    EXPECT_TRUE(waitFor([&] { return !cache->hasWindowManager(); }));
}

TEST_F(X11WindowCacheTest, AClientThatNeverPausesLeavesTheEventLoopItsTurns)
{
    const xcb_window_t id = openWindow({"--churn", "1"});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    ASSERT_TRUE(waitFor([&] { return windowOf(id).title.startsWith("churn "); }));
    bool timerFired = false;
    QTimer::singleShot(20, [&] { timerFired = true; });
    EXPECT_TRUE(waitFor([&] { return timerFired; }, 3000));
    const QString seen = windowOf(id).title;
    EXPECT_TRUE(waitFor([&] { return windowOf(id).title != seen; }));
}

TEST_F(X11WindowCacheTest, ReadingCostsNoRequest)
{
    ASSERT_NE(openWindow({"--title", "one"}), XCB_WINDOW_NONE);
    ASSERT_NE(openWindow({"--title", "two"}), XCB_WINDOW_NONE);
    const unsigned before = connection->markRequestSequence();
    std::size_t read = 0;
    for (int i = 0; i < 100; ++i) {
        for (const X11ManagedWindow& window : cache->windows())
            read += std::size_t(window.title.size()) + std::size_t(window.bounds().width());
        read += cache->currentDesktop() + cache->desktopCount() + cache->activeWindow();
    }
    const unsigned after = connection->markRequestSequence();
    EXPECT_GT(read, 0u);
    EXPECT_EQ(after - before, 1u);
}

} // namespace
} // namespace vesk::platform::testing
