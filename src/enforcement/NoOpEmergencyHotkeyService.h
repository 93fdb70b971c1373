#pragma once

#include "enforcement/EmergencyHotkeyHandling.h"

namespace vesk {

// An emergency hotkey that never fires.
class NoOpEmergencyHotkeyService final : public EmergencyHotkeyHandling {
public:
    void activate(std::function<void()>) override {}
    void deactivate() override {}
};

} // namespace vesk
