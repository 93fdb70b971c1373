#pragma once

#include "stage/StageVeskModel.h"
#include "stage/StageVeskPlacementRecords.h"
#include "stage/StageVeskReconciliation.h"
#include "stage/StageVeskServiceEnvironment.h"

#include "core/MainQueueTimer.h"

#include <QDateTime>

#include <memory>

namespace vesk {

// Runs the reconciliation every 0.1 s for up to 15 s while placements,
// enforcements or close checks are outstanding, so that a window is placed
// as soon as it shows up. Main thread only.
class StageVeskPlacementBurst {
public:
    StageVeskPlacementBurst(const StageVeskModel& model, const StageVeskPlacementRecords& records,
                            StageVeskReconciliation& reconciliation, const StageVeskServiceEnvironment& environment);

    // A running burst is neither restarted nor extended.
    void start();
    void stop();
    bool isRunning() const { return timer_ != nullptr; }

private:
    void tick(const QDateTime& end);

    const StageVeskModel& model_;
    const StageVeskPlacementRecords& records_;
    StageVeskReconciliation& reconciliation_;
    const StageVeskServiceEnvironment& environment_;
    std::unique_ptr<MainQueueTimer> timer_;
};

} // namespace vesk
