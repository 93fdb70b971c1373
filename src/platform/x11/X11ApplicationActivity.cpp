#include "platform/x11/X11ApplicationActivity.h"

#include "platform/x11/X11WindowCache.h"

#include <QCoreApplication>

namespace vesk::platform {

X11ApplicationActivity::X11ApplicationActivity(const X11WindowCache& cache, ProcessID ownPID, QObject* parent)
    : ApplicationActivity(parent)
    , cache_(cache)
    , ownPID_(ownPID)
    , active_(isActive())
{
    connect(&cache_, &X11WindowCache::changed, this, &X11ApplicationActivity::update);
    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &X11ApplicationActivity::terminate);
}

bool X11ApplicationActivity::isActive() const
{
    const X11ManagedWindow* window = cache_.window(cache_.activeWindow());
    return window && window->pid == ownPID_;
}

void X11ApplicationActivity::update()
{
    const bool active = isActive();
    if (active == active_)
        return;
    active_ = active;
    if (active)
        emit didBecomeActive();
    else
        emit didResignActive();
}

void X11ApplicationActivity::terminate()
{
    if (terminated_)
        return;
    terminated_ = true;
    emit willTerminate();
}

} // namespace vesk::platform
