#include "enforcement/GestureBlockerService.h"

#include "core/TextFormat.h"
#include "enforcement/InputMonitoringProbe.h"
#include "platform/EventTapping.h"
#include "platform/RunningApplication.h"
#include "platform/Workspace.h"

namespace vesk {

namespace {

// The phases that end a Dock swipe's stream of events.
bool endsSwipeStream(std::int64_t phase)
{
    return phase == 4 || phase == 8;
}

QString optionalNumber(std::optional<int> value)
{
    return value ? QString::number(*value) : QStringLiteral("nil");
}

} // namespace

GestureBlockerService::GestureBlockerService(Scheduler& scheduler, platform::EventTapping& eventTaps,
                                             const platform::PermissionsProviding& permissions,
                                             const platform::Workspace& workspace, QString veskBundleID)
    : scheduler_(scheduler)
    , eventTaps_(eventTaps)
    , permissions_(permissions)
    , workspace_(workspace)
    , veskBundleID_(std::move(veskBundleID))
{
}

GestureBlockerService::~GestureBlockerService()
{
    deactivate();
}

std::uint64_t GestureBlockerService::eventMask()
{
    std::uint64_t mask = platform::eventMaskBit(GestureBlockPolicy::systemDefinedEventType);
    for (int type : GestureBlockPolicy::gestureEventTypes())
        mask |= platform::eventMaskBit(type);
    for (int type : GestureBlockPolicy::dockSwipeEventTypes())
        mask |= platform::eventMaskBit(type);
    return mask;
}

void GestureBlockerService::activate(const std::set<QString>& allowedBundleIDs)
{
    if (isActive_) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("activate called while already active"));
        return;
    }
    allowedBundleIDs_ = allowedBundleIDs;
    isActive_ = true;
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Activating gesture blocker (trackpad gesture suppression) — %1 apps allowed")
                    .arg(allowedBundleIDs.size()));
    if (!isInputMonitoringAvailable(permissions_, eventTaps_)) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral(
                        "Input Monitoring permission not granted — gesture blocker NOT installed (fail-open)"));
        return;
    }
    installEventTap();
    healthCheck_.start();
}

void GestureBlockerService::updateAllowlist(const std::set<QString>& allowedBundleIDs)
{
    allowedBundleIDs_ = allowedBundleIDs;
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Gesture blocker allowlist updated — %1 apps allowed").arg(allowedBundleIDs.size()));
}

void GestureBlockerService::deactivate()
{
    healthCheck_.stop();
    removeEventTap();
    isActive_ = false;
    allowedBundleIDs_.clear();
    isDockSwipeActive_ = false;
    logger_.log(VeskLogLevel::info, QStringLiteral("Gesture blocker deactivated"));
}

std::optional<platform::InputEvent> GestureBlockerService::handleTapEvent(int type, const platform::InputEvent& event)
{
    if (SessionEventTap::isDisabledNotice(type)) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral(
                        "Gesture blocker tap disabled by system — re-enabling (fail-open until re-enabled)"));
        if (eventTap_)
            eventTap_->enable();
        return event;
    }
    if (decide(event) == GestureBlockPolicy::Action::block)
        return std::nullopt;
    return event;
}

GestureBlockPolicy::Action GestureBlockerService::decide(const platform::InputEvent& event)
{
    if (!isActive_)
        return GestureBlockPolicy::Action::pass;
    std::optional<int> hidType;
    if (GestureBlockPolicy::dockSwipeEventTypes().count(event.type))
        hidType = int(event.integerField(platform::EventField::gestureHIDType));
    const bool swipeWasActive = isDockSwipeActive_;
    if (hidType == GestureBlockPolicy::dockSwipeHIDType) {
        const std::int64_t phase = event.integerField(platform::EventField::gesturePhase);
        isDockSwipeActive_ = !endsSwipeStream(phase);
        logger_.log(VeskLogLevel::info, QStringLiteral("Blocked Space-switch DockSwipe — phase=%1, streamEnded=%2")
                                            .arg(phase)
                                            .arg(boolText(endsSwipeStream(phase))));
    }
    const auto frontmost = workspace_.frontmostApplication();
    const std::optional<QString> focused = frontmost ? frontmost->bundleIdentifier() : std::nullopt;
    const bool allowedFocused = isAllowedFocused(focused);
    const auto action = GestureBlockPolicy::shouldBlock(event.type, hidType, event.subtype, allowedFocused,
                                                        swipeWasActive || isDockSwipeActive_);
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Gesture event rawType=%1, hidType=%2, subtype=%3, focused=%4, allowedFocused=%5, "
                               "dockSwipeActive=%6, action=%7")
                    .arg(QString::number(event.type), optionalNumber(hidType), optionalNumber(event.subtype),
                         focused.value_or(QStringLiteral("nil")), boolText(allowedFocused),
                         boolText(isDockSwipeActive_), toRaw(action)));
    return action;
}

bool GestureBlockerService::isAllowedFocused(const std::optional<QString>& frontmostBundleID) const
{
    return frontmostBundleID && *frontmostBundleID != veskBundleID_ && allowedBundleIDs_.count(*frontmostBundleID);
}

void GestureBlockerService::installEventTap()
{
    eventTap_ = SessionEventTap::install(eventTaps_, eventMask(), [this](int type, const platform::InputEvent& event) {
        return handleTapEvent(type, event);
    });
    if (!eventTap_) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Failed to create gesture blocker CGEventTap — fail-open"));
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Gesture blocker CGEventTap installed"));
}

void GestureBlockerService::removeEventTap()
{
    if (!eventTap_)
        return;
    eventTap_.reset();
    logger_.log(VeskLogLevel::debug, QStringLiteral("Gesture blocker CGEventTap removed"));
}

void GestureBlockerService::healthCheckTick()
{
    if (!eventTap_) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Gesture blocker health: tap is nil — attempting re-install"));
        installEventTap();
        return;
    }
    if (eventTap_->isEnabled())
        return;
    logger_.log(VeskLogLevel::warning, QStringLiteral("Gesture blocker health: tap disabled — re-enabling"));
    if (eventTap_->enable())
        return;
    logger_.log(VeskLogLevel::error, QStringLiteral("Gesture blocker health: re-enable failed — re-installing"));
    removeEventTap();
    installEventTap();
}

} // namespace vesk
