#include "session/AllowedWindowSpaceClassifier.h"

#include "overlay/DisplayGeometry.h"

namespace vesk {

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
    const AllowedWindowSpaceClassification::Sources sources{
        .runningApplication = [this](const QString& id) { return lookup_.runningApplication(id); },
        .onScreenWindowSnapshots = services_.onScreenWindowSnapshots,
        .allWindowSnapshots = services_.allWindowSnapshots,
        .minimizedWindowCounts =
            [this](const QString& id) { return services_.windowManager->minimizedWindowCounts(id); },
        .displayGeometry = [this] { return DisplayGeometry::current(*services_.screens); },
    };
    return AllowedWindowSpaceClassification::classify(bundleID, sources);
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
