#pragma once

#include "enforcement/DynamicAllowlistState.h"
#include "enforcement/InstalledApp.h"
#include "panels/AllowedAppVisibilitySnapshot.h"

#include <QImage>
#include <QString>

#include <vector>

namespace vesk {

// One application of the running session as the quick-access panel shows it.
struct QuickAccessAppDisplay {
    // The bundle identifier.
    QString id;
    QString name;
    QImage icon;
    AllowedAppVisibility visibility = AllowedAppVisibility::notRunning;

    // One per application of the session (original and added), sorted by
    // name (localized, case-insensitive; equal names keep the allowlist's
    // order). Without a snapshot an application counts as not running;
    // without an installed match it gets the fallback name and generic icon.
    static std::vector<QuickAccessAppDisplay> list(const DynamicAllowlistState& allowlist,
                                                   const std::vector<AllowedAppVisibilitySnapshot>& snapshots,
                                                   const std::vector<InstalledApp>& installedApps);
};

} // namespace vesk
