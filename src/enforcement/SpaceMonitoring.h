#pragma once

#include "enforcement/SpaceChangeContext.h"

#include <functional>

namespace vesk {

// Observes changes of the active Space.
class SpaceMonitoring {
public:
    using SpaceChangeHandler = std::function<void(const SpaceChangeContext& context)>;

    virtual ~SpaceMonitoring() = default;
    // The handler is called on every active-Space change until deactivate().
    virtual void activate(SpaceChangeHandler onSpaceChange) = 0;
    virtual void deactivate() = 0;
};

} // namespace vesk
