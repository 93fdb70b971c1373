#pragma once

#include "platform/x11/XdgApplicationCatalog.h"
#include "platform/x11/XdgEnvironment.h"
#include "platform/x11/XdgIconLookup.h"

#include <QString>
#include <QUrl>

#include <memory>
#include <mutex>
#include <optional>

namespace vesk::platform {

// The desktop's installed applications as the X11 desktop's interfaces
// share them: the catalogue of the last scan, scanned again whenever the
// applications folder is listed (the services' discovery is a fresh scan),
// and the icon lookup of the same moment. Safe to use from any thread.
class XdgInstalledApplications {
public:
    explicit XdgInstalledApplications(XdgEnvironment environment);

    const XdgEnvironment& environment() const { return environment_; }
    // The last scan's catalogue; the folders are scanned on first use.
    std::shared_ptr<const XdgApplicationCatalog> catalog() const;
    std::shared_ptr<const XdgIconLookup> icons() const;
    // Scans the data folders anew.
    std::shared_ptr<const XdgApplicationCatalog> rescan() const;

    // The application of a desktop file id, or of a bundle URL
    // (XdgBundleLocation); none when the last scan did not find it.
    std::optional<XdgApplication> application(const QString& id) const;
    std::optional<XdgApplication> application(const QUrl& bundleURL) const;

private:
    const XdgEnvironment environment_;
    mutable std::mutex mutex_;
    mutable std::shared_ptr<const XdgApplicationCatalog> catalog_;
    mutable std::shared_ptr<const XdgIconLookup> icons_;
};

} // namespace vesk::platform
