#include "platform/simulated/DesktopWindowStack.h"

#include "platform/simulated/DesktopDisplayLayout.h"
#include "platform/simulated/DesktopProcesses.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <algorithm>

namespace vesk::platform {

namespace {

bool containsPoint(const QRectF& rect, const QPointF& point)
{
    return point.x() >= rect.left() && point.x() < rect.right() && point.y() >= rect.top() && point.y() < rect.bottom();
}

} // namespace

DesktopWindowStack::DesktopWindowStack(SimulatedDesktop& desktop) : desktop_(desktop)
{
}

int DesktopWindowStack::resolveSpace(const WindowSpec& spec, const QRectF& bounds) const
{
    const std::vector<DesktopDisplay>& displays = desktop_.displays();
    if (spec.onAllSpaces || spec.desktopElement || displays.empty())
        return 0;
    int display = spec.display.value_or(desktop_.displayIndexForQuartzRect(bounds).value_or(0));
    display = std::clamp(display, 0, int(displays.size()) - 1);
    const DesktopDisplay& d = displays[display];
    if (spec.space && *spec.space >= 0 && *spec.space < int(d.spaceIDs.size()))
        return d.spaceIDs[*spec.space];
    return d.activeSpaceID;
}

WindowNumber DesktopWindowStack::addWindow(ProcessID owner, const WindowSpec& spec)
{
    DesktopWindow window;
    window.ownerPID = owner;
    window.title = spec.title;
    window.layer = spec.layer;
    window.bounds = spec.bounds;
    window.alpha = spec.alpha;
    window.spaceID = resolveSpace(spec, spec.bounds);
    window.minimized = spec.minimized;
    window.desktopElement = spec.desktopElement;
    window.hasTitleBarButtons = spec.hasTitleBarButtons && !spec.desktopElement;
    window.accessibilityWritable = spec.accessibilityWritable;
    const WindowNumber number = placeInFront(window);
    if (spec.fullScreen)
        setWindowFullScreen(number, true);
    windowsDidChange();
    return number;
}

WindowNumber DesktopWindowStack::placeInFront(DesktopWindow window)
{
    window.number = nextWindowNumber_++;
    windows_.emplace(window.number, window);
    stack_.insert(stack_.begin(), window.number);
    return window.number;
}

void DesktopWindowStack::removeWindow(WindowNumber number)
{
    if (windows_.erase(number) == 0)
        return;
    stack_.erase(std::remove(stack_.begin(), stack_.end(), number), stack_.end());
    desktop_.processes().forgetMainWindow(number);
    windowsDidChange();
}

void DesktopWindowStack::dropWindowsOf(ProcessID pid)
{
    for (WindowNumber number : windowNumbersOf(pid)) {
        windows_.erase(number);
        stack_.erase(std::remove(stack_.begin(), stack_.end(), number), stack_.end());
    }
}

void DesktopWindowStack::transferWindows(ProcessID from, ProcessID to)
{
    for (auto& [number, window] : windows_) {
        if (window.ownerPID == from)
            window.ownerPID = to;
    }
}

void DesktopWindowStack::moveWindowsOffSpaces(const std::vector<int>& spaceIDs, int targetSpaceID, const QPointF& shift)
{
    for (auto& [number, window] : windows_) {
        if (std::find(spaceIDs.begin(), spaceIDs.end(), window.spaceID) == spaceIDs.end())
            continue;
        window.spaceID = targetSpaceID;
        window.bounds.translate(shift);
    }
}

const DesktopWindow* DesktopWindowStack::window(WindowNumber number) const
{
    const auto it = windows_.find(number);
    return it == windows_.end() ? nullptr : &it->second;
}

DesktopWindow* DesktopWindowStack::mutableWindow(WindowNumber number)
{
    const auto it = windows_.find(number);
    return it == windows_.end() ? nullptr : &it->second;
}

std::vector<WindowNumber> DesktopWindowStack::windowNumbersOf(ProcessID pid) const
{
    std::vector<WindowNumber> owned;
    for (const auto& [number, window] : windows_) {
        if (window.ownerPID == pid)
            owned.push_back(number);
    }
    return owned;
}

std::vector<const DesktopWindow*> DesktopWindowStack::windowsFrontToBack() const
{
    std::vector<const DesktopWindow*> ordered;
    ordered.reserve(stack_.size());
    for (WindowNumber number : stack_)
        ordered.push_back(&windows_.at(number));
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const DesktopWindow* a, const DesktopWindow* b) { return a->layer > b->layer; });
    return ordered;
}

std::vector<const DesktopWindow*> DesktopWindowStack::windowsOf(ProcessID pid) const
{
    std::vector<const DesktopWindow*> owned;
    for (const DesktopWindow* window : windowsFrontToBack()) {
        if (window->ownerPID == pid)
            owned.push_back(window);
    }
    return owned;
}

