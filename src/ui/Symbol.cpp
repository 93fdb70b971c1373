#include "ui/Symbol.h"

#include <QPainter>
#include <QPainterPathStroker>

#include <cmath>
#include <initializer_list>
#include <numbers>

namespace vesk {

namespace {

// Symbols are designed on a 24-unit grid. Outlines are built ten times
// larger, so that the boolean operations flatten curves finely enough for
// large sizes, and scaled down at the end.
constexpr double grid = 24;
constexpr double fine = 10;

QPointF at(double x, double y)
{
    return {x * fine, y * fine};
}

// Stroke width, in grid units, of a weight's lines.
double lineWidth(QFont::Weight weight)
{
    if (weight <= QFont::Light)
        return 1.45;
    if (weight <= QFont::Normal)
        return 1.75;
    if (weight <= QFont::Medium)
        return 2.0;
    if (weight <= QFont::DemiBold)
        return 2.25;
    return 2.55;
}

QPainterPath polyline(std::initializer_list<QPointF> points, bool closed = false)
{
    QPainterPath path;
    bool first = true;
    for (const QPointF& point : points) {
        if (first)
            path.moveTo(point * fine);
        else
            path.lineTo(point * fine);
        first = false;
    }
    if (closed)
        path.closeSubpath();
    return path;
}

QPainterPath circle(double x, double y, double radius)
{
    QPainterPath path;
    path.addEllipse(at(x, y), radius * fine, radius * fine);
    return path;
}

QPainterPath roundedRect(double x, double y, double width, double height, double radius)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(at(x, y), QSizeF(width * fine, height * fine)), radius * fine, radius * fine);
    return path;
}

QPointF onCircle(double x, double y, double radius, double degrees)
{
    const double angle = degrees * std::numbers::pi / 180;
    return {x + radius * std::cos(angle), y + radius * std::sin(angle)};
}

// An arc of a circle; angles in degrees clockwise on screen from 3 o'clock.
QPainterPath arc(double x, double y, double radius, double startDegrees, double sweepDegrees)
{
    QPainterPath path;
    const QRectF box(at(x - radius, y - radius), QSizeF(2 * radius * fine, 2 * radius * fine));
    path.arcMoveTo(box, -startDegrees);
    path.arcTo(box, -startDegrees, -sweepDegrees);
    return path;
}

// An open arrowhead with its tip at `tip`, pointing along `direction` (degrees).
QPainterPath chevron(const QPointF& tip, double directionDegrees, double length)
{
    const QPointF left = onCircle(tip.x(), tip.y(), length, directionDegrees + 180 - 42);
    const QPointF right = onCircle(tip.x(), tip.y(), length, directionDegrees + 180 + 42);
    return polyline({left, tip, right});
}

QPainterPath stroke(const QPainterPath& path, double width, Qt::PenCapStyle cap = Qt::RoundCap,
                    Qt::PenJoinStyle join = Qt::RoundJoin)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width * fine);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(join);
    return stroker.createStroke(path).simplified();
}

// The union of filled outlines (not of centre lines: those have no area).
QPainterPath unite(std::initializer_list<QPainterPath> paths)
{
    QPainterPath result;
    for (const QPainterPath& path : paths)
        result = result.united(path);
    return result;
}

QPainterPath cameraFill(double w)
{
    const QPainterPath body = unite({roundedRect(2, 7, 20, 13.4, 3.2), roundedRect(7.8, 4.4, 8.4, 5, 1.6)});
    const double lens = 4.7;
    return body.subtracted(circle(12, 13.7, lens)).united(circle(12, 13.7, lens - w));
}

// The two strokes of a cross, as centre lines.
QPainterPath xmarkLines(double inset)
{
    QPainterPath lines = polyline({{inset, inset}, {grid - inset, grid - inset}});
    lines.addPath(polyline({{grid - inset, inset}, {inset, grid - inset}}));
    return lines;
}

QPainterPath exclamation(double top, double bottom, double dot, double w)
{
    return unite({stroke(polyline({{12, top}, {12, bottom}}), w), circle(12, dot, w * 0.68)});
}

QPainterPath roundedTriangle()
{
    return polyline({{12, 3.4}, {21.6, 20.1}, {2.4, 20.1}}, true);
}

