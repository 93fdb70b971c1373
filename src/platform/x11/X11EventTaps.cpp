#include "platform/x11/X11EventTaps.h"

#include <QGuiApplication>

namespace vesk::platform {

X11EventTaps::X11EventTaps(X11Connection& connection, std::function<const X11RootMapping&()> rootMapping)
    : pointer_(connection, rootMapping, chain_)
    , gestures_(
          connection, X11GestureTap::queryVersion(connection),
          [this](const InputEvent& event) { return chain_.pass(event).event; },
          [rootMapping](QPointF rootPoint) {
              return rootMapping().quartzFromRoot(QRect(rootPoint.toPoint(), QSize(1, 1))).topLeft();
          })
    , keyTap_(std::make_unique<X11KeyTap>(connection, chain_, [] { return QGuiApplication::focusWindow() != nullptr; }))
{
}

X11EventTaps::~X11EventTaps()
{
    // The parts let go of what they hold while the chain is still there.
    keyTap_.reset();
    gestures_.follow(0);
    pointer_.follow(0);
}

std::uint64_t X11EventTaps::tappableKinds()
{
    return X11PointerTap::kinds | X11GestureTap::acceptedMask() | X11KeyTap::kinds;
}

std::optional<EventTapID> X11EventTaps::createTap(TapLocation location, TapPlacement placement, TapOptions options,
                                                  std::uint64_t eventMask, EventTapCallback callback)
{
    if (eventMask == 0 || (eventMask & ~tappableKinds()) != 0) {
        if (!tapRefusalReported_) {
            tapRefusalReported_ = true;
            logger_.log(VeskLogLevel::warning,
                        QStringLiteral("Event taps for these events are not available on X11 — tap refused, input "
                                       "passes (event mask 0x%1)")
                            .arg(eventMask, 0, 16));
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
    keyTap_->retryRefusedGrabs();
    return chain_.isTapEnabled(tap);
}

void X11EventTaps::invalidateTap(EventTapID tap)
{
    chain_.removeTap(tap);
    followTaps();
}

bool X11EventTaps::isTapValid(EventTapID tap) const
{
    return chain_.hasTap(tap);
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

// Each part takes from the X server what the chain's taps and monitors now ask for.
void X11EventTaps::followTaps()
{
    pointer_.follow(chain_.enabledMask());
    gestures_.follow(chain_.swallowingMask());
    keyTap_->follow();
}

} // namespace vesk::platform
