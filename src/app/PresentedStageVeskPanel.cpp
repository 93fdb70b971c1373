#include "app/PresentedStageVeskPanel.h"

#include "panels/StageVeskPanelPresenter.h"

namespace vesk {

void PresentedStageVeskPanel::setControlRectsChangedHandler(std::function<void()> handler)
{
    presenter_.setPublishControlRects(std::move(handler));
}

// The presenter knows the session and the stage from the start.
void PresentedStageVeskPanel::show(SessionControlling&, StageVeskControlling&)
{
    presenter_.show();
}

void PresentedStageVeskPanel::dismiss()
{
    presenter_.dismiss();
}

std::vector<Rect> PresentedStageVeskPanel::controlRects() const
{
    return presenter_.controlRects();
}

void PresentedStageVeskPanel::dismissSettingsIfClickOutside(Point cocoaPoint)
{
    presenter_.handleGlobalClick(cocoaPoint);
}

} // namespace vesk
