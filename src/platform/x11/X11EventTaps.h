#pragma once

#include "logging/VeskLogger.h"
#include "platform/EventTapChain.h"
#include "platform/EventTapping.h"

#include <memory>

namespace vesk::platform {

class X11Connection;
class X11KeyTap;

// Event taps and monitors on an X11 desktop: the chain of taps and monitors,
// and the parts that bring the X server's input to it, each told what the
// chain asks for whenever that changes (`followTaps`). Key taps and key
// monitors go to X11KeyTap. A tap for anything else cannot be made yet: its
// creation is refused and the services go on without it (input passes,
// fail-open), as they do when a system refuses a tap; said once in the log.
// Without a connection every tap is refused and monitors get no events.
class X11EventTaps final : public EventTapping {
public:
    X11EventTaps();
    explicit X11EventTaps(X11Connection& connection);
    ~X11EventTaps() override;

    std::optional<EventTapID> createTap(TapLocation location, TapPlacement placement, TapOptions options,
                                        std::uint64_t eventMask, EventTapCallback callback) override;
    void enableTap(EventTapID tap, bool enable) override;
    // The services' health checks ask this every 2 s: chords another client
    // held are tried again then.
    bool isTapEnabled(EventTapID tap) const override;
    void invalidateTap(EventTapID tap) override;
    bool isTapValid(EventTapID tap) const override { return chain_.hasTap(tap); }
    EventMonitorID addLocalMonitor(std::uint64_t eventMask, LocalEventMonitor handler) override;
    EventMonitorID addGlobalMonitor(std::uint64_t eventMask, GlobalEventMonitor handler) override;
    void removeMonitor(EventMonitorID monitor) override;

    EventTapChain& chain() { return chain_; }
    X11KeyTap* keyTap() { return keyTap_.get(); }

private:
    void followTaps();
    bool canTap(std::uint64_t eventMask) const;

    EventTapChain chain_;
    std::unique_ptr<X11KeyTap> keyTap_;
    bool tapReported_ = false;
    bool monitorReported_ = false;
    VeskLogger logger_{QStringLiteral("X11EventTaps")};
};

} // namespace vesk::platform
