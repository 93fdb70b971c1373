#include "ui/AnimatedValue.h"

namespace vesk {

double AnimatedValue::valueAt(const QDateTime& now) const
{
    if (duration_ <= 0 || !start_.isValid())
        return to_;
    const double elapsed = static_cast<double>(start_.msecsTo(now)) / 1000.0;
    if (elapsed <= 0)
        return from_;
    if (elapsed >= duration_)
        return to_;
    return from_ + (to_ - from_) * curve_.valueAt(elapsed / duration_);
}

bool AnimatedValue::isAnimating(const QDateTime& now) const
{
    if (duration_ <= 0 || !start_.isValid())
        return false;
    return static_cast<double>(start_.msecsTo(now)) / 1000.0 < duration_;
}

void AnimatedValue::animate(double to, const QDateTime& start, double duration, const CubicBezierCurve& curve)
{
    from_ = valueAt(start);
    to_ = to;
    start_ = start;
    duration_ = duration;
    curve_ = curve;
}

void AnimatedValue::set(double value)
{
    from_ = value;
    to_ = value;
    start_ = QDateTime();
    duration_ = 0;
}

double secondsSinceReferenceDate(const QDateTime& date)
{
    constexpr qint64 referenceDateMsecs = 978307200000LL; // 2001-01-01T00:00:00Z
    return static_cast<double>(date.toMSecsSinceEpoch() - referenceDateMsecs) / 1000.0;
}

} // namespace vesk
