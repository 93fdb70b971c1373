#pragma once

#include <QString>

#include <set>

namespace vesk {

// The counts of one window evaluation; the overlay logs a new value only when
// it differs from the last one.
struct OverlayVisibilityDiagnostics {
    int rawAllowedWindowCount = 0;
    int passthroughRectCount = 0;
    int blockerCount = 0;
    int ignoredBlockerCount = 0;
    int suppressedWindowCount = 0;
    std::set<QString> fullyOccludedBundleIDs; // allowed apps whose windows are wholly covered

    bool operator==(const OverlayVisibilityDiagnostics&) const = default;
};

} // namespace vesk
