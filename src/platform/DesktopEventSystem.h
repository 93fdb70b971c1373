#pragma once

#include "platform/DesktopWindow.h"

#include <QPointF>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace vesk::platform {

class SimulatedDesktop;

// Event types with the platform's numbers; an event tap's mask is the OR of
// (1 << type) of the types it wants.
namespace EventType {
inline constexpr int null = 0;
inline constexpr int leftMouseDown = 1;
inline constexpr int leftMouseUp = 2;
inline constexpr int rightMouseDown = 3;
inline constexpr int rightMouseUp = 4;
inline constexpr int mouseMoved = 5;
inline constexpr int leftMouseDragged = 6;
inline constexpr int rightMouseDragged = 7;
inline constexpr int keyDown = 10;
inline constexpr int keyUp = 11;
inline constexpr int flagsChanged = 12;
inline constexpr int systemDefined = 14;
inline constexpr int rotate = 18;
inline constexpr int beginGesture = 19;
inline constexpr int endGesture = 20;
inline constexpr int scrollWheel = 22;
inline constexpr int otherMouseDown = 25;
inline constexpr int otherMouseUp = 26;
inline constexpr int otherMouseDragged = 27;
inline constexpr int gesture = 29;
inline constexpr int magnify = 30;
inline constexpr int swipe = 31;
inline constexpr int smartMagnify = 32;
inline constexpr int quickLook = 33;
inline constexpr int pressure = 34;
inline constexpr int directTouch = 37;
// Sent to a tap's callback when the system switches the tap off.
inline constexpr int tapDisabledByTimeout = -2;
inline constexpr int tapDisabledByUserInput = -1;
} // namespace EventType

constexpr std::uint64_t eventMaskBit(int type) { return std::uint64_t(1) << type; }

// Integer fields of an event and modifier flags, with the platform's numbers.
namespace EventField {
inline constexpr int keyboardEventKeycode = 9;
inline constexpr int mouseEventButtonNumber = 3;
inline constexpr int gestureHIDType = 110;   // 23: a Dock swipe
inline constexpr int gesturePhase = 132;     // 4 and 8 end a swipe stream
inline constexpr int swipeDirection = 1000;  // the simulation's own: +1 next Space, -1 previous
} // namespace EventField

namespace EventFlag {
inline constexpr std::uint64_t shift = 0x20000;
inline constexpr std::uint64_t control = 0x40000;
inline constexpr std::uint64_t option = 0x80000;
inline constexpr std::uint64_t command = 0x100000;
inline constexpr std::uint64_t secondaryFn = 0x800000;
} // namespace EventFlag

inline constexpr int kDockSwipeHIDType = 23;

// One input event. Locations are top-left (Quartz).
struct SimulatedEvent {
    int type = EventType::null;
    QPointF location;
    std::uint64_t flags = 0;
    std::map<int, std::int64_t> integerFields;
    // The subtype of system-defined events, when the event has one.
    std::optional<int> subtype;

    std::int64_t integerField(int field) const;
    std::int64_t keyCode() const { return integerField(EventField::keyboardEventKeycode); }

    static SimulatedEvent mouse(int type, const QPointF& quartzPoint, int button = -1);
    static SimulatedEvent key(int type, std::int64_t keyCode, std::uint64_t flags);
    static SimulatedEvent dockSwipe(int phase, int direction);

    bool operator==(const SimulatedEvent&) const = default;
};

enum class TapLocation { hid = 0, session = 1, annotatedSession = 2 };
enum class TapPlacement { headInsert = 0, tailAppend = 1 };
enum class TapOptions { defaultFilter = 0, listenOnly = 1 };

using EventTapID = int;
using EventMonitorID = int;
// A tap's callback: the type (an event type, or one of the tap-disabled
// notices) and the event; return the event (possibly changed) to pass it on,
// none to swallow it. Listen-only taps cannot swallow.
using EventTapCallback = std::function<std::optional<SimulatedEvent>(int type, const SimulatedEvent& event)>;

