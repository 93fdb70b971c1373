#include "overlay/AllowedWindowDragTracker.h"

#include "overlay/OverlayLogText.h"
#include "overlay/ScreenSeams.h"

namespace vesk {

namespace {

double secondsBetween(const QDateTime& earlier, const QDateTime& later)
{
    return earlier.msecsTo(later) / 1000.0;
}

QString oneDecimal(double value)
{
    return QString::asprintf("%.1f", value);
}

} // namespace

AllowedWindowDragTracker::AllowedWindowDragTracker(const VeskLogger& logger, const platform::ScreenProviding& screens,
                                                   MouseLocation mouseLocation)
    : logger_(logger)
    , screens_(screens)
    , mouseLocation_(std::move(mouseLocation))
{
}

bool AllowedWindowDragTracker::hasSeveralDisplays() const
{
    return screens_.screens().size() >= 2;
}

AllowedWindowDragState AllowedWindowDragTracker::dragState(const QDateTime& now, bool mouseDown) const
{
    const bool recent =
        lastAllowedWindowMotionAt_ && secondsBetween(*lastAllowedWindowMotionAt_, now) <= kMotionCooldown;
    AllowedWindowDragState state;
    if (recent) {
        state.bundleIDs = recentAllowedWindowMotionBundleIDs_;
        state.lastMotionAt = lastAllowedWindowMotionAt_;
    }
    state.isMouseInteractionActive = mouseDown;
    state.cooldown = kMotionCooldown;
    return state;
}

void AllowedWindowDragTracker::handleSeamDrag(bool mouseDown, const QDateTime& now, const HandoffHandler& handoff)
{
    if (lastDragSeamReachedAt_.empty() || !hasSeveralDisplays())
        return;
    const auto seamArrivals = lastDragSeamReachedAt_;
    for (const auto& [bundleID, reachedAt] : seamArrivals) {
        auto lastMotion = lastDragMotionAt_.find(bundleID);
        if (lastMotion == lastDragMotionAt_.end())
            continue;
        const double sinceMotion = secondsBetween(lastMotion->second, now);
        auto seamEdge = lastDragSeamEdge_.find(bundleID);
        if (handledSeamDeath_.contains(bundleID) || !mouseDown || sinceMotion < kSeamStall
            || seamEdge == lastDragSeamEdge_.end())
            continue;
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("[OverlayService] drag session appears to have died at seam — bundleID=%1, "
                                   "msSinceLastMotion=%2, seamEdge=%3, seamReachedMsAgo=%4")
                        .arg(bundleID)
                        .arg(lastMotion->second.msecsTo(now))
                        .arg(seamEdge->second)
                        .arg(reachedAt.msecsTo(now)));
        handledSeamDeath_.insert(bundleID);
        const Point pointer = mouseLocation_();
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("[OverlayService] seam-drag handoff on stall — bundleID=%1, pointer=%2")
                        .arg(bundleID, toString(pointer)));
        handOff(bundleID, pointer, handoff);
    }
}

void AllowedWindowDragTracker::handoffSeamDragOnRelease(bool mouseDown, const HandoffHandler& handoff)
{
    if (wasMouseInteractionActive_ && !mouseDown && !lastDragSeamReachedAt_.empty() && hasSeveralDisplays()) {
        const Point pointer = mouseLocation_();
        std::vector<QString> bundleIDs;
        for (const auto& [bundleID, reachedAt] : lastDragSeamReachedAt_)
            bundleIDs.push_back(bundleID);
        for (const QString& bundleID : bundleIDs) {
            logger_.log(VeskLogLevel::info,
                        QStringLiteral("[OverlayService] seam-drag handoff on release — bundleID=%1, pointer=%2")
                            .arg(bundleID, toString(pointer)));
            handOff(bundleID, pointer, handoff);
        }
    }
    wasMouseInteractionActive_ = mouseDown;
}

void AllowedWindowDragTracker::handOff(const QString& bundleID, Point pointer, const HandoffHandler& handoff)
{
    if (handoff) {
        // A copy: the handler may clear the slot it was called from.
        const HandoffHandler call = handoff;
        call(bundleID, pointer);
    }
    clearDragTracking(bundleID);
}

