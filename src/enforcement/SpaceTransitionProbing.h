#pragma once

#include <QString>

#include <set>

namespace vesk {

// Samples the window list while an allowed application is being revealed, to
// log Space transitions.
class SpaceTransitionProbing {
public:
    virtual ~SpaceTransitionProbing() = default;
    virtual void activate(const std::set<QString>& allowedBundleIDs) = 0;
    // Replaces the allowed set.
    virtual void updateAllowedBundleIDs(const std::set<QString>& allowedBundleIDs) = 0;
    // Samples densely for `durationSeconds`; ignored while inactive.
    virtual void startBurst(const QString& reason, double durationSeconds) = 0;
    virtual void deactivate() = 0;
};

} // namespace vesk
