#pragma once

#include <QBrush>
#include <QPainterPath>
#include <QPen>
#include <QRectF>

namespace vesk {

// Outlines the views fill and stroke.

// A rounded rectangle with continuous corners: the curvature eases into the
// straight edges instead of jumping at a circular arc. Where the rectangle is
// too small for that, a plain rounded rectangle with the radius capped at
// half the shorter side.
QPainterPath continuousRoundedRect(const QRectF& rect, double radius);

// A rectangle whose shorter sides are half circles.
QPainterPath capsule(const QRectF& rect);

// An ellipse of `width` × `height` around `center`.
QPainterPath ellipse(const QPointF& center, double width, double height);

// A solid stroke: butt caps, miter joins with a miter limit of 10.
QPen strokePen(const QBrush& brush, double width);

} // namespace vesk