QPainterPath exclamationmarkTriangleFill(double w)
{
    const QPainterPath triangle = unite({roundedTriangle(), stroke(roundedTriangle(), 2.4)});
    return triangle.subtracted(exclamation(9.2, 13.9, 16.9, w * 1.05));
}

QPainterPath exclamationmarkBubble(double w)
{
    const QPainterPath bubble =
        unite({roundedRect(2.6, 3.4, 18.8, 13.6, 4.4), polyline({{6, 15}, {5.2, 20.8}, {11.5, 16.4}}, true)});
    return unite({stroke(bubble, w), exclamation(7.2, 10.9, 13.7, w)});
}

QPainterPath clockArrowCirclepath(double w)
{
    const double cx = 13, cy = 12, r = 8.2;
    const QPointF start = onCircle(cx, cy, r, 190);
    // Counter-clockwise travel at the arc's start points down the left side.
    const QPointF tip = start + QPointF(0, 1.4);
    return unite({stroke(arc(cx, cy, r, 190, 300), w), stroke(chevron(tip, 90, 3.3), w),
                  stroke(polyline({{cx, 7.6}, {cx, 12}, {16.2, 14}}), w)});
}

QPainterPath gearshape(double w)
{
    QPainterPath teeth;
    constexpr int count = 8;
    constexpr double outer = 9.7, root = 7.5;
    for (int i = 0; i < count; ++i) {
        const double a = i * 360.0 / count;
        for (const auto& [offset, radius] : {std::pair{-13.0, root}, {-7.5, outer}, {7.5, outer}, {13.0, root}}) {
            const QPointF point = onCircle(12, 12, radius, a + offset) * fine;
            if (teeth.elementCount() == 0)
                teeth.moveTo(point);
            else
                teeth.lineTo(point);
        }
    }
    teeth.closeSubpath();
    return unite({stroke(teeth, w), stroke(circle(12, 12, 3.2), w)});
}

// A padlock's shackle: legs from `legBottom` up to the arc's centre height `arcY`.
QPainterPath shackle(double cx, double arcY, double radius, double legBottom)
{
    QPainterPath path = polyline({{cx - radius, legBottom}, {cx - radius, arcY}});
    path.connectPath(arc(cx, arcY, radius, 180, 180));
    path.lineTo(at(cx + radius, legBottom));
    return path;
}

QPainterPath lockShield(double w)
{
    QPainterPath shield;
    shield.moveTo(at(12, 2.3));
    shield.cubicTo(at(14.8, 3.8), at(17.5, 4.6), at(20, 4.8));
    shield.lineTo(at(20, 11));
    shield.cubicTo(at(20, 16), at(16.6, 19.6), at(12, 21.7));
    shield.cubicTo(at(7.4, 19.6), at(4, 16), at(4, 11));
    shield.lineTo(at(4, 4.8));
    shield.cubicTo(at(6.5, 4.6), at(9.2, 3.8), at(12, 2.3));
    shield.closeSubpath();
    return unite({stroke(shield, w), roundedRect(8.9, 11, 6.2, 5, 1),
                  stroke(shackle(12, 10, 1.9, 11.4), w * 0.85, Qt::FlatCap)});
}

QPainterPath lockFill(double w)
{
    return unite({roundedRect(5, 10.4, 14, 10.6, 2.6), stroke(shackle(12, 8.1, 3.9, 11), w * 1.25, Qt::FlatCap)});
}

QPainterPath eyeSlash(double w)
{
    QPainterPath eye = polyline({{2, 12}});
    eye.quadTo(at(12, 1.4), at(22, 12));
    eye.quadTo(at(12, 22.6), at(2, 12));
    const QPainterPath slash = polyline({{4.4, 3.4}, {19.6, 20.6}});
    const QPainterPath drawn = unite({stroke(eye, w), stroke(circle(12, 12, 3.3), w)});
    return drawn.subtracted(stroke(slash, w * 3.2)).united(stroke(slash, w));
}

