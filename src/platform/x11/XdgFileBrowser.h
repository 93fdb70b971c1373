#pragma once

#include "platform/FileBrowsing.h"

namespace vesk::platform {

class XdgInstalledApplications;

// The file system of the X11 desktop: the machine's own, with the
// applications folder of XdgBundleLocation in it.
class XdgFileBrowser final : public FileBrowsing {
public:
    explicit XdgFileBrowser(const XdgInstalledApplications& applications) : applications_(applications) { }

    // The path itself, as a file URL.
    QUrl fileURL(const QString& systemPath) const override;
    // The applications folder: a fresh scan's applications shown in menus,
    // as bundles by file name. Any other folder: its entries by name,
    // without hidden ones; none for a missing folder or a file.
    std::optional<std::vector<QUrl>> contentsOfDirectory(const QUrl& folder) const override;
    // A bundle's localised Name; otherwise the file name.
    QString displayNameAtPath(const QUrl& url) const override;
    // 64 × 64: a bundle's icon, the theme's "application-x-executable" for
    // one without, a drawn tile with the name's initial when the theme has
    // neither; the theme's "folder" or "text-x-generic" for other files.
    QImage iconForFile(const QUrl& url) const override;

    static constexpr int iconSize = 64;

private:
    const XdgInstalledApplications& applications_;
};

} // namespace vesk::platform
