#include "enforcement/MouseBlockerService.h"

#include "core/Clock.h"
#include "core/TextFormat.h"
#include "enforcement/EnforcementLogText.h"
#include "enforcement/InputMonitoringProbe.h"
#include "enforcement/SessionEventTap.h"
#include "overlay/DisplayGeometry.h"
#include "overlay/OverlayLogText.h"
#include "overlay/WindowSnapshotReader.h"

#include <QStringList>

namespace vesk {

namespace {

// An identical decision is logged at most once a second.
constexpr qint64 repeatedLogIntervalMs = 1000;

QString optionalText(const std::optional<QString>& text, const QString& absent)
{
    return text.value_or(absent);
}

QString clickKind(const MouseBlockerClickDecision& decision)
{
    if (decision.controlAction)
        return toRaw(*decision.controlAction);
    return decision.isInAllowedWindowControlZone ? QStringLiteral("control") : QStringLiteral("content");
}

QString decisionSignature(const MouseBlockerClickDecision& decision)
{
    return QStringList{decision.isAllowed ? QStringLiteral("allowed") : QStringLiteral("blocked"),
                       toRaw(decision.reason),
                       optionalText(decision.passthroughBundleID, QStringLiteral("-")),
                       optionalText(decision.topWindowBundleID, QStringLiteral("-")),
                       QString::number(decision.topWindowLayer.value_or(-1)),
                       clickKind(decision),
                       QString::number(decision.passthroughRectCount),
                       QString::number(decision.blockerCount),
                       QString::number(decision.ignoredBlockerCount),
                       QString::number(decision.registeredVeskControlRectCount)}
        .join(QLatin1Char('|'));
}

} // namespace

MouseBlockerService::MouseBlockerService(Scheduler& scheduler, const Clock& clock,
                                         const platform::ScreenProviding& screens,
                                         WindowSnapshotReader& windowSnapshots, QString veskBundleID,
                                         std::unique_ptr<AXWindowControlResolving> controlResolver,
                                         std::function<bool()> permissionProvider,
                                         std::unique_ptr<MouseBlockerEventTapInstalling> eventTapInstaller,
                                         const platform::WindowControlZoneProviding* controlZones)
    : scheduler_(scheduler)
    , clock_(clock)
    , screens_(screens)
    , windowSnapshots_(windowSnapshots)
    , veskBundleID_(std::move(veskBundleID))
    , controlResolver_(std::move(controlResolver))
    , permissionProvider_(std::move(permissionProvider))
    , eventTapInstaller_(std::move(eventTapInstaller))
    , controlZones_(controlZones)
{
}

MouseBlockerService::~MouseBlockerService()
{
    deactivate();
}

std::function<bool()>
MouseBlockerService::defaultInputMonitoringCheck(const platform::PermissionsProviding& permissions,
                                                 platform::EventTapping& eventTaps)
{
    return [&permissions, &eventTaps] { return isInputMonitoringAvailable(permissions, eventTaps); };
}

void MouseBlockerService::activate(const std::set<QString>& allowedBundleIDs)
{
    if (isActive_) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("activate called while mouse blocker is already active"));
        return;
    }
    allowedBundleIDs_ = allowedBundleIDs;
    isActive_ = true;
    const bool granted = permissionProvider_();
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Activating mouse blocker for %1 allowed apps — inputMonitoringGranted=%2")
                    .arg(allowedBundleIDs.size())
                    .arg(boolText(granted)));
    if (granted)
        installTap();
    else
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Input Monitoring permission not granted — mouse blocker waiting for permission, "
                                   "tap not installed"));
    healthCheck_.start();
}

void MouseBlockerService::updateAllowlist(const std::set<QString>& allowedBundleIDs)
{
    allowedBundleIDs_ = allowedBundleIDs;
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Mouse blocker allowlist updated — %1 apps allowed").arg(allowedBundleIDs.size()));
}

void MouseBlockerService::deactivate()
{
    healthCheck_.stop();
    removeTap();
    isActive_ = false;
    allowedBundleIDs_.clear();
    allowedWindowControlClickHandler_ = nullptr;
    clickObserver_ = nullptr;
    visiblePassthroughRects_.clear();
    registeredVeskControlRects_.clear();
    logger_.log(VeskLogLevel::info, QStringLiteral("Mouse blocker deactivated"));
}

void MouseBlockerService::updateVeskControlRects(const std::vector<Rect>& rects)
{
    registeredVeskControlRects_ = rects;
    logger_.log(VeskLogLevel::debug, QStringLiteral("Mouse blocker vesk-control rects updated — count=%1, rects=%2")
                                         .arg(rects.size())
                                         .arg(rectArrayText(rects)));
}

void MouseBlockerService::setVisiblePassthroughRects(const std::vector<Rect>& rects)
{
    visiblePassthroughRects_ = rects;
}

void MouseBlockerService::setAllowedWindowControlClickHandler(ControlClickHandler handler)
{
    allowedWindowControlClickHandler_ = std::move(handler);
}

void MouseBlockerService::setClickObserver(ClickObserver observer)
{
    clickObserver_ = std::move(observer);
}

std::optional<platform::InputEvent> MouseBlockerService::handleTapEvent(int type, const platform::InputEvent& event)
{
    if (SessionEventTap::isDisabledNotice(type)) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Mouse blocker tap disabled by system — re-enabling (fail-open until re-enabled)"));
        if (installedTap_)
            eventTapInstaller_->enable(*installedTap_);
        return event;
    }
    if (handleMouseDown(type, pointFromQPointF(event.location)))
        return event;
    return std::nullopt;
}

