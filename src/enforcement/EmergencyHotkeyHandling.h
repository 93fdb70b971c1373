#pragma once

#include <functional>

namespace vesk {

// Watches for the emergency hotkey (Command+Shift+Escape).
class EmergencyHotkeyHandling {
public:
    virtual ~EmergencyHotkeyHandling() = default;
    // `onTrigger` is called on the main thread each time the hotkey fires.
    virtual void activate(std::function<void()> onTrigger) = 0;
    virtual void deactivate() = 0;
};

} // namespace vesk
