#include "overlay/OverlayWindowTransitionTracker.h"

#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

constexpr double kLargeRectMinimumWidth = 120.0;
constexpr double kLargeRectMinimumHeight = 80.0;
// A moderate shrink only counts when the window also moved.
constexpr double kModerateShrinkAreaRatio = 0.82;

double area(const Rect& rect)
{
    return rect.standardWidth() * rect.standardHeight();
}

double areaRatio(const Rect& stable, const Rect& current)
{
    return area(current) / std::max(1.0, area(stable));
}

bool allEdgesWithin(const Rect& a, const Rect& b, double tolerance)
{
    return std::abs(a.minX() - b.minX()) <= tolerance && std::abs(a.minY() - b.minY()) <= tolerance
           && std::abs(a.standardWidth() - b.standardWidth()) <= tolerance
           && std::abs(a.standardHeight() - b.standardHeight()) <= tolerance;
}

} // namespace

bool OverlayWindowTransitionTracker::isLargeRect(const Rect& rect) const
{
    return rect.standardWidth() >= kLargeRectMinimumWidth && rect.standardHeight() >= kLargeRectMinimumHeight
           && area(rect) >= tuning_.minimumStableArea;
}

bool OverlayWindowTransitionTracker::hasMoved(const Rect& before, const Rect& now) const
{
    return !allEdgesWithin(before, now, tuning_.motionTolerance);
}

bool OverlayWindowTransitionTracker::isStable(const Rect& before, const Rect& now) const
{
    return allEdgesWithin(before, now, tuning_.stableRectTolerance);
}

bool OverlayWindowTransitionTracker::isShrink(const Rect& stable, const Rect& current) const
{
    const double ratio = areaRatio(stable, current);
    if (ratio <= tuning_.shrinkAreaRatio)
        return true;
    const double widthRatio = current.standardWidth() / std::max(1.0, stable.standardWidth());
    const double heightRatio = current.standardHeight() / std::max(1.0, stable.standardHeight());
    if (widthRatio <= tuning_.shrinkDimensionRatio || heightRatio <= tuning_.shrinkDimensionRatio)
        return true;
    if (ratio <= kModerateShrinkAreaRatio) {
        double normalisedShift = std::hypot(current.midX() - stable.midX(), current.midY() - stable.midY());
        const double diagonal = std::hypot(stable.standardWidth(), stable.standardHeight());
        if (diagonal > 1.0)
            normalisedShift /= diagonal;
        return normalisedShift >= tuning_.movementRatioForShrink;
    }
    return false;
}

std::optional<Rect>
OverlayWindowTransitionTracker::largestWindowRect(const std::vector<OverlayAllowedWindowFragment>& fragments,
                                                  const QString& bundleID)
{
    std::optional<Rect> largest;
    for (const auto& fragment : fragments) {
        const Rect& window = fragment.windowRect;
        if (fragment.bundleID != bundleID || window.isNull()
            || !(window.standardWidth() > 0 && window.standardHeight() > 0))
            continue;
        if (!largest || area(window) > area(*largest))
            largest = window;
    }
    return largest;
}

QDateTime OverlayWindowTransitionTracker::deadlineFrom(const QDateTime& now) const
{
    return now.addMSecs(std::llround(tuning_.suppressionDuration * 1000.0));
}

WindowTransitionUpdate
OverlayWindowTransitionTracker::update(const std::vector<OverlayAllowedWindowFragment>& fragments,
                                       const std::set<QString>& allowedBundleIDs, const QDateTime& now,
                                       bool mouseButtonDown, std::optional<Point> pointer)
{
    WindowTransitionUpdate result;
    expireDeadlines(suppressionDeadlinesByBundleID_, allowedBundleIDs, now, result.endedBundleIDs);
    expireDeadlines(restoreAnimationDeadlinesByBundleID_, allowedBundleIDs, now, result.endedBundleIDs);

    forgetApplicationsNotIn(allowedBundleIDs);

    std::set<QString> stillRestoring;
    for (const QString& bundleID : allowedBundleIDs) {
        if (const std::optional<Rect> current = largestWindowRect(fragments, bundleID))
            updatePresent(bundleID, *current, now, mouseButtonDown, pointer, result, stillRestoring);
        else
            updateAbsent(bundleID, now, mouseButtonDown, result);
    }

    for (const auto& [bundleID, deadline] : suppressionDeadlinesByBundleID_)
        result.suppressedBundleIDs.insert(bundleID);
    for (const auto& [bundleID, deadline] : restoreAnimationDeadlinesByBundleID_)
        result.suppressedBundleIDs.insert(bundleID);
    result.suppressedBundleIDs.insert(stillRestoring.begin(), stillRestoring.end());
    return result;
}

void OverlayWindowTransitionTracker::expireDeadlines(std::map<QString, QDateTime>& deadlines,
                                                     const std::set<QString>& allowed, const QDateTime& now,
                                                     std::set<QString>& ended)
{
    for (auto it = deadlines.begin(); it != deadlines.end();) {
        if (it->second <= now || !allowed.contains(it->first)) {
            ended.insert(it->first);
            it = deadlines.erase(it);
        } else {
            ++it;
        }
    }
}

