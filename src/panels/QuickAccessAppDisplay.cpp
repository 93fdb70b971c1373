#include "panels/QuickAccessAppDisplay.h"

#include "panels/AllowedAppAppearance.h"

#include <QCollator>

#include <algorithm>
#include <map>

namespace vesk {

namespace {

constexpr double genericIconSide = 44;

} // namespace

std::vector<QuickAccessAppDisplay>
QuickAccessAppDisplay::list(const DynamicAllowlistState& allowlist,
                            const std::vector<AllowedAppVisibilitySnapshot>& snapshots,
                            const std::vector<InstalledApp>& installedApps)
{
    std::map<QString, AllowedAppVisibility> visibilities;
    for (const AllowedAppVisibilitySnapshot& snapshot : snapshots)
        visibilities.emplace(snapshot.bundleID, snapshot.visibility);

    std::vector<QuickAccessAppDisplay> displays;
    for (const QString& bundleID : allowlist.allowedBundleIDs()) {
        const auto visibility = visibilities.find(bundleID);
        AllowedAppAppearance appearance = AllowedAppAppearance::of(bundleID, installedApps, genericIconSide);
        displays.push_back({bundleID, std::move(appearance.name), std::move(appearance.icon),
                            visibility == visibilities.end() ? AllowedAppVisibility::notRunning : visibility->second});
    }

    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(displays.begin(), displays.end(),
                     [&](const QuickAccessAppDisplay& a, const QuickAccessAppDisplay& b) {
                         return collator.compare(a.name, b.name) < 0;
                     });
    return displays;
}

} // namespace vesk
