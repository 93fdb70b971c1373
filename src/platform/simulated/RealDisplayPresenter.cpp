#include "platform/simulated/RealDisplayPresenter.h"

#include "platform/simulated/DesktopDisplayWindow.h"
#include "platform/simulated/RealInputRouter.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QGuiApplication>
#include <QWindow>

#include <algorithm>

namespace vesk::platform {

RealDisplayPresenter::RealDisplayPresenter(SimulatedDesktop& desktop)
    : desktop_(desktop)
    , capturer_(desktop)
    , router_(std::make_unique<RealInputRouter>(
          desktop, [this](const QPointF& point) { return desktopWindowAt(point); },
          [this](const QWindow* window) { return isDesktopWindow(window); }))
{
    connect(&desktop_, &SimulatedDesktop::screenParametersChanged, this, &RealDisplayPresenter::rebuildWindows);
    connect(&desktop_, &SimulatedDesktop::windowsChanged, this, &RealDisplayPresenter::scheduleRefresh);
    rebuildWindows();
    QCoreApplication::instance()->installEventFilter(router_.get());
}

RealDisplayPresenter::~RealDisplayPresenter()
{
    QCoreApplication::instance()->removeEventFilter(router_.get());
}

bool RealDisplayPresenter::isAvailable()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

bool RealDisplayPresenter::showsRealWindow(WindowNumber number) const
{
    return std::find(realWindows_.begin(), realWindows_.end(), number) != realWindows_.end();
}

void RealDisplayPresenter::rebuildWindows()
{
    windows_.clear();
    realWindows_.clear();
    const auto& displays = desktop_.displays();
    for (int i = 0; i < int(displays.size()); ++i) {
        auto window =
            std::make_unique<DesktopDisplayWindow>(capturer_, i, displays[i].bounds.toAlignedRect(),
                                                   [this](const DesktopWindow& listed) { return drawsWindow(listed); });
        window->show();
        windows_.push_back(std::move(window));
    }
    refresh();
}

void RealDisplayPresenter::scheduleRefresh()
{
    // One refresh for every change of one turn of the event loop.
    if (refreshPending_)
        return;
    refreshPending_ = true;
    QMetaObject::invokeMethod(this, &RealDisplayPresenter::refresh, Qt::QueuedConnection);
}

void RealDisplayPresenter::refresh()
{
    refreshPending_ = false;
    std::vector<WindowNumber> real;
    std::vector<QWindow*> behind;
    for (const DesktopWindow* window : desktop_.windowsOf(desktop_.ownPID())) {
        QWindow* handle = desktop_.ownWindowHandle(window->number);
        if (!handle)
            continue;
        // Off screen in the model (on another Space, say) or covered there.
        if (!desktop_.isOnScreen(*window) || isCovered(*window))
            behind.push_back(handle);
        else
            real.push_back(window->number);
    }
    if (real != realWindows_) {
        // Back to front, so that the real windows stand in the model's order.
        for (auto it = real.rbegin(); it != real.rend(); ++it)
            desktop_.ownWindowHandle(*it)->raise();
        realWindows_ = std::move(real);
    }
    for (const auto& window : windows_)
        window->lower();
    for (QWindow* handle : behind)
        handle->lower();
    for (const auto& window : windows_)
        window->update();
}

bool RealDisplayPresenter::drawsWindow(const DesktopWindow& window) const
{
    if (window.ownerPID != desktop_.ownPID())
        return true;
    return desktop_.ownWindowHandle(window.number) && !showsRealWindow(window.number);
}

bool RealDisplayPresenter::isCovered(const DesktopWindow& window) const
{
    for (const DesktopWindow* other : desktop_.windowsFrontToBack()) {
        if (other->number == window.number)
            return false;
        if (other->ownerPID != desktop_.ownPID() && other->alpha > 0 && desktop_.isOnScreen(*other)
            && other->bounds.intersects(window.bounds))
            return true;
    }
    return false;
}

QWindow* RealDisplayPresenter::desktopWindowAt(const QPointF& quartzPoint) const
{
    for (const auto& window : windows_) {
        if (window->geometry().contains(quartzPoint.toPoint()))
            return window.get();
    }
    return nullptr;
}

bool RealDisplayPresenter::isDesktopWindow(const QWindow* window) const
{
    return std::any_of(windows_.begin(), windows_.end(), [window](const auto& own) { return own.get() == window; });
}

} // namespace vesk::platform
