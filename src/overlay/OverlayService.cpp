#include "overlay/OverlayService.h"

#include "core/TextFormat.h"
#include "overlay/OverlayBackingPanel.h"
#include "overlay/OverlayPanel.h"

#include <algorithm>
#include <utility>

namespace vesk {

namespace {

// Keeps the handler shared: a call holds it alive without copying the closure
// (which may allocate), so that a handler that clears or replaces its own slot
// while it runs (by deactivating the overlay, say) is not destroyed under its
// own feet.
template <typename Handler>
std::shared_ptr<const Handler> sharedHandler(Handler handler)
{
    return handler ? std::make_shared<const Handler>(std::move(handler)) : nullptr;
}

// The handler that `held` keeps alive, or an empty one.
template <typename Handler>
const Handler& handlerOf(const std::shared_ptr<const Handler>& held)
{
    static const Handler none;
    return held ? *held : none;
}

template <typename Handler, typename... Args>
void callHandler(const std::shared_ptr<const Handler>& slot, Args&&... args)
{
    if (const std::shared_ptr<const Handler> handler = slot)
        (*handler)(std::forward<Args>(args)...);
}

} // namespace

OverlayService::OverlayService(Scheduler& scheduler, const Clock& clock, DesktopParts desktop,
                               WindowSnapshotReader windowSnapshots,
                               const MouseInteractionDetecting& mouseInteractionDetector, Tuning tuning)
    : clock_(clock)
    , pointer_(desktop.pointer)
    , mouseInteractionDetector_(mouseInteractionDetector)
    , panels_(desktop.screens, desktop.ownWindows, logger_)
    , frames_(scheduler, desktop.screens, logger_, [this] { trackingTick(); })
    , screenChangeDebounce_(
          scheduler, desktop.screenChanges, logger_, [this] { return isActive_; },
          [this] { handleSettledScreenChange(); })
    , holes_(desktop.screens, std::move(windowSnapshots), std::move(desktop.veskBundleID), logger_)
    , tickLog_(logger_)
    , minimizeTransitionTracker_(tuning.transitions)
    , dragTracker_(logger_, desktop.screens, [this] { return mouseLocation(); })
    , visibilityGuard_(tuning.gracePeriod)
{
    desktop.screenChanges.observeScreenParameters(this, [this] { holes_.invalidateGeometry(); });
}

OverlayService::OverlayService(Scheduler& scheduler, const Clock& clock, DesktopParts desktop,
                               WindowSnapshotReader windowSnapshots,
                               const MouseInteractionDetecting& mouseInteractionDetector)
    : OverlayService(scheduler, clock, std::move(desktop), std::move(windowSnapshots), mouseInteractionDetector,
                     Tuning())
{
}

OverlayService::~OverlayService()
{
    deactivate();
}

Point OverlayService::mouseLocation() const
{
    return pointFromQPointF(pointer_.mouseLocation());
}

// --- Activation ---------------------------------------------------------------

void OverlayService::activate(const std::set<QString>& allowedBundleIDs)
{
    allowedBundleIDs_ = allowedBundleIDs;
    isActive_ = true;
    resetSessionState();
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Activating overlay for %1 allowed apps").arg(allowedBundleIDs_.size()));
    syncPanels(QStringLiteral("activate"));
    frames_.start();
    screenChangeDebounce_.start();
}

void OverlayService::resetSessionState()
{
    tickLog_.reset();
    lastFullyOccludedBundleIDs_.clear();
    dragTracker_.resetSession();
    holes_.resetSession();
    minimizeTransitionTracker_.reset();
    visibilityGuard_.reset();
}

void OverlayService::updateAllowlist(const std::set<QString>& allowedBundleIDs)
{
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Overlay allowlist updated — %1 apps allowed").arg(allowedBundleIDs.size()));
    if (isTicking_) {
        // Asked for by a handler inside the tick: the running tick ends with
        // the allowlist it began with, and the new one comes in with the tick
        // that follows it at once.
        pendingAllowlist_ = allowedBundleIDs;
        if (isActive_)
            isTickRequested_ = true;
        return;
    }
    allowedBundleIDs_ = allowedBundleIDs;
    if (isActive_)
        trackingTick();
}

void OverlayService::deactivate()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("Deactivating overlay"));
    isActive_ = false;
    screenChangeDebounce_.stop();
    frames_.stop();
    panels_.dismiss();
    allowedBundleIDs_.clear();
    pendingAllowlist_.reset();
    resetSessionState();
    dragTracker_.clearDragTracking();
    dragTracker_.setMouseInteractionWasActive(false);
    allowedWindowsOccludedHandler_ = nullptr;
    passthroughRectsChangedHandler_ = nullptr;
    allowedWindowMotionHandler_ = nullptr;
    seamDragHandoffHandler_ = nullptr;
    allowedWindowsMissingHandler_ = nullptr;
    allowedWindowsTemporarilyMissingHandler_ = nullptr;
}

