#include "app/MainWindowSessionUIController.h"

#include "panels/StageVeskPanelPresenter.h"

namespace vesk {

void MainWindowSessionUIController::setStagePanelPresenter(StageVeskPanelPresenter* presenter)
{
    stagePanel_ = presenter;
    if (stagePanel_)
        stagePanel_->setPublishControlRects([this] { publishVeskControlRects(); });
}

void MainWindowSessionUIController::showStageVeskPanel(SessionManager&, StageVeskControlling&)
{
    if (stagePanel_)
        stagePanel_->show();
}

void MainWindowSessionUIController::dismissStageVeskPanel()
{
    if (stagePanel_)
        stagePanel_->dismiss();
    else
        publishVeskControlRects();
}

void MainWindowSessionUIController::handleGlobalClick(Point cocoaPoint)
{
    if (stagePanel_)
        stagePanel_->handleGlobalClick(cocoaPoint);
}

void MainWindowSessionUIController::hideMainWindow()
{
    if (mainWindow_)
        mainWindow_->hide();
    logger_.log(VeskLogLevel::info, QStringLiteral("Main window hidden"));
}

void MainWindowSessionUIController::showMainWindow()
{
    if (mainWindow_) {
        // A window the user minimised before the session comes back too.
        if (mainWindow_->isMinimized())
            mainWindow_->showNormal();
        else
            mainWindow_->show();
        mainWindow_->raise();
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Main window shown"));
}

void MainWindowSessionUIController::publishVeskControlRects()
{
    if (handler_)
        handler_(stagePanel_ ? stagePanel_->controlRects() : std::vector<Rect>{});
}

} // namespace vesk
