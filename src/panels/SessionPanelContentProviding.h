#pragma once

#include "panels/AppLaunchPrompt.h"
#include "panels/StageVeskPanelManaging.h"

#include <functional>
#include <memory>

class QWidget;

namespace vesk {

class SessionControlling;

// What the session UI controller shows in its panels: the composition, which
// sees the views, the settings, the installed applications, the bug-report
// form and the stage bars, builds the content for each showing. Every view
// returned is new and goes to the panel that hosts it.
class SessionPanelContentProviding {
public:
    virtual ~SessionPanelContentProviding() = default;

    virtual QWidget* makeHUDView(SessionControlling& session) = 0;
    // `onClose` closes the panel (the view's own close button).
    virtual QWidget* makeQuickAccessView(SessionControlling& session, std::function<void()> onClose) = 0;
    virtual QWidget* makeAppLaunchPromptView(SessionControlling& session, const AppLaunchPrompt& prompt) = 0;
    virtual QWidget* makeBugReportView(std::function<void()> onClose) = 0;
    virtual std::unique_ptr<StageVeskPanelManaging> makeStageVeskPanel() = 0;
};

} // namespace vesk
