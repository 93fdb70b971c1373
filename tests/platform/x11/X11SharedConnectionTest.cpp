#include "X11DesktopScene.h"
#include "platform/VirtualKeyCodes.h"
#include "platform/x11/X11EventTaps.h"
#include "platform/x11/X11OwnWindows.h"
#include "platform/x11/X11ScreenProvider.h"
#include "platform/x11/X11WindowControl.h"
#include "platform/x11/X11WindowListProvider.h"

#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWindow>

namespace vesk::platform::testing {
namespace {

class ClickCountingWindow final : public QWindow {
public:
    int presses = 0;
    int keys = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        ++keys;
        event->accept();
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        ++presses;
        event->accept();
    }
};

// Under Qt's xcb platform the desktop shares Qt's connection: its events come
// through Qt's native event filter, and Qt's own windows keep the events Qt
// asked for after the cache has added its own. Started on a test server by
// the test below; skipped anywhere else.
TEST(X11SharedConnectionTest, FollowsWindowsOnQtsConnectionAndLeavesQtItsInput)
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        GTEST_SKIP() << "Runs under the xcb platform (RunsOnQtsOwnConnection starts it so)";
    auto connection = X11Connection::forApplication();
    ASSERT_TRUE(connection);
    EXPECT_TRUE(connection->sharesQtConnection());
    X11WindowCache cache(*connection);
    X11ScreenProvider screens;
    X11OwnWindows ownWindows(screens);
    const X11WindowListProvider provider(cache, ownWindows, ProcessID(QCoreApplication::applicationPid()), "Vesk");

    ClickCountingWindow window;
    window.setTitle("Qt's own");
    window.setGeometry(100, 100, 240, 160);
    window.show();
    const auto id = xcb_window_t(window.winId());
    ASSERT_TRUE(QTest::qWaitFor([&] { return cache.window(id) && cache.window(id)->mapped; }, 5000));
    EXPECT_EQ(cache.window(id)->pid, ProcessID(QCoreApplication::applicationPid()));
    EXPECT_EQ(cache.window(id)->title, "Qt's own");
    // This process's windows are listed only as they register.
    EXPECT_TRUE(provider.copyWindowInfo(WindowListAll).isEmpty());

    window.setTitle("renamed");
    EXPECT_TRUE(QTest::qWaitFor([&] { return cache.window(id)->title == "renamed"; }, 5000));

    // Qt takes the pointer through XInput 2 and the keyboard through core events.
    QProcess xdotool;
    xdotool.start("xdotool", {"mousemove", "--window", QString::number(id), "40", "40", "click", "1", "windowactivate",
                              "--sync", QString::number(id), "key", "a"});
    ASSERT_TRUE(xdotool.waitForFinished(10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.presses > 0 && window.keys > 0; }, 5000));
}

// Vesk's registered window with a real window is listed where the X server
// stacks that window among the others of its level.
TEST(X11SharedConnectionTest, ListsARegisteredWindowAtItsRealWindowsPlaceInTheStacking)
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        GTEST_SKIP() << "Runs under the xcb platform (RunsOnQtsOwnConnection starts it so)";
    auto connection = X11Connection::forApplication();
    ASSERT_TRUE(connection);
    X11WindowCache cache(*connection);
    X11WindowControl control(*connection, cache);
    X11ScreenProvider screens;
    X11OwnWindows ownWindows(screens);
    const X11WindowListProvider provider(cache, ownWindows, ProcessID(QCoreApplication::applicationPid()), "Vesk");

    QWindow window;
    window.setGeometry(100, 100, 240, 160);
    window.show();
    const auto id = xcb_window_t(window.winId());
    ASSERT_TRUE(QTest::qWaitFor([&] { return cache.window(id) && cache.window(id)->mapped; }, 5000));
    OwnWindowSpec spec;
    spec.title = "Vesk";
    spec.frame = QRectF(100, 100, 240, 160);
    const WindowNumber number = ownWindows.addOwnWindow(spec);
    ownWindows.setOwnWindowHandle(number, &window);

    QProcess client;
    client.start(VESK_X11_TEST_CLIENT, {"--title", "other"});
    ASSERT_TRUE(client.waitForStarted(10000));
    ASSERT_TRUE(client.waitForReadyRead(10000));
    const auto other = xcb_window_t(client.readLine().trimmed().toUInt());
    auto numbers = [&] {
        std::vector<qint64> listed;
        for (const QVariantMap& entry : provider.copyWindowInfo(WindowListOnScreenOnly))
            listed.push_back(entry.value(kWindowNumber).toLongLong());
        return listed;
    };
    // The newer window is in front, though Vesk's registered last.
    EXPECT_TRUE(QTest::qWaitFor([&] { return numbers() == std::vector<qint64>{qint64(other), qint64(number)}; }, 5000));
    ASSERT_TRUE(control.activate(id));
    EXPECT_TRUE(QTest::qWaitFor([&] { return numbers() == std::vector<qint64>{qint64(number), qint64(other)}; }, 5000));
    client.kill();
    client.waitForFinished();
}

