#pragma once

#include "ui/CubicBezierCurve.h"

#include <QDateTime>

namespace vesk {

// A number that moves from one value to another over a time span along a
// timing curve. It holds no timer: a view evaluates it at the clock's current
// date whenever it paints, so a test can render any instant.
class AnimatedValue {
public:
    explicit AnimatedValue(double value = 0) : from_(value), to_(value) { }

    // The presented value at `now`: `from` before the start, the target after
    // the end, the curve's value in between.
    double valueAt(const QDateTime& now) const;
    // The value the animation ends on (the model value).
    double target() const { return to_; }
    bool isAnimating(const QDateTime& now) const;

    // Moves from the value presented at `start` to `to` over `duration` seconds.
    void animate(double to, const QDateTime& start, double duration, const CubicBezierCurve& curve);
    // Jumps to `value` without animation.
    void set(double value);

private:
    double from_;
    double to_;
    QDateTime start_;
    double duration_ = 0;
    CubicBezierCurve curve_ = CubicBezierCurve::linear();
};

// Seconds since 2001-01-01 00:00:00 UTC, the time base of the drawn art's motion.
double secondsSinceReferenceDate(const QDateTime& date);

} // namespace vesk
