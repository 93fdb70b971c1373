#pragma once

#include "logging/VeskLogger.h"
#include "platform/InputEvent.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <functional>
#include <optional>

namespace vesk::platform {

class X11Connection;

// Trackpad gestures on X11, as far as the X server reports them: XInput 2.4
// pinches and swipes. While the tap chain has a tap that can swallow gesture
// types, the root window holds passive grabs for both, so every gesture of
// every device comes here instead of to the window under the pointer, and
// each of its events goes through the chain as a magnify or swipe event
// (phases 1 begin, 2 update, 4 end, 8 cancelled). X cannot hand a grabbed
// gesture on to another window, so one the chain lets pass ends here too
// (said once). Without XInput 2.4, or when another client holds the gesture
// grabs, nothing is taken and nothing is blocked (said once). Main thread only.
class X11GestureTap {
public:
    struct Version {
        int major = 0;
        int minor = 0;
    };
    // An event through the tap chain: none when a tap swallowed it.
    using Pass = std::function<std::optional<InputEvent>(const InputEvent& event)>;
    // From root device pixels to top-left logical points.
    using QuartzFromRoot = std::function<QPointF(QPointF rootPoint)>;

    // The XInput version the server speaks with this client (asking for
    // 2.4); none without the extension.
    static std::optional<Version> queryVersion(X11Connection& connection);
    // Gesture events came with XInput 2.4.
    static bool reportsGestures(const std::optional<Version>& version);
    // The event types the part brings to the chain.
    static std::uint64_t deliveredMask();
    // The event types a gesture tap may ask for here: every trackpad kind and
    // the system-defined events. X reports only pinches and swipes, so the
    // others never come.
    static std::uint64_t acceptedMask();

    X11GestureTap(X11Connection& connection, std::optional<Version> serverVersion, Pass pass,
                  QuartzFromRoot quartzFromRoot);
    ~X11GestureTap();
    X11GestureTap(const X11GestureTap&) = delete;
    X11GestureTap& operator=(const X11GestureTap&) = delete;

    // What the chain asks for now: the types of its enabled taps that can
    // swallow. Grabs while that holds a gesture type, releases otherwise.
    void follow(std::uint64_t swallowingMask);
    bool isGrabbing() const { return grabbing_; }

    // One event of the connection; true when it was a gesture event, which
    // has then been through the chain.
    bool handleEvent(const xcb_generic_event_t& event);

private:
    bool grab();
    void ungrab();
    int gestureDeviceCount() const;
    void reportOnce(bool& reported, VeskLogLevel level, const QString& text) const;

    X11Connection& connection_;
    std::optional<Version> version_;
    Pass pass_;
    QuartzFromRoot quartzFromRoot_;
    std::optional<std::uint8_t> opcode_;
    int handler_ = 0;
    bool grabbing_ = false;
    mutable bool unsupportedReported_ = false;
    mutable bool heldElsewhereReported_ = false;
    mutable bool grabReported_ = false;
    mutable bool passReported_ = false;
    VeskLogger logger_{QStringLiteral("X11GestureTap")};
};

} // namespace vesk::platform
