#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace vesk::platform {

// Where the services meet the desktop's applications. They list the folder
// "/Applications" and read the bundles in it; on this desktop that folder
// holds one bundle per application shown in menus,
// "/Applications/<desktop file id>.app", which stands for its desktop entry
// and is nowhere on disk. Every other path is the file system's own.
class XdgBundleLocation {
public:
    static QString applicationsFolder() { return QStringLiteral("/Applications"); }
    static QUrl applicationsFolderURL();
    static bool isApplicationsFolder(const QUrl& url);

    // The bundle URL of an application by its desktop file id (without
    // ".desktop").
    static QUrl bundleURL(const QString& applicationID);
    // The desktop file id a bundle URL stands for; none for any other URL.
    static std::optional<QString> applicationID(const QUrl& url);
};

} // namespace vesk::platform
