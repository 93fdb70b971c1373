#pragma once

namespace vesk {

// A timing curve through (0, 0) and (1, 1) with the control points
// (x1, y1) and (x2, y2), as animation timing functions define it.
struct CubicBezierCurve {
    double x1 = 0;
    double y1 = 0;
    double x2 = 1;
    double y2 = 1;

    // The eased progress for a linear progress in [0, 1] (clamped outside).
    double valueAt(double progress) const;

    bool operator==(const CubicBezierCurve&) const = default;

    static constexpr CubicBezierCurve linear() { return {0, 0, 1, 1}; }
    static constexpr CubicBezierCurve easeIn() { return {0.42, 0, 1, 1}; }
    static constexpr CubicBezierCurve easeOut() { return {0, 0, 0.58, 1}; }
    static constexpr CubicBezierCurve easeInOut() { return {0.42, 0, 0.58, 1}; }
};

} // namespace vesk
