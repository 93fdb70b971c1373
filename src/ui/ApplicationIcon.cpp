#include "ui/ApplicationIcon.h"

#include "ui/Gradient.h"
#include "ui/Shapes.h"

#include <QPainter>

#include <cmath>

namespace vesk {

void paintGenericApplicationIcon(QPainter& painter, const QRectF& box)
{
    const double side = std::min(box.width(), box.height());
    const QRectF square(box.center() - QPointF(side / 2, side / 2), QSizeF(side, side));
    const QRectF tile = square.adjusted(side * 0.09, side * 0.09, -side * 0.09, -side * 0.09);
    const QPainterPath outline = continuousRoundedRect(tile, tile.width() * 0.225);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(outline.translated(0, side * 0.015), rgb(0, 0, 0, 0.22));
    painter.fillPath(outline, LinearGradient{{{0, rgb(238, 240, 244)}, {1, rgb(192, 197, 208)}}}.in(tile));
    painter.strokePath(outline, strokePen(rgb(0, 0, 0, 0.16), std::max(side * 0.012, 0.5)));

    // The "A": two legs and a crossbar.
    const auto point = [&](double x, double y) {
        return tile.topLeft() + QPointF(x * tile.width(), y * tile.height());
    };
    QPen glyph(rgb(112, 118, 132), tile.width() * 0.085, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(glyph);
    painter.drawPolyline(QPolygonF{point(0.27, 0.78), point(0.5, 0.22), point(0.73, 0.78)});
    painter.drawLine(point(0.36, 0.58), point(0.64, 0.58));
    painter.restore();
}

QPixmap genericApplicationIcon(double side, double devicePixelRatio)
{
    const int pixels = static_cast<int>(std::ceil(side * devicePixelRatio));
    QPixmap pixmap(pixels, pixels);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paintGenericApplicationIcon(painter, QRectF(0, 0, side, side));
    return pixmap;
}

} // namespace vesk
