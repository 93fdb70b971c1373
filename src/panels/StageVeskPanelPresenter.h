#pragma once

#include "core/Geometry.h"
#include "panels/StageVeskPanelEnvironment.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

namespace vesk {

class StageVeskPanel;
class StageVeskService;
class SessionControlling;

// Shows and hides the stage bars for the in-session panel controller: every
// show starts from a new StageVeskPanel, every change of the bars' frames
// asks the controller to publish its control rects again. Main thread only.
class StageVeskPanelPresenter {
public:
    StageVeskPanelPresenter(StageVeskPanelEnvironment environment, SessionControlling& session,
                            StageVeskService& stage);
    ~StageVeskPanelPresenter();
    StageVeskPanelPresenter(const StageVeskPanelPresenter&) = delete;
    StageVeskPanelPresenter& operator=(const StageVeskPanelPresenter&) = delete;

    // The controller's publishing of its control rects.
    void setPublishControlRects(std::function<void()> publish) { publish_ = std::move(publish); }

    // Replaces any shown bars with new ones; without a main screen the new
    // panel shows nothing.
    void show();
    void dismiss();
    // The frames of the visible bars and settings panel (bottom-left).
    std::vector<Rect> controlRects() const;
    // A click observed anywhere on screen (bottom-left).
    void handleGlobalClick(Point cocoaPoint);

    StageVeskPanel* panel() const { return panel_.get(); }

private:
    void publish();

    StageVeskPanelEnvironment environment_;
    QPointer<SessionControlling> session_;
    QPointer<StageVeskService> stage_;
    std::unique_ptr<StageVeskPanel> panel_;
    std::function<void()> publish_;
};

} // namespace vesk
