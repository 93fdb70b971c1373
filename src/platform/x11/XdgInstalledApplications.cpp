#include "platform/x11/XdgInstalledApplications.h"

#include "platform/x11/XdgBundleLocation.h"

namespace vesk::platform {

XdgInstalledApplications::XdgInstalledApplications(XdgEnvironment environment)
    : environment_(std::move(environment))
    , icons_(std::make_shared<XdgIconLookup>(environment_))
{
}

std::shared_ptr<const XdgApplicationCatalog> XdgInstalledApplications::catalog() const
{
    {
        std::lock_guard lock(mutex_);
        if (catalog_)
            return catalog_;
    }
    return rescan();
}

std::shared_ptr<const XdgIconLookup> XdgInstalledApplications::icons() const
{
    std::lock_guard lock(mutex_);
    return icons_;
}

std::shared_ptr<const XdgApplicationCatalog> XdgInstalledApplications::rescan() const
{
    // The scan reads files: it runs outside the lock, and the last one to
    // finish is kept.
    auto catalog = std::make_shared<const XdgApplicationCatalog>(XdgApplicationCatalog::scan(environment_));
    auto icons = std::make_shared<const XdgIconLookup>(environment_);
    std::lock_guard lock(mutex_);
    catalog_ = catalog;
    icons_ = icons;
    return catalog;
}

std::optional<XdgApplication> XdgInstalledApplications::application(const QString& id) const
{
    const auto current = catalog();
    const XdgApplication* app = current->find(id);
    return app ? std::optional<XdgApplication>(*app) : std::nullopt;
}

std::optional<XdgApplication> XdgInstalledApplications::application(const QUrl& bundleURL) const
{
    const auto id = XdgBundleLocation::applicationID(bundleURL);
    return id ? application(*id) : std::nullopt;
}

} // namespace vesk::platform
