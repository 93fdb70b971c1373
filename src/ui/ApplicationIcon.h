#pragma once

#include <QPixmap>
#include <QRectF>

class QPainter;

namespace vesk {

// The icon of an application Vesk knows no icon for: a light tile with a
// drafting "A", in the square `box`.
void paintGenericApplicationIcon(QPainter& painter, const QRectF& box);

// The same as a pixmap `side` points square.
QPixmap genericApplicationIcon(double side, double devicePixelRatio = 1.0);

} // namespace vesk