void OverlayService::setAllowedWindowsMissingHandler(MissingHandler handler)
{
    allowedWindowsMissingHandler_ = sharedHandler(std::move(handler));
}

void OverlayService::setAllowedWindowsTemporarilyMissingHandler(MissingHandler handler)
{
    allowedWindowsTemporarilyMissingHandler_ = sharedHandler(std::move(handler));
}

void OverlayService::setAllowedWindowsOccludedHandler(OccludedHandler handler)
{
    allowedWindowsOccludedHandler_ = sharedHandler(std::move(handler));
}

void OverlayService::setPassthroughRectsChangedHandler(PassthroughRectsHandler handler)
{
    passthroughRectsChangedHandler_ = sharedHandler(std::move(handler));
}

void OverlayService::setAllowedWindowMotionHandler(MotionHandler handler)
{
    allowedWindowMotionHandler_ = sharedHandler(std::move(handler));
}

void OverlayService::setSeamDragHandoffHandler(SeamDragHandoffHandler handler)
{
    seamDragHandoffHandler_ = sharedHandler(std::move(handler));
}

AllowedWindowDragState OverlayService::allowedWindowDragState(const QDateTime& now) const
{
    if (!isActive_)
        return AllowedWindowDragState::idle();
    return dragTracker_.dragState(now, isMouseButtonDown());
}

void OverlayService::prepareBackingForAllowedAppActivation(const QString& reason)
{
    if (!isActive_) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Ignoring overlay backing raise because overlay is inactive — reason=") + reason);
        return;
    }
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Preparing overlay backing before allowed app activation — reason=%1, backingPanels=%2")
                    .arg(reason)
                    .arg(panels_.backingPanelCount()));
    panels_.refreshBackingPanels(reason);
}

void OverlayService::suppressPassthroughImmediately(const QString& bundleID, const QString& reason)
{
    if (!isActive_) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral(
                        "Ignoring passthrough suppression because overlay is inactive — bundleID=%1, reason=%2")
                        .arg(bundleID, reason));
        return;
    }
    if (!allowedBundleIDs_.contains(bundleID)) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Ignoring passthrough suppression for non-allowed app — bundleID=%1, reason=%2")
                        .arg(bundleID, reason));
        return;
    }
    const auto event = minimizeTransitionTracker_.suppressImmediately(bundleID, clock_.now());
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Immediate passthrough suppression requested — bundleID=%1, reason=%2, previousRect=%3, "
                               "duration=%4s")
                    .arg(bundleID, reason, toString(event.previousRect),
                         doubleText(minimizeTransitionTracker_.tuning().suppressionDuration)));
    trackingTick();
}

// --- Panels and screen changes --------------------------------------------------

void OverlayService::syncPanels(const QString& reason)
{
    if (panels_.sync(reason))
        logDisplayGeometry();
}

void OverlayService::handleSettledScreenChange()
{
    syncPanels(QStringLiteral("screenParametersChanged"));
    trackingTick();
}

void OverlayService::logDisplayGeometry()
{
    const std::optional<DisplayGeometry>& geometry = holes_.geometry();
    if (!geometry) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Display geometry unavailable — overlay will fail closed"));
        return;
    }
    logger_.log(VeskLogLevel::debug, QStringLiteral("Display geometry — cocoaGlobal=%1, quartzGlobal=%2, displays=[%3]")
                                         .arg(toString(geometry->globalFrame()),
                                              toString(geometry->quartzGlobalFrame()), geometry->description()));
}

