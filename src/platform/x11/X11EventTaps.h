#pragma once

#include "logging/VeskLogger.h"
#include "platform/EventTapping.h"

namespace vesk::platform {

// Event taps and monitors on an X11 desktop, as far as they exist yet: a tap
// cannot be made here, so every creation is refused and the services go on
// without theirs (input passes, fail-open), as they do when a system refuses
// a tap. Monitors are accepted and get numbers, but no event reaches them.
// Each is said once in the log.
class X11EventTaps final : public EventTapping {
public:
    std::optional<EventTapID> createTap(TapLocation location, TapPlacement placement, TapOptions options,
                                        std::uint64_t eventMask, EventTapCallback callback) override;
    void enableTap(EventTapID, bool) override { }
    bool isTapEnabled(EventTapID) const override { return false; }
    void invalidateTap(EventTapID) override { }
    bool isTapValid(EventTapID) const override { return false; }
    EventMonitorID addLocalMonitor(std::uint64_t eventMask, LocalEventMonitor handler) override;
    EventMonitorID addGlobalMonitor(std::uint64_t eventMask, GlobalEventMonitor handler) override;
    void removeMonitor(EventMonitorID) override { }

private:
    EventMonitorID addMonitor();

    EventMonitorID nextMonitor_ = 1;
    bool tapReported_ = false;
    bool monitorReported_ = false;
    VeskLogger logger_{QStringLiteral("X11EventTaps")};
};

} // namespace vesk::platform
