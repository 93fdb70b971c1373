#include "overlay/OverlayService.h"

#include "core/TextFormat.h"
#include "overlay/OverlayBackingPanel.h"
#include "overlay/OverlayLogText.h"
#include "overlay/OverlayPanel.h"
#include "overlay/PassthroughRects.h"
#include "overlay/ScreenSeams.h"

#include <QPointer>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace vesk {

namespace {

constexpr int kMaxListedWindows = 5;
constexpr int kMaxListedHoles = 6;
constexpr double kMinimumPieceSize = 1.0;
constexpr double kUncoveredAreaThreshold = 1.0;

double area(const Rect& rect)
{
    return rect.isNull() ? 0 : rect.standardWidth() * rect.standardHeight();
}

bool isUsablePiece(const Rect& rect)
{
    return !rect.isEmpty() && rect.standardWidth() >= kMinimumPieceSize && rect.standardHeight() >= kMinimumPieceSize;
}

// Moves the record of the display's panel from `current` to `next`; a display
// without one gets a new panel, shown at once.
template <typename Record>
void keepOrCreatePanel(std::vector<Record>& current, std::vector<Record>& next,
                       const DisplayLayoutSignature::Entry& entry, const platform::ScreenInfo& screen,
                       const platform::ScreenProviding& screens, platform::OwnWindowRegistering& ownWindows)
{
    using Panel = typename decltype(Record::panel)::element_type;
    auto existing = std::find_if(current.begin(), current.end(),
                                 [&entry](const Record& record) { return record.panel && record.entry == entry; });
    if (existing != current.end()) {
        next.push_back(std::move(*existing));
        return;
    }
    auto panel = std::make_unique<Panel>(screen, entry.quartzFrame, screens, &ownWindows);
    panel->showOnScreen();
    next.push_back({entry, std::move(panel)});
}

// Orders out every panel still recorded (a kept one was moved out of its
// record) and logs the message with the panel's logger.
template <typename Record>
void orderOutPanels(std::vector<Record>& records, const QString& message)
{
    for (auto& record : records) {
        if (!record.panel)
            continue;
        record.panel->orderOut();
        record.panel->logger().log(VeskLogLevel::info, message);
    }
}

QString threeDecimals(double value)
{
    return QString::asprintf("%.3f", value);
}

QString blockerText(const OverlayBlockerSnapshot& blocker)
{
    return QStringLiteral("%1(layer=%2, alpha=%3, rect=%4)")
        .arg(blocker.bundleID)
        .arg(blocker.layer)
        .arg(threeDecimals(blocker.alpha), toString(blocker.rect));
}

QString blockerArrayText(const std::vector<OverlayBlockerSnapshot>& blockers)
{
    QStringList items;
    for (const auto& blocker : blockers) {
        if (items.size() == kMaxListedWindows)
            break;
        items << blockerText(blocker);
    }
    return arrayText(items);
}

// The last summary equals the counts with the fully occluded set; the set is
// compared where it lies, so that an unchanged frame copies nothing.
bool isSameSummary(const std::optional<OverlayVisibilityDiagnostics>& last, const OverlayVisibilityDiagnostics& counts,
                   const std::set<QString>& fullyOccluded)
{
    return last && last->rawAllowedWindowCount == counts.rawAllowedWindowCount
           && last->passthroughRectCount == counts.passthroughRectCount && last->blockerCount == counts.blockerCount
           && last->ignoredBlockerCount == counts.ignoredBlockerCount
           && last->suppressedWindowCount == counts.suppressedWindowCount
           && last->fullyOccludedBundleIDs == fullyOccluded;
}

} // namespace

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
    : scheduler_(scheduler)
    , clock_(clock)
    , screens_(desktop.screens)
    , screenChanges_(desktop.screenChanges)
    , ownWindows_(desktop.ownWindows)
    , pointer_(desktop.pointer)
    , windowSnapshots_(std::move(windowSnapshots))
    , mouseInteractionDetector_(mouseInteractionDetector)
    , veskBundleID_(std::move(desktop.veskBundleID))
    , minimizeTransitionTracker_(tuning.transitions)
    , dragTracker_(logger_, screens_, [this] { return mouseLocation(); })
    , visibilityGuard_(tuning.gracePeriod)
{
    screenChanges_.observeScreenParameters(this, [this] { isGeometryCurrent_ = false; });
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

std::vector<OverlayPanel*> OverlayService::panels() const
{
    std::vector<OverlayPanel*> result;
    for (const auto& record : panelRecords_)
        result.push_back(record.panel.get());
    return result;
}

std::vector<OverlayBackingPanel*> OverlayService::backingPanels() const
{
    std::vector<OverlayBackingPanel*> result;
    for (const auto& record : backingPanelRecords_)
        result.push_back(record.panel.get());
    return result;
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
    startWindowTracking();
    observeScreenParameters();
}

void OverlayService::resetSessionState()
{
    lastAllowedWindowCount_.reset();
    lastVisibilityDiagnostics_.reset();
    lastFullyOccludedBundleIDs_.clear();
    dragTracker_.resetSession();
    lastLoggedDragBridgeRects_.clear();
    lastLoggedUncoveredHoles_.clear();
    lastVisibleRects_.clear();
    lastVisibleAt_.reset();
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
    if (screenChangeDebounceWork_) {
        screenChangeDebounceWork_->cancel();
        screenChangeDebounceWork_.reset();
    }
    ++screenChangeGeneration_;
    stopWindowTracking();
    removeScreenObserver();
    dismissPanels();
    allowedBundleIDs_.clear();
    pendingAllowlist_.reset();
    displayLayoutSignature_.reset();
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
                    .arg(backingPanelRecords_.size()));
    for (const auto& record : backingPanelRecords_) {
        record.panel->orderFrontRegardless();
        record.panel->logger().log(VeskLogLevel::debug,
                                   QStringLiteral("Overlay backing refreshed below app windows — reason=%1, screen=%2")
                                       .arg(reason, record.panel->screenLabel()));
    }
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
    lastVisibleRects_.clear();
    lastVisibleAt_.reset();
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Immediate passthrough suppression requested — bundleID=%1, reason=%2, previousRect=%3, "
                               "duration=%4s")
                    .arg(bundleID, reason, toString(event.previousRect),
                         doubleText(minimizeTransitionTracker_.tuning().suppressionDuration)));
    trackingTick();
}

