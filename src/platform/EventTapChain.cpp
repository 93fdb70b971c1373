#include "platform/EventTapChain.h"

#include <algorithm>

namespace vesk::platform {

EventTapID EventTapChain::addTap(TapLocation location, TapPlacement placement, TapOptions options,
                                 std::uint64_t eventMask, EventTapCallback callback)
{
    Tap tap{nextID_++, location, options, eventMask, std::move(callback), true};
    // Taps are kept in the order events pass them.
    const auto position = std::find_if(taps_.begin(), taps_.end(), [&](const Tap& other) {
        return placement == TapPlacement::headInsert ? other.location >= location : other.location > location;
    });
    const EventTapID id = tap.id;
    taps_.insert(position, std::move(tap));
    return id;
}

EventTapChain::Tap* EventTapChain::findTap(EventTapID id)
{
    const auto it = std::find_if(taps_.begin(), taps_.end(), [id](const Tap& tap) { return tap.id == id; });
    return it == taps_.end() ? nullptr : &*it;
}

const EventTapChain::Tap* EventTapChain::findTap(EventTapID id) const
{
    return const_cast<EventTapChain*>(this)->findTap(id);
}

void EventTapChain::enableTap(EventTapID tap, bool enable)
{
    if (Tap* found = findTap(tap))
        found->enabled = enable;
}

bool EventTapChain::isTapEnabled(EventTapID tap) const
{
    const Tap* found = findTap(tap);
    return found && found->enabled;
}

void EventTapChain::removeTap(EventTapID tap)
{
    std::erase_if(taps_, [tap](const Tap& t) { return t.id == tap; });
}

bool EventTapChain::hasTap(EventTapID tap) const
{
    return findTap(tap) != nullptr;
}

std::vector<EventTapID> EventTapChain::tapsInOrder() const
{
    std::vector<EventTapID> ids;
    for (const Tap& tap : taps_)
        ids.push_back(tap.id);
    return ids;
}

std::uint64_t EventTapChain::swallowingMask() const
{
    std::uint64_t mask = 0;
    for (const Tap& tap : taps_) {
        if (tap.enabled && tap.options != TapOptions::listenOnly)
            mask |= tap.mask;
    }
    return mask;
}

std::uint64_t EventTapChain::enabledMask() const
{
    std::uint64_t mask = 0;
    for (const Tap& tap : taps_) {
        if (tap.enabled)
            mask |= tap.mask;
    }
    return mask;
}

std::vector<EventTapID> EventTapChain::swallowingTaps(int type) const
{
    std::vector<EventTapID> ids;
    for (const Tap& tap : taps_) {
        if (tap.enabled && tap.options != TapOptions::listenOnly && matches(tap.mask, type))
            ids.push_back(tap.id);
    }
    return ids;
}

EventTapChain::Passage EventTapChain::pass(const InputEvent& original) const
{
    InputEvent event = original;
    // A callback may add or remove taps: walk a copy of the order and look each up again.
    for (EventTapID id : tapsInOrder()) {
        const Tap* tap = findTap(id);
        if (!tap || !tap->enabled || !matches(tap->mask, event.type))
            continue;
        const bool listenOnly = tap->options == TapOptions::listenOnly;
        const EventTapCallback callback = tap->callback;
        const auto result = callback(event.type, event);
        if (listenOnly)
            continue;
        if (!result)
            return Passage{std::nullopt, id};
        event = *result;
    }
    return Passage{event, 0};
}

void EventTapChain::notifyDisabled(EventTapID tap, int notice)
{
    Tap* found = findTap(tap);
    if (!found)
        return;
    found->enabled = false;
    InputEvent event;
    event.type = notice;
    const EventTapCallback callback = found->callback;
    callback(notice, event);
}

EventMonitorID EventTapChain::addLocalMonitor(std::uint64_t eventMask, LocalEventMonitor handler)
{
    localMonitors_.push_back(LocalMonitor{nextID_, eventMask, std::move(handler)});
    return nextID_++;
}

EventMonitorID EventTapChain::addGlobalMonitor(std::uint64_t eventMask, GlobalEventMonitor handler)
{
    globalMonitors_.push_back(GlobalMonitor{nextID_, eventMask, std::move(handler)});
    return nextID_++;
}

void EventTapChain::removeMonitor(EventMonitorID monitor)
{
    std::erase_if(localMonitors_, [monitor](const LocalMonitor& m) { return m.id == monitor; });
    std::erase_if(globalMonitors_, [monitor](const GlobalMonitor& m) { return m.id == monitor; });
}

std::uint64_t EventTapChain::localMonitorMask() const
{
    std::uint64_t mask = 0;
    for (const LocalMonitor& monitor : localMonitors_)
        mask |= monitor.mask;
    return mask;
}

std::uint64_t EventTapChain::globalMonitorMask() const
{
    std::uint64_t mask = 0;
    for (const GlobalMonitor& monitor : globalMonitors_)
        mask |= monitor.mask;
    return mask;
}

std::optional<InputEvent> EventTapChain::passLocalMonitors(const InputEvent& original) const
{
    InputEvent event = original;
    const auto monitors = localMonitors_;
    for (const LocalMonitor& monitor : monitors) {
        if (!matches(monitor.mask, event.type))
            continue;
        const auto result = monitor.handler(event);
        if (!result)
            return std::nullopt;
        event = *result;
    }
    return event;
}

void EventTapChain::passGlobalMonitors(const InputEvent& event) const
{
    const auto monitors = globalMonitors_;
    for (const GlobalMonitor& monitor : monitors) {
        if (matches(monitor.mask, event.type))
            monitor.handler(event);
    }
}

void EventTapChain::clear()
{
    taps_.clear();
    localMonitors_.clear();
    globalMonitors_.clear();
}

} // namespace vesk::platform
