#include "platform/x11/X11EventTaps.h"
#include "LogCapture.h"
#include "X11DesktopScene.h"
#include "enforcement/SessionEventTap.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <cstdlib>

namespace vesk::platform::testing {
namespace {

constexpr std::uint64_t mouseDowns = X11PointerTap::kinds;

// The taps over the test's X server, with root pixels as the top-left system.
class X11EventTapsTest : public X11DesktopScene {
protected:
    void SetUp() override
    {
        X11DesktopScene::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        if (QStandardPaths::findExecutable("xdotool").isEmpty())
            GTEST_SKIP() << "Missing xdotool (scripts/deps.sh installs it)";
        taps = std::make_unique<X11EventTaps>(*connection, [this]() -> const X11RootMapping& { return mapping; });
    }

    void TearDown() override
    {
        taps.reset();
        X11DesktopScene::TearDown();
    }

    EventTapID addTap(EventTapCallback callback, TapOptions options = TapOptions::defaultFilter)
    {
        const auto tap =
            taps->createTap(TapLocation::session, TapPlacement::headInsert, options, mouseDowns, std::move(callback));
        EXPECT_TRUE(tap);
        return tap.value_or(0);
    }

    // A client window that logs the clicks it receives.
    xcb_window_t openLoggingWindow(const QString& name, const QString& geometry)
    {
        return openWindow({"--title", name, "--geometry", geometry, "--log", logPath(name)});
    }