// --- Tick source --------------------------------------------------------------

void OverlayService::startWindowTracking()
{
    if (frameSource_ != FrameSource::none)
        stopWindowTracking();
    if (!screens_.mainScreen()) {
        logger_.log(VeskLogLevel::error, QStringLiteral("No main screen — falling back to Timer for window tracking"));
        startFrames(FrameSource::timer);
        logger_.log(VeskLogLevel::debug, QStringLiteral("Window tracking started via Timer fallback at 60fps"));
        return;
    }
    startFrames(FrameSource::displayLink);
    logger_.log(VeskLogLevel::debug, QStringLiteral("Window tracking started via CADisplayLink (display-synced)"));
}

void OverlayService::startFrames(FrameSource source)
{
    frameSource_ = source;
    scheduleNextFrame();
}

void OverlayService::scheduleNextFrame()
{
    QPointer<OverlayService> self(this);
    nextFrame_ = scheduler_.asyncAfter(kFrameInterval, [self] {
        if (!self || self->frameSource_ == FrameSource::none)
            return;
        // The next frame is booked first, so that a tick that stops tracking
        // (a handler deactivating the overlay) cancels it.
        self->scheduleNextFrame();
        self->trackingTick();
    });
}

void OverlayService::stopWindowTracking()
{
    nextFrame_.cancelAndClear();
    frameSource_ = FrameSource::none;
    logger_.log(VeskLogLevel::debug, QStringLiteral("Window tracking stopped"));
}

// --- Screen changes -----------------------------------------------------------