void OverlayWindowTransitionTracker::forgetApplicationsNotIn(const std::set<QString>& allowed)
{
    auto keepAllowed = [&allowed](auto& map) {
        std::erase_if(map, [&allowed](const auto& entry) { return !allowed.contains(entry.first); });
    };
    keepAllowed(lastStableLargeRectByBundleID_);
    keepAllowed(lastObservedRectByBundleID_);
    keepAllowed(restoreAnimationDeadlinesByBundleID_);
    keepAllowed(restoringCandidatesByBundleID_);
    std::erase_if(missingBundleIDs_, [&allowed](const QString& id) { return !allowed.contains(id); });
}

void OverlayWindowTransitionTracker::updatePresent(const QString& bundleID, const Rect& current, const QDateTime& now,
                                                   bool mouseButtonDown, std::optional<Point> pointer,
                                                   WindowTransitionUpdate& result, std::set<QString>& stillRestoring)
{
    std::optional<Rect> previous;
    if (auto it = lastObservedRectByBundleID_.find(bundleID); it != lastObservedRectByBundleID_.end())
        previous = it->second;
    lastObservedRectByBundleID_[bundleID] = current;

    if (suppressionDeadlinesByBundleID_.contains(bundleID) || restoreAnimationDeadlinesByBundleID_.contains(bundleID))
        return;

    if (missingBundleIDs_.contains(bundleID)) {
        auto candidate = restoringCandidatesByBundleID_.find(bundleID);
        if (candidate == restoringCandidatesByBundleID_.end()) {
            // The window has just come back: wait for its animation to finish.
            const QDateTime deadline = deadlineFrom(now);
            restoreAnimationDeadlinesByBundleID_[bundleID] = deadline;
            restoringCandidatesByBundleID_[bundleID] = {current, 1};
            result.events.push_back({bundleID, OverlayWindowTransitionSuppressionEvent::Reason::restoring, Rect::null(),
                                     current, std::nullopt, deadline});
            return;
        }
        const int frameCount = isStable(candidate->second.rect, current) ? candidate->second.frameCount + 1 : 1;
        candidate->second = {current, frameCount};
        if (frameCount < tuning_.requiredStableFrameCount) {
            stillRestoring.insert(bundleID);
            return;
        }
    }
    missingBundleIDs_.erase(bundleID);
    restoringCandidatesByBundleID_.erase(bundleID);

    if (auto stable = lastStableLargeRectByBundleID_.find(bundleID); stable != lastStableLargeRectByBundleID_.end()
                                                                     && isLargeRect(stable->second)
                                                                     && isShrink(stable->second, current)) {
        const QDateTime deadline = deadlineFrom(now);
        result.events.push_back({bundleID, OverlayWindowTransitionSuppressionEvent::Reason::shrunk, stable->second,
                                 current, areaRatio(stable->second, current), deadline});
        suppressionDeadlinesByBundleID_[bundleID] = deadline;
        lastStableLargeRectByBundleID_.erase(stable);
        return;
    }

    if (previous && mouseButtonDown && hasMoved(*previous, current)) {
        result.motionEvents.push_back({bundleID, *previous, current, current.minX() - previous->minX(),
                                       current.minY() - previous->minY(), pointer});
    }
    if (isLargeRect(current))
        lastStableLargeRectByBundleID_[bundleID] = current;
}

void OverlayWindowTransitionTracker::updateAbsent(const QString& bundleID, const QDateTime& now, bool mouseButtonDown,
                                                  WindowTransitionUpdate& result)
{
    lastObservedRectByBundleID_.erase(bundleID);
    restoringCandidatesByBundleID_.erase(bundleID);
    restoreAnimationDeadlinesByBundleID_.erase(bundleID);
    missingBundleIDs_.insert(bundleID);

    if (suppressionDeadlinesByBundleID_.contains(bundleID))
        return;

    auto stable = lastStableLargeRectByBundleID_.find(bundleID);
    if (stable == lastStableLargeRectByBundleID_.end())
        return;
    if (isLargeRect(stable->second) && mouseButtonDown) {
        const QDateTime deadline = deadlineFrom(now);
        result.events.push_back({bundleID, OverlayWindowTransitionSuppressionEvent::Reason::disappeared, stable->second,
                                 std::nullopt, std::nullopt, deadline});
        suppressionDeadlinesByBundleID_[bundleID] = deadline;
    }
    lastStableLargeRectByBundleID_.erase(stable);
}

OverlayWindowTransitionSuppressionEvent OverlayWindowTransitionTracker::suppressImmediately(const QString& bundleID,
                                                                                            const QDateTime& now)
{
    const QDateTime deadline = deadlineFrom(now);
    Rect previous = Rect::null();
    if (auto it = lastStableLargeRectByBundleID_.find(bundleID); it != lastStableLargeRectByBundleID_.end())
        previous = it->second;

    suppressionDeadlinesByBundleID_[bundleID] = deadline;
    lastStableLargeRectByBundleID_.erase(bundleID);
    lastObservedRectByBundleID_.erase(bundleID);
    restoreAnimationDeadlinesByBundleID_.erase(bundleID);
    missingBundleIDs_.insert(bundleID);
    restoringCandidatesByBundleID_.erase(bundleID);
    return {bundleID,     OverlayWindowTransitionSuppressionEvent::Reason::windowControlClick,
            previous,     std::nullopt,
            std::nullopt, deadline};
}

void OverlayWindowTransitionTracker::reset()
{
    lastStableLargeRectByBundleID_.clear();
    lastObservedRectByBundleID_.clear();
    suppressionDeadlinesByBundleID_.clear();
    restoreAnimationDeadlinesByBundleID_.clear();
    missingBundleIDs_.clear();
    restoringCandidatesByBundleID_.clear();
}

} // namespace vesk
