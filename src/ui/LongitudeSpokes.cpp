#include "ui/LongitudeSpokes.h"

namespace vesk {

namespace {

// The first quadrant, 0° to 90°. Where rounding the ellipse formula to one
// decimal would give 0.1 less (22.5° and 45°), these drawn values hold.
constexpr std::array<std::array<double, 4>, 5> firstQuadrant{{
    {215, 0, 73, 0},
    {198.7, 45.6, 67.5, 15.3},
    {152, 84.2, 51.6, 28.3},
    {82.3, 110, 27.9, 37},
    {0, 119, 0, 40},
}};

std::array<LongitudeSpokes::Spoke, 16> mirrorQuadrant()
{
    // Spoke k lies at k × 22.5°; quadrant q mirrors the first one: 90° to 180°
    // runs back through it with x negated, and so on.
    std::array<LongitudeSpokes::Spoke, 16> spokes{};
    for (int k = 0; k < 16; ++k) {
        const int quadrant = k / 4;
        const int step = k % 4;
        const bool backwards = quadrant % 2 == 1;
        const auto& row = firstQuadrant[static_cast<std::size_t>(backwards ? 4 - step : step)];
        const double sx = quadrant == 1 || quadrant == 2 ? -1 : 1;
        const double sy = quadrant >= 2 ? -1 : 1;
        spokes[static_cast<std::size_t>(k)] = {{sx * row[0], sy * row[1]}, {sx * row[2], sy * row[3]}};
    }
    return spokes;
}

} // namespace

const std::array<LongitudeSpokes::Spoke, 16>& LongitudeSpokes::spokes()
{
    static const std::array<Spoke, 16> spokes = mirrorQuadrant();
    return spokes;
}

QPainterPath LongitudeSpokes::path(const QRectF& rect)
{
    const QPointF center = rect.center();
    QPainterPath path;
    for (const Spoke& spoke : spokes()) {
        path.moveTo(center + spoke.outer);
        path.lineTo(center + spoke.inner);
    }
    return path;
}

} // namespace vesk
