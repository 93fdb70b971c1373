#include "overlay/SystemMouseInteractionDetector.h"

#include "platform/SimulatedDesktop.h"

namespace vesk {

bool SystemMouseInteractionDetector::isMouseInteractionActive() const
{
    constexpr int kLeft = 0, kRight = 1, kCentre = 2;
    return desktop_.isMouseButtonDown(kLeft) || desktop_.isMouseButtonDown(kRight)
        || desktop_.isMouseButtonDown(kCentre);
}

} // namespace vesk
