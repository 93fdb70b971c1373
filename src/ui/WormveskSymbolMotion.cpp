#include "ui/WormveskSymbolMotion.h"

#include <cmath>
#include <numbers>

namespace vesk {

WormveskSymbolMotion WormveskSymbolMotion::at(double t)
{
    const double w = 2 * std::numbers::pi * t;
    return {
        -22 + 8 * std::sin(w / 22),
        1 + 0.08 * std::sin(w / 27),
        0.5 + 0.5 * std::sin(w / 5),
        0.5 + 0.5 * std::sin(w / 3.6),
    };
}

} // namespace vesk
