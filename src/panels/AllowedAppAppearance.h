#pragma once

#include "enforcement/InstalledApp.h"

#include <QImage>
#include <QString>

#include <vector>

namespace vesk {

// How the in-session panels show an allowed application: the installed
// application's name and icon, or, for one the scan did not find, the last
// part of its bundle identifier and the generic application icon.
struct AllowedAppAppearance {
    QString name;
    QImage icon;

    // `genericIconSide` in points: the size the generic icon is drawn at.
    static AllowedAppAppearance of(const QString& bundleID, const std::vector<InstalledApp>& installedApps,
                                   double genericIconSide);
    // The last non-empty "."-separated component; the whole identifier when
    // it has none ("com.example.editor" → "editor", "..." → "...").
    static QString fallbackName(const QString& bundleID);
};

} // namespace vesk
