#include "platform/x11/X11EventTaps.h"

#include "platform/x11/X11KeyTap.h"

#include <QGuiApplication>

namespace vesk::platform {

namespace {

constexpr std::uint64_t keyEvents =
    eventMaskBit(EventType::keyDown) | eventMaskBit(EventType::keyUp) | eventMaskBit(EventType::flagsChanged);

} // namespace

X11EventTaps::X11EventTaps() = default;

X11EventTaps::X11EventTaps(X11Connection& connection)
    : keyTap_(std::make_unique<X11KeyTap>(connection, chain_, [] { return QGuiApplication::focusWindow() != nullptr; }))
{
}

X11EventTaps::~X11EventTaps()
{
    // Grabs and the application's filter go with the key tap, before the chain.
    keyTap_.reset();
}

bool X11EventTaps::canTap(std::uint64_t eventMask) const
{
    return keyTap_ && eventMask != 0 && (eventMask & ~keyEvents) == 0;
}

std::optional<EventTapID> X11EventTaps::createTap(TapLocation location, TapPlacement placement, TapOptions options,
                                                  std::uint64_t eventMask, EventTapCallback callback)
{
    if (!canTap(eventMask)) {
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

bool X11EventTaps::isTapEnabled(EventTapID tap) const
{
    if (keyTap_)
        keyTap_->retryRefusedGrabs();
    return chain_.isTapEnabled(tap);
}

void X11EventTaps::invalidateTap(EventTapID tap)
{
    chain_.removeTap(tap);
    followTaps();
}

EventMonitorID X11EventTaps::addLocalMonitor(std::uint64_t eventMask, LocalEventMonitor handler)
{
    const EventMonitorID monitor = chain_.addLocalMonitor(eventMask, std::move(handler));
    followTaps();
    return monitor;
}

EventMonitorID X11EventTaps::addGlobalMonitor(std::uint64_t eventMask, GlobalEventMonitor handler)
{
    const EventMonitorID monitor = chain_.addGlobalMonitor(eventMask, std::move(handler));
    followTaps();
    return monitor;
}

void X11EventTaps::removeMonitor(EventMonitorID monitor)
{
    chain_.removeMonitor(monitor);
    followTaps();
}

// Tells each part what the chain asks for now.
void X11EventTaps::followTaps()
{
    if (keyTap_)
        keyTap_->follow();
    else if (!monitorReported_ && chain_.monitorCount() > 0) {
        monitorReported_ = true;
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Event monitors receive no events on X11 — monitor kept without events"));
    }
}

} // namespace vesk::platform
