#pragma once

#include <QPointF>

#include <cstdint>
#include <map>
#include <optional>

namespace vesk::platform {

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

constexpr std::uint64_t eventMaskBit(int type)
{
    return std::uint64_t(1) << type;
}

// Integer fields of an event and modifier flags, with the platform's numbers.
namespace EventField {
inline constexpr int keyboardEventKeycode = 9;
inline constexpr int mouseEventButtonNumber = 3;
inline constexpr int gestureHIDType = 110;  // 23: a Dock swipe
inline constexpr int gesturePhase = 132;    // 4 and 8 end a swipe stream
inline constexpr int swipeDirection = 1000; // the simulation's own: +1 next Space, -1 previous, +2 up, -2 down
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
struct InputEvent {
    int type = EventType::null;
    QPointF location;
    std::uint64_t flags = 0;
    std::map<int, std::int64_t> integerFields;
    // The subtype of system-defined events, when the event has one.
    std::optional<int> subtype;

    std::int64_t integerField(int field) const;
    std::int64_t keyCode() const { return integerField(EventField::keyboardEventKeycode); }

    static InputEvent mouse(int type, const QPointF& quartzPoint, int button = -1);
    static InputEvent key(int type, std::int64_t keyCode, std::uint64_t flags);
    static InputEvent dockSwipe(int phase, int direction);
    // A trackpad event of one of the gesture types, with the HID type and the
    // phase when it carries them.
    static InputEvent gesture(int type, std::optional<int> hidType = std::nullopt,
                              std::optional<int> phase = std::nullopt);
    // A system-defined event (type 14); no subtype when the system cannot
    // tell one.
    static InputEvent systemDefined(std::optional<int> subtype);

    bool operator==(const InputEvent&) const = default;
};

} // namespace vesk::platform
