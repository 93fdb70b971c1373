#pragma once

#include <QString>
#include <QVariantMap>

namespace vesk {

// The running application's version texts, as the about window, the settings,
// the setup screen's version row, the update panel and bug reports show them.

// The main bundle's information entries ("CFBundleShortVersionString",
// "CFBundleVersion", ...). Start-up sets them once from the running
// application's bundle; before that they hold the program's own version.
QVariantMap mainBundleInfoDictionary();
void setMainBundleInfoDictionary(const QVariantMap& info);

// "CFBundleShortVersionString" when present and text, else "?".
QString appVersionString(const QVariantMap& info = mainBundleInfoDictionary());
// "CFBundleVersion" when present and text, else "?".
QString appBuildString(const QVariantMap& info = mainBundleInfoDictionary());

} // namespace vesk
