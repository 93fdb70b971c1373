#pragma once

#include "enforcement/SpaceBlocking.h"

namespace vesk {

// A Space blocker that blocks nothing.
class NoOpSpaceBlockerService final : public SpaceBlocking {
public:
    void activate(const std::set<QString>&, bool) override {}
    void deactivate() override {}
    void updateAllowlist(const std::set<QString>&) override {}
};

} // namespace vesk
