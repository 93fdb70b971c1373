#include "session/SessionTeardown.h"

#include "session/DynamicAllowlistController.h"
#include "session/SessionExits.h"
#include "session/SessionNotices.h"

namespace vesk {

SessionTeardown::SessionTeardown(const SessionServices& services, SessionState& state, SessionExits& exits,
                                 SessionNotices& notices, DynamicAllowlistController& allowlist)
    : services_(services)
    , state_(state)
    , exits_(exits)
    , notices_(notices)
    , allowlist_(allowlist)
{
}

void SessionTeardown::deactivateServices()
{
    services_.mouseBlocker->setAllowedWindowControlClickHandler({});
    services_.overlay->setPassthroughRectsChangedHandler({});

    services_.mouseBlocker->deactivate();
    services_.spaceTransitionProbe->deactivate();
    services_.spaceMonitor->deactivate();
    services_.spaceBlocker->deactivate();
    services_.screenshotThumbnailSuppression->deactivate();
    exits_.stopCountdown();
    notices_.clear();

    services_.uiController->dismissQuickAccessPanel();
    services_.uiController->dismissBugReportPanel();
    services_.uiController->dismissStageVeskPanel();
    services_.uiController->dismissHUD();

    services_.stage->setOnAppFullyClosed({});
    services_.stage->deactivate();

    services_.appMonitor->setDisallowedAppHiddenHandler({});
    services_.appMonitor->setAppLaunchNeedingDecisionHandler({});
    services_.appMonitor->deactivate();

    allowlist_.clearPrompt();
    state_.sessionAnchorScreenID = StageVeskScreenID{};
    services_.uiController->dismissAppLaunchPrompt();

    services_.overlay->setAllowedWindowsMissingHandler({});
    services_.overlay->setAllowedWindowsTemporarilyMissingHandler({});
    services_.overlay->setAllowedWindowsOccludedHandler({});
    services_.overlay->deactivate();

    services_.kiosk->deactivate();
    services_.desktopIsolation->deactivate();
    services_.emergencyHotkey->deactivate();
    services_.transitionPresenter->dismissEnteringTransition(false);
}

} // namespace vesk
