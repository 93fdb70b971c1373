#pragma once

#include "enforcement/MouseBlocking.h"

namespace vesk {

// A click blocker that lets every click through (the fail-open state).
class NoOpMouseBlockerService final : public MouseBlocking {
public:
    void activate(const std::set<QString>&) override {}
    void updateAllowlist(const std::set<QString>&) override {}
    void deactivate() override {}
    void updateVeskControlRects(const std::vector<Rect>&) override {}
    void setVisiblePassthroughRects(const std::vector<Rect>&) override {}
    void setAllowedWindowControlClickHandler(ControlClickHandler) override {}
    void setClickObserver(ClickObserver) override {}
};

} // namespace vesk
