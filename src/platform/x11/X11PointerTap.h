#pragma once

#include "logging/VeskLogger.h"
#include "platform/EventTapChain.h"
#include "platform/InputEvent.h"
#include "platform/x11/X11RootMapping.h"

#include <xcb/xcb.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace vesk::platform {

class X11Connection;

// The mouse-downs of the event taps. While an enabled tap asks for them, the
// mouse buttons are grabbed on the root window, synchronously: at each press
// the server freezes the pointer and hands the press here, before any window
// sees it. The press passes the chain's taps at once; passed, it is replayed
// to the window beneath as if nothing had held it; swallowed, the pointer is
// let go and the rest of the click (further presses, the releases) comes here
// and goes no further. Every frozen press is answered before the handler
// returns, whatever the taps did meanwhile, since a frozen pointer holds the
// whole desktop. Should the main thread not get to answer (stuck, or busy for
// longer than `longestFreeze`), a thread of the tap lets the press through
// to its window (fail-open), said once in the log.
//
// The wheel's buttons (4 to 7) are not grabbed: they scroll and are no
// mouse-downs. A grab another client holds (the window manager's, for a
// button with some modifiers) leaves those presses to it: they pass, said
// once in the log. Main thread only.
class X11PointerTap {
public:
    static constexpr std::chrono::milliseconds longestFreeze{500};
    static constexpr std::uint64_t kinds = eventMaskBit(EventType::leftMouseDown)
                                           | eventMaskBit(EventType::rightMouseDown)
                                           | eventMaskBit(EventType::otherMouseDown);

    X11PointerTap(X11Connection& connection, std::function<const X11RootMapping&()> rootMapping,
                  const EventTapChain& chain);
    ~X11PointerTap();
    X11PointerTap(const X11PointerTap&) = delete;
    X11PointerTap& operator=(const X11PointerTap&) = delete;

    // Holds the grab while the enabled taps ask for some mouse-down, else releases it.
    void follow(std::uint64_t enabledKinds);
    bool isGrabbing() const { return grabbing_; }

    // A press as the taps see it: its type by button (1 left, 3 right, any
    // other "other"), the point in the top-left system, the button number
    // (0 left, 1 right, 2 middle, then the side buttons) and the modifiers.
    static InputEvent inputEvent(const xcb_button_press_event_t& press, const X11RootMapping& mapping);

private:
    void grab();
    void ungrab();
    void handle(const xcb_generic_event_t& event);
    void takePress(const xcb_button_press_event_t& press);
    void takeRelease(const xcb_button_release_event_t& release);
    // Answers the frozen press unless the safeguard has; false when it had.
    bool answer(xcb_timestamp_t press, std::uint8_t mode);
    void releaseLongFreezes();

    X11Connection& connection_;
    std::function<const X11RootMapping&()> rootMapping_;
    const EventTapChain& chain_;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    int handler_ = 0;
    bool grabbing_ = false;
    // A swallowed click whose buttons are not all up yet.
    bool swallowingClick_ = false;
    bool refusalReported_ = false;
    bool lateAnswerReported_ = false;

    // The press the pointer is frozen for, shared with the safeguard thread.
    std::mutex frozenMutex_;
    std::condition_variable frozenChanged_;
    std::optional<xcb_timestamp_t> frozenPress_;
    bool stopping_ = false;
    std::thread safeguard_;
    VeskLogger logger_{QStringLiteral("X11EventTaps")};
};

} // namespace vesk::platform
