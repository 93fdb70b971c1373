#include "app/PresentedStageVeskPanel.h"

#include "stage/StageVeskService.h"

namespace vesk {

PresentedStageVeskPanel::PresentedStageVeskPanel(StageVeskPanelEnvironment environment, StageVeskService& stage)
    : stage_(&stage)
    , panel_(std::move(environment))
{
}

void PresentedStageVeskPanel::setControlRectsChangedHandler(std::function<void()> handler)
{
    panel_.setControlRectsChangedHandler(std::move(handler));
}

void PresentedStageVeskPanel::show(SessionControlling& session, StageVeskControlling&)
{
    panel_.setSources(&session, stage_);
    panel_.show();
}

void PresentedStageVeskPanel::dismiss()
{
    panel_.dismiss();
}

std::vector<Rect> PresentedStageVeskPanel::controlRects() const
{
    return panel_.controlRects();
}

void PresentedStageVeskPanel::dismissSettingsIfClickOutside(Point cocoaPoint)
{
    panel_.dismissSettingsIfClickOutside(cocoaPoint);
}

} // namespace vesk