void OverlayService::observeScreenParameters()
{
    removeScreenObserver();
    screenObserver_ = screenChanges_.observeScreenParameters(this, [this] { debounceScreenChange(); });
}

void OverlayService::removeScreenObserver()
{
    if (screenObserver_)
        disconnect(screenObserver_);
    screenObserver_ = {};
}

void OverlayService::debounceScreenChange()
{
    if (!isActive_)
        return;
    logger_.log(VeskLogLevel::info, QStringLiteral("Screen parameters changed — debouncing panel sync"));
    if (screenChangeDebounceWork_)
        screenChangeDebounceWork_->cancel();
    const int generation = ++screenChangeGeneration_;
    QPointer<OverlayService> self(this);
    screenChangeDebounceWork_ = scheduler_.asyncAfter(kScreenChangeDebounce, [self, generation] {
        if (self)
            self->handleDebouncedScreenChange(generation);
    });
}

void OverlayService::handleDebouncedScreenChange(int generation)
{
    if (!isActive_) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Screen change debounce fired but overlay is no longer active — skipping"));
        return;
    }
    if (screenChangeGeneration_ != generation) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Skipping stale screen change debounce — generation=%1").arg(generation));
        return;
    }
    syncPanels(QStringLiteral("screenParametersChanged"));
    trackingTick();
    if (screenChangeGeneration_ == generation)
        screenChangeDebounceWork_.reset();
}

void OverlayService::syncPanels(const QString& reason)
{
    const std::vector<DisplayLayoutSignature::Descriptor> descriptors = DisplayLayoutSignature::current(screens_);
    if (descriptors.empty()) {
        logger_.log(VeskLogLevel::error,
                    QStringLiteral("No screens available while syncing overlay panels — dismissing existing panels, "
                                   "reason=")
                        + reason);
        dismissPanels();
        displayLayoutSignature_.reset();
        return;
    }

    std::vector<DisplayLayoutSignature::Entry> entries;
    for (const auto& descriptor : descriptors)
        entries.push_back(descriptor.entry);
    const DisplayLayoutSignature signature(entries);

    std::vector<DisplayLayoutSignature::Entry> previous;
    for (const auto& record : panelRecords_)
        previous.push_back(record.entry);
    const DisplayLayoutSignature::Diff diff = DisplayLayoutSignature::diff(previous, signature.entries());
    if (diff.isUnchanged()) {
        displayLayoutSignature_ = signature;
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Screen change ignored; layout unchanged — reason=%1, layout=[%2]")
                        .arg(reason, signature.description()));
        return;
    }
    logger_.log(VeskLogLevel::info,
                QStringLiteral(
                    "Screen layout changed; syncing overlay panels — reason=%1, keep=%2, create=%3, dismiss=%4")
                    .arg(reason)
                    .arg(diff.keep.size())
                    .arg(diff.create.size())
                    .arg(diff.dismiss.size()));

    auto screenFor = [&descriptors](const DisplayLayoutSignature::Entry& entry) {
        return std::find_if(descriptors.begin(), descriptors.end(),
                            [&entry](const auto& descriptor) { return descriptor.entry == entry; })
            ->screen;
    };

    std::vector<PanelRecord> panels;
    std::vector<BackingPanelRecord> backingPanels;
    for (const auto& entry : signature.entries()) {
        keepOrCreatePanel(panelRecords_, panels, entry, screenFor(entry), screens_, ownWindows_);
        keepOrCreatePanel(backingPanelRecords_, backingPanels, entry, screenFor(entry), screens_, ownWindows_);
    }
    orderOutPanels(panelRecords_, QStringLiteral("Overlay dismissed"));
    orderOutPanels(backingPanelRecords_, QStringLiteral("Overlay backing dismissed"));
    panelRecords_ = std::move(panels);
    backingPanelRecords_ = std::move(backingPanels);
    displayLayoutSignature_ = signature;
    logger_.log(VeskLogLevel::info, QStringLiteral("Overlay panels synced — panels=%1, backingPanels=%2, screens=%3")
                                        .arg(panelRecords_.size())
                                        .arg(backingPanelRecords_.size())
                                        .arg(signature.entries().size()));
    logDisplayGeometry();
}

