#pragma once

#include "enforcement/AXWindowManaging.h"

namespace vesk {

// A window manager without Accessibility access: it sees no windows and
// changes none.
class NoOpAXWindowManager final : public AXWindowManaging {
public:
    bool setFrame(const QString&, const Rect&) override { return false; }
    bool setPosition(const QString&, const Rect&) override { return false; }
    bool raise(const QString&) override { return false; }
    bool setMinimized(const QString&, bool) override { return false; }
    WindowCounts minimizedWindowCounts(const QString&) override { return {}; }
    bool hide(const QString&) override { return false; }
    bool closeWindow(const QString&, std::optional<Point>) override { return false; }
    bool isFullScreen(const QString&) override { return false; }
    bool exitFullScreen(const QString&) override { return false; }
};

} // namespace vesk
