#include "panels/SessionHUDAppBarItem.h"

#include <algorithm>

namespace vesk {

int hudSortRank(AllowedAppVisibility visibility)
{
    switch (visibility) {
    case AllowedAppVisibility::occluded:
        return 0;
    case AllowedAppVisibility::minimized:
        return 1;
    case AllowedAppVisibility::onOtherSpace:
        return 2;
    case AllowedAppVisibility::notRunning:
        return 3;
    case AllowedAppVisibility::visible:
        return 4;
    }
    return 4;
}

SessionHUDAppBar orderedHUDAppBarItems(const std::vector<AllowedAppVisibilitySnapshot>& snapshots, int limit)
{
    std::vector<SessionHUDAppBarItem> items;
    items.reserve(snapshots.size());
    for (const AllowedAppVisibilitySnapshot& snapshot : snapshots)
        items.push_back({snapshot.bundleID, snapshot.visibility});
    std::stable_sort(items.begin(), items.end(), [](const SessionHUDAppBarItem& a, const SessionHUDAppBarItem& b) {
        const int rankA = hudSortRank(a.visibility);
        const int rankB = hudSortRank(b.visibility);
        if (rankA != rankB)
            return rankA < rankB;
        return QString::compare(a.bundleID, b.bundleID, Qt::CaseSensitive) < 0;
    });
    const int total = static_cast<int>(items.size());
    const int kept = std::clamp(limit, 0, total);
    items.resize(static_cast<size_t>(kept));
    return {std::move(items), std::max(total - kept, 0)};
}

} // namespace vesk
