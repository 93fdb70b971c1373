#include "setup/RoundedTextButton.h"

#include "ui/Shapes.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace vesk {

RoundedTextButton::RoundedTextButton(const QString& title, const Look& look, QWidget* parent)
    : QAbstractButton(parent)
    , look_(look)
{
    setText(title);
    setAccessibleName(title);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize RoundedTextButton::sizeHint() const
{
    const QFontMetricsF metrics(look_.font);
    return {static_cast<int>(std::ceil(metrics.horizontalAdvance(text()) + 2 * look_.cornerRadius)),
            static_cast<int>(std::ceil(metrics.height() + 2 * look_.verticalPadding))};
}

QSize RoundedTextButton::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

void RoundedTextButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The stroke lies inside the bounds.
    const QPainterPath shape = continuousRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), look_.cornerRadius);
    if (look_.fill)
        painter.fillPath(shape, *look_.fill);
    if (look_.stroke)
        painter.strokePath(shape, strokePen(*look_.stroke, 1));
    painter.setFont(look_.font);
    painter.setPen(look_.textColor);
    painter.drawText(rect(), Qt::AlignCenter, text());
}

} // namespace vesk
