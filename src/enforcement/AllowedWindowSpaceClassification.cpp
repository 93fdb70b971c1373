#include "enforcement/AllowedWindowSpaceClassification.h"

#include "overlay/WindowClassification.h"

#include <algorithm>

namespace vesk {

namespace {

bool isCountable(const AllowedWindowSnapshot& window, const QString& bundleID,
                 const std::optional<DisplayGeometry>& geometry)
{
    if (window.bundleID != bundleID || window.layer != 0 || !(window.alpha > 0.01))
        return false;
    if (!(window.bounds.standardWidth() > 24) || !(window.bounds.standardHeight() > 24))
        return false;
    if (!geometry || bundleID != kFinderBundleID)
        return true;
    return !geometry->isFullDisplayRect(window.bounds);
}

int countableWindowCount(const std::vector<AllowedWindowSnapshot>& snapshots, const QString& bundleID,
                         const std::optional<DisplayGeometry>& geometry)
{
    return int(std::count_if(snapshots.begin(), snapshots.end(), [&](const AllowedWindowSnapshot& window) {
        return isCountable(window, bundleID, geometry);
    }));
}

} // namespace

std::vector<AllowedWindowSnapshot>
AllowedWindowSpaceClassification::countableWindows(const std::vector<AllowedWindowSnapshot>& snapshots,
                                                   const QString& bundleID,
                                                   const std::optional<DisplayGeometry>& geometry)
{
    std::vector<AllowedWindowSnapshot> countable;
    std::copy_if(snapshots.begin(), snapshots.end(), std::back_inserter(countable),
                 [&](const AllowedWindowSnapshot& window) { return isCountable(window, bundleID, geometry); });
    return countable;
}

AllowedWindowSpaceClassification AllowedWindowSpaceClassification::classify(const QString& bundleID,
                                                                            const Sources& sources)
{
    const auto application = sources.runningApplication(bundleID);
    const bool hidden = application && application->isHidden();
    const std::vector<AllowedWindowSnapshot> onScreen = sources.onScreenWindowSnapshots();
    const std::vector<AllowedWindowSnapshot> all = sources.allWindowSnapshots();
    const AXWindowManaging::WindowCounts counts = sources.minimizedWindowCounts(bundleID);
    const std::optional<DisplayGeometry> geometry = sources.displayGeometry();

    AllowedWindowSpaceClassification result;
    result.bundleID = bundleID;
    result.minimizedWindows = counts.minimized;
    result.totalAXWindows = counts.total;
    if (!application) {
        result.state = AllowedWindowSpaceState::notRunning;
        return result;
    }
    if (hidden) {
        result.state = AllowedWindowSpaceState::hidden;
        return result;
    }
    const int onScreenCount = countableWindowCount(onScreen, bundleID, geometry);
    const int allCount = countableWindowCount(all, bundleID, geometry);
    if (onScreenCount > 0) {
        result.state = AllowedWindowSpaceState::onActiveSpace;
        result.onScreenWindows = onScreenCount;
        result.allWindows = allCount;
    } else if (allCount > 0) {
        const bool everyWindowMinimized = counts.total >= 1 && counts.minimized >= counts.total;
        result.state =
            everyWindowMinimized ? AllowedWindowSpaceState::minimized : AllowedWindowSpaceState::onOtherSpace;
        result.allWindows = allCount;
    } else {
        result.state = AllowedWindowSpaceState::noWindows;
    }
    return result;
}

QString AllowedWindowSpaceClassification::description() const
{
    return QStringLiteral("spaceState=%1, onScreenWindows=%2, allWindows=%3, minimized=%4, axTotal=%5")
        .arg(toRaw(state))
        .arg(onScreenWindows)
        .arg(allWindows)
        .arg(minimizedWindows)
        .arg(totalAXWindows);
}

} // namespace vesk
