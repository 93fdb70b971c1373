#pragma once

#include "enforcement/DesktopIsolationRecovering.h"
#include "enforcement/DesktopIsolating.h"

namespace vesk {

// Desktop isolation that shows no desktop panels, so there is nothing to
// recover or restore either.
class NoOpDesktopIsolationService final : public DesktopIsolating, public DesktopIsolationRecovering {
public:
    void activate() override {}
    void deactivate(const QString&) override {}
    void recoverIfNeeded() override {}
    void emergencyRestore() override {}
};

} // namespace vesk