void OverlayService::dismissPanels()
{
    orderOutPanels(panelRecords_, QStringLiteral("Overlay dismissed"));
    panelRecords_.clear();
    orderOutPanels(backingPanelRecords_, QStringLiteral("Overlay backing dismissed"));
    backingPanelRecords_.clear();
}

void OverlayService::logDisplayGeometry()
{
    const std::optional<DisplayGeometry>& geometry = currentGeometry();
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
    const WindowClassification& classification =
        currentGeometry() ? classifier_.classify(windowSnapshots_.onScreenWindowSnapshots(), allowedBundleIDs_,
                                                 veskBundleID_, *currentGeometry())
                          : classifier_.classifyNothing();
    updateFullyOccludedBundleIDs(classification.allowedWindowRectsByBundleID, classification.fragments,
                                 frame_.fullyOccluded);
    evaluateWindows(classification, frame_.fullyOccluded);
    notifyFullyOccluded(frame_.fullyOccluded);

    const bool mouseDown = isMouseButtonDown();
    const std::optional<Point> pointer = mouseDown ? std::optional(mouseLocation()) : std::nullopt;
    // Held for the drag steps: a handler may clear its slot while it runs.
    const auto handoff = seamDragHandoffHandler_;
    const auto motion = allowedWindowMotionHandler_;
    dragTracker_.handleSeamDrag(mouseDown, now, handlerOf(handoff));
    dragTracker_.handoffSeamDragOnRelease(mouseDown, handlerOf(handoff));

    const WindowTransitionUpdate transitions =
        minimizeTransitionTracker_.update(classification.fragments, allowedBundleIDs_, now, mouseDown, pointer);
    logTransitionEvents(transitions);
    dragTracker_.updateDragPassthrough(transitions.motionEvents, classification.fragments, mouseDown, now,
                                       handlerOf(motion));

    excludingSuppressedFragments(classification.fragments, transitions.suppressedBundleIDs, frame_.visibleFragments);
    const std::vector<Rect>& rects = frame_.visibleRects;
    fragmentRects(frame_.visibleFragments, frame_.visibleRects);
    const int count = static_cast<int>(rects.size());
    if (lastAllowedWindowCount_ && *lastAllowedWindowCount_ != count) {
        logger_.log(
            VeskLogLevel::debug,
            QStringLiteral("Allowed visual surface count changed: %1 → %2").arg(*lastAllowedWindowCount_).arg(count));
    }
    lastAllowedWindowCount_ = count;
    handleGracePeriod(visibilityGuard_.update(count, now), now);
    rememberVisibleRects(rects, now);

    // The handlers called above may have changed the displays: the holes are
    // bridged, checked and clipped against the displays as they are now.
    const std::optional<DisplayGeometry>& geometry = currentGeometry();
    const std::vector<Rect> bridge =
        geometry ? dragBridgeRects(dragTracker_.dragPassthroughWindowRectsByBundleID(), *geometry)
                 : std::vector<Rect>();
    updateDragBridge(bridge);
    std::vector<Rect>& holes = frame_.holes;
    holes.clear();
    if (!rects.empty()) {
        composePassthroughRects(frame_.visibleFragments, dragTracker_.dragPassthroughBundleIDs(),
                                dragTracker_.dragPassthroughWindowRectsByBundleID(), bridge, holes);
    }
    checkUncoveredHoles(holes, frame_.visibleFragments, geometry);
    applyPassthroughRects(holes, geometry.has_value());
    callHandler(passthroughRectsChangedHandler_, holes);
}

const std::optional<DisplayGeometry>& OverlayService::currentGeometry()
{
    // The displays change only with a screen-parameters notice; until the
    // next one, the geometry read last still holds.
    if (!isGeometryCurrent_) {
        geometry_ = DisplayGeometry::current(screens_);
        isGeometryCurrent_ = true;
    }
    return geometry_;
}

