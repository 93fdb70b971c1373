#pragma once

#include "platform/ApplicationBundleReading.h"
#include "platform/x11/XdgApplication.h"

namespace vesk::platform {

class XdgInstalledApplications;

// Reads the bundles of the X11 desktop: each stands for a desktop entry
// (XdgBundleLocation), and its information dictionary is made from the
// entry's fields.
class XdgBundleReader final : public ApplicationBundleReading {
public:
    explicit XdgBundleReader(const XdgInstalledApplications& applications) : applications_(applications) { }

    // None for a URL that is no bundle or an application the last scan did
    // not find.
    std::optional<QVariantMap> infoDictionary(const QUrl& bundleURL) const override;

    // The dictionary of an application:
    // "CFBundleIdentifier"   the desktop file id without ".desktop";
    // "CFBundleName",
    // "CFBundleDisplayName"  the localised Name;
    // "CFBundleExecutable"   the file name of the program the Exec line runs;
    // "CFBundleIconFile"     the Icon, when there is one;
    // "CFBundleURLTypes"     [{"CFBundleURLName": id, "CFBundleURLSchemes":
    //                        the schemes of its "x-scheme-handler/…" MimeTypes}],
    //                        when it has any.
    static QVariantMap infoDictionary(const XdgApplication& application);

private:
    const XdgInstalledApplications& applications_;
};

} // namespace vesk::platform
