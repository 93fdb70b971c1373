#pragma once

#include "stage/StageVeskScreenID.h"
#include "stage/StageVeskWindowPosition.h"

#include <QDateTime>
#include <QString>

#include <map>
#include <optional>

namespace vesk {

// What the stage keeps per application beside its model while it is active:
// the frames to go back to after a zoom, the placements waiting for a window,
// the closes waiting to be confirmed, the placements being enforced, when
// each application was last placed, and when the user last dragged a window.
// The stage's parts read and write it; the service empties it.
struct StageVeskPlacementRecords {
    // A placement being enforced until the window shows on its screen.
    struct PlacementEnforcement {
        StageVeskScreenID screenID;
        int remainingAttempts = 0;
        QDateTime deadline;
        QDateTime createdAt;
    };

    static constexpr int enforcementAttempts = 4;
    static constexpr double enforcementWindowSeconds = 5.0;

    std::map<QString, StageVeskWindowPosition> zoomRestorePositions;
    std::map<QString, StageVeskScreenID> pendingStagePlacements;
    // When each close was asked for.
    std::map<QString, QDateTime> pendingCloseVerifications;
    std::map<QString, PlacementEnforcement> placementEnforcements;
    std::map<QString, QDateTime> recentPlacements;
    std::optional<QDateTime> lastUserDragAt;

    // Enforces the application's placement on the screen from now on (4
    // retries within 5 s), replacing an earlier enforcement.
    void enforce(const QString& bundleID, StageVeskScreenID screen, const QDateTime& now);
    // Placements, enforcements or close checks are outstanding.
    bool hasOutstandingWork() const;
    // Drops what is kept for an application that left the stage.
    void forget(const QString& bundleID);
    void clear();
};

} // namespace vesk
