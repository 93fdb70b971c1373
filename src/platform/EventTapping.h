#pragma once

#include "platform/Identifiers.h"
#include "platform/InputEvent.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace vesk::platform {

enum class TapLocation { hid = 0, session = 1, annotatedSession = 2 };
enum class TapPlacement { headInsert = 0, tailAppend = 1 };
enum class TapOptions { defaultFilter = 0, listenOnly = 1 };

// A tap's callback: the type (an event type, or one of the tap-disabled
// notices) and the event; return the event (possibly changed) to pass it on,
// none to swallow it. Listen-only taps cannot swallow.
using EventTapCallback = std::function<std::optional<InputEvent>(int type, const InputEvent& event)>;
// A local monitor sees events that go to Vesk and may swallow them.
using LocalEventMonitor = std::function<std::optional<InputEvent>(const InputEvent& event)>;
// A global monitor observes events that go to other applications.
using GlobalEventMonitor = std::function<void(const InputEvent& event)>;

// Event taps and event monitors. An event passes the enabled taps in order
// (HID taps, then session, then annotated session; within a location a
// head-inserted tap comes before the taps installed earlier), then Vesk's
// local monitors when it goes to Vesk, or the global monitors when it goes to
// another application. A tap that swallows an event keeps it from everything
// after it.
class EventTapping {
public:
    virtual ~EventTapping() = default;

    // None when the system refuses (without Input Monitoring, say).
    virtual std::optional<EventTapID> createTap(TapLocation location, TapPlacement placement, TapOptions options,
                                                std::uint64_t eventMask, EventTapCallback callback) = 0;
    virtual void enableTap(EventTapID tap, bool enable) = 0;
    virtual bool isTapEnabled(EventTapID tap) const = 0;
    virtual void invalidateTap(EventTapID tap) = 0;
    virtual bool isTapValid(EventTapID tap) const = 0;

    virtual EventMonitorID addLocalMonitor(std::uint64_t eventMask, LocalEventMonitor handler) = 0;
    virtual EventMonitorID addGlobalMonitor(std::uint64_t eventMask, GlobalEventMonitor handler) = 0;
    virtual void removeMonitor(EventMonitorID monitor) = 0;
};

} // namespace vesk::platform