    QString logPath(const QString& name) const { return logs.filePath(name + ".log"); }
    QString logOf(const QString& name) const
    {
        QFile file(logPath(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    bool click(QPoint rootPoint, const QString& button = "1", const QStringList& modifiers = {})
    {
        QStringList arguments{"mousemove", QString::number(rootPoint.x()), QString::number(rootPoint.y())};
        for (const QString& key : modifiers)
            arguments << "keydown" << key;
        arguments << "click" << button;
        for (const QString& key : modifiers)
            arguments << "keyup" << key;
        return server.runTool("xdotool", arguments);
    }

    // A click a tap counts in `heard`, once the tap has heard it: xdotool
    // returns before the press is taken here, and the taps must not change
    // before.
    bool clickHeard(const int& heard, QPoint rootPoint, const QString& button = "1")
    {
        const int before = heard;
        return click(rootPoint, button) && waitFor([&] { return heard > before; });
    }

    // A client's log shows a click of its own only once every click sent
    // before has been answered: a window that receives nothing is checked
    // by a later click to a window that does.
    bool clickReaches(const QString& name, QPoint rootPoint)
    {
        const int before = int(logOf(name).count(QStringLiteral("button ")));
        return click(rootPoint) && waitFor([&] { return int(logOf(name).count(QStringLiteral("button "))) > before; });
    }

    static bool grabButton(xcb_connection_t* client, std::uint8_t button, std::uint16_t modifiers)
    {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(client)).data->root;
        xcb_generic_error_t* error =
            xcb_request_check(client, xcb_grab_button_checked(client, 0, root, XCB_EVENT_MASK_BUTTON_PRESS,
                                                              XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_WINDOW_NONE,
                                                              XCB_CURSOR_NONE, button, modifiers));
        std::free(error);
        return error == nullptr;
    }

    // Whether another client could grab a mouse button on the root window
    // with some modifiers now (it lets go at once when it could).
    bool anotherClientCanGrab(std::uint8_t button, std::uint16_t modifiers) const
    {
        xcb_connection_t* other = xcb_connect(server.display().toLocal8Bit().constData(), nullptr);
        const bool grabbed = grabButton(other, button, modifiers);
        xcb_disconnect(other);
        return grabbed;
    }

    X11RootMapping mapping;
    std::unique_ptr<X11EventTaps> taps;
    QTemporaryDir logs;
};

const auto passOn = [](int, const InputEvent& event) { return std::optional<InputEvent>(event); };
const auto swallow = [](int, const InputEvent&) { return std::optional<InputEvent>(); };

TEST_F(X11EventTapsTest, TapsForEventsNoPartTakesAreRefusedAndSaidOnce)
{
    vesk::test::LogCapture log;
    const std::uint64_t scrolls = eventMaskBit(EventType::scrollWheel);
    EXPECT_FALSE(
        taps->createTap(TapLocation::session, TapPlacement::headInsert, TapOptions::defaultFilter, scrolls, passOn));
    EXPECT_FALSE(SessionEventTap::install(*taps, scrolls | mouseDowns, passOn));
    EXPECT_EQ(log.messages("X11EventTaps").size(), 1);
    EXPECT_FALSE(taps->pointer().isGrabbing());

    const EventMonitorID local = taps->addLocalMonitor(~0ull, [](const InputEvent& event) { return event; });
    const EventMonitorID global = taps->addGlobalMonitor(~0ull, [](const InputEvent&) {});
    EXPECT_NE(local, global);
    taps->removeMonitor(local);
}

TEST_F(X11EventTapsTest, APressPassesTheTapsAndThenReachesTheWindowBeneathUntouched)
{
    const xcb_window_t id = openLoggingWindow("beneath", "300x200+100+100");
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const QRect window = windowOf(id).clientGeometry;
    std::vector<InputEvent> seen;
    const EventTapID tap = addTap([&](int, const InputEvent& event) {
        seen.push_back(event);
        return std::optional<InputEvent>(event);
    });
    EXPECT_TRUE(taps->isTapValid(tap) && taps->isTapEnabled(tap));
    EXPECT_FALSE(anotherClientCanGrab(1, 0));

    const QPoint point = window.topLeft() + QPoint(40, 30);
    ASSERT_TRUE(click(point, "3", {"shift"}));
    ASSERT_TRUE(waitFor([&] { return logOf("beneath").contains("button 3 40 30"); })) << logOf("beneath").toStdString();
    ASSERT_EQ(seen.size(), 1u);
    InputEvent expected = InputEvent::mouse(EventType::rightMouseDown, QPointF(point), 1);
    expected.flags = EventFlag::shift;
    EXPECT_EQ(seen.front(), expected);
}

TEST_F(X11EventTapsTest, ASwallowedClickNeverReachesTheWindowBeneathAndTheNextOneIsDecidedAgain)
{
    const xcb_window_t id = openLoggingWindow("beneath", "300x200+100+100");
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const QRect window = windowOf(id).clientGeometry;
    const QPoint swallowed = window.topLeft() + QPoint(20, 20);
    const QPoint passed = window.topLeft() + QPoint(200, 150);
    int asked = 0;
    // Swallows the left half of the window, passes the rest.
    addTap([&](int, const InputEvent& event) {
        ++asked;

        return event.location.x() < window.center().x() ? std::nullopt : std::optional<InputEvent>(event);
    });
    for (const char* button : {"1", "2", "3", "8"})
        ASSERT_TRUE(clickHeard(asked, swallowed, button));
    EXPECT_TRUE(clickReaches("beneath", passed));
    EXPECT_FALSE(logOf("beneath").contains("button 1 20 20")) << logOf("beneath").toStdString();
    EXPECT_EQ(logOf("beneath").count("button "), 1) << logOf("beneath").toStdString();
    EXPECT_EQ(asked, 5);
}

TEST_F(X11EventTapsTest, TheGrabGoesWithTheLastTapThatAsksAndClicksReachTheirWindowsAgain)
{
    const xcb_window_t id = openLoggingWindow("beneath", "300x200+100+100");
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const QPoint point = windowOf(id).clientGeometry.center();
    const EventTapID first = addTap(swallow);
    int heard = 0;
    const EventTapID listening = addTap(
        [&](int, const InputEvent& event) {
            ++heard;
            return std::optional<InputEvent>(event);
        },
        TapOptions::listenOnly);
    ASSERT_TRUE(clickHeard(heard, point));

    taps->enableTap(first, false);
    EXPECT_TRUE(taps->pointer().isGrabbing()); // the listening tap still hears presses
    EXPECT_TRUE(clickReaches("beneath", point));
    taps->enableTap(first, true);
    ASSERT_TRUE(clickHeard(heard, point));
    taps->invalidateTap(first);
    taps->invalidateTap(listening);
    EXPECT_FALSE(taps->isTapValid(first));
    EXPECT_FALSE(taps->pointer().isGrabbing());
    EXPECT_TRUE(anotherClientCanGrab(1, XCB_MOD_MASK_ANY));
    EXPECT_TRUE(clickReaches("beneath", point));
    EXPECT_EQ(logOf("beneath").count("button "), 2) << logOf("beneath").toStdString();
}

TEST_F(X11EventTapsTest, APressIsAnsweredWhenItsTapGoesWhileItRuns)
{
    const xcb_window_t id = openLoggingWindow("beneath", "300x200+100+100");
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const QPoint point = windowOf(id).clientGeometry.center();
    int heard = 0;
    EventTapID tap = 0;
    tap = addTap([&](int, const InputEvent&) {
        ++heard;
        taps->invalidateTap(tap);
        return std::optional<InputEvent>();
    });
    ASSERT_TRUE(clickHeard(heard, point));
    EXPECT_FALSE(taps->pointer().isGrabbing());
    // Neither frozen nor grabbed: the next click goes where it falls.
    EXPECT_TRUE(clickReaches("beneath", point));
    EXPECT_EQ(logOf("beneath").count("button "), 1) << logOf("beneath").toStdString();
}

// A tap that takes too long (here: until the press has reached the window it
// would swallow it from) leaves the pointer frozen no longer than the safeguard
// allows: the press goes to its window.
TEST_F(X11EventTapsTest, APressTheTapsDoNotDecideInTimeGoesToItsWindow)
{
    const xcb_window_t id = openLoggingWindow("beneath", "300x200+100+100");
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const QPoint point = windowOf(id).clientGeometry.center();
    int heard = 0;
    addTap([&](int, const InputEvent&) {
        const int reached = int(logOf("beneath").count("button "));
        const QDeadlineTimer deadline(10000);
        while (int(logOf("beneath").count("button ")) == reached && !deadline.hasExpired())
            QThread::msleep(5);
        ++heard;
        return std::optional<InputEvent>();
    });
    vesk::test::LogCapture log;
    ASSERT_TRUE(clickHeard(heard, point));
    ASSERT_TRUE(clickHeard(heard, point));
    EXPECT_EQ(logOf("beneath").count("button "), 2) << logOf("beneath").toStdString();
    EXPECT_EQ(log.messages("X11EventTaps").size(), 1);
    EXPECT_TRUE(log.contains("waited longer than 500 ms for its decision"));
}

TEST_F(X11EventTapsTest, AButtonAnotherClientGrabsWithSomeModifiersIsLeftToItAndSaidOnce)
{
    const xcb_window_t id = openLoggingWindow("beneath", "300x200+100+100");
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const QPoint point = windowOf(id).clientGeometry.center();
    xcb_connection_t* other = xcb_connect(server.display().toLocal8Bit().constData(), nullptr);
    const auto closeOther = qScopeGuard([&] { xcb_disconnect(other); });
    ASSERT_TRUE(grabButton(other, 1, XCB_MOD_MASK_CONTROL));
    ASSERT_TRUE(grabButton(other, 9, XCB_MOD_MASK_ANY));

    vesk::test::LogCapture log;
    int heard = 0;
    const auto countAndSwallow = [&](int, const InputEvent&) {
        ++heard;
        return std::optional<InputEvent>();
    };
    const EventTapID tap = addTap(countAndSwallow);
    ASSERT_EQ(log.messages("X11EventTaps").size(), 1);
    EXPECT_TRUE(
        log.messages("X11EventTaps").front().endsWith(": button 1 with modifiers 0x04; button 9 with any modifiers"))
        << log.messages("X11EventTaps").front().toStdString();
    taps->invalidateTap(tap);
    addTap(countAndSwallow);
    EXPECT_EQ(log.messages("X11EventTaps").size(), 1);

    // Without Control the button is still decided here; with it, the other client has it.
    ASSERT_TRUE(clickHeard(heard, point));
    ASSERT_TRUE(click(point, "1", {"ctrl"}));
    bool otherPressed = false;
    EXPECT_TRUE(waitFor([&] {
        while (xcb_generic_event_t* event = xcb_poll_for_event(other)) {
            otherPressed = otherPressed || (event->response_type & 0x7f) == XCB_BUTTON_PRESS;
            std::free(event);
        }
        return otherPressed;
    }));
    EXPECT_EQ(heard, 1);
    EXPECT_FALSE(logOf("beneath").contains("button ")) << logOf("beneath").toStdString();
}

TEST(X11PointerTapTest, APressBecomesTheTapsEventByButtonWithItsPointAndModifiers)
{
    // A display at twice the scale right of a plain one.
    X11RootMapping mapping;
    mapping.displays = {{QRect(0, 0, 1000, 800), QPointF(0, 0), 1.0},
                        {QRect(1000, 0, 2000, 1600), QPointF(1000, 0), 2.0}};
    struct Case {
        std::uint8_t button;
        std::uint16_t state;
        QPoint root;
        int type;
        int number;
        std::uint64_t flags;
        QPointF point;
    };
    const Case cases[] = {
        {1, 0, {10, 20}, EventType::leftMouseDown, 0, 0, {10, 20}},
        {3,
         std::uint16_t(XCB_MOD_MASK_CONTROL) | XCB_BUTTON_MASK_1,
         {10, 20},
         EventType::rightMouseDown,
         1,
         EventFlag::control,
         {10, 20}},
        {2, XCB_MOD_MASK_1 | XCB_MOD_MASK_LOCK, {10, 20}, EventType::otherMouseDown, 2, EventFlag::option, {10, 20}},
        {8,
         XCB_MOD_MASK_4 | XCB_MOD_MASK_SHIFT,
         {1200, 400},
         EventType::otherMouseDown,
         3,
         EventFlag::command | EventFlag::shift,
         {1100, 200}},
        {9, 0, {1200, 400}, EventType::otherMouseDown, 4, 0, {1100, 200}},
    };
    for (const Case& c : cases) {
        xcb_button_press_event_t press{};
        press.response_type = XCB_BUTTON_PRESS;
        press.detail = c.button;
        press.state = c.state;
        press.root_x = std::int16_t(c.root.x());
        press.root_y = std::int16_t(c.root.y());
        InputEvent expected = InputEvent::mouse(c.type, c.point, c.number);
        expected.flags = c.flags;
        EXPECT_EQ(X11PointerTap::inputEvent(press, mapping), expected) << "button " << int(c.button);
    }
}

} // namespace
} // namespace vesk::platform::testing
