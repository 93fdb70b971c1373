#include "core/Geometry.h"

#include <algorithm>
#include <charconv>

namespace vesk {

Rect Rect::standardized() const
{
    if (isNull())
        return null();
    return Rect{minX(), minY(), standardWidth(), standardHeight()};
}

Rect Rect::united(const Rect& other) const
{
    if (isNull())
        return other.standardized();
    if (other.isNull())
        return standardized();
    const double left = std::min(minX(), other.minX());
    const double bottom = std::min(minY(), other.minY());
    const double right = std::max(maxX(), other.maxX());
    const double top = std::max(maxY(), other.maxY());
    return Rect{left, bottom, right - left, top - bottom};
}

Rect Rect::intersected(const Rect& other) const
{
    if (isNull() || other.isNull())
        return null();
    const double left = std::max(minX(), other.minX());
    const double bottom = std::max(minY(), other.minY());
    const double right = std::min(maxX(), other.maxX());
    const double top = std::min(maxY(), other.maxY());
    if (right <= left || top <= bottom)
        return null();
    return Rect{left, bottom, right - left, top - bottom};
}

bool Rect::contains(Point point) const
{
    if (isNull())
        return false;
    return point.x >= minX() && point.x < maxX() && point.y >= minY() && point.y < maxY();
}

bool Rect::contains(const Rect& other) const
{
    if (isNull() || other.isNull())
        return false;
    return other.minX() >= minX() && other.maxX() <= maxX() && other.minY() >= minY() && other.maxY() <= maxY();
}

Rect Rect::insetBy(double dx, double dy) const
{
    if (isNull())
        return null();
    const Rect inset{minX() + dx, minY() + dy, standardWidth() - 2 * dx, standardHeight() - 2 * dy};
    if (inset.width < 0 || inset.height < 0)
        return null();
    return inset;
}

Rect Rect::offsetBy(double dx, double dy) const
{
    if (isNull())
        return null();
    return Rect{x + dx, y + dy, width, height};
}

namespace {

// The shortest text that reads back to the same value, in plain notation for
// any coordinate a display can have; negative zero is written as "0".
void appendNumber(QString& text, double value)
{
    if (value == 0)
        value = 0; // drops the sign of -0
    char buffer[64];
    const auto format = std::abs(value) < 1e16 ? std::chars_format::fixed : std::chars_format::general;
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format);
    text += QLatin1String(buffer, int(result.ptr - buffer));
}

void appendPair(QString& text, double first, double second)
{
    text += QLatin1Char('{');
    appendNumber(text, first);
    text += QLatin1String(", ");
    appendNumber(text, second);
    text += QLatin1Char('}');
}

} // namespace

QString toString(Point point)
{
    QString text;
    appendPair(text, point.x, point.y);
    return text;
}

QString toString(Size size)
{
    QString text;
    appendPair(text, size.width, size.height);
    return text;
}

QString toString(const Rect& rect)
{
    QString text;
    text.reserve(32);
    text += QLatin1Char('{');
    appendPair(text, rect.x, rect.y);
    text += QLatin1String(", ");
    appendPair(text, rect.width, rect.height);
    text += QLatin1Char('}');
    return text;
}

QRectF toQRectF(const Rect& rect)
{
    if (rect.isNull())
        return QRectF();
    return QRectF(rect.x, rect.y, rect.width, rect.height);
}

Rect rectFromQRectF(const QRectF& rect)
{
    return Rect{rect.x(), rect.y(), rect.width(), rect.height()};
}

QPointF toQPointF(Point point)
{
    return QPointF(point.x, point.y);
}

Point pointFromQPointF(QPointF point)
{
    return Point{point.x(), point.y()};
}

QSizeF toQSizeF(Size size)
{
    return QSizeF(size.width, size.height);
}

Size sizeFromQSizeF(QSizeF size)
{
    return Size{size.width(), size.height()};
}

} // namespace vesk
