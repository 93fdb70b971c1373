#pragma once

#include "enforcement/KioskControlling.h"

namespace vesk {

// Kiosk mode that changes nothing, until the enforcement services arrive.
class NoOpKioskService final : public KioskControlling {
public:
    void activate() override {}
    void deactivate() override {}
};

} // namespace vesk
