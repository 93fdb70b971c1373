#pragma once

#include "enforcement/SpaceMonitoring.h"

namespace vesk {

// A Space monitor that reports no changes.
class NoOpSpaceMonitorService final : public SpaceMonitoring {
public:
    void activate(SpaceChangeHandler) override {}
    void deactivate() override {}
};

} // namespace vesk
