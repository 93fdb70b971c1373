#pragma once

#include "core/Geometry.h"
#include "overlay/OverlayAllowedWindowFragment.h"
#include "overlay/OverlayWindowMotionEvent.h"
#include "overlay/OverlayWindowTransitionSuppressionEvent.h"

#include <QDateTime>

#include <QString>

#include <map>
#include <optional>
#include <set>
#include <vector>

namespace vesk {

// What one frame's update of the transition tracker found.
struct WindowTransitionUpdate {
    // Applications whose holes stay closed on this frame.
    std::set<QString> suppressedBundleIDs;
    // Suppressions that started on this frame.
    std::vector<OverlayWindowTransitionSuppressionEvent> events;
    // Applications whose suppression or restore wait ended on this frame.
    std::set<QString> endedBundleIDs;
    // Windows that moved while a mouse button was held.
    std::vector<OverlayWindowMotionEvent> motionEvents;
};

// Watches each allowed application's largest window from frame to frame and
// closes the application's holes while its window is minimised, shrinks
// abruptly or comes back, so that the overlay stays black instead of following
// the animation. A returning window gets holes again only after a wait and once
// its rect holds still. Also reports window motion while a mouse button is held.
// A plain value: the caller passes the time in; nothing here runs on a timer.
class OverlayWindowTransitionTracker {
public:
    struct Tuning {
        double suppressionDuration = 1.4; // seconds, also the restore wait
        double minimumStableArea = 40000; // square points for a large rect
        double shrinkAreaRatio = 0.62;
        double shrinkDimensionRatio = 0.58;
        double movementRatioForShrink = 0.2;
        int requiredStableFrameCount = 2;
        double stableRectTolerance = 1.0; // points
        double motionTolerance = 1.0;     // points
    };

    struct StabilityCandidate {
        Rect rect;
        int frameCount = 0;
        bool operator==(const StabilityCandidate&) const = default;
    };

    OverlayWindowTransitionTracker() = default;
    explicit OverlayWindowTransitionTracker(Tuning tuning) : tuning_(tuning) { }

    const Tuning& tuning() const { return tuning_; }

    // One frame: `fragments` are all of the frame's allowed fragments before any
    // suppression; `pointer` is the mouse location when a button is down.
    WindowTransitionUpdate update(const std::vector<OverlayAllowedWindowFragment>& fragments,
                                  const std::set<QString>& allowedBundleIDs, const QDateTime& now, bool mouseButtonDown,
                                  std::optional<Point> pointer);

    // Closes the application's holes at once and treats its window as gone.
    OverlayWindowTransitionSuppressionEvent suppressImmediately(const QString& bundleID, const QDateTime& now);

    // Forgets every application; the tuning stays.
    void reset();

    bool isLargeRect(const Rect& rect) const;
    bool hasMoved(const Rect& before, const Rect& now) const;
    bool isStable(const Rect& before, const Rect& now) const;
    bool isShrink(const Rect& stable, const Rect& current) const;

    // The largest window rect of the application among the fragments; none
    // when it has no fragment with a window of positive size.
    static std::optional<Rect> largestWindowRect(const std::vector<OverlayAllowedWindowFragment>& fragments,
                                                 const QString& bundleID);

private:
    void expireDeadlines(std::map<QString, QDateTime>& deadlines, const std::set<QString>& allowed,
                         const QDateTime& now, std::set<QString>& ended);
    void forgetApplicationsNotIn(const std::set<QString>& allowed);
    void updatePresent(const QString& bundleID, const Rect& current, const QDateTime& now, bool mouseButtonDown,
                       std::optional<Point> pointer, WindowTransitionUpdate& result, std::set<QString>& stillRestoring);
    void updateAbsent(const QString& bundleID, const QDateTime& now, bool mouseButtonDown,
                      WindowTransitionUpdate& result);
    QDateTime deadlineFrom(const QDateTime& now) const;

    Tuning tuning_;
    std::map<QString, Rect> lastStableLargeRectByBundleID_;
    std::map<QString, Rect> lastObservedRectByBundleID_;
    std::map<QString, QDateTime> suppressionDeadlinesByBundleID_;
    std::map<QString, QDateTime> restoreAnimationDeadlinesByBundleID_;
    std::set<QString> missingBundleIDs_;
    std::map<QString, StabilityCandidate> restoringCandidatesByBundleID_;
};

} // namespace vesk
