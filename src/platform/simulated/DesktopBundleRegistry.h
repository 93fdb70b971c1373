#pragma once

#include "platform/simulated/BundleSpec.h"

#include <QString>
#include <QUrl>

#include <optional>
#include <vector>

namespace vesk::platform {

// The bundles installed on the simulated desktop, as folders under the folder
// that stands for the platform's "/", and the ways to find one: by its path,
// its identifier or a file URL.
class DesktopBundleRegistry final {
public:
    explicit DesktopBundleRegistry(QString desktopRoot);

    const QString& desktopRoot() const { return desktopRoot_; }
    // "/Applications/X.app" -> the folder under the desktop root.
    QString filesystemPath(const QString& platformPath) const;

    // Writes the bundle folder with its Info.plist under the desktop root and
    // registers it with the workspace.
    bool installBundle(const BundleSpec& spec, QString* error = nullptr);
    const std::vector<BundleSpec>& bundles() const { return bundles_; }
    const BundleSpec* bundleAtPath(const QString& platformPath) const;
    const BundleSpec* bundleForIdentifier(const QString& bundleIdentifier) const;
    // The platform path of a bundle URL under the desktop root, if it is one.
    std::optional<QString> platformPathForURL(const QUrl& url) const;
    QUrl urlForPlatformPath(const QString& platformPath) const;

private:
    QString desktopRoot_;
    std::vector<BundleSpec> bundles_;
};

} // namespace vesk::platform