void AllowedWindowDragTracker::updateDragPassthrough(const std::vector<OverlayWindowMotionEvent>& events,
                                                     const std::vector<OverlayAllowedWindowFragment>& fragments,
                                                     bool mouseDown, const QDateTime& now,
                                                     const MotionHandler& motionHandler)
{
    if (!events.empty()) {
        recentAllowedWindowMotionBundleIDs_.clear();
        for (const auto& event : events)
            recentAllowedWindowMotionBundleIDs_.insert(event.bundleID);
        lastAllowedWindowMotionAt_ = now;
        for (const auto& event : events)
            dragPassthroughWindowRectsByBundleID_[event.bundleID] = event.currentRect;
        if (motionHandler) {
            const MotionHandler call = motionHandler;
            call(events);
        }
        logDragDisplayCrossings(events, now);
    } else if (!mouseDown && lastAllowedWindowMotionAt_
               && secondsBetween(*lastAllowedWindowMotionAt_, now) > kMotionCooldown) {
        recentAllowedWindowMotionBundleIDs_.clear();
        lastAllowedWindowMotionAt_.reset();
    }

    if (mouseDown) {
        std::set<QString> fragmentBundleIDs;
        for (const auto& fragment : fragments)
            fragmentBundleIDs.insert(fragment.bundleID);
        for (const auto& event : events)
            dragPassthroughBundleIDs_.insert(event.bundleID);
        std::erase_if(dragPassthroughBundleIDs_, [&](const QString& id) { return !fragmentBundleIDs.contains(id); });
        updateRelaxedWindowRects(fragments);
    } else {
        dragPassthroughBundleIDs_.clear();
        dragPassthroughWindowRectsByBundleID_.clear();
    }
    logDragRelaxation();
}

void AllowedWindowDragTracker::updateRelaxedWindowRects(const std::vector<OverlayAllowedWindowFragment>& fragments)
{
    std::erase_if(dragPassthroughWindowRectsByBundleID_,
                  [this](const auto& entry) { return !dragPassthroughBundleIDs_.contains(entry.first); });
    auto area = [](const Rect& rect) { return rect.standardWidth() * rect.standardHeight(); };
    for (const auto& fragment : fragments) {
        if (!dragPassthroughBundleIDs_.contains(fragment.bundleID))
            continue;
        auto stored = dragPassthroughWindowRectsByBundleID_.find(fragment.bundleID);
        if (stored == dragPassthroughWindowRectsByBundleID_.end())
            dragPassthroughWindowRectsByBundleID_.emplace(fragment.bundleID, fragment.windowRect);
        else if (area(fragment.windowRect) > area(stored->second))
            stored->second = fragment.windowRect;
    }
}

void AllowedWindowDragTracker::logDragRelaxation()
{
    if (dragPassthroughBundleIDs_ == lastLoggedDragPassthroughBundleIDs_)
        return;
    if (dragPassthroughBundleIDs_.empty())
        logger_.log(VeskLogLevel::debug, QStringLiteral("Drag passthrough relaxation ended"));
    else
        logger_.log(VeskLogLevel::debug, QStringLiteral("Drag passthrough relaxation active — bundleIDs=")
                                             + sortedArrayText(dragPassthroughBundleIDs_));
    lastLoggedDragPassthroughBundleIDs_ = dragPassthroughBundleIDs_;
}

void AllowedWindowDragTracker::logDragDisplayCrossings(const std::vector<OverlayWindowMotionEvent>& events,
                                                       const QDateTime& now)
{
    const std::optional<DisplayGeometry> geometry = DisplayGeometry::current(screens_);
    if (!geometry)
        return;
    for (const auto& event : events) {
        std::vector<Rect> pieces;
        for (const Rect& screenFrame : geometry->screenFrames()) {
            const Rect piece = event.currentRect.intersected(screenFrame);
            if (!piece.isEmpty() && piece.standardWidth() >= 1.0 && piece.standardHeight() >= 1.0)
                pieces.push_back(piece);
        }
        if (pieces.size() > 1) {
            logger_.log(VeskLogLevel::debug,
                        QStringLiteral("Allowed window drag crosses display boundary — bundleID=%1, windowRect=%2, "
                                       "screenFragments=%3")
                            .arg(event.bundleID, toString(event.currentRect), rectArrayText(pieces)));
        }
    }
    trackAllowedWindowMotion(events, *geometry, now);
}

