#include "session/AllowedWindowSpaceClassifier.h"

#include "overlay/DisplayGeometry.h"
#include "overlay/WindowClassification.h"

#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

bool qualifiesAsWindow(const AllowedWindowSnapshot& window, const QString& bundleID,
                       const std::optional<DisplayGeometry>& geometry)
{
    if (window.bundleID != bundleID || window.layer != 0 || !(window.alpha > 0.01))
        return false;
    if (!(window.bounds.standardWidth() > 24) || !(window.bounds.standardHeight() > 24))
        return false;
    if (bundleID == kFinderBundleID && geometry) {
        // The Finder's desktop surface covers a whole display.
        for (const auto& display : geometry->displayFrames()) {
            const Rect& frame = display.quartzFrame;
            if (std::abs(window.bounds.x - frame.x) <= 32 && std::abs(window.bounds.y - frame.y) <= 32
                && std::abs(window.bounds.width - frame.width) <= 32
                && std::abs(window.bounds.height - frame.height) <= 32)
                return false;
        }
    }
    return true;
}

int countQualifyingWindows(const std::vector<AllowedWindowSnapshot>& windows, const QString& bundleID,
                           const std::optional<DisplayGeometry>& geometry)
{
    return static_cast<int>(std::count_if(windows.begin(), windows.end(), [&](const AllowedWindowSnapshot& window) {
        return qualifiesAsWindow(window, bundleID, geometry);
    }));
}

} // namespace

AllowedWindowSpaceClassifier::AllowedWindowSpaceClassifier(const SessionServices& services,
                                                           const AllowedAppLookup& lookup)
    : services_(services)
    , lookup_(lookup)
{
}

AllowedWindowSpaceClassification AllowedWindowSpaceClassifier::classify(const QString& bundleID) const
{
    if (services_.windowSpaceClassificationProvider)
        return services_.windowSpaceClassificationProvider(bundleID);

    const auto app = lookup_.runningApplication(bundleID);
    const bool hidden = app && app->isHidden();
    const auto onScreen = services_.onScreenWindowSnapshots();
    const auto all = services_.allWindowSnapshots();
    const auto counts = services_.windowManager->minimizedWindowCounts(bundleID);

    AllowedWindowSpaceClassification result;
    result.bundleID = bundleID;
    result.minimizedWindows = counts.minimized;
    result.totalAXWindows = counts.total;
    if (!app) {
        result.state = AllowedWindowSpaceState::notRunning;
        return result;
    }
    if (hidden) {
        result.state = AllowedWindowSpaceState::hidden;
        return result;
    }
    const auto geometry = DisplayGeometry::current(*services_.screens);
    result.onScreenWindows = countQualifyingWindows(onScreen, bundleID, geometry);
    result.allWindows = countQualifyingWindows(all, bundleID, geometry);
    if (result.onScreenWindows > 0)
        result.state = AllowedWindowSpaceState::onActiveSpace;
    else if (result.allWindows == 0)
        result.state = AllowedWindowSpaceState::noWindows;
    else if (counts.total >= 1 && counts.minimized >= counts.total)
        result.state = AllowedWindowSpaceState::minimized;
    else
        result.state = AllowedWindowSpaceState::onOtherSpace;
    return result;
}

bool AllowedWindowSpaceClassifier::isVisible(const QString& bundleID) const
{
    return services_.allowedWindowDetector->detectAllowedWindows({bundleID}).visible.contains(bundleID);
}

std::vector<AllowedAppVisibilitySnapshot>
AllowedWindowSpaceClassifier::visibilitySnapshots(const std::set<QString>& allowed) const
{
    std::vector<AllowedAppVisibilitySnapshot> snapshots;
    if (allowed.empty())
        return snapshots;
    const auto detection = services_.allowedWindowDetector->detectAllowedWindows(allowed);
    const std::set<QString> running = lookup_.runningAllowedBundleIDs(allowed);
    for (const QString& bundleID : allowed) {
        AllowedAppVisibility visibility = AllowedAppVisibility::minimized;
        if (detection.visible.contains(bundleID))
            visibility = AllowedAppVisibility::visible;
        else if (detection.covered.contains(bundleID))
            visibility = AllowedAppVisibility::occluded;
        else if (!running.contains(bundleID))
            visibility = AllowedAppVisibility::notRunning;
        else if (classify(bundleID).state == AllowedWindowSpaceState::onOtherSpace)
            visibility = AllowedAppVisibility::onOtherSpace;
        snapshots.push_back({bundleID, visibility});
    }
    return snapshots;
}

} // namespace vesk
