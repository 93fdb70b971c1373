#pragma once

#include "platform/EventOutcome.h"
#include "platform/SimulatedEvent.h"

#include <QPointF>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace vesk::platform {

class SimulatedDesktop;

enum class TapLocation { hid = 0, session = 1, annotatedSession = 2 };
enum class TapPlacement { headInsert = 0, tailAppend = 1 };
enum class TapOptions { defaultFilter = 0, listenOnly = 1 };

using EventMonitorID = int;
// A tap's callback: the type (an event type, or one of the tap-disabled
// notices) and the event; return the event (possibly changed) to pass it on,
// none to swallow it. Listen-only taps cannot swallow.
using EventTapCallback = std::function<std::optional<SimulatedEvent>(int type, const SimulatedEvent& event)>;

// Event taps, local and global event monitors, and the delivery of injected
// input. An event passes the enabled taps in order (HID taps, then session,
// then annotated session; within a location a head-inserted tap comes before
// the taps installed earlier), then Vesk's local monitors when it goes to
// Vesk, or the global monitors (observe only) when it goes to another
// application; then it reaches its target. A tap that swallows an event keeps
// it from everything after it. The pointer position and the button state
// follow the hardware, swallowed or not.
class DesktopEventSystem {
public:
    explicit DesktopEventSystem(SimulatedDesktop& desktop);

    // None when the system refuses: without Input Monitoring, or when told to refuse.
    std::optional<EventTapID> createTap(TapLocation location, TapPlacement placement, TapOptions options,
                                        std::uint64_t eventMask, EventTapCallback callback);
    void enableTap(EventTapID tap, bool enable);
    bool isTapEnabled(EventTapID tap) const;
    void invalidateTap(EventTapID tap);
    bool isTapValid(EventTapID tap) const;
    // The system switches a tap off and tells it (the tap-disabled notice).
    void disableTapByTimeout(EventTapID tap);
    void disableTapByUserInput(EventTapID tap);
    // Valid taps in the order events pass them.
    std::vector<EventTapID> tapsInOrder() const;
    void setRefusesTapCreation(bool refuses) { refusesTaps_ = refuses; }

    EventMonitorID addLocalMonitor(std::uint64_t eventMask,
                                   std::function<std::optional<SimulatedEvent>(const SimulatedEvent&)> handler);
    EventMonitorID addGlobalMonitor(std::uint64_t eventMask, std::function<void(const SimulatedEvent&)> handler);
    void removeMonitor(EventMonitorID monitor);
    int monitorCount() const { return int(localMonitors_.size() + globalMonitors_.size()); }

    // Injects an event into the system.
    EventOutcome post(const SimulatedEvent& event);
    // A click (down and up) at a top-left point with a button (0 left, 1 right, 2 other).
    EventOutcome click(const QPointF& quartzPoint, int button = 0);
    EventOutcome keyPress(std::int64_t keyCode, std::uint64_t flags);

    // Events that reached their target, in order, with the outcome.
    const std::vector<std::pair<SimulatedEvent, EventOutcome>>& deliveredEvents() const { return delivered_; }
    int missionControlInvocations() const { return missionControlInvocations_; }

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
        std::function<std::optional<SimulatedEvent>(const SimulatedEvent&)> handler;
    };
    struct GlobalMonitor {
        EventMonitorID id;
        std::uint64_t mask;
        std::function<void(const SimulatedEvent&)> handler;
    };

    Tap* findTap(EventTapID id);
    const Tap* findTap(EventTapID id) const;
    void notifyDisabled(EventTapID tap, int notice);
    void trackHardwareState(const SimulatedEvent& event);
    EventOutcome target(const SimulatedEvent& event) const;
    void applyToSystem(const SimulatedEvent& event, const EventOutcome& outcome);

    SimulatedDesktop& desktop_;
    std::vector<Tap> taps_;
    std::vector<LocalMonitor> localMonitors_;
    std::vector<GlobalMonitor> globalMonitors_;
    int nextID_ = 1;
    bool refusesTaps_ = false;
    std::vector<std::pair<SimulatedEvent, EventOutcome>> delivered_;
    int missionControlInvocations_ = 0;
};

} // namespace vesk::platform
