#pragma once

#include "panels/StageVeskPanel.h"
#include "panels/StageVeskPanelManaging.h"

#include <QPointer>

namespace vesk {

class StageVeskService;

// The stage bars as the session UI controller holds them: one StageVeskPanel
// over the application's stage service, new for every show; the controller
// decides when to show and dismiss them.
class PresentedStageVeskPanel final : public StageVeskPanelManaging {
public:
    // The bars close with it.
    PresentedStageVeskPanel(StageVeskPanelEnvironment environment, StageVeskService& stage);

    void setControlRectsChangedHandler(std::function<void()> handler) override;
    // The bars act on the stage service itself, which the controller's stage
    // is an interface of.
    void show(SessionControlling& session, StageVeskControlling& stage) override;
    void dismiss() override;
    std::vector<Rect> controlRects() const override;
    void dismissSettingsIfClickOutside(Point cocoaPoint) override;

    StageVeskPanel& panel() { return panel_; }

private:
    QPointer<StageVeskService> stage_;
    StageVeskPanel panel_;
};

} // namespace vesk
