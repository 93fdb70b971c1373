#pragma once

#include <QImage>
#include <QString>
#include <QUrl>

#include <vector>

namespace vesk::platform {
class ApplicationBundleReading;
class FileBrowsing;
} // namespace vesk::platform

namespace vesk {

// An installed application, as the screens that let the user pick or
// recognise applications list it.
struct InstalledApp {
    static constexpr int iconSize = 32;

    // The bundle identifier; the identity in lists and selections.
    QString id;
    // The name the file manager shows for the bundle.
    QString name;
    // The workspace's icon of the bundle, 32 × 32.
    QImage icon;
    QUrl url;

    // A fresh scan of "/Applications" and then "/System/Applications" (direct
    // contents, hidden entries and folders that cannot be listed skipped):
    // every ".app" bundle with a bundle identifier, the Finder added unless a
    // bundle with its identifier was found, sorted by name case-insensitively
    // (stable). Identifiers found twice are listed twice; a consumer that keys
    // by identifier takes the first.
    static std::vector<InstalledApp> discoverAll(const platform::FileBrowsing& files,
                                                 const platform::ApplicationBundleReading& bundles);

    bool operator==(const InstalledApp&) const = default;
};

} // namespace vesk
