#include "platform/x11/X11OwnWindows.h"

#include "platform/x11/X11ScreenProvider.h"

#include <algorithm>

namespace vesk::platform {

X11OwnWindows::Entry* X11OwnWindows::find(WindowNumber number)
{
    const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.number == number; });
    return it == entries_.end() ? nullptr : &*it;
}

const X11OwnWindows::Entry* X11OwnWindows::find(WindowNumber number) const
{
    return const_cast<X11OwnWindows*>(this)->find(number);
}

WindowNumber X11OwnWindows::addOwnWindow(const OwnWindowSpec& spec)
{
    Entry entry;
    entry.number = nextNumber_++;
    entry.spec = spec;
    entry.quartzBounds = screens_.quartzRect(spec.frame);
    entries_.insert(entries_.begin(), std::move(entry));
    ++revision_;
    return entries_.front().number;
}

bool X11OwnWindows::updateOwnWindow(WindowNumber number, const OwnWindowSpec& spec)
{
    Entry* entry = find(number);
    if (!entry)
        return false;
    if (entry->spec == spec)
        return true;
    const bool ordersIn = spec.visible && !entry->spec.visible;
    entry->spec = spec;
    entry->quartzBounds = screens_.quartzRect(spec.frame);
    if (ordersIn) {
        const auto index = entry - entries_.data();
        std::rotate(entries_.begin(), entries_.begin() + index, entries_.begin() + index + 1);
    }
    ++revision_;
    return true;
}

void X11OwnWindows::removeOwnWindow(WindowNumber number)
{
    if (std::erase_if(entries_, [&](const Entry& e) { return e.number == number; }) > 0)
        ++revision_;
    if (key_ == number)
        key_.reset();
}

void X11OwnWindows::setOwnWindowRenderer(WindowNumber number, OwnWindowRenderer renderer)
{
    if (Entry* entry = find(number))
        entry->renderer = std::move(renderer);
}

void X11OwnWindows::setOwnWindowHandle(WindowNumber number, QWindow* window)
{
    if (Entry* entry = find(number)) {
        entry->handle = window;
        ++revision_;
    }
}

void X11OwnWindows::makeOwnWindowKey(WindowNumber number)
{
    Entry* entry = find(number);
    if (!entry || !entry->spec.canBecomeKey)
        return;
    key_ = number;
    // On X11 the keyboard goes to a window only by activating it.
    if (entry->handle)
        entry->handle->requestActivate();
}

std::optional<WindowNumber> X11OwnWindows::keyOwnWindow() const
{
    const Entry* entry = key_ ? find(*key_) : nullptr;
    if (!entry || !entry->spec.visible)
        return std::nullopt;
    return key_;
}

std::vector<OwnWindowInfo> X11OwnWindows::ownWindows() const
{
    const std::vector<ScreenInfo> displays = screens_.screens();
    std::vector<OwnWindowInfo> result;
    for (const Entry& entry : entries_) {
        OwnWindowInfo info;
        info.number = entry.number;
        info.isPanel = entry.spec.isPanel;
        info.visible = entry.spec.visible;
        info.level = entry.spec.level;
        info.frame = entry.spec.frame;
        double largest = 0;
        for (int i = 0; i < int(displays.size()); ++i) {
            const QRectF overlap = displays[std::size_t(i)].frame.intersected(entry.spec.frame);
            if (overlap.width() * overlap.height() > largest) {
                largest = overlap.width() * overlap.height();
                info.displayIndex = i;
            }
        }
        result.push_back(info);
    }
    return result;
}

std::optional<quint32> X11OwnWindows::nativeWindow(const Entry& entry)
{
    if (!entry.handle || !entry.handle->handle())
        return std::nullopt;
    return quint32(entry.handle->winId());
}

} // namespace vesk::platform