QPainterPath folder(double w)
{
    QPainterPath outline;
    outline.moveTo(at(2.8, 6.6));
    outline.quadTo(at(2.8, 4.8), at(4.6, 4.8));
    outline.lineTo(at(9.2, 4.8));
    outline.quadTo(at(9.9, 4.8), at(10.4, 5.3));
    outline.lineTo(at(11.8, 6.8));
    outline.lineTo(at(19.4, 6.8));
    outline.quadTo(at(21.2, 6.8), at(21.2, 8.6));
    outline.lineTo(at(21.2, 17.6));
    outline.quadTo(at(21.2, 19.4), at(19.4, 19.4));
    outline.lineTo(at(4.6, 19.4));
    outline.quadTo(at(2.8, 19.4), at(2.8, 17.6));
    outline.closeSubpath();
    return unite({stroke(outline, w), stroke(polyline({{2.8, 9.6}, {21.2, 9.6}}), w)});
}

QPainterPath arrowClockwise(double w)
{
    const double cx = 12, cy = 13, r = 7.8;
    const double end = 250;
    const QPointF tip = onCircle(cx, cy, r, end) + QPointF(1.2, -0.3);
    return unite({stroke(arc(cx, cy, r, end - 320, 320), w), stroke(chevron(tip, -20, 3.4), w)});
}

QPainterPath paintbrush(double w)
{
    QPainterPath head;
    head.moveTo(at(12.2, 12.1));
    head.cubicTo(at(13.9, 13.5), at(14.1, 15.9), at(12.5, 17.6));
    head.cubicTo(at(10.8, 19.6), at(7.6, 20.6), at(3.4, 20.4));
    head.cubicTo(at(5, 19.3), at(5.5, 17.8), at(6, 16.3));
    head.cubicTo(at(6.8, 13.9), at(9.3, 11.6), at(12.2, 12.1));
    head.closeSubpath();
    return unite({head, stroke(polyline({{20, 4}, {13.6, 11.2}}), w * 1.5)});
}

QPainterPath rectangleOnRectangle(double w)
{
    const QPainterPath front = roundedRect(2.8, 8.4, 14.4, 11.4, 2.2);
    const QPainterPath back = stroke(roundedRect(6.8, 4.2, 14.4, 11.4, 2.2), w).subtracted(front);
    return unite({back, stroke(front, w)});
}

QPainterPath speakerWave2(double w)
{
    const QPainterPath body = polyline({{3, 9.3}, {7, 9.3}, {12, 4.9}, {12, 19.1}, {7, 14.7}, {3, 14.7}}, true);
    return unite(
        {body, stroke(body, w * 0.8), stroke(arc(12.6, 12, 4.4, -42, 84), w), stroke(arc(12.6, 12, 8, -44, 88), w)});
}

QPainterPath buildOutline(Symbol symbol, double w)
{
    switch (symbol) {
    case Symbol::cameraFill:
        return cameraFill(w);
    case Symbol::xmarkCircleFill:
        return circle(12, 12, 10).subtracted(stroke(xmarkLines(8.6), w));
    case Symbol::xmark:
        return stroke(xmarkLines(6.4), w);
    case Symbol::plus:
        return unite({stroke(polyline({{12, 4.8}, {12, 19.2}}), w), stroke(polyline({{4.8, 12}, {19.2, 12}}), w)});
    case Symbol::magnifyingglass:
        return unite({stroke(circle(10.2, 10.2, 6.3), w), stroke(polyline({{14.9, 14.9}, {20.2, 20.2}}), w * 1.35)});
    case Symbol::exclamationmarkTriangleFill:
        return exclamationmarkTriangleFill(w);
    case Symbol::exclamationmarkTriangle:
        return unite({stroke(roundedTriangle(), w), exclamation(9.4, 13.8, 16.8, w)});
    case Symbol::exclamationmarkBubble:
        return exclamationmarkBubble(w);
    case Symbol::clockArrowCirclepath:
        return clockArrowCirclepath(w);
    case Symbol::gearshape:
        return gearshape(w);
    case Symbol::lockShield:
        return lockShield(w);
    case Symbol::lockFill:
        return lockFill(w);
    case Symbol::checkmark:
        return stroke(polyline({{4.8, 12.6}, {9.8, 17.6}, {19.4, 6.4}}), w * 1.1);
    case Symbol::checkmarkCircle:
        return unite({stroke(circle(12, 12, 9.6), w), stroke(polyline({{8, 12.3}, {11, 15.3}, {16.3, 8.9}}), w)});
    case Symbol::eyeSlash:
        return eyeSlash(w);
    case Symbol::folder:
        return folder(w);
    case Symbol::arrowDownCircle:
        return unite({stroke(circle(12, 12, 9.6), w), stroke(polyline({{12, 7}, {12, 16.4}}), w),
                      stroke(chevron({12, 16.6}, 90, 5), w)});
    case Symbol::arrowClockwise:
        return arrowClockwise(w);
    case Symbol::paintbrush:
        return paintbrush(w);
    case Symbol::rectangle3Group:
        return unite({stroke(roundedRect(2.6, 5, 9.4, 14, 2.2), w), stroke(roundedRect(13.8, 5, 7.6, 6.1, 2), w),
                      stroke(roundedRect(13.8, 12.9, 7.6, 6.1, 2), w)});
    case Symbol::rectangleOnRectangle:
        return rectangleOnRectangle(w);
    case Symbol::speakerWave2:
        return speakerWave2(w);
    }
    return {};
}

