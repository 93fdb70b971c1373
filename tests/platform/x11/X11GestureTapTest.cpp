#include "platform/x11/X11GestureTap.h"

#include "LogCapture.h"
#include "X11DesktopScene.h"
#include "core/QtScheduler.h"
#include "enforcement/GestureBlockerService.h"
#include "platform/x11/X11Desktop.h"

#include <QGuiApplication>
#include <QProcess>

#include <xcb/xinput.h>

#include <cstdlib>

namespace vesk::platform::testing {
namespace {

constexpr std::uint32_t anyModifier = XCB_INPUT_MODIFIER_MASK_ANY;

TEST(X11GestureTapVersionTest, GesturesComeWithXInput24)
{
    using Version = X11GestureTap::Version;
    const std::vector<std::pair<std::optional<Version>, bool>> cases{
        {std::nullopt, false}, {Version{2, 3}, false}, {Version{2, 4}, true},
        {Version{2, 5}, true}, {Version{3, 0}, true},  {Version{1, 5}, false},
    };
    for (const auto& [version, reports] : cases)
        EXPECT_EQ(X11GestureTap::reportsGestures(version), reports)
            << (version ? version->major : -1) << "." << (version ? version->minor : -1);
}

// The gesture part over the test's X server. Whether Vesk holds the gestures
// is seen as another client sees it: its own passive gesture grab on the root
// window is refused while Vesk's stands.
class X11GestureTapTest : public X11DesktopScene {
protected:
    void SetUp() override
    {
        X11DesktopScene::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        version = X11GestureTap::queryVersion(*connection);
        if (!X11GestureTap::reportsGestures(version))
            GTEST_SKIP() << "The test's X server speaks no XInput 2.4";
        other = X11Connection::open(server.display());
        ASSERT_TRUE(other);
        ASSERT_TRUE(X11GestureTap::reportsGestures(X11GestureTap::queryVersion(*other)));
    }

    // A round trip: the server has taken every request sent before.
    static void sync(X11Connection& on)
    {
        std::free(xcb_get_input_focus_reply(on.xcb(), xcb_get_input_focus(on.xcb()), nullptr));
    }

    bool otherGrabsPinches(bool keep = false)
    {
        sync(*connection);
        xcb_connection_t* c = other->xcb();
        const std::uint32_t mask[2] = {1u << XCB_INPUT_GESTURE_PINCH_BEGIN, 0};
        xcb_input_xi_passive_grab_device_reply_t* reply = xcb_input_xi_passive_grab_device_reply(
            c,
            xcb_input_xi_passive_grab_device(c, XCB_CURRENT_TIME, other->root(), XCB_NONE, 0,
                                             XCB_INPUT_DEVICE_ALL_MASTER, 1, 2, XCB_INPUT_GRAB_TYPE_GESTURE_PINCH_BEGIN,
                                             XCB_INPUT_GRAB_MODE_22_ASYNC, XCB_INPUT_GRAB_MODE_22_ASYNC, 0, mask,
                                             &anyModifier),
            nullptr);
        const bool granted = reply && xcb_input_xi_passive_grab_device_modifiers_length(reply) == 0;
        std::free(reply);
        if (!keep) {
            xcb_input_xi_passive_ungrab_device(c, other->root(), 0, XCB_INPUT_DEVICE_ALL_MASTER, 1,
                                               XCB_INPUT_GRAB_TYPE_GESTURE_PINCH_BEGIN, &anyModifier);
            sync(*other);
        }
        return granted;
    }

    // A gesture event as the server sends it.
    xcb_input_gesture_pinch_begin_event_t gestureEvent(std::uint16_t type, std::uint32_t flags = 0) const
    {
        xcb_input_gesture_pinch_begin_event_t event{};
        event.response_type = XCB_GE_GENERIC;
        event.extension = xcb_get_extension_data(connection->xcb(), &xcb_input_id)->major_opcode;
        event.event_type = type;
        event.root_x = 300 << 16;
        event.root_y = (200 << 16) + (1 << 15);
        if (type <= XCB_INPUT_GESTURE_PINCH_END)
            event.flags = flags;
        else
            reinterpret_cast<xcb_input_gesture_swipe_begin_event_t&>(event).flags = flags;
        return event;
    }