void AllowedWindowDragTracker::trackAllowedWindowMotion(const std::vector<OverlayWindowMotionEvent>& events,
                                                        const DisplayGeometry& geometry, const QDateTime& now)
{
    const std::vector<platform::ScreenInfo> screens = screens_.screens();
    if (events.empty() || screens.size() < 2)
        return;
    for (const auto& event : events) {
        const QString& id = event.bundleID;
        lastDragMotionAt_[id] = now;
        handledSeamDeath_.erase(id);

        const QString rectScreen = describeScreenForRect(event.currentRect, geometry, screens);
        const QString previousScreen = describeScreenForRect(event.previousRect, geometry, screens);
        const QString pointerScreen =
            event.pointerCocoaPoint
                ? describeScreenContainingPoint(*event.pointerCocoaPoint, screens).value_or(QStringLiteral("n/a"))
                : QStringLiteral("n/a");
        const QString seamEdge = describeSeamEdge(event.currentRect, geometry);
        const QString rectText = toString(event.currentRect);

        if (event.pointerCocoaPoint) {
            auto stored = lastDragMotionPointerScreen_.find(id);
            if (stored == lastDragMotionPointerScreen_.end() || stored->second != pointerScreen) {
                const QString from =
                    stored == lastDragMotionPointerScreen_.end() ? QStringLiteral("n/a") : stored->second;
                logger_.log(VeskLogLevel::info,
                            QStringLiteral("[OverlayService] drag pointer crossed display — bundleID=%1, from=%2, "
                                           "to=%3, pointer=%4, rectScreen=%5")
                                .arg(id, from, pointerScreen, toString(*event.pointerCocoaPoint), rectScreen));
                lastDragMotionPointerScreen_[id] = pointerScreen;
            }
        }

        if (previousScreen != rectScreen) {
            logger_.log(VeskLogLevel::info,
                        QStringLiteral("[OverlayService] drag window crossed display — bundleID=%1, from=%2, to=%3, "
                                       "rect=%4, pointerScreen=%5")
                            .arg(id, previousScreen, rectScreen, rectText, pointerScreen));
            lastDragMotionRectScreen_[id] = rectScreen;
        }

        if (seamEdge == QStringLiteral("none")) {
            if (lastDragSeamEdge_.erase(id) > 0)
                lastDragSeamReachedAt_.erase(id);
        } else {
            auto stored = lastDragSeamEdge_.find(id);
            if (stored == lastDragSeamEdge_.end() || stored->second != seamEdge) {
                logger_.log(VeskLogLevel::info,
                            QStringLiteral("[OverlayService] drag reached display seam — bundleID=%1, seamEdge=%2, "
                                           "rect=%3, rectScreen=%4, pointerScreen=%5")
                                .arg(id, seamEdge, rectText, rectScreen, pointerScreen));
                lastDragSeamEdge_[id] = seamEdge;
                lastDragSeamReachedAt_[id] = now;
            }
        }

        auto lastLog = lastDragMotionLogAt_.find(id);
        if (lastLog == lastDragMotionLogAt_.end() || secondsBetween(lastLog->second, now) >= kMotionLogInterval) {
            const QString pointerText =
                event.pointerCocoaPoint ? toString(*event.pointerCocoaPoint) : QStringLiteral("nil");
            logger_.log(VeskLogLevel::debug,
                        QStringLiteral("[OverlayService] drag motion — bundleID=%1, rect=%2, rectScreen=%3, "
                                       "prevRect=%4, pointer=%5, pointerScreen=%6, seamEdge=%7, deltaX=%8, deltaY=%9")
                            .arg(id, rectText, rectScreen, toString(event.previousRect), pointerText, pointerScreen,
                                 seamEdge, oneDecimal(event.deltaX), oneDecimal(event.deltaY)));
            lastDragMotionLogAt_[id] = now;
        }
    }
}

void AllowedWindowDragTracker::clearDragTracking(const std::optional<QString>& bundleID)
{
    if (!bundleID) {
        lastDragMotionLogAt_.clear();
        lastDragMotionPointerScreen_.clear();
        lastDragMotionRectScreen_.clear();
        lastDragSeamEdge_.clear();
        lastDragMotionAt_.clear();
        lastDragSeamReachedAt_.clear();
        handledSeamDeath_.clear();
        return;
    }
    lastDragMotionLogAt_.erase(*bundleID);
    lastDragMotionPointerScreen_.erase(*bundleID);
    lastDragMotionRectScreen_.erase(*bundleID);
    lastDragSeamEdge_.erase(*bundleID);
    lastDragMotionAt_.erase(*bundleID);
    lastDragSeamReachedAt_.erase(*bundleID);
    handledSeamDeath_.erase(*bundleID);
}

void AllowedWindowDragTracker::resetSession()
{
    dragPassthroughBundleIDs_.clear();
    dragPassthroughWindowRectsByBundleID_.clear();
    lastLoggedDragPassthroughBundleIDs_.clear();
    recentAllowedWindowMotionBundleIDs_.clear();
    lastAllowedWindowMotionAt_.reset();
}

} // namespace vesk
