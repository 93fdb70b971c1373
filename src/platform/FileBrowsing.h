#pragma once

#include <QImage>
#include <QString>
#include <QUrl>

#include <optional>
#include <vector>

namespace vesk::platform {

// The file system as the file manager shows it: folder listings, the names
// shown for files and their icons. Locations are file URLs.
class FileBrowsing {
public:
    virtual ~FileBrowsing() = default;

    // The file URL of a path of the system, such as "/Applications".
    virtual QUrl fileURL(const QString& systemPath) const = 0;
    // A folder's direct contents without hidden entries, in the listing's
    // order; none when the folder cannot be listed.
    virtual std::optional<std::vector<QUrl>> contentsOfDirectory(const QUrl& folder) const = 0;
    // The name shown for a file (an application bundle without its ".app").
    virtual QString displayNameAtPath(const QUrl& url) const = 0;
    // The icon shown for a file, at the size the system keeps it.
    virtual QImage iconForFile(const QUrl& url) const = 0;
};

} // namespace vesk::platform
