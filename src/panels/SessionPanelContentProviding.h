#pragma once

#include "panels/StageVeskPanelManaging.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace vesk {

class SessionManager;

// What the session UI controller shows in its panels and asks of the
// session: the composition, which sees the session manager, the views and the
// bug-report form, builds the content for each showing. Every view returned
// is new and goes to the panel that hosts it.
class SessionPanelContentProviding {
public:
    struct AppLaunchPromptContent {
        QString bundleID;
        QWidget* view = nullptr;
    };

    virtual ~SessionPanelContentProviding() = default;

    virtual QWidget* makeHUDView(SessionManager& manager) = 0;
    // `onClose` closes the panel (the view's own close button).
    virtual QWidget* makeQuickAccessView(SessionManager& manager, std::function<void()> onClose) = 0;
    // None when the manager has no pending prompt.
    virtual std::optional<AppLaunchPromptContent> makeAppLaunchPromptView(SessionManager& manager) = 0;
    virtual QWidget* makeBugReportView(std::function<void()> onClose) = 0;
    virtual std::unique_ptr<StageVeskPanelManaging> makeStageVeskPanel() = 0;
    // The allowed-app recovery that follows closing the quick-access panel
    // ("quickAccessPanelClosed", every application, no window loss).
    virtual void requestQuickAccessRecovery(SessionManager& manager) = 0;
};

} // namespace vesk
