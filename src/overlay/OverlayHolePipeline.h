#pragma once

#include "core/Geometry.h"
#include "logging/VeskLogger.h"
#include "overlay/DisplayGeometry.h"
#include "overlay/OverlayAllowedWindowFragment.h"
#include "overlay/WindowClassification.h"
#include "overlay/WindowClassifier.h"
#include "overlay/WindowSnapshotReader.h"

#include <QString>

#include <optional>
#include <set>
#include <vector>

namespace vesk::platform {
class ScreenProviding;
} // namespace vesk::platform

namespace vesk {

class AllowedWindowDragTracker;

// The tick's way from the window list to the holes: the classification, the
// fully occluded applications, the visible fragments and the holes over them
// with the drag bridge, against the displays as they are now. Each step gives
// a view into storage kept from frame to frame, valid until the step runs
// again, so that a steady frame allocates nothing.
class OverlayHolePipeline {
public:
    OverlayHolePipeline(const platform::ScreenProviding& screens, WindowSnapshotReader windowSnapshots,
                        QString veskBundleID, VeskLogger logger);

    // The displays as the tick sees them; none without a usable display.
    const std::optional<DisplayGeometry>& geometry();
    // After a screen change: the next geometry() reads the displays again.
    void invalidateGeometry() { isGeometryCurrent_ = false; }

    const WindowClassification& classify(const std::set<QString>& allowedBundleIDs);
    const std::set<QString>& fullyOccluded(const WindowClassification& classification);
    // The rects of the fragments that no transition suppresses.
    const std::vector<Rect>& visibleRects(const WindowClassification& classification,
                                          const std::set<QString>& suppressedBundleIDs);
    // The holes over the visible rects and the drags; logs the drag bridge
    // and holes left uncovered when they change.
    const std::vector<Rect>& holes(const AllowedWindowDragTracker& drags);

    // Forgets what was logged, for a new session.
    void resetSession();

private:
    void logDragBridge(const std::vector<Rect>& bridge);
    void checkUncoveredHoles(const std::vector<Rect>& holes, const AllowedWindowDragTracker& drags,
                             const std::optional<DisplayGeometry>& geometry);

    const platform::ScreenProviding& screens_;
    WindowSnapshotReader windowSnapshots_;
    const QString veskBundleID_;
    const VeskLogger logger_;
    WindowClassifier classifier_;
    std::optional<DisplayGeometry> geometry_;
    bool isGeometryCurrent_ = false;

    std::set<QString> fullyOccluded_;
    std::vector<OverlayAllowedWindowFragment> visibleFragments_;
    std::vector<Rect> visibleRects_;
    std::vector<Rect> holes_;
    std::vector<Rect> lastLoggedDragBridgeRects_;
    std::vector<Rect> lastLoggedUncoveredHoles_;
};

} // namespace vesk
