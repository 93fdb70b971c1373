#pragma once

#include "core/Geometry.h"
#include "platform/ScreenProviding.h"

#include <QString>
#include <QUrl>
#include <QVariantMap>

#include <optional>
#include <vector>

namespace vesk {

// Small helpers the panels and screens share: the bundle version texts, the
// place of a panel at the mouse pointer and the privacy-policy address.

// The main bundle's information entries ("CFBundleShortVersionString",
// "CFBundleVersion", ...). Start-up sets them once from the running
// application's bundle; before that they hold the program's own version.
QVariantMap mainBundleInfoDictionary();
void setMainBundleInfoDictionary(const QVariantMap& info);

// "CFBundleShortVersionString" when present and text, else "?".
QString appVersionString(const QVariantMap& info = mainBundleInfoDictionary());
// "CFBundleVersion" when present and text, else "?".
QString appBuildString(const QVariantMap& info = mainBundleInfoDictionary());

// The bottom-left (Cocoa) origin at which a panel of `panelSize` sits with
// its top-left corner at the mouse pointer, pushed inside the visible frame of
// the screen under the pointer (else the main screen). When the panel is
// larger than that frame, its right and top edges win. None without a screen.
std::optional<Point> panelOriginNearMouse(Size panelSize, Point mouseLocation,
                                          const std::vector<platform::ScreenInfo>& screens,
                                          const std::optional<platform::ScreenInfo>& mainScreen);
std::optional<Point> panelOriginNearMouse(Size panelSize, Point mouseLocation,
                                          const platform::ScreenProviding& screens);

// The privacy-policy page, built once; none if the address does not parse.
const std::optional<QUrl>& privacyPolicyURL();

} // namespace vesk
