#include "platform/simulated/DesktopOwnWindows.h"

#include "platform/simulated/DesktopWindowStack.h"
#include "platform/simulated/SimulatedDesktop.h"

namespace vesk::platform {

DesktopOwnWindows::DesktopOwnWindows(SimulatedDesktop& desktop) : desktop_(desktop)
{
}

bool DesktopOwnWindows::isOwn(const DesktopWindow* window) const
{
    return window && window->ownerPID == desktop_.ownPID();
}

DesktopWindow DesktopOwnWindows::windowFromSpec(const OwnWindowSpec& spec) const
{
    DesktopWindow window;
    window.ownerPID = desktop_.ownPID();
    window.title = spec.title;
    window.layer = spec.level;
    window.bounds = desktop_.quartzRect(spec.frame);
    window.alpha = spec.alpha;
    window.orderedIn = spec.visible;
    window.isPanel = spec.isPanel;
    window.ignoresMouseEvents = spec.ignoresMouseEvents;
    window.canBecomeKey = spec.canBecomeKey;
    window.shadowMargins = spec.shadowMargins;
    window.hasTitleBarButtons = !spec.isPanel;
    const std::vector<DesktopDisplay>& displays = desktop_.displays();
    if (!spec.joinsAllSpaces && !displays.empty())
        window.spaceID = displays[desktop_.displayIndexForCocoaRect(spec.frame).value_or(0)].activeSpaceID;
    return window;
}

WindowNumber DesktopOwnWindows::addOwnWindow(const OwnWindowSpec& spec)
{
    if (desktop_.isOwnProcessCrashed())
        return 0;
    DesktopWindowStack& windows = desktop_.windowStack();
    const WindowNumber number = windows.placeInFront(windowFromSpec(spec));
    windows.windowsDidChange();
    return number;
}

bool DesktopOwnWindows::updateOwnWindow(WindowNumber number, const OwnWindowSpec& spec)
{
    DesktopWindowStack& windows = desktop_.windowStack();
    DesktopWindow* existing = windows.mutableWindow(number);
    if (!isOwn(existing))
        return false;
    DesktopWindow updated = windowFromSpec(spec);
    updated.number = number;
    if (!spec.joinsAllSpaces && existing->spaceID != 0)
        updated.spaceID = existing->spaceID;
    const bool ordersIn = updated.orderedIn && !existing->orderedIn;
    if (updated == *existing)
        return true;
    *existing = updated;
    if (ordersIn)
        windows.bringToFront(number);
    windows.windowsDidChange();
    return true;
}

void DesktopOwnWindows::removeOwnWindow(WindowNumber number)
{
    if (isOwn(desktop_.window(number))) {
        renderers_.erase(number);
        handles_.erase(number);
        desktop_.windowStack().removeWindow(number);
    }
}

void DesktopOwnWindows::dropAll()
{
    DesktopWindowStack& windows = desktop_.windowStack();
    for (WindowNumber number : windows.windowNumbersOf(desktop_.ownPID())) {
        renderers_.erase(number);
        windows.removeWindow(number);
    }
}

void DesktopOwnWindows::makeOwnWindowKey(WindowNumber number)
{
    const DesktopWindow* existing = desktop_.window(number);
    if (isOwn(existing) && existing->canBecomeKey)
        keyOwnWindow_ = number;
}

std::optional<WindowNumber> DesktopOwnWindows::keyOwnWindow() const
{
    if (!keyOwnWindow_)
        return std::nullopt;
    const DesktopWindow* key = desktop_.window(*keyOwnWindow_);
    if (!key || !desktop_.isOnScreen(*key))
        return std::nullopt;
    return keyOwnWindow_;
}

void DesktopOwnWindows::setOwnWindowRenderer(WindowNumber number, OwnWindowRenderer renderer)
{
    if (!isOwn(desktop_.window(number)))
        return;
    if (renderer)
        renderers_[number] = std::move(renderer);
    else
        renderers_.erase(number);
}

const OwnWindowRenderer* DesktopOwnWindows::ownWindowRenderer(WindowNumber number) const
{
    const auto it = renderers_.find(number);
    return it == renderers_.end() ? nullptr : &it->second;
}

void DesktopOwnWindows::setOwnWindowHandle(WindowNumber number, QWindow* window)
{
    if (!window || !isOwn(desktop_.window(number))) {
        handles_.erase(number);
        return;
    }
    handles_[number] = window;
}

QWindow* DesktopOwnWindows::ownWindowHandle(WindowNumber number) const
{
    const auto it = handles_.find(number);
    return it == handles_.end() ? nullptr : it->second.data();
}

std::optional<WindowNumber> DesktopOwnWindows::ownWindowNumber(const QWindow* window) const
{
    for (const auto& [number, handle] : handles_) {
        if (window && handle == window)
            return number;
    }
    return std::nullopt;
}

std::vector<OwnWindowInfo> DesktopOwnWindows::ownWindows() const
{
    std::vector<OwnWindowInfo> result;
    for (const DesktopWindow* window : desktop_.windowsOf(desktop_.ownPID())) {
        OwnWindowInfo info;
        info.number = window->number;
        info.isPanel = window->isPanel;
        info.visible = desktop_.isOnScreen(*window);
        info.level = window->layer;
        info.frame = desktop_.cocoaRect(window->bounds);
        info.displayIndex = desktop_.displayIndexForCocoaRect(info.frame);
        result.push_back(info);
    }
    return result;
}

} // namespace vesk::platform
