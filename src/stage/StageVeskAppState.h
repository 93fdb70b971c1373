#pragma once

#include "stage/StageVeskScreenID.h"
#include "stage/StageVeskWindowPosition.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <optional>

namespace vesk {

// Where one allowed application's window belongs on the stage. Open, not
// parked and with neither slot nor position: it waits in the queue.
struct StageVeskAppState {
    QString bundleID;
    QString displayName;
    bool isOpen = true;
    // Only ever true in a record read back with it set; the stage never parks.
    bool isParked = false;
    std::optional<int> slot;
    std::optional<StageVeskWindowPosition> position;
    std::optional<StageVeskScreenID> screenID;
    std::optional<StageVeskWindowPosition> savedPosition;
    std::optional<StageVeskScreenID> savedScreenID;
    QDateTime lastTouched;

    bool isQueued() const { return isOpen && !isParked && !slot && !position; }
    bool isStaged() const { return isOpen && !isParked && (slot || position); }

    // Keys "bundleID", "displayName", "isOpen", "isParked", "slot", "position",
    // "screenID", "savedPosition", "savedScreenID", "lastTouched"; absent
    // optionals are left out. "lastTouched" is seconds since 2001-01-01 UTC.
    QJsonObject toJson() const;
    static std::optional<StageVeskAppState> fromJson(const QJsonObject& object);

    bool operator==(const StageVeskAppState&) const = default;
};

} // namespace vesk
