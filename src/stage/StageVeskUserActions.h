#pragma once

#include "stage/StageVeskFocusRaiser.h"
#include "stage/StageVeskModel.h"
#include "stage/StageVeskPlacement.h"
#include "stage/StageVeskPlacementBurst.h"
#include "stage/StageVeskPlacementRecords.h"
#include "stage/StageVeskServiceEnvironment.h"
#include "stage/StageVeskWindowSync.h"

#include "core/Geometry.h"
#include "enforcement/AXWindowManaging.h"

#include <QString>

namespace vesk {

// What the user does to a window on the stage in place of its title-bar
// buttons, and the apps bar's restore: close (then wait to see the
// application close), move to the stage queue instead of minimising, zoom to
// 95 % of the stage area and back, and bring a queued application back to its
// saved frame. Each does nothing while the stage is inactive. Main thread only.
class StageVeskUserActions {
public:
    StageVeskUserActions(StageVeskModel& model, StageVeskPlacementRecords& records, AXWindowManaging& windowManager,
                         StageVeskWindowSync& sync, StageVeskPlacement& placement, StageVeskFocusRaiser& raiser,
                         StageVeskPlacementBurst& burst, const StageVeskServiceEnvironment& environment);

    // The click point is top-left (Quartz) global coordinates.
    void closeApp(const QString& bundleID, Point quartzClickPoint);
    void moveToQueue(const QString& bundleID);
    void toggleZoom(const QString& bundleID);
    // The screen is where the application goes without a saved frame.
    void restoreFromQueue(const QString& bundleID, StageVeskScreenID fallbackScreen);

private:
    // Where a zoom toggle takes the window.
    struct ZoomMove {
        bool restores = false;
        bool hadRestorePosition = false;
        Rect target;
        StageVeskScreenID screen;
    };

    // Takes the saved frame for a restore, or saves the current one for a zoom.
    ZoomMove planZoomMove(const QString& bundleID, const StageVeskAppState& record, StageVeskScreenID screen);
    void moveZoomedWindow(const QString& bundleID, const ZoomMove& move);
    void restoreToSavedFrame(const QString& bundleID, const StageVeskState::SavedPlacement& saved,
                             StageVeskScreenID fallbackScreen);
    Rect area(StageVeskScreenID screen) const;

    StageVeskModel& model_;
    StageVeskPlacementRecords& records_;
    AXWindowManaging& windowManager_;
    StageVeskWindowSync& sync_;
    StageVeskPlacement& placement_;
    StageVeskFocusRaiser& raiser_;
    StageVeskPlacementBurst& burst_;
    const StageVeskServiceEnvironment& environment_;
};

} // namespace vesk
