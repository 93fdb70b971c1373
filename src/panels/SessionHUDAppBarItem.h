#pragma once

#include "panels/AllowedAppVisibilitySnapshot.h"

#include <QString>

#include <vector>

namespace vesk {

// One entry of the HUD's application strip before display.
struct SessionHUDAppBarItem {
    QString bundleID;
    AllowedAppVisibility visibility = AllowedAppVisibility::notRunning;

    bool operator==(const SessionHUDAppBarItem&) const = default;
};

// The strip's entries and how many allowed applications it leaves out.
struct SessionHUDAppBar {
    std::vector<SessionHUDAppBarItem> items;
    int overflowCount = 0;

    bool operator==(const SessionHUDAppBar&) const = default;
};

// Where an application stands in the strip: those hidden behind other windows
// first, then minimised, on another Space, not running, and visible last.
int hudSortRank(AllowedAppVisibility visibility);

// The snapshots ordered by rank, then by bundle identifier (plain code-point
// order; equal ones keep their order), cut to `limit`.
SessionHUDAppBar orderedHUDAppBarItems(const std::vector<AllowedAppVisibilitySnapshot>& snapshots, int limit);

} // namespace vesk
