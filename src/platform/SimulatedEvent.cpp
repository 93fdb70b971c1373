#include "platform/SimulatedEvent.h"

namespace vesk::platform {

std::int64_t SimulatedEvent::integerField(int field) const
{
    const auto it = integerFields.find(field);
    return it == integerFields.end() ? 0 : it->second;
}

SimulatedEvent SimulatedEvent::mouse(int type, const QPointF& quartzPoint, int button)
{
    SimulatedEvent event;
    event.type = type;
    event.location = quartzPoint;
    if (button >= 0)
        event.integerFields[EventField::mouseEventButtonNumber] = button;
    return event;
}

SimulatedEvent SimulatedEvent::key(int type, std::int64_t keyCode, std::uint64_t flags)
{
    SimulatedEvent event;
    event.type = type;
    event.flags = flags;
    event.integerFields[EventField::keyboardEventKeycode] = keyCode;
    return event;
}

SimulatedEvent SimulatedEvent::dockSwipe(int phase, int direction)
{
    SimulatedEvent event;
    event.type = EventType::gesture;
    event.integerFields[EventField::gestureHIDType] = kDockSwipeHIDType;
    event.integerFields[EventField::gesturePhase] = phase;
    event.integerFields[EventField::swipeDirection] = direction;
    return event;
}

} // namespace vesk::platform
