#include "panels/StageVeskPanelPresenter.h"

#include "panels/SessionControlling.h"
#include "panels/StageVeskPanel.h"
#include "stage/StageVeskService.h"

namespace vesk {

StageVeskPanelPresenter::StageVeskPanelPresenter(StageVeskPanelEnvironment environment, SessionControlling& session,
                                                 StageVeskService& stage)
    : environment_(std::move(environment))
    , session_(&session)
    , stage_(&stage)
{
}

StageVeskPanelPresenter::~StageVeskPanelPresenter()
{
    if (panel_)
        panel_->dismiss();
}

void StageVeskPanelPresenter::show()
{
    if (panel_)
        panel_->dismiss();
    panel_ = std::make_unique<StageVeskPanel>(environment_);
    // The presenter owns the panel, so it outlives every call of the handler.
    panel_->setControlRectsChangedHandler([this] { publish(); });
    if (environment_.screens.mainScreen()) {
        panel_->dismiss();
        panel_->setSources(session_, stage_);
        panel_->show();
    }
    publish();
}

void StageVeskPanelPresenter::dismiss()
{
    if (panel_)
        panel_->dismiss();
    panel_.reset();
    publish();
}

std::vector<Rect> StageVeskPanelPresenter::controlRects() const
{
    return panel_ ? panel_->controlRects() : std::vector<Rect>{};
}

void StageVeskPanelPresenter::handleGlobalClick(Point cocoaPoint)
{
    if (panel_)
        panel_->dismissSettingsIfClickOutside(cocoaPoint);
}

void StageVeskPanelPresenter::publish()
{
    if (publish_)
        publish_();
}

} // namespace vesk
