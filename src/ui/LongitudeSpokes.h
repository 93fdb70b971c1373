#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include <array>

namespace vesk {

// The Vesk symbol's 16 longitude spokes: straight segments every 22.5° from
// the outer latitude ellipse (215 × 119 semi-axes) to the inner one (73 × 40),
// around the centre of a rectangle.
class LongitudeSpokes {
public:
    struct Spoke {
        QPointF outer;
        QPointF inner;
    };

    // Offsets from the centre, in spoke order from 0° clockwise on screen
    // (positive y downwards), coordinates to one decimal.
    static const std::array<Spoke, 16>& spokes();

    // Separate move-then-line segments, not a closed figure.
    static QPainterPath path(const QRectF& rect);
};

} // namespace vesk