bool DesktopWindowStack::isOnScreen(const DesktopWindow& window) const
{
    const DesktopApplication* app = desktop_.application(window.ownerPID);
    // Hiding the Finder leaves the desktop in place; only its other windows go.
    const bool hiddenWithItsApplication = app && app->hidden && !window.desktopElement;
    if (!app || app->terminated || hiddenWithItsApplication || window.minimized || !window.orderedIn)
        return false;
    if (window.spaceID == 0)
        return true;
    const auto display = desktop_.displayIndexOfSpace(window.spaceID);
    return display && desktop_.displays()[*display].activeSpaceID == window.spaceID;
}

std::optional<int> DesktopWindowStack::displayIndexOfWindow(const DesktopWindow& window) const
{
    return desktop_.displayIndexForQuartzRect(window.bounds);
}

const DesktopWindow* DesktopWindowStack::windowAt(const QPointF& quartzPoint) const
{
    for (const DesktopWindow* window : windowsFrontToBack()) {
        if (window->ignoresMouseEvents || window->alpha <= 0 || !isOnScreen(*window))
            continue;
        if (containsPoint(window->bounds, quartzPoint))
            return window;
    }
    return nullptr;
}

void DesktopWindowStack::bringToFront(WindowNumber number)
{
    stack_.erase(std::remove(stack_.begin(), stack_.end(), number), stack_.end());
    stack_.insert(stack_.begin(), number);
}

void DesktopWindowStack::raiseWindow(WindowNumber number)
{
    if (!window(number))
        return;
    bringToFront(number);
    windowsDidChange();
}

void DesktopWindowStack::setWindowBounds(WindowNumber number, const QRectF& quartzBounds)
{
    DesktopWindow* w = mutableWindow(number);
    if (!w || w->bounds == quartzBounds)
        return;
    w->bounds = quartzBounds;
    windowsDidChange();
}

void DesktopWindowStack::setWindowMinimized(WindowNumber number, bool minimized)
{
    DesktopWindow* w = mutableWindow(number);
    if (!w || w->minimized == minimized)
        return;
    w->minimized = minimized;
    if (!minimized)
        bringToFront(number);
    windowsDidChange();
}

void DesktopWindowStack::setWindowFullScreen(WindowNumber number, bool fullScreen)
{
    DesktopWindow* w = mutableWindow(number);
    if (!w || w->fullScreen == fullScreen)
        return;
    const std::vector<DesktopDisplay>& displays = desktop_.displays();
    if (fullScreen) {
        if (!w->zoomed)
            w->restoreBounds = w->bounds;
        if (!displays.empty())
            w->bounds = displays[displayIndexOfWindow(*w).value_or(0)].bounds;
    } else {
        w->bounds = w->restoreBounds;
        w->zoomed = false;
    }
    w->fullScreen = fullScreen;
    windowsDidChange();
}

void DesktopWindowStack::setWindowZoomed(WindowNumber number, bool zoomed)
{
    DesktopWindow* w = mutableWindow(number);
    if (!w || w->zoomed == zoomed || w->fullScreen)
        return;
    const std::vector<DesktopDisplay>& displays = desktop_.displays();
    if (zoomed) {
        w->restoreBounds = w->bounds;
        if (!displays.empty()) {
            const DesktopDisplay& d = displays[displayIndexOfWindow(*w).value_or(0)];
            w->bounds = desktop_.quartzRect(d.visibleFrame);
        }
    } else {
        w->bounds = w->restoreBounds;
    }
    w->zoomed = zoomed;
    windowsDidChange();
}

void DesktopWindowStack::setWindowAlpha(WindowNumber number, double alpha)
{
    DesktopWindow* w = mutableWindow(number);
    if (!w || w->alpha == alpha)
        return;
    w->alpha = alpha;
    windowsDidChange();
}

void DesktopWindowStack::moveWindowToSpace(WindowNumber number, int spaceID)
{
    DesktopWindow* w = mutableWindow(number);
    if (!w || w->spaceID == spaceID || (spaceID != 0 && !desktop_.displayIndexOfSpace(spaceID)))
        return;
    w->spaceID = spaceID;
    windowsDidChange();
}

void DesktopWindowStack::pressTitleBarButton(WindowNumber number, AXElement::Kind button)
{
    const DesktopWindow* w = window(number);
    if (!w)
        return;
    switch (button) {
    case AXElement::Kind::closeButton:
        removeWindow(number);
        break;
    case AXElement::Kind::minimizeButton:
        setWindowMinimized(number, true);
        break;
    case AXElement::Kind::zoomButton:
        setWindowFullScreen(number, !w->fullScreen);
        break;
    default:
        break;
    }
}

void DesktopWindowStack::windowsDidChange()
{
    ++revision_;
    emit desktop_.windowsChanged();
}

} // namespace vesk::platform
