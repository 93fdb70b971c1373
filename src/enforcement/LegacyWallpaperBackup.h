#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace vesk {

// The desktop-picture backup an earlier version kept in the user defaults:
// per display, the picture it had. It is only read, logged and removed;
// no desktop picture is ever written back.
struct LegacyWallpaperBackup {
    struct Entry {
        quint32 displayID = 0;
        QString originalWallpaperPath;

        bool operator==(const Entry&) const = default;
    };

    // The entries of the stored JSON array
    // ([{"displayID": 1, "originalWallpaperPath": "…"}]); none when it does not decode.
    static std::vector<Entry> decode(const QByteArray& json);
};

} // namespace vesk
