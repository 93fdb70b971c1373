#include "overlay/SystemMouseInteractionDetector.h"

namespace vesk {

bool SystemMouseInteractionDetector::isMouseInteractionActive() const
{
    constexpr int kLeft = 0, kRight = 1, kCentre = 2;
    return pointer_.isMouseButtonDown(kLeft) || pointer_.isMouseButtonDown(kRight)
           || pointer_.isMouseButtonDown(kCentre);
}

} // namespace vesk
