#include "stage/StageVeskPlacementBurst.h"

#include "stage/StageVeskLog.h"

namespace vesk {

namespace {

constexpr double burstInterval = 0.1;
constexpr double burstDuration = 15.0;

} // namespace

StageVeskPlacementBurst::StageVeskPlacementBurst(const StageVeskModel& model, const StageVeskPlacementRecords& records,
                                                 StageVeskReconciliation& reconciliation,
                                                 const StageVeskServiceEnvironment& environment)
    : model_(model)
    , records_(records)
    , reconciliation_(reconciliation)
    , environment_(environment)
{
}

void StageVeskPlacementBurst::start()
{
    if (timer_)
        return;
    logStage(VeskLogLevel::info,
             QStringLiteral("placement burst started — pending=%1, enforcing=%2, closeVerifications=%3")
                 .arg(records_.pendingStagePlacements.size())
                 .arg(records_.placementEnforcements.size())
                 .arg(records_.pendingCloseVerifications.size()));
    const QDateTime end = environment_.clock.now().addMSecs(qint64(burstDuration * 1000));
    timer_ = std::make_unique<MainQueueTimer>(environment_.scheduler, burstInterval, [this, end] { tick(end); });
    timer_->start();
}

void StageVeskPlacementBurst::stop()
{
    if (!timer_)
        return;
    timer_.reset();
    logStage(VeskLogLevel::info, QStringLiteral("placement burst stopped"));
}

void StageVeskPlacementBurst::tick(const QDateTime& end)
{
    if (!model_.isActive())
        return;
    if (environment_.clock.now() > end || !records_.hasOutstandingWork()) {
        stop();
        return;
    }
    reconciliation_.reconcileVisibleWindows(QStringLiteral("placementBurst"));
}

} // namespace vesk