    std::optional<X11GestureTap::Version> version;
    std::unique_ptr<X11Connection> other;
};

TEST_F(X11GestureTapTest, TheGestureBlockersTapHoldsTheGesturesFromActivationToDeactivation)
{
    const auto desktop = X11Desktop::open(server.display(), "Vesk");
    ASSERT_TRUE(desktop);
    QtScheduler scheduler;
    GestureBlockerService blocker(scheduler, desktop->eventTaps(), desktop->permissions(), desktop->workspace(),
                                  "org.vesk.Vesk");
    EXPECT_TRUE(otherGrabsPinches());

    blocker.activate({"org.vesk.Editor"});
    ASSERT_TRUE(blocker.hasEventTap());
    EXPECT_TRUE(desktop->eventTaps().gestures().isGrabbing());
    EXPECT_FALSE(otherGrabsPinches());

    blocker.deactivate();
    EXPECT_FALSE(desktop->eventTaps().gestures().isGrabbing());
    EXPECT_TRUE(otherGrabsPinches());
}

TEST_F(X11GestureTapTest, FollowsTheSwallowingTapsOfTheChain)
{
    X11EventTaps taps(*connection, {});
    const auto passOn = [](int, const InputEvent& event) { return std::optional<InputEvent>(event); };
    const std::uint64_t gestures = eventMaskBit(EventType::magnify) | eventMaskBit(EventType::swipe);
    EXPECT_FALSE(taps.createTap(TapLocation::session, TapPlacement::headInsert, TapOptions::defaultFilter,
                                eventMaskBit(EventType::scrollWheel), passOn));
    const auto listening =
        taps.createTap(TapLocation::session, TapPlacement::headInsert, TapOptions::listenOnly, gestures, passOn);
    ASSERT_TRUE(listening);
    EXPECT_TRUE(otherGrabsPinches());

    const auto swallowing =
        taps.createTap(TapLocation::session, TapPlacement::headInsert, TapOptions::defaultFilter, gestures, passOn);
    ASSERT_TRUE(swallowing);
    EXPECT_FALSE(otherGrabsPinches());
    taps.enableTap(*swallowing, false);
    EXPECT_TRUE(otherGrabsPinches());
    taps.enableTap(*swallowing, true);
    EXPECT_FALSE(otherGrabsPinches());
    taps.invalidateTap(*swallowing);
    EXPECT_FALSE(taps.isTapValid(*swallowing));
    EXPECT_TRUE(otherGrabsPinches());
}

TEST_F(X11GestureTapTest, WithoutXInput24OrWithTheGesturesHeldElsewhereNothingIsTakenAndTheLogSaysSoOnce)
{
    const std::uint64_t gestures = X11GestureTap::deliveredMask();
    {
        vesk::test::LogCapture log;
        X11GestureTap tap(*connection, X11GestureTap::Version{2, 3}, {}, {});
        for (const std::uint64_t mask : {gestures, std::uint64_t(0), gestures, gestures}) {
            tap.follow(mask);
            EXPECT_FALSE(tap.isGrabbing());
            EXPECT_TRUE(otherGrabsPinches());
        }
        EXPECT_EQ(log.messages("X11GestureTap").size(), 1);
        EXPECT_TRUE(log.contains("gestures are not blocked"));
    }
    {
        ASSERT_TRUE(otherGrabsPinches(true));
        vesk::test::LogCapture log;
        X11GestureTap tap(*connection, version, {}, {});
        tap.follow(gestures);
        tap.follow(0);
        tap.follow(gestures);
        EXPECT_FALSE(tap.isGrabbing());
        EXPECT_EQ(log.messages("X11GestureTap").size(), 1);
        EXPECT_TRUE(log.contains("Another client holds the gestures"));
    }
}

// No touchpad here: the server's events are made by hand.
TEST_F(X11GestureTapTest, EachGestureEventGoesThroughTheChainWithItsPhase)
{
    std::vector<InputEvent> passed;
    bool swallow = true;
    vesk::test::LogCapture log;
    X11GestureTap tap(
        *connection, version,
        [&](const InputEvent& event) -> std::optional<InputEvent> {
            passed.push_back(event);
            return swallow ? std::nullopt : std::optional(event);
        },
        [](QPointF rootPoint) { return rootPoint / 2; });
    const std::vector<std::tuple<std::uint16_t, std::uint32_t, int, std::int64_t>> cases{
        {XCB_INPUT_GESTURE_PINCH_BEGIN, 0, EventType::magnify, 1},
        {XCB_INPUT_GESTURE_PINCH_UPDATE, 0, EventType::magnify, 2},
        {XCB_INPUT_GESTURE_PINCH_END, 0, EventType::magnify, 4},
        {XCB_INPUT_GESTURE_PINCH_END, XCB_INPUT_GESTURE_PINCH_EVENT_FLAGS_GESTURE_PINCH_CANCELLED, EventType::magnify,
         8},
        {XCB_INPUT_GESTURE_SWIPE_BEGIN, 0, EventType::swipe, 1},
        {XCB_INPUT_GESTURE_SWIPE_UPDATE, 0, EventType::swipe, 2},
        {XCB_INPUT_GESTURE_SWIPE_END, 0, EventType::swipe, 4},
        {XCB_INPUT_GESTURE_SWIPE_END, XCB_INPUT_GESTURE_SWIPE_EVENT_FLAGS_GESTURE_SWIPE_CANCELLED, EventType::swipe, 8},
    };
    for (const auto& [xType, flags, type, phase] : cases) {
        const auto event = gestureEvent(xType, flags);
        ASSERT_TRUE(tap.handleEvent(reinterpret_cast<const xcb_generic_event_t&>(event)));
        ASSERT_FALSE(passed.empty());
        EXPECT_EQ(passed.back().type, type) << xType;
        EXPECT_EQ(passed.back().integerField(EventField::gesturePhase), phase) << xType;
        EXPECT_EQ(passed.back().location, QPointF(150, 100.25)) << xType;
    }
    EXPECT_EQ(passed.size(), cases.size());
    EXPECT_TRUE(log.messages("X11GestureTap").isEmpty());

    // Other events are none of the part's business.
    auto touch = gestureEvent(XCB_INPUT_TOUCH_BEGIN);
    EXPECT_FALSE(tap.handleEvent(reinterpret_cast<const xcb_generic_event_t&>(touch)));
    EXPECT_EQ(passed.size(), cases.size());

    // One the chain lets pass cannot go on to its window; said once.
    swallow = false;
    for (int i = 0; i < 2; ++i) {
        const auto event = gestureEvent(XCB_INPUT_GESTURE_SWIPE_BEGIN);
        EXPECT_TRUE(tap.handleEvent(reinterpret_cast<const xcb_generic_event_t&>(event)));
    }
    EXPECT_EQ(log.messages("X11GestureTap").size(), 1);
}

// Qt has asked the server for its own XInput version on its connection
// before the desktop asks for 2.4 on the same one. Started on a test server
// by the test below under the xcb platform; skipped anywhere else.
TEST(X11GestureTapOnQtsConnectionTest, TakesTheGesturesOnQtsConnection)
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        GTEST_SKIP() << "Runs under the xcb platform (RunsOnQtsOwnConnection starts it so)";
    const auto desktop = X11Desktop::create("Vesk");
    ASSERT_TRUE(desktop);
    ASSERT_TRUE(desktop->connection().sharesQtConnection());
    QtScheduler scheduler;
    GestureBlockerService blocker(scheduler, desktop->eventTaps(), desktop->permissions(), desktop->workspace(),
                                  "org.vesk.Vesk");
    blocker.activate({});
    EXPECT_TRUE(desktop->eventTaps().gestures().isGrabbing());
    blocker.deactivate();
    EXPECT_FALSE(desktop->eventTaps().gestures().isGrabbing());
}

TEST_F(X11GestureTapTest, RunsOnQtsOwnConnection)
{
    runUnderQtsConnection("X11GestureTapOnQtsConnectionTest.*", 1);
}

} // namespace
} // namespace vesk::platform::testing
