#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QPointF>
#include <QRadialGradient>
#include <QRectF>

#include <vector>

namespace vesk {

// Gradients as the drawn art describes them: stops, and points given in unit
// coordinates of the rectangle they fill ((0, 0) top left, (1, 1) bottom right).

struct GradientStop {
    double location = 0;
    QColor color;

    bool operator==(const GradientStop&) const = default;
};

struct LinearGradient {
    std::vector<GradientStop> stops;
    QPointF startPoint{0.5, 0}; // top centre
    QPointF endPoint{0.5, 1};   // bottom centre

    // The Qt gradient for filling `rect`.
    QLinearGradient in(const QRectF& rect) const;
    bool operator==(const LinearGradient&) const = default;
};

// Circular, with radii in points (not scaled with the rectangle); inside the
// start radius the first stop's colour, beyond the end radius the last one's.
struct RadialGradient {
    std::vector<GradientStop> stops;
    QPointF center{0.5, 0.5};
    double startRadius = 0;
    double endRadius = 0;

    QRadialGradient in(const QRectF& rect) const;
    bool operator==(const RadialGradient&) const = default;
};

// An sRGB colour from 8-bit components and an opacity.
QColor rgb(int red, int green, int blue, double opacity = 1.0);
// The same colour at another opacity.
QColor withOpacity(const QColor& color, double opacity);

} // namespace vesk
