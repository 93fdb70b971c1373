#include "enforcement/SessionEventTap.h"

namespace vesk {

std::unique_ptr<SessionEventTap> SessionEventTap::install(platform::EventTapping& eventTaps, std::uint64_t eventMask,
                                                          platform::EventTapCallback callback)
{
    const auto id = eventTaps.createTap(platform::TapLocation::session, platform::TapPlacement::headInsert,
                                        platform::TapOptions::defaultFilter, eventMask, std::move(callback));
    if (!id)
        return nullptr;
    eventTaps.enableTap(*id, true);
    return std::unique_ptr<SessionEventTap>(new SessionEventTap(eventTaps, *id));
}

SessionEventTap::SessionEventTap(platform::EventTapping& eventTaps, platform::EventTapID id)
    : eventTaps_(eventTaps)
    , id_(id)
{
}

SessionEventTap::~SessionEventTap()
{
    eventTaps_.enableTap(id_, false);
    eventTaps_.invalidateTap(id_);
}

bool SessionEventTap::isEnabled() const
{
    return eventTaps_.isTapEnabled(id_);
}

bool SessionEventTap::enable()
{
    eventTaps_.enableTap(id_, true);
    return isEnabled();
}

bool SessionEventTap::isDisabledNotice(int type)
{
    return type == platform::EventType::tapDisabledByTimeout || type == platform::EventType::tapDisabledByUserInput;
}

} // namespace vesk
