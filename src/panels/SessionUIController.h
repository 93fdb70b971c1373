#pragma once

#include "logging/VeskLogger.h"
#include "panels/AppLaunchPromptPanel.h"
#include "panels/BugReportPanel.h"
#include "panels/LaterDeletion.h"
#include "panels/PanelEnvironment.h"
#include "panels/QuickAccessPanel.h"
#include "panels/SessionHUDPanel.h"
#include "panels/SessionPanelContentProviding.h"
#include "panels/SessionUIControlling.h"
#include "platform/EventTapping.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace vesk {

// Owns every floating window of a running session (HUD, quick access,
// app-launch prompt, bug report and the stage bars' manager) and the main
// window's visibility during it. After every change it publishes the frames
// of its visible panels, then the stage bars' frames, so that the click
// blocker lets clicks on them through. Which panels it holds is its whole
// state. Main thread only.
class SessionUIController final : public SessionUIControlling {
public:
    struct Environment {
        PanelEnvironment panels;
        // Brings Vesk in front, ignoring the other applications.
        std::function<void()> activateApplication;
        // Lets the controller observe the keys that go to other
        // applications; none where nothing else runs.
        platform::EventTapping* eventTaps = nullptr;
    };

    SessionUIController(Environment environment, std::shared_ptr<SessionPanelContentProviding> content);
    ~SessionUIController() override;

    // The window that is hidden during a session. Without one (or once it
    // is gone) the first of our windows that is not a panel stands in.
    void setMainWindow(QWidget* window) { mainWindow_ = window; }

    void showHUD(SessionControlling& session) override;
    void dismissHUD() override;
    void showStageVeskPanel(SessionControlling& session, StageVeskControlling& stage) override;
    void dismissStageVeskPanel() override;
    void showAppLaunchPrompt(SessionControlling& session) override;
    void dismissAppLaunchPrompt() override;
    void toggleQuickAccessPanel(SessionControlling& session) override;
    void dismissQuickAccessPanel() override;
    void toggleBugReportPanel() override;
    void dismissBugReportPanel() override;
    void handleGlobalClick(Point cocoaPoint) override;
    void hideMainWindow() override;
    void showMainWindow() override;
    void publishVeskControlRects() override;
    void setVeskControlRectsChangedHandler(ControlRectsHandler handler) override;

    // The panels held, for tests and the composition; none when not held.
    SessionHUDPanel* hudPanel() const { return hudPanel_.get(); }
    QuickAccessPanel* quickAccessPanel() const { return quickAccessPanel_.get(); }
    AppLaunchPromptPanel* appLaunchPromptPanel() const { return appLaunchPromptPanel_.get(); }
    BugReportPanel* bugReportPanel() const { return bugReportPanel_.get(); }
    StageVeskPanelManaging* stageVeskPanel() const { return stageVeskPanel_.get(); }

private:
    QWidget* mainWindow() const;
    void closeBugReportPanel();
    void watchEscapeElsewhereWhileQuickAccessIsOpen();
    void stopWatchingEscapeElsewhere();

    Environment environment_;
    std::shared_ptr<SessionPanelContentProviding> content_;
    LaterDeletedPtr<SessionHUDPanel> hudPanel_;
    std::unique_ptr<StageVeskPanelManaging> stageVeskPanel_;
    LaterDeletedPtr<QuickAccessPanel> quickAccessPanel_;
    LaterDeletedPtr<BugReportPanel> bugReportPanel_;
    LaterDeletedPtr<AppLaunchPromptPanel> appLaunchPromptPanel_;
    ControlRectsHandler veskControlRectsChangedHandler_;
    std::optional<platform::EventMonitorID> escapeElsewhereMonitor_;
    QPointer<QWidget> mainWindow_;
    VeskLogger logger_{QStringLiteral("SessionUIController")};
    // Held weakly by the panels' close callbacks and the stage bars' handler.
    std::shared_ptr<SessionUIController*> self_;
};

} // namespace vesk
