#pragma once

#include "overlay/MouseInteractionDetecting.h"

namespace vesk::platform {
class SimulatedDesktop;
}

namespace vesk {

// Asks the desktop's combined button state for the left, right and centre
// buttons; a button is down as soon as one of them is.
class SystemMouseInteractionDetector final : public MouseInteractionDetecting {
public:
    explicit SystemMouseInteractionDetector(const platform::SimulatedDesktop& desktop) : desktop_(desktop) {}

    bool isMouseInteractionActive() const override;

private:
    const platform::SimulatedDesktop& desktop_;
};

} // namespace vesk
