#pragma once

#include "enforcement/AXWindowManaging.h"

namespace vesk {

// A window manager without Accessibility access: it sees no windows and
// changes none.
class NoOpAXWindowManager final : public AXWindowManaging {
public:
    WindowCounts minimizedWindowCounts(const QString&) override { return {}; }
    bool raise(const QString&) override { return false; }
    bool setMinimized(const QString&, bool) override { return false; }
};

} // namespace vesk
