#include "platform/x11/X11EventTaps.h"

namespace vesk::platform {

X11EventTaps::X11EventTaps(X11Connection& connection, X11GestureTap::QuartzFromRoot quartzFromRoot)
    : gestures_(std::make_unique<X11GestureTap>(
        connection, X11GestureTap::queryVersion(connection),
        [this](const InputEvent& event) { return chain_.pass(event).event; }, std::move(quartzFromRoot)))
{
}

X11EventTaps::~X11EventTaps()
{
    // The parts let go of what they hold before the chain goes.
    gestures_.reset();
}

std::uint64_t X11EventTaps::deliveredMask() const
{
    return gestures_ ? X11GestureTap::deliveredMask() : 0;
}

std::optional<EventTapID> X11EventTaps::createTap(TapLocation location, TapPlacement placement, TapOptions options,
                                                  std::uint64_t eventMask, EventTapCallback callback)
{
    if (!(eventMask & deliveredMask())) {
        if (!tapReported_) {
            tapReported_ = true;
            logger_.log(VeskLogLevel::warning,
                        QStringLiteral("Event taps are not available on X11 — tap refused, input passes"));
        }
        return std::nullopt;
    }
    const EventTapID tap = chain_.addTap(location, placement, options, eventMask, std::move(callback));
    followTaps();
    return tap;
}

void X11EventTaps::enableTap(EventTapID tap, bool enable)
{
    chain_.enableTap(tap, enable);
    followTaps();
}

void X11EventTaps::invalidateTap(EventTapID tap)
{
    chain_.removeTap(tap);
    followTaps();
}

void X11EventTaps::followTaps()
{
    if (gestures_)
        gestures_->follow(chain_.swallowingMask());
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
