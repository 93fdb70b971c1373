#pragma once

#include "enforcement/AllowedWindowSpaceState.h"

#include <QString>

namespace vesk {

// One allowed application's window state with the counts it was decided from.
struct AllowedWindowSpaceClassification {
    QString bundleID;
    AllowedWindowSpaceState state = AllowedWindowSpaceState::notRunning;
    // Qualifying windows in the on-screen and in the all-windows lists.
    int onScreenWindows = 0;
    int allWindows = 0;
    // Accessibility windows: minimized ones and all of them.
    int minimizedWindows = 0;
    int totalAXWindows = 0;

    // "spaceState=…, onScreenWindows=…, allWindows=…, minimized=…, axTotal=…",
    // appended to log lines.
    QString description() const;

    bool operator==(const AllowedWindowSpaceClassification&) const = default;
};

} // namespace vesk
