#include "ui/Gradient.h"

namespace vesk {

namespace {

QPointF pointIn(const QRectF& rect, const QPointF& unit)
{
    return {rect.left() + unit.x() * rect.width(), rect.top() + unit.y() * rect.height()};
}

} // namespace

QLinearGradient LinearGradient::in(const QRectF& rect) const
{
    QLinearGradient gradient(pointIn(rect, startPoint), pointIn(rect, endPoint));
    for (const GradientStop& stop : stops)
        gradient.setColorAt(stop.location, stop.color);
    return gradient;
}

QRadialGradient RadialGradient::in(const QRectF& rect) const
{
    QRadialGradient gradient(pointIn(rect, center), endRadius);
    if (endRadius <= 0)
        return gradient;
    // Qt's radial gradient starts at the centre: move the stops out so that
    // location 0 lies on the start radius.
    for (const GradientStop& stop : stops) {
        const double radius = startRadius + stop.location * (endRadius - startRadius);
        gradient.setColorAt(radius / endRadius, stop.color);
    }
    if (startRadius > 0 && !stops.empty())
        gradient.setColorAt(0, stops.front().color);
    return gradient;
}

QColor rgb(int red, int green, int blue, double opacity)
{
    QColor color = QColor::fromRgb(red, green, blue);
    color.setAlphaF(static_cast<float>(opacity));
    return color;
}

QColor withOpacity(const QColor& color, double opacity)
{
    QColor result = color;
    result.setAlphaF(static_cast<float>(opacity));
    return result;
}

} // namespace vesk
