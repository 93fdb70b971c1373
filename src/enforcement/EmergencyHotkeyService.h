#pragma once

#include "enforcement/EmergencyHotkeyHandling.h"
#include "enforcement/EventTapHealthCheck.h"
#include "enforcement/SessionEventTap.h"
#include "logging/VeskLogger.h"
#include "platform/Identifiers.h"
#include "platform/InputEvent.h"

#include <QDateTime>

#include <memory>
#include <optional>

namespace vesk::platform {
class EventTapping;
class PermissionsProviding;
} // namespace vesk::platform

namespace vesk {

class Clock;
class Scheduler;

// Watches for Command+Shift+Escape on three levels at once: an active
// key-down tap of the login session (swallows the keystroke), a local monitor
// for keys sent to Vesk (swallows it too) and a global monitor for keys sent
// to other applications (only observes). A 0.5 s debounce across the levels
// makes one keystroke one trigger, delivered later on the main queue. A 2.0 s
// health timer re-enables or re-installs the tap.
class EmergencyHotkeyService final : public EmergencyHotkeyHandling {
public:
    static constexpr double debounceInterval = 0.5;

    EmergencyHotkeyService(Scheduler& scheduler, const Clock& clock, platform::EventTapping& eventTaps,
                           const platform::PermissionsProviding& permissions);
    ~EmergencyHotkeyService() override;
    EmergencyHotkeyService(const EmergencyHotkeyService&) = delete;
    EmergencyHotkeyService& operator=(const EmergencyHotkeyService&) = delete;

    void activate(std::function<void()> onTrigger) override;
    void deactivate() override;

    // Escape with Command and Shift, whatever other modifiers are held.
    static bool isHotkey(std::int64_t keyCode, std::uint64_t flags);

    bool hasEventTap() const { return eventTap_ != nullptr; }

private:
    std::optional<platform::InputEvent> handleTapEvent(int type, const platform::InputEvent& event);
    void handleTrigger();
    void installEventTap();
    void installLocalMonitor();
    void installGlobalMonitor();
    void healthCheckTick();
    void removeEventTap();
    void removeLocalMonitor();
    void removeGlobalMonitor();

    Scheduler& scheduler_;
    const Clock& clock_;
    platform::EventTapping& eventTaps_;
    const platform::PermissionsProviding& permissions_;

    std::unique_ptr<SessionEventTap> eventTap_;
    std::optional<platform::EventMonitorID> localMonitor_;
    std::optional<platform::EventMonitorID> globalMonitor_;
    std::function<void()> onTrigger_;
    std::optional<QDateTime> lastTriggerTime_;
    VeskLogger logger_{QStringLiteral("EmergencyHotkeyService")};
    EventTapHealthCheck healthCheck_{scheduler_, logger_, QStringLiteral("EventTap"), [this] { healthCheckTick(); }};
    // Queued triggers hold it weakly: they find it gone once the service is.
    const std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

} // namespace vesk
