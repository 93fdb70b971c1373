#include "enforcement/EmergencyHotkeyService.h"

#include "core/Clock.h"
#include "core/Scheduler.h"
#include "core/TextFormat.h"
#include "enforcement/InputMonitoringProbe.h"
#include "platform/EventTapping.h"
#include "platform/VirtualKeyCodes.h"

namespace vesk {

namespace {

constexpr std::uint64_t keyDownMask = platform::eventMaskBit(platform::EventType::keyDown);

bool isHotkeyEvent(const platform::InputEvent& event)
{
    return event.type == platform::EventType::keyDown && EmergencyHotkeyService::isHotkey(event.keyCode(), event.flags);
}

} // namespace

EmergencyHotkeyService::EmergencyHotkeyService(Scheduler& scheduler, const Clock& clock,
                                               platform::EventTapping& eventTaps,
                                               const platform::PermissionsProviding& permissions)
    : scheduler_(scheduler)
    , clock_(clock)
    , eventTaps_(eventTaps)
    , permissions_(permissions)
{
}

EmergencyHotkeyService::~EmergencyHotkeyService()
{
    deactivate();
}

bool EmergencyHotkeyService::isHotkey(std::int64_t keyCode, std::uint64_t flags)
{
    return keyCode == platform::KeyCode::escape && (flags & platform::EventFlag::command)
           && (flags & platform::EventFlag::shift);
}

void EmergencyHotkeyService::activate(std::function<void()> onTrigger)
{
    onTrigger_ = std::move(onTrigger);
    installEventTap();
    installLocalMonitor();
    installGlobalMonitor();
    healthCheck_.start();
    logger_.log(VeskLogLevel::info,
                QStringLiteral("EmergencyHotkeyService activated (Cmd+Shift+Escape) — 3 fallback levels"));
}

void EmergencyHotkeyService::deactivate()
{
    healthCheck_.stop();
    removeEventTap();
    removeLocalMonitor();
    removeGlobalMonitor();
    onTrigger_ = nullptr;
    lastTriggerTime_.reset();
    logger_.log(VeskLogLevel::info, QStringLiteral("EmergencyHotkeyService deactivated"));
}

std::optional<platform::InputEvent> EmergencyHotkeyService::handleTapEvent(int type, const platform::InputEvent& event)
{
    if (SessionEventTap::isDisabledNotice(type)) {
        if (eventTap_)
            eventTap_->enable();
        return event;
    }
    if (!isHotkeyEvent(event))
        return event;
    logger_.log(VeskLogLevel::info, QStringLiteral("Emergency hotkey triggered via CGEventTap (Cmd+Shift+Escape)"));
    handleTrigger();
    return std::nullopt;
}

void EmergencyHotkeyService::handleTrigger()
{
    const QDateTime now = clock_.now();
    if (lastTriggerTime_ && lastTriggerTime_->msecsTo(now) < qint64(debounceInterval * 1000)) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Emergency trigger debounced — too soon after last trigger"));
        return;
    }
    lastTriggerTime_ = now;
    scheduler_.async([this, alive = std::weak_ptr<int>(lifetime_)] {
        if (alive.expired())
            return;
        // Copied: the session's handler stops the session, which deactivates this service.
        if (const std::function<void()> onTrigger = onTrigger_)
            onTrigger();
    });
}

void EmergencyHotkeyService::installEventTap()
{
    if (eventTap_)
        return;
    if (!isInputMonitoringAvailable(permissions_, eventTaps_)) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Input Monitoring permission not granted — CGEventTap not installed"));
        return;
    }
    eventTap_ = SessionEventTap::install(eventTaps_, keyDownMask, [this](int type, const platform::InputEvent& event) {
        return handleTapEvent(type, event);
    });
    if (!eventTap_) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Failed to create CGEventTap — is Input Monitoring granted?"));
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("CGEventTap installed successfully"));
}

void EmergencyHotkeyService::installLocalMonitor()
{
    if (localMonitor_)
        return;
    localMonitor_ = eventTaps_.addLocalMonitor(
        keyDownMask, [this](const platform::InputEvent& event) -> std::optional<platform::InputEvent> {
            if (!isHotkeyEvent(event))
                return event;
            logger_.log(VeskLogLevel::info,
                        QStringLiteral("Emergency hotkey triggered via local monitor (Cmd+Shift+Escape)"));
            handleTrigger();
            return std::nullopt;
        });
    logger_.log(VeskLogLevel::debug, QStringLiteral("Local monitor installed"));
}

void EmergencyHotkeyService::installGlobalMonitor()
{
    if (globalMonitor_)
        return;
    globalMonitor_ = eventTaps_.addGlobalMonitor(keyDownMask, [this](const platform::InputEvent& event) {
        if (!isHotkeyEvent(event))
            return;
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Emergency hotkey triggered via global monitor (Cmd+Shift+Escape)"));
        handleTrigger();
    });
    logger_.log(VeskLogLevel::debug, QStringLiteral("Global monitor installed (observe-only fallback)"));
}

void EmergencyHotkeyService::healthCheckTick()
{
    if (!eventTap_) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("EventTap health check: tap is nil — attempting re-install"));
        installEventTap();
        return;
    }
    if (eventTap_->isEnabled())
        return;
    logger_.log(VeskLogLevel::warning, QStringLiteral("EventTap health check: tap is disabled — re-enabling"));
    if (eventTap_->enable())
        return;
    logger_.log(VeskLogLevel::error, QStringLiteral("EventTap health check: re-enable failed — re-installing"));
    removeEventTap();
    installEventTap();
}

void EmergencyHotkeyService::removeEventTap()
{
    if (!eventTap_)
        return;
    eventTap_.reset();
    logger_.log(VeskLogLevel::debug, QStringLiteral("CGEventTap removed"));
}

void EmergencyHotkeyService::removeLocalMonitor()
{
    if (!localMonitor_)
        return;
    eventTaps_.removeMonitor(*localMonitor_);
    localMonitor_.reset();
    logger_.log(VeskLogLevel::debug, QStringLiteral("Local monitor removed"));
}

void EmergencyHotkeyService::removeGlobalMonitor()
{
    if (!globalMonitor_)
        return;
    eventTaps_.removeMonitor(*globalMonitor_);
    globalMonitor_.reset();
    logger_.log(VeskLogLevel::debug, QStringLiteral("Global monitor removed"));
}

} // namespace vesk
