#pragma once

#include "stage/StageVeskDisplayPrewarm.h"
#include "stage/StageVeskFocusRaiser.h"
#include "stage/StageVeskModel.h"
#include "stage/StageVeskPlacementRecords.h"
#include "stage/StageVeskServiceEnvironment.h"
#include "stage/StageVeskWindowSync.h"

#include "core/Geometry.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace vesk {

// The stage's own placements of one application: a free frame on a screen,
// and the enforcement of a placement until the window shows on its target
// screen (at most 4 retries within 5 s; a newer user drag cancels it, since
// the user moved the window on purpose). Main thread only.
class StageVeskPlacement {
public:
    StageVeskPlacement(StageVeskModel& model, StageVeskPlacementRecords& records, StageVeskWindowSync& sync,
                       StageVeskDisplayPrewarm& prewarm, StageVeskFocusRaiser& raiser,
                       const StageVeskServiceEnvironment& environment);

    // A free frame of 72 % of the screen's stage area (360…620 × 240…460),
    // centred horizontally on the anchor, its lower edge 28 pt below it; the
    // screen turns freestyle. Every caller anchors at the area's middle.
    void placeFreestyle(const QString& bundleID, StageVeskScreenID screen, double anchorX, double anchorY,
                        double divisorX, double divisorY);
    // Checks the application's enforcement against its visible window (none
    // when it shows none); true when it placed the window again.
    bool enforcePlacement(const QString& bundleID, const std::optional<Rect>& rect);

private:
    using PlacementEnforcement = StageVeskPlacementRecords::PlacementEnforcement;

    // Cancelled by a newer user drag or past its deadline (logged).
    bool hasLapsed(const QString& bundleID, const PlacementEnforcement& record, const QDateTime& now) const;
    // The window shows on the target screen, or the attempts are spent (logged).
    bool hasSettled(const QString& bundleID, const PlacementEnforcement& record, StageVeskScreenID actual,
                    const Rect& rect) const;
    void retry(const QString& bundleID, PlacementEnforcement& record, StageVeskScreenID actual, const Rect& rect);

    StageVeskModel& model_;
    StageVeskPlacementRecords& records_;
    StageVeskWindowSync& sync_;
    StageVeskDisplayPrewarm& prewarm_;
    StageVeskFocusRaiser& raiser_;
    const StageVeskServiceEnvironment& environment_;
};

} // namespace vesk
