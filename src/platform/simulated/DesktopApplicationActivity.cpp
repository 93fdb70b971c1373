#include "platform/simulated/DesktopApplicationActivity.h"

#include "platform/simulated/SimulatedDesktop.h"

#include <QCoreApplication>

namespace vesk::platform {

DesktopApplicationActivity::DesktopApplicationActivity(const SimulatedDesktop& desktop, QObject* parent)
    : ApplicationActivity(parent)
    , desktop_(desktop)
{
    connect(&desktop, &SimulatedDesktop::applicationActivated, this, [this](ProcessID pid) {
        if (pid == desktop_.ownPID())
            emit didBecomeActive();
    });
    connect(&desktop, &SimulatedDesktop::applicationDeactivated, this, [this](ProcessID pid) {
        if (pid == desktop_.ownPID())
            emit didResignActive();
    });
    connect(&desktop, &SimulatedDesktop::ownApplicationWillTerminate, this, &DesktopApplicationActivity::terminate);
    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &DesktopApplicationActivity::terminate);
}

bool DesktopApplicationActivity::isActive() const
{
    return desktop_.frontmostPID() == desktop_.ownPID();
}

void DesktopApplicationActivity::terminate()
{
    if (terminated_)
        return;
    terminated_ = true;
    emit willTerminate();
}

} // namespace vesk::platform
