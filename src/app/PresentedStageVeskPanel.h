#pragma once

#include "panels/StageVeskPanelManaging.h"

namespace vesk {

class StageVeskPanelPresenter;

// The stage bars' manager as the session UI controller holds it, over the
// application's one presenter of the bars: showing starts new bars, and the
// bars' changes publish the controller's control rects.
class PresentedStageVeskPanel final : public StageVeskPanelManaging {
public:
    explicit PresentedStageVeskPanel(StageVeskPanelPresenter& presenter) : presenter_(presenter) { }

    void setControlRectsChangedHandler(std::function<void()> handler) override;
    void show(SessionControlling& session, StageVeskControlling& stage) override;
    void dismiss() override;
    std::vector<Rect> controlRects() const override;
    void dismissSettingsIfClickOutside(Point cocoaPoint) override;

private:
    StageVeskPanelPresenter& presenter_;
};

} // namespace vesk
