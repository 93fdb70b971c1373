#pragma once

#include "platform/DesktopApplication.h"

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
    QStringList urlSchemes;               // one URL type with these schemes
    QVariantMap extraInfo;                // further entries, written as they are
    LaunchBehaviour launch;

    bool operator==(const BundleSpec&) const = default;
};

// A bundle folder on disk and its information dictionary.
class ApplicationBundle {
public:
    // The bundle at a folder: none when the folder or its Info.plist is
    // missing or the property list does not parse.
    static std::optional<ApplicationBundle> open(const QString& folder);
    // Writes the folder and its Contents/Info.plist; false with a message on failure.
    static bool write(const BundleSpec& spec, const QString& folder, QString* error);
    static QVariantMap infoDictionary(const BundleSpec& spec);

    const QString& folder() const { return folder_; }
    const QVariantMap& infoDictionary() const { return info_; }
    std::optional<QString> bundleIdentifier() const;

private:
    QString folder_;
    QVariantMap info_;
};

} // namespace vesk::platform
