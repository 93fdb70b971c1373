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

// Reads the system window list into snapshots, front to back. The copy
// functions copy the list and look up every owner afresh on every call; the
// per-frame read keeps its snapshots while the list stays the same.
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
    // The on-screen snapshots for one frame. A list that the provider hands out
    // again unchanged (the same shared copy as last time) keeps the snapshots
    // parsed from it, with the owners looked up then: a window whose owner
    // changes leaves or changes the list. Valid until the next call.
    const std::vector<AllowedWindowSnapshot>& onScreenWindowSnapshots();
    // None when the owner, the bounds or the layer is missing or malformed, or
    // the owner has no bundle identifier.
    std::optional<AllowedWindowSnapshot> parseWindowInfo(const QVariantMap& info) const;

private:
    void parseWindowInfos(const QList<QVariantMap>& infos, std::vector<AllowedWindowSnapshot>& snapshots) const;

    const platform::WindowListProviding& windowList_;
    BundleIdentifierLookup bundleIdentifierForProcess_;
    // The last on-screen list, held so that its storage cannot be reused by a
    // different list, and what it was parsed into.
    QList<QVariantMap> onScreenInfos_;
    std::vector<AllowedWindowSnapshot> onScreenSnapshots_;
};

} // namespace vesk
