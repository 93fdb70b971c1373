#include "panels/AllowedAppAppearance.h"

#include "ui/ApplicationIcon.h"

#include <QStringList>

#include <algorithm>

namespace vesk {

AllowedAppAppearance AllowedAppAppearance::of(const QString& bundleID, const std::vector<InstalledApp>& installedApps,
                                              double genericIconSide)
{
    const auto installed = std::find_if(installedApps.begin(), installedApps.end(),
                                        [&](const InstalledApp& app) { return app.id == bundleID; });
    if (installed != installedApps.end())
        return {installed->name, installed->icon};
    return {fallbackName(bundleID), genericApplicationIcon(genericIconSide, 2.0).toImage()};
}

QString AllowedAppAppearance::fallbackName(const QString& bundleID)
{
    const QStringList components = bundleID.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    return components.isEmpty() ? bundleID : components.last();
}

} // namespace vesk
