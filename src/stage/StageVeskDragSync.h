#pragma once

#include "stage/StageVeskFocusRaiser.h"
#include "stage/StageVeskModel.h"
#include "stage/StageVeskPlacementBurst.h"
#include "stage/StageVeskPlacementRecords.h"
#include "stage/StageVeskServiceEnvironment.h"
#include "stage/StageVeskWindowSync.h"

#include "core/Geometry.h"

#include <QString>

#include <optional>

namespace vesk {

// Takes in the user's drags of allowed windows. A drag makes the window a
// free window where the user left it, on the screen under the pointer (a
// screen in a slot layout turns freestyle); it moves no window. A drag that
// ended across a display seam puts the window under the pointer on the other
// display, fitted to it, and enforces that placement, since the system and
// the application may snap the window back. Both do nothing while the stage
// is inactive or the application is not open on it. Main thread only.
class StageVeskDragSync {
public:
    StageVeskDragSync(StageVeskModel& model, StageVeskPlacementRecords& records,
                      const StageVeskVisibleWindowRectsProvider& visibleWindowRects, StageVeskWindowSync& sync,
                      StageVeskFocusRaiser& raiser, StageVeskPlacementBurst& burst,
                      const StageVeskServiceEnvironment& environment);

    void syncUserDrag(const QString& bundleID, std::optional<Point> pointer,
                      std::optional<StageVeskScreenID> pointerScreen, Rect windowRect);
    void handleSeamDragHandoff(const QString& bundleID, Point pointer);

private:
    // Whether an edge of the rect lies within 2 pt of the same edge of a screen.
    bool touchesScreenEdge(const Rect& rect) const;
    // The screen the handoff drops the window on; none (logged) when it is skipped.
    std::optional<StageVeskScreenID> handoffDestination(const QString& bundleID, const StageVeskAppState& record,
                                                        Point pointer) const;
    // The visible window's size, else the free position's, else 620 × 460.
    Size handoffWindowSize(const QString& bundleID, const StageVeskAppState& record) const;

    StageVeskModel& model_;
    StageVeskPlacementRecords& records_;
    const StageVeskVisibleWindowRectsProvider& visibleWindowRects_;
    StageVeskWindowSync& sync_;
    StageVeskFocusRaiser& raiser_;
    StageVeskPlacementBurst& burst_;
    const StageVeskServiceEnvironment& environment_;
};

} // namespace vesk
