#pragma once

#include "overlay/AllowedWindowSnapshot.h"
#include "platform/WindowListProviding.h"

#include <QString>
#include <QVariantMap>

#include <functional>
#include <optional>
#include <vector>

namespace vesk {

// The bundle identifier of the running application with this process
// identifier; none when no such application runs (it may have exited since the
// window list was copied) or it has no bundle identifier.
using BundleIdentifierLookup = std::function<std::optional<QString>(qint32 processID)>;

// Reads the system window list into snapshots, front to back. Nothing is
// cached: every call copies the list and looks up every owner afresh.
class WindowSnapshotReader {
public:
    WindowSnapshotReader(const platform::WindowListProviding& windowList,
                         BundleIdentifierLookup bundleIdentifierForProcess);

    // Every entry that parses, in the list's order.
    std::vector<AllowedWindowSnapshot> copyWindowSnapshots(int options) const;
    // On screen in the current Space, without desktop elements (options 17).
    std::vector<AllowedWindowSnapshot> copyOnScreenWindowSnapshots() const;
    // Also windows of other Spaces and minimised ones (options 16).
    std::vector<AllowedWindowSnapshot> copyAllWindowSnapshots() const;
    // None when the owner, the bounds or the layer is missing or malformed, or
    // the owner has no bundle identifier.
    std::optional<AllowedWindowSnapshot> parseWindowInfo(const QVariantMap& info) const;

private:
    const platform::WindowListProviding& windowList_;
    BundleIdentifierLookup bundleIdentifierForProcess_;
};

} // namespace vesk
