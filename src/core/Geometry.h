#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <cmath>
#include <limits>

namespace vesk {

// Geometry values with the rectangle rules the whole system relies on:
// - the null rect ("no rect at all", origin at infinity) is distinct from an
//   empty rect (a real position with zero width or height);
// - unions ignore the null rect;
// - rects that only touch along an edge do not intersect: their intersection
//   is the null rect;
// - edges are read from the standardised rect, so a negative size works like
//   the same rect with its origin moved to the other corner.
// None of this says which coordinate system a value is in; names say that
// (`cocoaFrame`, `quartzBounds`).

struct Point {
    double x = 0;
    double y = 0;

    bool operator==(const Point&) const = default;
};

struct Size {
    double width = 0;
    double height = 0;

    bool operator==(const Size&) const = default;
};

struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    static constexpr Rect null()
    {
        constexpr double inf = std::numeric_limits<double>::infinity();
        return Rect{inf, inf, 0, 0};
    }

    // Exact comparison of the four stored values; two null rects are equal.
    bool operator==(const Rect&) const = default;

    Point origin() const { return {x, y}; }
    Size size() const { return {width, height}; }

    bool isNull() const { return std::isinf(x) || std::isinf(y); }
    // Null, or zero width or zero height.
    bool isEmpty() const { return isNull() || width == 0 || height == 0; }

    // Edges and extents of the standardised rect. For the null rect the edges
    // are infinite and the extents zero.
    double minX() const { return width < 0 ? x + width : x; }
    double maxX() const { return width < 0 ? x : x + width; }
    double minY() const { return height < 0 ? y + height : y; }
    double maxY() const { return height < 0 ? y : y + height; }
    double midX() const { return x + width / 2; }
    double midY() const { return y + height / 2; }
    double standardWidth() const { return std::abs(width); }
    double standardHeight() const { return std::abs(height); }

    // The same rect with non-negative width and height; the null rect stays null.
    Rect standardized() const;
    // The smallest rect containing both; a null operand is ignored.
    Rect united(const Rect& other) const;
    // The common part, or the null rect when the rects do not overlap by a
    // positive width and a positive height (edge contact included).
    Rect intersected(const Rect& other) const;
    bool intersects(const Rect& other) const { return !intersected(other).isNull(); }
    // minX <= x < maxX and minY <= y < maxY.
    bool contains(Point point) const;
    // The other rect lies inside this one, edges included. Nothing contains
    // the null rect and the null rect contains nothing.
    bool contains(const Rect& other) const;
    // Moves every edge inwards by dx and dy (outwards when negative). A rect
    // that would get a negative width or height becomes the null rect.
    Rect insetBy(double dx, double dy) const;
    // The null rect stays null.
    Rect offsetBy(double dx, double dy) const;
};

// Text forms used in log lines: "{100, 200}", "{1440, 900}",
// "{{0, 0}, {1440, 900}}". Numbers use the shortest decimal text that reads
// back to the same value ("1440", "0.5", "-12.25"), without exponent for any
// coordinate a display can have; the null rect is
// "{{inf, inf}, {0, 0}}".
QString toString(Point point);
QString toString(Size size);
QString toString(const Rect& rect);

// Conversions at the Qt boundary. The null rect has no Qt counterpart and
// becomes the default QRectF (all zeros).
QRectF toQRectF(const Rect& rect);
Rect rectFromQRectF(const QRectF& rect);
QPointF toQPointF(Point point);
Point pointFromQPointF(QPointF point);
QSizeF toQSizeF(Size size);
Size sizeFromQSizeF(QSizeF size);

} // namespace vesk
