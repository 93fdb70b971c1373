#pragma once

#include <QString>

#include <set>

namespace vesk {

// Blocks Space switching: keyboard shortcuts, the Dock fallback and the
// gesture blocker.
class SpaceBlocking {
public:
    virtual ~SpaceBlocking() = default;
    virtual void activate(const std::set<QString>& allowedBundleIDs, bool hardcore) = 0;
    virtual void deactivate() = 0;
    // Replaces the allowed set of the gesture blocker it holds.
    virtual void updateAllowlist(const std::set<QString>& allowedBundleIDs) = 0;
};

} // namespace vesk
