#pragma once

#include <QString>
#include <QUrl>

namespace vesk::platform {

// An installed application: its bundle identifier, the name shown for it (the
// bundle folder's name without ".app") and its bundle's location.
struct InstalledApplication {
    QString bundleIdentifier;
    QString name;
    QUrl url;

    bool operator==(const InstalledApplication&) const = default;
};

} // namespace vesk::platform
