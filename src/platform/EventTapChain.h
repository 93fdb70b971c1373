#pragma once

#include "platform/EventTapping.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vesk::platform {

// The bookkeeping every desktop's EventTapping shares: the taps in the order an
// event passes them, whether each is enabled, and the local and global
// monitors. A desktop decides what reaches the chain and where a passed event
// goes; the chain only runs the callbacks as EventTapping describes.
class EventTapChain {
public:
    EventTapID addTap(TapLocation location, TapPlacement placement, TapOptions options, std::uint64_t eventMask,
                      EventTapCallback callback);
    void enableTap(EventTapID tap, bool enable);
    bool isTapEnabled(EventTapID tap) const;
    void removeTap(EventTapID tap);
    bool hasTap(EventTapID tap) const;
    // Valid taps in the order events pass them.
    std::vector<EventTapID> tapsInOrder() const;
    // The event types some enabled tap that can swallow asks for.
    std::uint64_t swallowingMask() const;
    // The event types some enabled tap asks for.
    std::uint64_t enabledMask() const;
    // The enabled taps that can swallow events of the type, in order.
    std::vector<EventTapID> swallowingTaps(int type) const;

    struct Passage {
        // The event as the last tap left it; none when a tap swallowed it.
        std::optional<InputEvent> event;
        EventTapID swallowedBy = 0;
    };
    // The event through the enabled taps for its type, in order. Listen-only
    // taps see it but cannot change or swallow it.
    Passage pass(const InputEvent& event) const;
    // The system switched a tap off: it is disabled and its callback hears the
    // notice (a tap-disabled event type).
    void notifyDisabled(EventTapID tap, int notice);

    EventMonitorID addLocalMonitor(std::uint64_t eventMask, LocalEventMonitor handler);
    EventMonitorID addGlobalMonitor(std::uint64_t eventMask, GlobalEventMonitor handler);
    void removeMonitor(EventMonitorID monitor);
    int monitorCount() const { return int(localMonitors_.size() + globalMonitors_.size()); }
    std::uint64_t localMonitorMask() const;
    std::uint64_t globalMonitorMask() const;
    // An event that goes to Vesk: through the local monitors; none when one swallowed it.
    std::optional<InputEvent> passLocalMonitors(const InputEvent& event) const;
    // An event that goes to another application: every global monitor for its type sees it.
    void passGlobalMonitors(const InputEvent& event) const;

    // Every tap and monitor goes, as when the process that made them ends.
    void clear();

    static bool matches(std::uint64_t mask, int type) { return type >= 0 && type < 64 && (mask & eventMaskBit(type)); }

private:
    struct Tap {
        EventTapID id;
        TapLocation location;
        TapOptions options;
        std::uint64_t mask;
        EventTapCallback callback;
        bool enabled;
    };
    struct LocalMonitor {
        EventMonitorID id;
        std::uint64_t mask;
        LocalEventMonitor handler;
    };
    struct GlobalMonitor {
        EventMonitorID id;
        std::uint64_t mask;
        GlobalEventMonitor handler;
    };

    const Tap* findTap(EventTapID id) const;
    Tap* findTap(EventTapID id);

    std::vector<Tap> taps_;
    std::vector<LocalMonitor> localMonitors_;
    std::vector<GlobalMonitor> globalMonitors_;
    int nextID_ = 1;
};

} // namespace vesk::platform
