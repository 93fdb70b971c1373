#include "stage/StageVeskPlacementRecords.h"

namespace vesk {

void StageVeskPlacementRecords::enforce(const QString& bundleID, StageVeskScreenID screen, const QDateTime& now)
{
    placementEnforcements[bundleID] = {screen, enforcementAttempts,
                                       now.addMSecs(qint64(enforcementWindowSeconds * 1000)), now};
}

bool StageVeskPlacementRecords::hasOutstandingWork() const
{
    return !pendingStagePlacements.empty() || !placementEnforcements.empty() || !pendingCloseVerifications.empty();
}

void StageVeskPlacementRecords::forget(const QString& bundleID)
{
    zoomRestorePositions.erase(bundleID);
    pendingStagePlacements.erase(bundleID);
    pendingCloseVerifications.erase(bundleID);
    placementEnforcements.erase(bundleID);
    recentPlacements.erase(bundleID);
}

void StageVeskPlacementRecords::clear()
{
    *this = StageVeskPlacementRecords();
}

} // namespace vesk
