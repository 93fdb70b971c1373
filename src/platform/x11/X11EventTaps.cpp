#include "platform/x11/X11EventTaps.h"

namespace vesk::platform {

std::optional<EventTapID> X11EventTaps::createTap(TapLocation, TapPlacement, TapOptions, std::uint64_t,
                                                  EventTapCallback)
{
    if (!tapReported_) {
        tapReported_ = true;
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Event taps are not available on X11 — tap refused, input passes"));
    }
    return std::nullopt;
}

EventMonitorID X11EventTaps::addLocalMonitor(std::uint64_t, LocalEventMonitor)
{
    return addMonitor();
}

EventMonitorID X11EventTaps::addGlobalMonitor(std::uint64_t, GlobalEventMonitor)
{
    return addMonitor();
}

EventMonitorID X11EventTaps::addMonitor()
{
    if (!monitorReported_) {
        monitorReported_ = true;
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Event monitors receive no events on X11 — monitor kept without events"));
    }
    return nextMonitor_++;
}

} // namespace vesk::platform