// The pointer tap on Qt's connection: presses come through Qt's event filter,
// are decided before anyone sees them, and the passed ones reach Qt's own
// windows (through XInput 2) as they reach any other.
TEST(X11SharedConnectionTest, APointerTapOnQtsConnectionDecidesPressesBeforeQtsWindowsAndOthersGetThem)
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        GTEST_SKIP() << "Runs under the xcb platform (RunsOnQtsOwnConnection starts it so)";
    auto connection = X11Connection::forApplication();
    ASSERT_TRUE(connection);
    const X11RootMapping mapping;
    X11EventTaps taps(*connection, [&]() -> const X11RootMapping& { return mapping; });

    ClickCountingWindow window;
    window.setGeometry(100, 100, 240, 160);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTemporaryDir logs;
    const QString log = logs.filePath("other.log");
    QProcess client;
    client.start(VESK_X11_TEST_CLIENT, {"--geometry", "240x160+500+100", "--log", log});
    ASSERT_TRUE(client.waitForStarted(10000));
    ASSERT_TRUE(client.waitForReadyRead(10000));
    const auto logged = [&] {
        QFile file(log);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };

    // Passes what falls on Qt's window, swallows the rest.
    int decided = 0;
    const QRect qtWindow = window.frameGeometry();
    const auto tap = taps.createTap(TapLocation::session, TapPlacement::headInsert, TapOptions::defaultFilter,
                                    X11PointerTap::kinds, [&](int, const InputEvent& event) {
                                        ++decided;
                                        return qtWindow.contains(event.location.toPoint())
                                                   ? std::optional<InputEvent>(event)
                                                   : std::nullopt;
                                    });
    ASSERT_TRUE(tap);
    const auto click = [&](int x, int y) {
        QProcess xdotool;
        xdotool.start("xdotool", {"mousemove", QString::number(x), QString::number(y), "click", "1"});
        return xdotool.waitForFinished(10000) && xdotool.exitCode() == 0;
    };
    ASSERT_TRUE(click(600, 180));
    ASSERT_TRUE(QTest::qWaitFor([&] { return decided == 1; }, 5000));
    ASSERT_TRUE(click(200, 180));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.presses == 1; }, 5000));
    EXPECT_EQ(decided, 2);
    EXPECT_EQ(logged(), QString());

    taps.invalidateTap(*tap);
    ASSERT_TRUE(click(600, 180));
    EXPECT_TRUE(QTest::qWaitFor([&] { return logged().contains("button 1"); }, 5000));
    client.kill();
    client.waitForFinished();
}

// On Qt's connection the keys of Vesk's own windows come by the key tap too:
// a grabbed chord meets the taps once, on its way in, and what reaches Vesk's
// window meets the local monitors.
TEST(X11SharedConnectionTest, AGrabbedChordMeetsTheTapsOnceAndVesksKeysTheLocalMonitors)
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        GTEST_SKIP() << "Runs under the xcb platform (RunsOnQtsOwnConnection starts it so)";
    auto connection = X11Connection::forApplication();
    ASSERT_TRUE(connection);
    X11EventTaps taps(*connection);
    int tapped = 0;
    const auto tap = taps.createTap(TapLocation::session, TapPlacement::headInsert, TapOptions::defaultFilter,
                                    eventMaskBit(EventType::keyDown), [&](int, const InputEvent& event) {
                                        tapped += event.keyCode() == KeyCode::escape ? 1 : 0;
                                        return std::optional<InputEvent>(event);
                                    });
    ASSERT_TRUE(tap);
    std::vector<InputEvent> local;
    taps.addLocalMonitor(eventMaskBit(EventType::keyDown), [&](const InputEvent& event) {
        local.push_back(event);
        return std::optional<InputEvent>(event);
    });

    ClickCountingWindow window;
    window.setGeometry(100, 100, 240, 160);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 5000));
    QProcess xdotool;
    xdotool.start("xdotool", {"windowactivate", "--sync", QString::number(window.winId()), "key", "super+shift+Escape",
                              "key", "a"});
    ASSERT_TRUE(xdotool.waitForFinished(10000));
    const InputEvent a = InputEvent::key(EventType::keyDown, 0, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::find(local.begin(), local.end(), a) != local.end(); }, 5000));
    EXPECT_EQ(tapped, 1);
    EXPECT_NE(std::find(local.begin(), local.end(),
                        InputEvent::key(EventType::keyDown, KeyCode::escape, EventFlag::command | EventFlag::shift)),
              local.end());
}

class X11SharedConnectionRunTest : public X11DesktopScene { };

TEST_F(X11SharedConnectionRunTest, RunsOnQtsOwnConnection)
{
    if (QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "Missing xdotool (scripts/deps.sh installs it)";
    runUnderQtsConnection("X11SharedConnectionTest.*", 4);
}

} // namespace
} // namespace vesk::platform::testing
