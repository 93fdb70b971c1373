#include "ui/CubicBezierCurve.h"

#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

// One coordinate of the curve at parameter t, with the end points 0 and 1.
double bezier(double t, double p1, double p2)
{
    const double u = 1 - t;
    return 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t;
}

double bezierSlope(double t, double p1, double p2)
{
    const double u = 1 - t;
    return 3 * u * u * p1 + 6 * u * t * (p2 - p1) + 3 * t * t * (1 - p2);
}

} // namespace

double CubicBezierCurve::valueAt(double progress) const
{
    const double x = std::clamp(progress, 0.0, 1.0);
    if (x == 0 || x == 1)
        return x;

    // x(t) rises monotonically for control x values in [0, 1]: Newton steps
    // from a linear guess, falling back to bisection where the slope is flat.
    double t = x;
    for (int i = 0; i < 8; ++i) {
        const double error = bezier(t, x1, x2) - x;
        if (std::abs(error) < 1e-12)
            return bezier(t, y1, y2);
        const double slope = bezierSlope(t, x1, x2);
        if (std::abs(slope) < 1e-9)
            break;
        t = std::clamp(t - error / slope, 0.0, 1.0);
    }
    double low = 0;
    double high = 1;
    t = x;
    for (int i = 0; i < 60; ++i) {
        const double value = bezier(t, x1, x2);
        if (std::abs(value - x) < 1e-12)
            break;
        (value < x ? low : high) = t;
        t = (low + high) / 2;
    }
    return bezier(t, y1, y2);
}

} // namespace vesk
