#include "app/MainWindowSessionUIController.h"

namespace vesk {

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
        handler_({});
}

} // namespace vesk