struct NamedSymbol {
    Symbol symbol;
    const char* name;
};

constexpr NamedSymbol symbolNames[] = {
    {Symbol::cameraFill, "camera.fill"},
    {Symbol::xmarkCircleFill, "xmark.circle.fill"},
    {Symbol::xmark, "xmark"},
    {Symbol::plus, "plus"},
    {Symbol::magnifyingglass, "magnifyingglass"},
    {Symbol::exclamationmarkTriangleFill, "exclamationmark.triangle.fill"},
    {Symbol::exclamationmarkTriangle, "exclamationmark.triangle"},
    {Symbol::exclamationmarkBubble, "exclamationmark.bubble"},
    {Symbol::clockArrowCirclepath, "clock.arrow.circlepath"},
    {Symbol::gearshape, "gearshape"},
    {Symbol::lockShield, "lock.shield"},
    {Symbol::lockFill, "lock.fill"},
    {Symbol::checkmark, "checkmark"},
    {Symbol::checkmarkCircle, "checkmark.circle"},
    {Symbol::eyeSlash, "eye.slash"},
    {Symbol::folder, "folder"},
    {Symbol::arrowDownCircle, "arrow.down.circle"},
    {Symbol::arrowClockwise, "arrow.clockwise"},
    {Symbol::paintbrush, "paintbrush"},
    {Symbol::rectangle3Group, "rectangle.3.group"},
    {Symbol::rectangleOnRectangle, "rectangle.on.rectangle"},
    {Symbol::speakerWave2, "speaker.wave.2"},
};

} // namespace

const std::vector<Symbol>& allSymbols()
{
    static const std::vector<Symbol> symbols = [] {
        std::vector<Symbol> list;
        for (const NamedSymbol& named : symbolNames)
            list.push_back(named.symbol);
        return list;
    }();
    return symbols;
}

QString symbolName(Symbol symbol)
{
    for (const NamedSymbol& named : symbolNames) {
        if (named.symbol == symbol)
            return QString::fromLatin1(named.name);
    }
    return {};
}

std::optional<Symbol> symbolNamed(const QString& name)
{
    for (const NamedSymbol& named : symbolNames) {
        if (name == QLatin1String(named.name))
            return named.symbol;
    }
    return std::nullopt;
}

double symbolSide(double pointSize)
{
    return pointSize * 1.2;
}

QPainterPath symbolPath(Symbol symbol, QFont::Weight weight)
{
    return QTransform::fromScale(1 / fine, 1 / fine).map(buildOutline(symbol, lineWidth(weight)));
}

void paintSymbol(QPainter& painter, Symbol symbol, const QRectF& box, const QColor& color, QFont::Weight weight)
{
    const double side = std::min(box.width(), box.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.center() - QPointF(side / 2, side / 2));
    painter.scale(side / grid, side / grid);
    painter.fillPath(symbolPath(symbol, weight), color);
    painter.restore();
}

QPixmap symbolPixmap(Symbol symbol, double pointSize, const QColor& color, QFont::Weight weight,
                     double devicePixelRatio)
{
    const double side = symbolSide(pointSize);
    const int pixels = static_cast<int>(std::ceil(side * devicePixelRatio));
    QPixmap pixmap(pixels, pixels);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paintSymbol(painter, symbol, QRectF(0, 0, side, side), color, weight);
    return pixmap;
}

} // namespace vesk