// What became of a posted event.
struct EventOutcome {
    bool delivered = false;
    std::optional<EventTapID> swallowedByTap;
    bool swallowedByMonitor = false;
    std::optional<ProcessID> targetPID;
    std::optional<WindowNumber> targetWindow;
};

// Event taps, local and global event monitors, and the delivery of injected
// input. An event passes the enabled taps in order (HID taps, then session,
// then annotated session; within a location a head-inserted tap comes before
// the taps installed earlier), then Vesk's local monitors when it goes to
// Vesk, or the global monitors (observe only) when it goes to another
// application; then it reaches its target. A tap that swallows an event keeps
// it from everything after it. The pointer position and the button state
// follow the hardware, swallowed or not.
class DesktopEventSystem {
public:
    explicit DesktopEventSystem(SimulatedDesktop& desktop);

    // None when the system refuses: without Input Monitoring, or when told to refuse.
    std::optional<EventTapID> createTap(TapLocation location, TapPlacement placement, TapOptions options,
                                        std::uint64_t eventMask, EventTapCallback callback);
    void enableTap(EventTapID tap, bool enable);
    bool isTapEnabled(EventTapID tap) const;
    void invalidateTap(EventTapID tap);
    bool isTapValid(EventTapID tap) const;
    // The system switches a tap off and tells it (the tap-disabled notice).
    void disableTapByTimeout(EventTapID tap);
    void disableTapByUserInput(EventTapID tap);
    // Valid taps in the order events pass them.
    std::vector<EventTapID> tapsInOrder() const;
    void setRefusesTapCreation(bool refuses) { refusesTaps_ = refuses; }

    EventMonitorID addLocalMonitor(std::uint64_t eventMask,
                                   std::function<std::optional<SimulatedEvent>(const SimulatedEvent&)> handler);
    EventMonitorID addGlobalMonitor(std::uint64_t eventMask, std::function<void(const SimulatedEvent&)> handler);
    void removeMonitor(EventMonitorID monitor);
    int monitorCount() const { return int(localMonitors_.size() + globalMonitors_.size()); }

    // Injects an event into the system.
    EventOutcome post(const SimulatedEvent& event);
    // A click (down and up) at a top-left point with a button (0 left, 1 right, 2 other).
    EventOutcome click(const QPointF& quartzPoint, int button = 0);
    EventOutcome keyPress(std::int64_t keyCode, std::uint64_t flags);

    // Events that reached their target, in order, with the outcome.
    const std::vector<std::pair<SimulatedEvent, EventOutcome>>& deliveredEvents() const { return delivered_; }
    int missionControlInvocations() const { return missionControlInvocations_; }

private:
    struct Tap {
        EventTapID id;
        TapLocation location;
        TapOptions options;
        std::uint64_t mask;
        EventTapCallback callback;
        bool enabled;
    };
    struct LocalMonitor {
        EventMonitorID id;
        std::uint64_t mask;
        std::function<std::optional<SimulatedEvent>(const SimulatedEvent&)> handler;
    };
    struct GlobalMonitor {
        EventMonitorID id;
        std::uint64_t mask;
        std::function<void(const SimulatedEvent&)> handler;
    };

    Tap* findTap(EventTapID id);
    const Tap* findTap(EventTapID id) const;
    void notifyDisabled(EventTapID tap, int notice);
    void trackHardwareState(const SimulatedEvent& event);
    EventOutcome target(const SimulatedEvent& event) const;
    void applyToSystem(const SimulatedEvent& event, const EventOutcome& outcome);

    SimulatedDesktop& desktop_;
    std::vector<Tap> taps_;
    std::vector<LocalMonitor> localMonitors_;
    std::vector<GlobalMonitor> globalMonitors_;
    int nextID_ = 1;
    bool refusesTaps_ = false;
    std::vector<std::pair<SimulatedEvent, EventOutcome>> delivered_;
    int missionControlInvocations_ = 0;
};

} // namespace vesk::platform
