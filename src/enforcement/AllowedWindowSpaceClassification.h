#pragma once

#include "enforcement/AXWindowManaging.h"
#include "enforcement/AllowedWindowSpaceState.h"
#include "enforcement/RunningApplicationControlling.h"
#include "overlay/AllowedWindowSnapshot.h"
#include "overlay/DisplayGeometry.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace vesk {

// One allowed application's window state with the counts it was decided from.
struct AllowedWindowSpaceClassification {
    // Where a classification reads its inputs.
    struct Sources {
        // The first running application with the identifier that has not
        // terminated; null when there is none.
        std::function<std::shared_ptr<RunningApplicationControlling>(const QString& bundleID)> runningApplication;
        std::function<std::vector<AllowedWindowSnapshot>()> onScreenWindowSnapshots;
        std::function<std::vector<AllowedWindowSnapshot>()> allWindowSnapshots;
        std::function<AXWindowManaging::WindowCounts(const QString& bundleID)> minimizedWindowCounts;
        std::function<std::optional<DisplayGeometry>()> displayGeometry;
    };

    QString bundleID;
    AllowedWindowSpaceState state = AllowedWindowSpaceState::notRunning;
    // Countable windows in the on-screen and in the all-windows lists.
    int onScreenWindows = 0;
    int allWindows = 0;
    // Accessibility windows: minimized ones and all of them, as read in every state.
    int minimizedWindows = 0;
    int totalAXWindows = 0;

    // The window-list entries that count as real windows of the application,
    // in their order: its own, at layer 0, not transparent (alpha above
    // 0.01), larger than 24 points each way, and, when the displays are
    // known, not the Finder's desktop (a window the size of a display or
    // spanning the whole desktop height).
    static std::vector<AllowedWindowSnapshot> countableWindows(const std::vector<AllowedWindowSnapshot>& snapshots,
                                                               const QString& bundleID,
                                                               const std::optional<DisplayGeometry>& geometry);
    // Reads every input first (the running application, its hidden flag, both
    // window lists, the Accessibility counts, the displays), then decides.
    static AllowedWindowSpaceClassification classify(const QString& bundleID, const Sources& sources);

    // "spaceState=…, onScreenWindows=…, allWindows=…, minimized=…, axTotal=…",
    // appended to log lines.
    QString description() const;

    bool operator==(const AllowedWindowSpaceClassification&) const = default;
};

} // namespace vesk
