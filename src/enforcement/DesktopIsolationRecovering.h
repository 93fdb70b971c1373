#pragma once

#include "enforcement/EmergencyRestoring.h"

namespace vesk {

// Desktop isolation as the application's launch and termination see it.
class DesktopIsolationRecovering : public EmergencyRestoring {
public:
    // At launch: removes black desktop panels a previous run left and clears
    // the legacy wallpaper backup. Never fails.
    virtual void recoverIfNeeded() = 0;
};

} // namespace vesk