bool MouseBlockerService::handleMouseDown(int eventType, Point quartzPoint)
{
    const std::optional<DisplayGeometry> geometry = DisplayGeometry::current(screens_);
    if (!geometry) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral(
                        "Mouse click blocked — no primary screen available for coordinate conversion, point=")
                        + pointText(quartzPoint));
        return false;
    }
    const MouseBlockerClickDecision decision =
        decideMouseClick(windowSnapshots_.onScreenWindowSnapshots(), allowedBundleIDs_, veskBundleID_, *geometry,
                         visiblePassthroughRects_, registeredVeskControlRects_, quartzPoint, controlZones_);

    // Copied: the observer may stop the session and clear it while it runs.
    if (const ClickObserver observer = clickObserver_)
        observer(decision.cocoaPoint);

    if (eventType == platform::EventType::leftMouseDown && decision.isInAllowedWindowControlZone
        && decision.passthroughBundleID)
        return handleControlZoneClick(decision);
    logClickDecision(decision);
    return decision.isAllowed;
}

bool MouseBlockerService::handleControlZoneClick(MouseBlockerClickDecision decision)
{
    const QString bundleID = *decision.passthroughBundleID;
    const auto action = controlResolver_->resolve(bundleID, decision.quartzPoint, decision.cocoaPoint);
    decision.isAllowed = false;
    decision.controlAction = action;
    logClickDecision(decision);
    if (!action) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Allowed window control-zone click blocked because AX action was unresolved — "
                                   "bundleID=%1, point=%2")
                        .arg(bundleID, pointText(decision.quartzPoint)));
        return false;
    }
    logger_.log(VeskLogLevel::debug,
                QStringLiteral(
                    "Allowed window control-zone click mapped to Vesk action — bundleID=%1, action=%2, point=%3")
                    .arg(bundleID, toRaw(*action), pointText(decision.quartzPoint)));
    if (const ControlClickHandler handler = allowedWindowControlClickHandler_)
        handler(bundleID, *action, decision.quartzPoint);
    return false;
}

void MouseBlockerService::logClickDecision(const MouseBlockerClickDecision& decision)
{
    const QString signature = decisionSignature(decision);
    const QDateTime now = clock_.now();
    if (signature == lastClickLogSignature_ && lastClickLogDate_
        && lastClickLogDate_->msecsTo(now) < repeatedLogIntervalMs)
        return;
    lastClickLogSignature_ = signature;
    lastClickLogDate_ = now;
    const QString none = QStringLiteral("none");
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Mouse click %1 — reason=%2, quartzPoint=%3, cocoaPoint=%4, passthroughBundleID=%5, "
                               "topWindowBundleID=%6, topWindowLayer=%7, controlZone=%8, controlAction=%9, ")
                        .arg(decision.isAllowed ? QStringLiteral("allowed") : QStringLiteral("blocked"),
                             toRaw(decision.reason), pointText(decision.quartzPoint), pointText(decision.cocoaPoint),
                             optionalText(decision.passthroughBundleID, none),
                             optionalText(decision.topWindowBundleID, none),
                             QString::number(decision.topWindowLayer.value_or(-1)),
                             boolText(decision.isInAllowedWindowControlZone),
                             decision.controlAction ? toRaw(*decision.controlAction) : none)
                    + QStringLiteral("rawAllowed=%1, passthrough=%2, blockers=%3, ignoredBlockers=%4, "
                                     "registeredVeskControls=%5, registeredVeskControlRects=%6")
                          .arg(decision.rawAllowedWindowCount)
                          .arg(decision.passthroughRectCount)
                          .arg(decision.blockerCount)
                          .arg(decision.ignoredBlockerCount)
                          .arg(decision.registeredVeskControlRectCount)
                          .arg(rectArrayText(registeredVeskControlRects_)));
}

void MouseBlockerService::installTap()
{
    if (installedTap_)
        return;
    installedTap_ = eventTapInstaller_->install(
        [this](int type, const platform::InputEvent& event) { return handleTapEvent(type, event); }, eventMask);
    if (installedTap_)
        logger_.log(VeskLogLevel::info, QStringLiteral("Mouse blocker CGEventTap installed"));
}

void MouseBlockerService::removeTap()
{
    if (!installedTap_)
        return;
    eventTapInstaller_->remove(*installedTap_);
    installedTap_.reset();
    logger_.log(VeskLogLevel::debug, QStringLiteral("Mouse blocker CGEventTap removed"));
}

void MouseBlockerService::healthCheckTick()
{
    if (!isActive_)
        return;
    if (!permissionProvider_()) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Mouse blocker health: Input Monitoring still missing — waiting"));
        return;
    }
    if (!installedTap_) {
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Mouse blocker health: Input Monitoring available — installing late CGEventTap"));
        installTap();
        if (!installedTap_)
            logger_.log(VeskLogLevel::error, QStringLiteral("Mouse blocker health: late CGEventTap install failed"));
        return;
    }
    if (eventTapInstaller_->isEnabled(*installedTap_))
        return;
    logger_.log(VeskLogLevel::warning, QStringLiteral("Mouse blocker health: tap disabled — re-enabling"));
    eventTapInstaller_->enable(*installedTap_);
    if (eventTapInstaller_->isEnabled(*installedTap_))
        return;
    logger_.log(VeskLogLevel::error, QStringLiteral("Mouse blocker health: re-enable failed — re-installing"));
    removeTap();
    installTap();
}

} // namespace vesk
