#pragma once

#include "core/Geometry.h"
#include "logging/VeskLogger.h"
#include "overlay/AllowedWindowDragState.h"
#include "overlay/DisplayGeometry.h"
#include "overlay/OverlayAllowedWindowFragment.h"
#include "overlay/OverlayWindowMotionEvent.h"
#include "platform/ScreenProviding.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace vesk {

// Follows drags of allowed windows for the overlay: the drag state offered to
// the session core, the relaxation that gives a dragged application its whole
// window as hole, the per-application motion record with its display and seam
// bookkeeping, and the handoff of a drag that ends on a display seam (released
// there, or held still there for a moment).
class AllowedWindowDragTracker {
public:
    using MotionHandler = std::function<void(const std::vector<OverlayWindowMotionEvent>&)>;
    using HandoffHandler = std::function<void(const QString& bundleID, Point pointerCocoaPoint)>;
    using MouseLocation = std::function<Point()>;

    static constexpr double kMotionCooldown = 0.75;   // seconds
    static constexpr double kSeamStall = 0.25;        // seconds without motion at a seam
    static constexpr double kMotionLogInterval = 0.1; // seconds per application

    // Logs through the overlay's logger. The mouse location is in bottom-left
    // (Cocoa) coordinates.
    AllowedWindowDragTracker(const VeskLogger& logger, const platform::ScreenProviding& screens,
                             MouseLocation mouseLocation);

    // The drag state of an active overlay; `mouseDown` is read by the caller.
    AllowedWindowDragState dragState(const QDateTime& now, bool mouseDown) const;

    // A drag held still on a seam with the button down is handed off once.
    void handleSeamDrag(bool mouseDown, const QDateTime& now, const HandoffHandler& handoff);
    // On the frame the button goes up, every drag still on a seam is handed off.
    void handoffSeamDragOnRelease(bool mouseDown, const HandoffHandler& handoff);
    // One frame's motion events and fragments (before suppression).
    void updateDragPassthrough(const std::vector<OverlayWindowMotionEvent>& events,
                               const std::vector<OverlayAllowedWindowFragment>& fragments, bool mouseDown,
                               const QDateTime& now, const MotionHandler& motionHandler);

    // Forgets one application's motion record, or every application's.
    void clearDragTracking(const std::optional<QString>& bundleID = std::nullopt);
    // The per-session state: relaxation, recent motion and what was last logged.
    void resetSession();
    void setMouseInteractionWasActive(bool active) { wasMouseInteractionActive_ = active; }

    const std::set<QString>& dragPassthroughBundleIDs() const { return dragPassthroughBundleIDs_; }
    const std::map<QString, Rect>& dragPassthroughWindowRectsByBundleID() const
    {
        return dragPassthroughWindowRectsByBundleID_;
    }
    const std::set<QString>& recentAllowedWindowMotionBundleIDs() const { return recentAllowedWindowMotionBundleIDs_; }
    bool hasSeamRecord(const QString& bundleID) const { return lastDragSeamReachedAt_.contains(bundleID); }

private:
    bool hasSeveralDisplays() const;
    void handOff(const QString& bundleID, Point pointer, const HandoffHandler& handoff);
    void logDragDisplayCrossings(const std::vector<OverlayWindowMotionEvent>& events, const QDateTime& now);
    void trackAllowedWindowMotion(const std::vector<OverlayWindowMotionEvent>& events, const DisplayGeometry& geometry,
                                  const QDateTime& now);
    void updateRelaxedWindowRects(const std::vector<OverlayAllowedWindowFragment>& fragments);
    void logDragRelaxation();

    const VeskLogger& logger_;
    const platform::ScreenProviding& screens_;
    MouseLocation mouseLocation_;

    std::set<QString> recentAllowedWindowMotionBundleIDs_;
    std::optional<QDateTime> lastAllowedWindowMotionAt_;
    std::set<QString> dragPassthroughBundleIDs_;
    std::map<QString, Rect> dragPassthroughWindowRectsByBundleID_;
    std::set<QString> lastLoggedDragPassthroughBundleIDs_;
    bool wasMouseInteractionActive_ = false;

    std::map<QString, QDateTime> lastDragMotionLogAt_;
    std::map<QString, QString> lastDragMotionPointerScreen_;
    std::map<QString, QString> lastDragMotionRectScreen_;
    std::map<QString, QString> lastDragSeamEdge_;
    std::map<QString, QDateTime> lastDragMotionAt_;
    std::map<QString, QDateTime> lastDragSeamReachedAt_;
    std::set<QString> handledSeamDeath_;
};

} // namespace vesk
