#pragma once

#include "enforcement/EmergencyRestoring.h"

namespace vesk {

// The Dock fallback that changes no Dock setting, so it has none to restore.
class NoOpDockMissionControlFallbackService final : public EmergencyRestoring {
public:
    void emergencyRestore() override {}
};

} // namespace vesk
