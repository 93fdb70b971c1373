#pragma once

#include "enforcement/SpaceTransitionProbing.h"

namespace vesk {

// A Space transition probe that samples nothing.
class NoOpSpaceTransitionProbeService final : public SpaceTransitionProbing {
public:
    void activate(const std::set<QString>&) override {}
    void updateAllowedBundleIDs(const std::set<QString>&) override {}
    void startBurst(const QString&, double) override {}
    void deactivate() override {}
};

} // namespace vesk