// --- The tick -----------------------------------------------------------------

void OverlayService::trackingTick()
{
    // A handler that the tick calls may ask for another tick (an allowlist
    // update, say): it runs as soon as this one is done, so that one tick
    // never works in the storage of another.
    if (isTicking_) {
        isTickRequested_ = true;
        return;
    }
    isTicking_ = true;
    do {
        isTickRequested_ = false;
        runTick();
        if (pendingAllowlist_) {
            allowedBundleIDs_ = std::move(*pendingAllowlist_);
            pendingAllowlist_.reset();
        }
    } while (isTickRequested_ && isActive_);
    isTicking_ = false;
}

void OverlayService::runTick()
{
    const QDateTime now = clock_.now();
    const WindowClassification& classification = holes_.classify(allowedBundleIDs_);
    const std::set<QString>& fullyOccluded = holes_.fullyOccluded(classification);
    tickLog_.logEvaluation(classification, fullyOccluded);
    notifyFullyOccluded(fullyOccluded);

    const bool mouseDown = isMouseButtonDown();
    const std::optional<Point> pointer = mouseDown ? std::optional(mouseLocation()) : std::nullopt;
    // Held for the drag steps: a handler may clear its slot while it runs.
    const auto handoff = seamDragHandoffHandler_;
    const auto motion = allowedWindowMotionHandler_;
    dragTracker_.handleSeamDrag(mouseDown, now, handlerOf(handoff));
    dragTracker_.handoffSeamDragOnRelease(mouseDown, handlerOf(handoff));

    const WindowTransitionUpdate transitions =
        minimizeTransitionTracker_.update(classification.fragments, allowedBundleIDs_, now, mouseDown, pointer);
    tickLog_.logTransitions(transitions, minimizeTransitionTracker_.tuning().suppressionDuration);
    dragTracker_.updateDragPassthrough(transitions.motionEvents, classification.fragments, mouseDown, now,
                                       handlerOf(motion));

    const std::vector<Rect>& rects = holes_.visibleRects(classification, transitions.suppressedBundleIDs);
    const int count = static_cast<int>(rects.size());
    tickLog_.logVisibleSurfaceCount(count);
    handleGracePeriod(visibilityGuard_.update(count, now), now);

    const std::vector<Rect>& holes = holes_.holes(dragTracker_);
    panels_.applyPassthroughRects(holes, holes_.geometry().has_value());
    callHandler(passthroughRectsChangedHandler_, holes);
}

void OverlayService::notifyFullyOccluded(const std::set<QString>& fullyOccluded)
{
    if (fullyOccluded == lastFullyOccludedBundleIDs_)
        return;
    lastFullyOccludedBundleIDs_ = fullyOccluded;
    if (!fullyOccluded.empty())
        callHandler(allowedWindowsOccludedHandler_, fullyOccluded);
}

void OverlayService::handleGracePeriod(const std::optional<AllowedWindowsVisibilityGuard::Action>& action,
                                       const QDateTime& now)
{
    if (!action)
        return;
    using Kind = AllowedWindowsVisibilityGuard::Action::Kind;
    switch (action->kind) {
    case Kind::startedGracePeriod: {
        const double remaining = std::max(0.0, now.msecsTo(action->graceDeadline) / 1000.0);
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("No allowed windows visible — starting grace period (%1s, remaining=%2s)")
                        .arg(doubleText(visibilityGuard_.gracePeriod()), QString::asprintf("%.2f", remaining)));
        callHandler(allowedWindowsTemporarilyMissingHandler_);
        break;
    }
    case Kind::cancelledGracePeriod:
        logger_.log(VeskLogLevel::info, QStringLiteral("Allowed windows reappeared — grace period cancelled"));
        break;
    case Kind::triggerFailOpen:
        logger_.log(VeskLogLevel::error, QStringLiteral("Grace period expired — triggering fail-open session stop"));
        callHandler(allowedWindowsMissingHandler_);
        break;
    }
}

} // namespace vesk
