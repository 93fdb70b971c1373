#pragma once

#include "panels/StageVeskPanelManaging.h"

namespace vesk {

// The stage bars' manager while this build has no bars: held during a
// session like the real one (so the HUD gives way to it), it shows nothing
// and reports no frames.
class BarlessStageVeskPanel final : public StageVeskPanelManaging {
public:
    void setControlRectsChangedHandler(std::function<void()>) override { }
    void show(SessionControlling&, StageVeskControlling&) override { }
    void dismiss() override { }
    std::vector<Rect> controlRects() const override { return {}; }
    void dismissSettingsIfClickOutside(Point) override { }
};

} // namespace vesk
