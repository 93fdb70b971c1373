#pragma once

#include "stage/StageVeskPhase.h"
#include "stage/StageVeskScreenID.h"

#include "core/Geometry.h"
#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <set>

namespace vesk {

// The stage as the session core drives it: it places and keeps the allowed
// applications' windows on each screen. Points and rects are bottom-left
// (Cocoa) global coordinates.
class StageVeskControlling {
public:
    using DisplayNames = std::map<QString, QString>;

    virtual ~StageVeskControlling() = default;

    virtual void activate(const std::set<QString>& allowedBundleIDs, const DisplayNames& displayNameByBundleID,
                          std::optional<StageVeskScreenID> anchorScreen) = 0;
    // Stops every stage timer and pending work.
    virtual void deactivate() = 0;
    // Replaces the stage's applications.
    virtual void updateAllowlist(const std::set<QString>& allowedBundleIDs,
                                 const DisplayNames& displayNameByBundleID) = 0;
    // Called when the user closed an allowed application completely on the
    // stage. An empty function clears it.
    virtual void setOnAppFullyClosed(std::function<void(const QString& bundleID)> handler) = 0;

    // Closes the window of the application at the click point.
    virtual void closeApp(const QString& bundleID, Point clickPoint, bool flag) = 0;
    // Parks the application in the stage queue.
    virtual void moveToQueue(const QString& bundleID) = 0;
    // Zooms the window to its screen or restores it.
    virtual void toggleZoom(const QString& bundleID) = 0;
    // Moves a window dragged across a display seam.
    virtual void handleSeamDragHandoff(const QString& bundleID, Point point) = 0;
    // Records a user drag of an allowed window.
    virtual void syncUserDrag(const QString& bundleID, std::optional<Point> pointer,
                              std::optional<StageVeskScreenID> pointerScreen, Rect windowRect) = 0;
    // Places the application on the given screen.
    virtual void requestStagePlacement(const QString& bundleID, StageVeskScreenID screen) = 0;
    // Brings an application that waits in the stage queue (or is parked)
    // back onto the stage, as its apps-bar tile does; one that has its place
    // keeps it.
    virtual void restoreIfQueued(const QString& bundleID, StageVeskScreenID fallbackScreen) = 0;
    // Whether the application waits in the stage queue or is parked: the
    // stage keeps its windows hidden until it comes back.
    virtual bool isQueued(const QString& bundleID) const = 0;

    // The layout of the stage's default screen, none when it has none yet.
    virtual std::optional<StageVeskPhase> defaultScreenPhase() const = 0;
};

} // namespace vesk
