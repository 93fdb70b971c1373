#include "session/SessionServiceHandlers.h"

#include "core/Clock.h"
#include "core/Scheduler.h"
#include "core/TextFormat.h"
#include "session/AllowedAppRecovery.h"
#include "session/DynamicAllowlistController.h"
#include "session/SessionExits.h"
#include "stage/StageVeskScreenID.h"

namespace vesk {

SessionServiceHandlers::SessionServiceHandlers(const SessionServices& services, const SessionState& state,
                                               Scheduler& scheduler, const Clock& clock, Parts parts, Hooks hooks)
    : services_(services)
    , state_(state)
    , scheduler_(scheduler)
    , clock_(clock)
    , parts_(parts)
    , hooks_(std::move(hooks))
{
}

bool SessionServiceHandlers::rejectStale(const QUuid& lifecycleID, VeskLogLevel level, const QString& message) const
{
    if (state_.isCurrentLifecycle(lifecycleID))
        return false;
    logger_.log(level, message + uuidText(lifecycleID));
    return true;
}

std::function<void()> SessionServiceHandlers::emergencyHotkeyHandler(const QUuid& lifecycleID)
{
    return handler(lifecycleID, &SessionServiceHandlers::handleEmergencyHotkey);
}

std::function<void(const SpaceChangeContext&)> SessionServiceHandlers::spaceChangeHandler(const QUuid& lifecycleID)
{
    return queuedHandler(lifecycleID, &SessionServiceHandlers::handleSpaceChange);
}

void SessionServiceHandlers::installStartHandlers(const QUuid& lifecycleID)
{
    OverlayControlling& overlay = *services_.overlay;
    overlay.setAllowedWindowsTemporarilyMissingHandler(
        handler(lifecycleID, &SessionServiceHandlers::handleAllowedWindowsTemporarilyMissing));
    overlay.setAllowedWindowsMissingHandler(handler(lifecycleID, &SessionServiceHandlers::handleAllowedWindowsMissing));
    overlay.setAllowedWindowsOccludedHandler(
        handler(lifecycleID, &SessionServiceHandlers::handleAllowedWindowsOccluded));
}

void SessionServiceHandlers::installCompletionHandlers(const QUuid& lifecycleID)
{
    OverlayControlling& overlay = *services_.overlay;
    overlay.setPassthroughRectsChangedHandler(handler(lifecycleID, &SessionServiceHandlers::forwardPassthroughRects));
    overlay.setAllowedWindowMotionHandler(
        queuedHandler(lifecycleID, &SessionServiceHandlers::handleAllowedWindowMotion));
    overlay.setSeamDragHandoffHandler(queuedHandler(lifecycleID, &SessionServiceHandlers::handleSeamDragHandoff));
    services_.mouseBlocker->setAllowedWindowControlClickHandler(
        queuedHandler(lifecycleID, &SessionServiceHandlers::handleAllowedWindowControlClick));
    services_.mouseBlocker->setClickObserver([this, alive = std::weak_ptr<int>(lifetime_)](Point point) {
        if (!alive.expired())
            handleClickObserved(point);
    });
}

void SessionServiceHandlers::installAppMonitorHandlers(const QUuid& lifecycleID)
{
    services_.appMonitor->setDisallowedAppHiddenHandler(
        handler(lifecycleID, &SessionServiceHandlers::handleDisallowedAppHidden));
    services_.appMonitor->setAppLaunchNeedingDecisionHandler(
        handler(lifecycleID, &SessionServiceHandlers::handleAppLaunchNeedingDecision));
}

std::function<void(const QString&)> SessionServiceHandlers::appFullyClosedHandler(const QUuid& lifecycleID)
{
    return queuedHandler(lifecycleID, &SessionServiceHandlers::handleAppFullyClosed);
}

void SessionServiceHandlers::handleEmergencyHotkey(const QUuid& lifecycleID)
{
    parts_.exits.handleEmergencyHotkey(lifecycleID);
}

void SessionServiceHandlers::handleSpaceChange(const QUuid& lifecycleID, const SpaceChangeContext& context)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale space-change callback for lifecycle=")))
        return;
    logger_.log(VeskLogLevel::warning,
                QStringLiteral("Unexpected active Space change during VESK session — frontmost=%1, sinceActivation=%2")
                    .arg(context.frontmostBundleID.value_or(QStringLiteral("nil")))
                    .arg(context.changesSinceActivation));
    services_.overlay->prepareBackingForAllowedAppActivation(QStringLiteral("spaceChangedUnexpectedly"));
    parts_.recovery.schedule(QStringLiteral("spaceChangedUnexpectedly"), std::nullopt, false);
}

