#include "enforcement/GestureBlockPolicy.h"

namespace vesk {

const std::set<int>& GestureBlockPolicy::gestureEventTypes()
{
    static const std::set<int> types{18, 19, 20, 29, 30, 31, 32, 33, 34, 37};
    return types;
}

const std::set<int>& GestureBlockPolicy::dockSwipeEventTypes()
{
    static const std::set<int> types{29, 30};
    return types;
}

const std::set<int>& GestureBlockPolicy::blockedSystemDefinedSubtypes()
{
    static const std::set<int> subtypes{16, 17};
    return subtypes;
}

GestureBlockPolicy::Action GestureBlockPolicy::shouldBlock(int eventType, std::optional<int> hidType,
                                                           std::optional<int> subtype, bool allowedFocused,
                                                           bool dockSwipeActive)
{
    if (hidType == dockSwipeHIDType)
        return Action::block;
    if (dockSwipeActive && dockSwipeEventTypes().count(eventType))
        return Action::block;
    if (eventType == systemDefinedEventType && subtype && blockedSystemDefinedSubtypes().count(*subtype))
        return Action::block;
    if (gestureEventTypes().count(eventType))
        return allowedFocused ? Action::pass : Action::block;
    return Action::pass;
}

QString toRaw(GestureBlockPolicy::Action action)
{
    return action == GestureBlockPolicy::Action::block ? QStringLiteral("block") : QStringLiteral("pass");
}

} // namespace vesk
