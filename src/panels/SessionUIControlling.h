#pragma once

#include "core/Geometry.h"

#include <functional>
#include <vector>

namespace vesk {

class SessionControlling;
class StageVeskControlling;

// The panels shown during a session and the main window. The show and toggle
// operations receive the running session (and the stage) so that the panels'
// views can bind to it. Every show and dismiss republishes the panel frames.
class SessionUIControlling {
public:
    // Frames of the visible panels, bottom-left (Cocoa) global coordinates.
    using ControlRectsHandler = std::function<void(const std::vector<Rect>& rects)>;

    virtual ~SessionUIControlling() = default;

    // Skipped while the stage panels are shown.
    virtual void showHUD(SessionControlling& session) = 0;
    virtual void dismissHUD() = 0;
    virtual void showStageVeskPanel(SessionControlling& session, StageVeskControlling& stage) = 0;
    virtual void dismissStageVeskPanel() = 0;
    // Shows the panel for the manager's pending app-launch prompt.
    virtual void showAppLaunchPrompt(SessionControlling& session) = 0;
    virtual void dismissAppLaunchPrompt() = 0;
    virtual void toggleQuickAccessPanel(SessionControlling& session) = 0;
    virtual void dismissQuickAccessPanel() = 0;
    virtual void toggleBugReportPanel() = 0;
    virtual void dismissBugReportPanel() = 0;
    // Each open panel that does not contain the point closes itself.
    virtual void handleGlobalClick(Point cocoaPoint) = 0;
    virtual void hideMainWindow() = 0;
    virtual void showMainWindow() = 0;
    // Calls the control-rects handler with the frames of the visible panels.
    virtual void publishVeskControlRects() = 0;
    virtual void setVeskControlRectsChangedHandler(ControlRectsHandler handler) = 0;
};

} // namespace vesk