void SessionServiceHandlers::handleAllowedWindowsOccluded(const QUuid& lifecycleID, const std::set<QString>& bundleIDs)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale occlusion callback for lifecycle=")))
        return;
    parts_.recovery.handleWindowsOccluded(bundleIDs);
}

void SessionServiceHandlers::handleAllowedWindowsTemporarilyMissing(const QUuid& lifecycleID)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale temporary-missing callback for lifecycle=")))
        return;
    parts_.recovery.handleWindowsTemporarilyMissing();
}

void SessionServiceHandlers::handleAllowedWindowsMissing(const QUuid& lifecycleID)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale missing-window callback for lifecycle=")))
        return;
    parts_.recovery.confirmMissingWindows(lifecycleID);
}

void SessionServiceHandlers::forwardPassthroughRects(const QUuid& lifecycleID, const std::vector<Rect>& rects)
{
    if (!state_.isCurrentLifecycle(lifecycleID))
        return;
    services_.mouseBlocker->setVisiblePassthroughRects(rects);
}

void SessionServiceHandlers::handleAllowedWindowMotion(const QUuid& lifecycleID,
                                                       const std::vector<OverlayWindowMotionEvent>& events)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale allowed-window motion callback for lifecycle=")))
        return;
    const std::set<QString> allowlist = state_.currentAllowlist();
    for (const OverlayWindowMotionEvent& event : events) {
        if (!allowlist.contains(event.bundleID))
            continue;
        std::optional<StageVeskScreenID> pointerScreen;
        if (event.pointerCocoaPoint)
            pointerScreen = StageVeskScreenID::forPoint(*services_.screens, *event.pointerCocoaPoint);
        services_.stage->syncUserDrag(event.bundleID, event.pointerCocoaPoint, pointerScreen, event.currentRect);
    }
}

void SessionServiceHandlers::handleSeamDragHandoff(const QUuid& lifecycleID, const QString& bundleID, Point point)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale seam-drag handoff callback for lifecycle=")))
        return;
    if (state_.currentAllowlist().contains(bundleID))
        services_.stage->handleSeamDragHandoff(bundleID, point);
}

void SessionServiceHandlers::handleAllowedWindowControlClick(const QUuid& lifecycleID, const QString& bundleID,
                                                             MouseBlockerControlAction action, Point clickPoint)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale window-control click callback for lifecycle=")))
        return;
    if (!state_.currentAllowlist().contains(bundleID)) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Ignoring window-control click for non-allowed app — bundleID=") + bundleID);
        return;
    }
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Handling allowed window control action via Vesk — bundleID=%1, action=%2")
                    .arg(bundleID, toRaw(action)));
    const QString reason = QStringLiteral("allowedWindowControlClick");
    switch (action) {
    case MouseBlockerControlAction::close:
        services_.overlay->suppressPassthroughImmediately(bundleID, reason);
        services_.stage->closeApp(bundleID, clickPoint, false);
        break;
    case MouseBlockerControlAction::minimize:
        // The window is parked in the stage queue instead of being minimised.
        services_.overlay->suppressPassthroughImmediately(bundleID, reason);
        services_.stage->moveToQueue(bundleID);
        break;
    case MouseBlockerControlAction::zoom:
        services_.stage->toggleZoom(bundleID);
        break;
    }
}

void SessionServiceHandlers::handleClickObserved(Point clickPoint)
{
    services_.appMonitor->setLastUserClickAt(clock_.now());
    services_.uiController->handleGlobalClick(clickPoint);
}

void SessionServiceHandlers::handleDisallowedAppHidden(const QUuid& lifecycleID, const QString& bundleID)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale disallowed-app callback for lifecycle=")))
        return;
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Disallowed app hidden during active session — bundleID=%1, scheduling "
                               "allowed-app recovery")
                    .arg(bundleID));
    parts_.recovery.schedule(QStringLiteral("disallowedAppHidden:") + bundleID, std::nullopt, false);
}

void SessionServiceHandlers::handleAppLaunchNeedingDecision(const QUuid& lifecycleID, const QString& bundleID)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale app-launch-decision callback for lifecycle=")))
        return;
    if (parts_.allowlist.presentPrompt(bundleID))
        services_.uiController->showAppLaunchPrompt(hooks_.session);
}

void SessionServiceHandlers::handleAppFullyClosed(const QUuid& lifecycleID, const QString& bundleID)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale app-fully-closed callback for lifecycle=")))
        return;
    hooks_.changeAllowlist([&] { parts_.allowlist.handleAppFullyClosed(bundleID); });
}

} // namespace vesk
