#pragma once

#include "logging/VeskLogger.h"
#include "platform/EventTapChain.h"
#include "platform/EventTapping.h"
#include "platform/x11/X11GestureTap.h"

#include <memory>

namespace vesk::platform {

class X11Connection;

// Event taps and monitors on an X11 desktop, as far as they exist yet. The
// taps live in the tap chain; a tap is made only for event types a part
// brings to the chain (the gestures, through `X11GestureTap`, on a
// connection), every other creation is refused and the services go on
// without theirs (input passes, fail-open), as they do when a system refuses
// a tap. After every change each part hears what the chain asks for.
// Monitors are accepted and get numbers, but no event reaches them. Each
// refusal is said once in the log.
class X11EventTaps final : public EventTapping {
public:
    // Without a connection no part brings events: every tap is refused.
    X11EventTaps() = default;
    X11EventTaps(X11Connection& connection, X11GestureTap::QuartzFromRoot quartzFromRoot);
    ~X11EventTaps() override;

    std::optional<EventTapID> createTap(TapLocation location, TapPlacement placement, TapOptions options,
                                        std::uint64_t eventMask, EventTapCallback callback) override;
    void enableTap(EventTapID tap, bool enable) override;
    bool isTapEnabled(EventTapID tap) const override { return chain_.isTapEnabled(tap); }
    void invalidateTap(EventTapID tap) override;
    bool isTapValid(EventTapID tap) const override { return chain_.hasTap(tap); }
    EventMonitorID addLocalMonitor(std::uint64_t eventMask, LocalEventMonitor handler) override;
    EventMonitorID addGlobalMonitor(std::uint64_t eventMask, GlobalEventMonitor handler) override;
    void removeMonitor(EventMonitorID) override { }

    const X11GestureTap* gestures() const { return gestures_.get(); }

private:
    EventMonitorID addMonitor();
    std::uint64_t deliveredMask() const;
    // Tells each part what the chain asks for now.
    void followTaps();

    EventTapChain chain_;
    std::unique_ptr<X11GestureTap> gestures_;
    EventMonitorID nextMonitor_ = 1;
    bool tapReported_ = false;
    bool monitorReported_ = false;
    VeskLogger logger_{QStringLiteral("X11EventTaps")};
};

} // namespace vesk::platform