void OverlayService::evaluateWindows(const WindowClassification& classification, const std::set<QString>& fullyOccluded)
{
    OverlayVisibilityDiagnostics diagnostics;
    diagnostics.rawAllowedWindowCount = totalRectCount(classification.allowedWindowRectsByBundleID);
    diagnostics.passthroughRectCount = static_cast<int>(classification.fragments.size());
    diagnostics.blockerCount = static_cast<int>(classification.blockers.size());
    diagnostics.ignoredBlockerCount = static_cast<int>(classification.ignoredBlockers.size());
    diagnostics.suppressedWindowCount = static_cast<int>(classification.suppressedWindows.size());
    if (isSameSummary(lastVisibilityDiagnostics_, diagnostics, fullyOccluded))
        return;
    diagnostics.fullyOccludedBundleIDs = fullyOccluded;
    lastVisibilityDiagnostics_ = diagnostics;

    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Overlay window evaluation — rawAllowed=%1, passthrough=%2, blockers=%3, "
                               "ignoredBlockers=%4, suppressed=%5, fullyOccluded=%6")
                    .arg(diagnostics.rawAllowedWindowCount)
                    .arg(diagnostics.passthroughRectCount)
                    .arg(diagnostics.blockerCount)
                    .arg(diagnostics.ignoredBlockerCount)
                    .arg(diagnostics.suppressedWindowCount)
                    .arg(sortedArrayText(fullyOccluded)));

    if (!classification.suppressedWindows.empty()) {
        QStringList windows;
        for (const auto& window : classification.suppressedWindows) {
            if (windows.size() == kMaxListedWindows)
                break;
            windows << QStringLiteral("%1(reason=%2, alpha=%3, rect=%4)")
                           .arg(window.bundleID, OverlaySuppressedWindowSnapshot::toRaw(window.reason),
                                threeDecimals(window.alpha), toString(window.rect));
        }
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Suppressed unstable passthrough windows — windows=") + arrayText(windows));
    }
    if (!classification.ignoredBlockers.empty()) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Ignored non-visual full-screen overlay blockers — blockers=")
                                             + blockerArrayText(classification.ignoredBlockers));
    }
    if (!fullyOccluded.empty()) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Allowed windows fully occluded — bundleIDs=%1, blockers=%2")
                        .arg(sortedArrayText(fullyOccluded), blockerArrayText(classification.blockers)));
    }
}

void OverlayService::notifyFullyOccluded(const std::set<QString>& fullyOccluded)
{
    if (fullyOccluded == lastFullyOccludedBundleIDs_)
        return;
    lastFullyOccludedBundleIDs_ = fullyOccluded;
    if (!fullyOccluded.empty())
        callHandler(allowedWindowsOccludedHandler_, fullyOccluded);
}

void OverlayService::logTransitionEvents(const WindowTransitionUpdate& update)
{
    for (const auto& event : update.events) {
        const QString duration = doubleText(minimizeTransitionTracker_.tuning().suppressionDuration);
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Window transition suppression started — bundleID=%1, reason=%2, previousRect=%3, "
                                   "currentRect=%4, areaRatio=%5, duration=%6s")
                        .arg(event.bundleID, OverlayWindowTransitionSuppressionEvent::toRaw(event.reason),
                             toString(event.previousRect),
                             event.currentRect ? toString(*event.currentRect) : QStringLiteral("none"),
                             event.areaRatio ? threeDecimals(*event.areaRatio) : QStringLiteral("none"), duration));
    }
    for (const QString& bundleID : update.endedBundleIDs)
        logger_.log(VeskLogLevel::debug, QStringLiteral("Window transition suppression ended — bundleID=") + bundleID);
    for (const auto& motion : update.motionEvents) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Fresh moved rect accepted — bundleID=%1, previousRect=%2, currentRect=%3, "
                                   "deltaX=%4, deltaY=%5")
                        .arg(motion.bundleID, toString(motion.previousRect), toString(motion.currentRect),
                             QString::asprintf("%.1f", motion.deltaX), QString::asprintf("%.1f", motion.deltaY)));
    }
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

