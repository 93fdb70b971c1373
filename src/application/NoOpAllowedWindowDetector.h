#pragma once

#include "session/AllowedWindowDetecting.h"

namespace vesk {

// Sees no allowed window, so a session start waits out the waiter's deadline.
class NoOpAllowedWindowDetector final : public AllowedWindowDetecting {
public:
    Result detectAllowedWindows(const std::set<QString>&) const override { return {}; }
};

} // namespace vesk
