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
    if (mainWindow_)
        mainWindow_->show();
    logger_.log(VeskLogLevel::info, QStringLiteral("Main window shown"));
}

void MainWindowSessionUIController::publishVeskControlRects()
{
    if (handler_)
        handler_({});
}

} // namespace vesk