void OverlayService::rememberVisibleRects(const std::vector<Rect>& rects, const QDateTime& now)
{
    if (rects.empty()) {
        lastVisibleRects_.clear();
        lastVisibleAt_.reset();
        return;
    }
    lastVisibleRects_ = rects;
    lastVisibleAt_ = now;
}

void OverlayService::updateDragBridge(const std::vector<Rect>& bridge)
{
    if (bridge == lastLoggedDragBridgeRects_)
        return;
    if (bridge.empty())
        logger_.log(VeskLogLevel::debug, QStringLiteral("Drag bridge passthrough ended"));
    else
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Drag bridge passthrough active — rects=") + rectArrayText(bridge));
    lastLoggedDragBridgeRects_ = bridge;
}

void OverlayService::checkUncoveredHoles(const std::vector<Rect>& holes,
                                         const std::vector<OverlayAllowedWindowFragment>& fragments,
                                         const std::optional<DisplayGeometry>& geometry)
{
    if (!geometry)
        return;
    std::vector<Rect> uncovered;
    std::vector<Rect> touching;
    size_t next = 0;
    for (const Rect& hole : holes) {
        if (area(hole) <= kUncoveredAreaThreshold)
            continue;
        // Nearly every hole is an inset piece of one fragment, in fragment
        // order: look for it from where the last one was found. Only the other
        // holes need the subtraction, against the fragments they touch.
        bool insideOneFragment = false;
        for (size_t step = 0; step < fragments.size() && !insideOneFragment; ++step) {
            const size_t index = (next + step) % fragments.size();
            if (fragments[index].rect.contains(hole)) {
                insideOneFragment = true;
                next = index + 1;
            }
        }
        if (insideOneFragment)
            continue;
        touching.clear();
        for (const auto& fragment : fragments) {
            if (fragment.rect.intersects(hole))
                touching.push_back(fragment.rect);
        }
        double uncoveredArea = 0;
        for (const Rect& piece : subtractRects(hole, touching))
            uncoveredArea += area(piece);
        if (uncoveredArea > kUncoveredAreaThreshold)
            uncovered.push_back(hole);
    }
    if (uncovered == lastLoggedUncoveredHoles_)
        return;
    lastLoggedUncoveredHoles_ = uncovered;
    if (uncovered.empty()) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Passthrough holes fully covered by allowed windows again"));
        return;
    }
    const auto& relaxed = dragTracker_.dragPassthroughWindowRectsByBundleID();
    const std::vector<platform::ScreenInfo> screens = screens_.screens();
    QStringList items;
    for (const Rect& hole : uncovered) {
        if (items.size() == kMaxListedHoles)
            break;
        const bool isRelaxed =
            std::any_of(relaxed.begin(), relaxed.end(), [&hole](const auto& entry) { return entry.second == hole; });
        items << toString(hole) + QLatin1Char('@') + describeScreenForRect(hole, *geometry, screens)
                     + (isRelaxed ? QStringLiteral("[relaxed]") : QStringLiteral("[bridge/other]"));
    }
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Uncovered passthrough holes — count=%1, activeDrag=%2, holes=%3")
                    .arg(uncovered.size())
                    .arg(sortedArrayText(dragTracker_.recentAllowedWindowMotionBundleIDs()), arrayText(items)));
}

void OverlayService::applyPassthroughRects(const std::vector<Rect>& holes, bool hasGeometry)
{
    std::vector<Rect>& clipped = frame_.clippedHoles;
    for (const auto& record : panelRecords_) {
        clipped.clear();
        const Rect& frame = record.entry.cocoaFrame;
        for (const Rect& hole : holes) {
            if (!hasGeometry) {
                if (hole.intersects(frame))
                    clipped.push_back(hole);
                continue;
            }
            const Rect piece = hole.intersected(frame);
            if (isUsablePiece(piece))
                clipped.push_back(piece);
        }
        record.panel->setPassthroughRects(clipped);
    }
}

} // namespace vesk
