#include "platform/InputEvent.h"

namespace vesk::platform {

std::int64_t InputEvent::integerField(int field) const
{
    const auto it = integerFields.find(field);
    return it == integerFields.end() ? 0 : it->second;
}

InputEvent InputEvent::mouse(int type, const QPointF& quartzPoint, int button)
{
    InputEvent event;
    event.type = type;
    event.location = quartzPoint;
    if (button >= 0)
        event.integerFields[EventField::mouseEventButtonNumber] = button;
    return event;
}

InputEvent InputEvent::key(int type, std::int64_t keyCode, std::uint64_t flags)
{
    InputEvent event;
    event.type = type;
    event.flags = flags;
    event.integerFields[EventField::keyboardEventKeycode] = keyCode;
    return event;
}

InputEvent InputEvent::dockSwipe(int phase, int direction)
{
    InputEvent event;
    event.type = EventType::gesture;
    event.integerFields[EventField::gestureHIDType] = kDockSwipeHIDType;
    event.integerFields[EventField::gesturePhase] = phase;
    event.integerFields[EventField::swipeDirection] = direction;
    return event;
}

InputEvent InputEvent::gesture(int type, std::optional<int> hidType, std::optional<int> phase)
{
    InputEvent event;
    event.type = type;
    if (hidType)
        event.integerFields[EventField::gestureHIDType] = *hidType;
    if (phase)
        event.integerFields[EventField::gesturePhase] = *phase;
    return event;
}

InputEvent InputEvent::systemDefined(std::optional<int> subtype)
{
    InputEvent event;
    event.type = EventType::systemDefined;
    event.subtype = subtype;
    return event;
}

} // namespace vesk::platform
