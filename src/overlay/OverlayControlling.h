#pragma once

#include "overlay/AllowedWindowDragState.h"
#include "overlay/OverlayWindowMotionEvent.h"
#include "core/Geometry.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <set>
#include <vector>

namespace vesk {

// The session's blackout as the session core drives it: black panels on every
// display with holes over the allowed applications' visible windows.
//
// The handlers are plain assignable slots. The overlay calls them on the main
// thread, synchronously inside its per-frame tick; deactivate() clears all six.
// All rects and points are in bottom-left (Cocoa) global coordinates.
class OverlayControlling {
public:
    virtual ~OverlayControlling() = default;

    // Called once when the grace period for missing allowed windows runs out.
    std::function<void()> onAllowedWindowsMissing;
    // Called when no allowed window is visible any more and the grace period starts.
    std::function<void()> onAllowedWindowsTemporarilyMissing;
    // Called when the set of wholly covered allowed applications changes to a non-empty set.
    std::function<void(const std::set<QString>& bundleIDs)> allowedWindowsOccludedHandler;
    // Called at the end of every tick with the final hole list, changed or not.
    std::function<void(const std::vector<Rect>& cocoaRects)> passthroughRectsChangedHandler;
    // Called on every tick that saw allowed windows move with a mouse button held.
    std::function<void(const std::vector<OverlayWindowMotionEvent>& events)> allowedWindowMotionHandler;
    // Called when a drag that reached a display seam is handed off (released or stalled there).
    std::function<void(const QString& bundleID, Point pointerCocoaPoint)> seamDragHandoffHandler;

    // Covers every display and starts the per-frame tracking for a session.
    virtual void activate(const std::set<QString>& allowedBundleIDs) = 0;
    // Replaces the allowlist; while active the holes follow it in the same turn.
    virtual void updateAllowlist(const std::set<QString>& allowedBundleIDs) = 0;
    // Stops tracking, removes the panels, empties all session state and the handlers.
    virtual void deactivate() = 0;
    // Which allowed applications are being dragged; the idle value while inactive.
    virtual AllowedWindowDragState allowedWindowDragState(const QDateTime& now) const = 0;
    // Raises the backing panels (still below every application window) before
    // an allowed application is activated.
    virtual void prepareBackingForAllowedAppActivation(const QString& reason) = 0;
    // Closes an allowed application's holes at once, before its window animates
    // (a click on its close or minimise control).
    virtual void suppressPassthroughImmediately(const QString& bundleID, const QString& reason) = 0;
};

} // namespace vesk
