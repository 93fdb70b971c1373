#pragma once

#include <QString>

#include <optional>
#include <set>

namespace vesk {

// Which trackpad events the gesture blocker drops. Event types are the
// platform's numbers.
class GestureBlockPolicy {
public:
    enum class Action { pass, block };

    // Rotate, begin and end gesture, gesture, magnify, swipe, smart magnify,
    // quick look, pressure, direct touch.
    static const std::set<int>& gestureEventTypes();
    // The event types that carry the Dock's Space-switching swipe.
    static const std::set<int>& dockSwipeEventTypes();
    // Subtypes of system-defined events (type 14) that are always dropped.
    static const std::set<int>& blockedSystemDefinedSubtypes();

    static constexpr int systemDefinedEventType = 14;
    static constexpr int dockSwipeHIDType = 23;

    // A Dock swipe is dropped whatever is in front, for its whole stream;
    // other gestures only while no allowed application is frontmost.
    static Action shouldBlock(int eventType, std::optional<int> hidType, std::optional<int> subtype,
                              bool allowedFocused, bool dockSwipeActive);
};

QString toRaw(GestureBlockPolicy::Action action);

} // namespace vesk
