#pragma once

#include "logging/VeskLogger.h"
#include "panels/SessionUIControlling.h"

#include <QPointer>
#include <QWidget>

namespace vesk {

class StageVeskPanelPresenter;

// The in-session panel controller until the panels exist: it hides and shows
// the main window and the stage bars, and publishes the stage bars' frames
// as its control rects.
class MainWindowSessionUIController final : public SessionUIControlling {
public:
    void setMainWindow(QWidget* window) { mainWindow_ = window; }
    // The stage bars; the presenter outlives the controller's use of it.
    void setStagePanelPresenter(StageVeskPanelPresenter* presenter);

    void showHUD(SessionManager&) override { }
    void dismissHUD() override { publishVeskControlRects(); }
    void showStageVeskPanel(SessionManager&, StageVeskControlling&) override;
    void dismissStageVeskPanel() override;
    void showAppLaunchPrompt(SessionManager&) override { }
    void dismissAppLaunchPrompt() override { publishVeskControlRects(); }
    void toggleQuickAccessPanel(SessionManager&) override { }
    void dismissQuickAccessPanel() override { publishVeskControlRects(); }
    void toggleBugReportPanel() override { }
    void dismissBugReportPanel() override { publishVeskControlRects(); }
    void handleGlobalClick(Point cocoaPoint) override;
    void hideMainWindow() override;
    void showMainWindow() override;
    void publishVeskControlRects() override;
    void setVeskControlRectsChangedHandler(ControlRectsHandler handler) override { handler_ = std::move(handler); }

private:
    QPointer<QWidget> mainWindow_;
    StageVeskPanelPresenter* stagePanel_ = nullptr;
    ControlRectsHandler handler_;
    VeskLogger logger_{QStringLiteral("SessionUIController")};
};

} // namespace vesk
