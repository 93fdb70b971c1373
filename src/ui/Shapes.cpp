#include "ui/Shapes.h"

#include <algorithm>

namespace vesk {

namespace {

// A continuous corner reaches this many radii along each edge; the control
// points below trace its curvature.
constexpr double cornerReach = 1.52866483;

// Appends the corner at `corner` that turns from direction `in` to direction
// `out` (unit axis vectors), starting `cornerReach` radii before the corner.
void appendCorner(QPainterPath& path, const QPointF& corner, const QPointF& in, const QPointF& out, double r)
{
    const auto at = [&](double along, double across) { return corner - in * (along * r) + out * (across * r); };
    path.lineTo(at(cornerReach, 0));
    path.cubicTo(at(1.08849323, 0), at(0.86840689, 0), at(0.63149399, 0.07491100));
    path.cubicTo(at(0.37282392, 0.16905899), at(0.16905899, 0.37282392), at(0.07491100, 0.63149399));
    path.cubicTo(at(0, 0.86840689), at(0, 1.08849323), at(0, cornerReach));
}

} // namespace

QPainterPath continuousRoundedRect(const QRectF& rect, double radius)
{
    QPainterPath path;
    const QRectF r = rect.normalized();
    const double shorterHalf = std::min(r.width(), r.height()) / 2;
    if (radius <= 0) {
        path.addRect(r);
        return path;
    }
    if (radius * cornerReach > shorterHalf) {
        const double capped = std::min(radius, shorterHalf);
        path.addRoundedRect(r, capped, capped);
        return path;
    }
    const QPointF right(1, 0), down(0, 1), left(-1, 0), up(0, -1);
    path.moveTo(r.left() + cornerReach * radius, r.top());
    appendCorner(path, r.topRight(), right, down, radius);
    appendCorner(path, r.bottomRight(), down, left, radius);
    appendCorner(path, r.bottomLeft(), left, up, radius);
    appendCorner(path, r.topLeft(), up, right, radius);
    path.closeSubpath();
    return path;
}

QPainterPath capsule(const QRectF& rect)
{
    const QRectF r = rect.normalized();
    const double radius = std::min(r.width(), r.height()) / 2;
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QPainterPath ellipse(const QPointF& center, double width, double height)
{
    QPainterPath path;
    path.addEllipse(center, width / 2, height / 2);
    return path;
}

QPen strokePen(const QBrush& brush, double width)
{
    QPen pen(brush, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    return pen;
}

} // namespace vesk
