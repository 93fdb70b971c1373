#pragma once

#include "stage/StageVeskDisplayPrewarm.h"
#include "stage/StageVeskModel.h"
#include "stage/StageVeskPlacement.h"
#include "stage/StageVeskPlacementRecords.h"
#include "stage/StageVeskServiceEnvironment.h"
#include "stage/StageVeskWindowSync.h"

#include "core/Geometry.h"
#include "enforcement/AXWindowManaging.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace vesk {

// Compares the model with the windows really visible, in one pass over the
// applications: confirms closes, reopens closed applications whose window came
// back, fires pending placements, drives the placement enforcement, hides the
// windows of queued applications, takes vanished windows off the stage (after
// a 2.0 s grace following the stage's own placement, and not when the window
// is on another Space), adopts free windows and follows their screen. The pass
// moves windows only through the placement, hiding and the display prewarm.
// Main thread only.
class StageVeskReconciliation {
public:
    StageVeskReconciliation(StageVeskModel& model, StageVeskPlacementRecords& records, StageVeskPlacement& placement,
                            StageVeskWindowSync& sync, StageVeskDisplayPrewarm& prewarm,
                            AXWindowManaging& windowManager,
                            const StageVeskVisibleWindowRectsProvider& visibleWindowRects,
                            const StageVeskWindowSpaceClassificationProvider& classify,
                            const StageVeskServiceEnvironment& environment);

    // Called with the application of each confirmed close; empty clears it.
    void setOnAppFullyClosed(std::function<void(const QString& bundleID)> handler);
    // Skipped while a display prewarm runs.
    void reconcileVisibleWindows(const QString& reason);

private:
    // `rect`: the application's visible window, none when it shows none.
    void reconcileApp(const QString& bundleID, const std::optional<Rect>& rect, const QString& reason,
                      QStringList& changed);
    bool reopenIfWindowCameBack(const QString& bundleID, const std::optional<Rect>& rect);
    void firePendingPlacement(const QString& bundleID, const Rect& rect);
    void reconcileMissingWindow(const QString& bundleID, const QString& reason, QStringList& changed);
    void reconcileVisibleApp(const QString& bundleID, const Rect& rect, QStringList& changed);
    // True when the close is confirmed.
    bool verifyClose(const QString& bundleID, const std::optional<Rect>& rect);
    // Logs what the window list still shows of a window about to be queued.
    void handleWindowDisappeared(const QString& bundleID, const QString& reason);

    StageVeskModel& model_;
    StageVeskPlacementRecords& records_;
    StageVeskPlacement& placement_;
    StageVeskWindowSync& sync_;
    StageVeskDisplayPrewarm& prewarm_;
    AXWindowManaging& windowManager_;
    const StageVeskVisibleWindowRectsProvider& visibleWindowRects_;
    const StageVeskWindowSpaceClassificationProvider& classify_;
    const StageVeskServiceEnvironment& environment_;
    std::function<void(const QString&)> onAppFullyClosed_;
};

} // namespace vesk
