#pragma once

#include "core/Geometry.h"
#include "overlay/AllowedWindowDragState.h"
#include "overlay/OverlayWindowMotionEvent.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <set>
#include <vector>

namespace vesk {

// The session's blackout as the session core drives it: black panels on every
// display with holes over the allowed applications' visible windows.
//
// The handlers are set through the setters below; an empty function clears
// one. The overlay calls them on the main thread, synchronously inside its
// per-frame tick; deactivate() clears all six.
// All rects and points are in bottom-left (Cocoa) global coordinates.
class OverlayControlling {
public:
    using MissingHandler = std::function<void()>;
    using OccludedHandler = std::function<void(const std::set<QString>& bundleIDs)>;
    using PassthroughRectsHandler = std::function<void(const std::vector<Rect>& cocoaRects)>;
    using MotionHandler = std::function<void(const std::vector<OverlayWindowMotionEvent>& events)>;
    using SeamDragHandoffHandler = std::function<void(const QString& bundleID, Point pointerCocoaPoint)>;

    virtual ~OverlayControlling() = default;

    // Called once when the grace period for missing allowed windows runs out.
    virtual void setAllowedWindowsMissingHandler(MissingHandler handler) = 0;
    // Called when no allowed window is visible any more and the grace period starts.
    virtual void setAllowedWindowsTemporarilyMissingHandler(MissingHandler handler) = 0;
    // Called when the set of wholly covered allowed applications changes to a non-empty set.
    virtual void setAllowedWindowsOccludedHandler(OccludedHandler handler) = 0;
    // Called at the end of every tick with the final hole list, changed or not.
    virtual void setPassthroughRectsChangedHandler(PassthroughRectsHandler handler) = 0;
    // Called on every tick that saw allowed windows move with a mouse button held.
    virtual void setAllowedWindowMotionHandler(MotionHandler handler) = 0;
    // Called when a drag that reached a display seam is handed off (released or stalled there).
    virtual void setSeamDragHandoffHandler(SeamDragHandoffHandler handler) = 0;

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
