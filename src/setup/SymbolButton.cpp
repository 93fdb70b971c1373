#include "setup/SymbolButton.h"

#include <QPainter>

#include <cmath>

namespace vesk {

SymbolButton::SymbolButton(Symbol symbol, double pointSize, const QColor& color, QWidget* parent)
    : QAbstractButton(parent)
    , symbol_(symbol)
    , pointSize_(pointSize)
    , color_(color)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize SymbolButton::sizeHint() const
{
    const int side = static_cast<int>(std::ceil(symbolSide(pointSize_)));
    return {side, side};
}

void SymbolButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double side = symbolSide(pointSize_);
    const QRectF box(QPointF(width() - side, height() - side) / 2, QSizeF(side, side));
    paintSymbol(painter, symbol_, box, color_);
}

} // namespace vesk
