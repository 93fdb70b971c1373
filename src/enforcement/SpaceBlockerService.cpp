#include "enforcement/SpaceBlockerService.h"

#include "core/Scheduler.h"
#include "core/TextFormat.h"
#include "enforcement/DockMissionControlFallbackService.h"
#include "enforcement/GestureBlockerService.h"
#include "enforcement/InputMonitoringProbe.h"
#include "enforcement/SpaceBlockerPolicy.h"
#include "platform/EventTapping.h"
#include "platform/VirtualKeyCodes.h"

namespace vesk {

namespace {

constexpr std::uint64_t keyDownMask = platform::eventMaskBit(platform::EventType::keyDown);

} // namespace

SpaceBlockerService::SpaceBlockerService(Scheduler& scheduler, platform::EventTapping& eventTaps,
                                         const platform::PermissionsProviding& permissions,
                                         DockMissionControlFallbackService& dockFallbackService,
                                         GestureBlockerService& gestureBlockerService)
    : scheduler_(scheduler)
    , eventTaps_(eventTaps)
    , permissions_(permissions)
    , dockFallbackService_(dockFallbackService)
    , gestureBlockerService_(gestureBlockerService)
{
}

SpaceBlockerService::~SpaceBlockerService()
{
    deactivate();
}

std::optional<platform::EventTapID> SpaceBlockerService::keyboardTapID() const
{
    return eventTap_ ? std::optional(eventTap_->id()) : std::nullopt;
}

void SpaceBlockerService::activate(const std::set<QString>& allowedBundleIDs, bool hardcore)
{
    if (isActive_) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("activate called while already active"));
        return;
    }
    isActive_ = true;
    isHardcoreEnabled_ = hardcore;
    logger_.log(VeskLogLevel::info, QStringLiteral("Activating space blocker — hardcore=") + boolText(hardcore));
    dockFallbackService_.activate();
    gestureBlockerService_.activate(allowedBundleIDs);
    installKeyboardTap();
    healthCheck_.start();
}

void SpaceBlockerService::deactivate()
{
    if (!isActive_)
        return;
    healthCheck_.stop();
    removeKeyboardTap();
    gestureBlockerService_.deactivate();
    dockFallbackService_.deactivate();
    isActive_ = false;
    isHardcoreEnabled_ = false;
    logger_.log(VeskLogLevel::info, QStringLiteral("Space blocker deactivated"));
}

void SpaceBlockerService::updateAllowlist(const std::set<QString>& allowedBundleIDs)
{
    gestureBlockerService_.updateAllowlist(allowedBundleIDs);
}

std::optional<platform::InputEvent> SpaceBlockerService::handleTapEvent(int type, const platform::InputEvent& event)
{
    if (SessionEventTap::isDisabledNotice(type)) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Space blocker tap disabled by system — attempting recovery "
                                                          "(fail-open until restored)"));
        recoverDisabledTap();
        return event;
    }
    if (type == platform::EventType::keyDown && shouldBlockKeyEvent(event))
        return std::nullopt;
    return event;
}

// Switching the tap on again is safe here; replacing it is not, since this
// runs inside the tap's own callback: that waits for the main queue.
void SpaceBlockerService::recoverDisabledTap()
{
    if (eventTap_ && eventTap_->enable())
        return;
    if (tapReplacementQueued_)
        return;
    tapReplacementQueued_ = true;
    scheduler_.async([this, alive = std::weak_ptr<int>(lifetime_)] {
        if (alive.expired())
            return;
        tapReplacementQueued_ = false;
        replaceTapIfStillDisabled();
    });
}

void SpaceBlockerService::replaceTapIfStillDisabled()
{
    if (!isActive_ || (eventTap_ && eventTap_->isEnabled()))
        return;
    removeKeyboardTap();
    installKeyboardTap();
}

bool SpaceBlockerService::shouldBlockKeyEvent(const platform::InputEvent& event)
{
    if (!isActive_)
        return false;
    const std::int64_t keyCode = event.keyCode();
    const std::uint64_t flags = event.flags;
    if (keyCode == platform::KeyCode::escape
        && SpaceBlockerPolicy::hasExactly(flags, platform::EventFlag::command | platform::EventFlag::shift)) {
        if (!isHardcoreEnabled_) {
            logger_.log(VeskLogLevel::debug, QStringLiteral("Emergency exit shortcut detected — passing through"));
            return false;
        }
        logger_.log(VeskLogLevel::warning, QStringLiteral("Emergency exit shortcut BLOCKED — hardcore session "
                                                          "(only timer/restart end the session)"));
        return true;
    }
    if (SpaceBlockerPolicy::shouldBlock(keyCode, flags, isHardcoreEnabled_) == SpaceBlockerPolicy::Action::pass)
        return false;
    logger_.log(VeskLogLevel::info, QStringLiteral("Blocked session shortcut — keyCode=%1, flags=%2, hardcore=%3")
                                        .arg(keyCode)
                                        .arg(flags)
                                        .arg(boolText(isHardcoreEnabled_)));
    return true;
}

bool SpaceBlockerService::hasInputMonitoring() const
{
    return vesk::isInputMonitoringAvailable(permissions_, eventTaps_);
}

void SpaceBlockerService::installKeyboardTap()
{
    if (eventTap_)
        return;
    if (!hasInputMonitoring()) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Input Monitoring permission not granted — keyboard shortcut "
                                                          "blocking unavailable (fail-open)"));
        return;
    }
    eventTap_ = SessionEventTap::install(eventTaps_, keyDownMask, [this](int type, const platform::InputEvent& event) {
        return handleTapEvent(type, event);
    });
    if (!eventTap_) {
        logger_.log(VeskLogLevel::error,
                    QStringLiteral("Failed to create keyboard shortcut CGEventTap — shortcuts will "
                                   "pass through (fail-open)"));
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Space blocker keyboard CGEventTap installed"));
}

void SpaceBlockerService::removeKeyboardTap()
{
    if (!eventTap_)
        return;
    eventTap_.reset();
    logger_.log(VeskLogLevel::debug, QStringLiteral("Space blocker keyboard CGEventTap removed"));
}

void SpaceBlockerService::healthCheckTick()
{
    if (!isActive_)
        return;
    if (eventTap_) {
        if (eventTap_->isEnabled())
            return;
        logger_.log(VeskLogLevel::warning, QStringLiteral("Space blocker health: tap disabled — re-enabling"));
        if (eventTap_->enable())
            return;
        logger_.log(VeskLogLevel::error, QStringLiteral("Space blocker health: re-enable failed — re-installing"));
        removeKeyboardTap();
        installKeyboardTap();
        return;
    }
    if (!hasInputMonitoring())
        return;
    logger_.log(VeskLogLevel::warning, QStringLiteral("Space blocker health: tap is nil — attempting re-install"));
    installKeyboardTap();
}

} // namespace vesk
