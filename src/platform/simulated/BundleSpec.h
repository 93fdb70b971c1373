#pragma once

#include "platform/simulated/LaunchBehaviour.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

namespace vesk::platform {

// An application bundle to install on the desktop: a folder such as
// "/Applications/Web Browser.app" (a platform path under the desktop root)
// whose Contents/Info.plist carries the entries below. `launch` is how the
// application behaves when the workspace starts it; it is not written to disk.
struct BundleSpec {
    QString path;
    std::optional<QString> bundleIdentifier;
    QString name;
    std::optional<QString> displayName;
    std::optional<QString> version;      // CFBundleVersion
    std::optional<QString> shortVersion; // CFBundleShortVersionString
    QStringList urlSchemes;              // one URL type with these schemes
    QVariantMap extraInfo;               // further entries, written as they are
    LaunchBehaviour launch;

    bool operator==(const BundleSpec&) const = default;
};

} // namespace vesk::platform
