#include "ui/FilledButton.h"

#include "ui/FittedText.h"
#include "ui/Shapes.h"
#include "ui/VeskFont.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vesk {

FilledButton::FilledButton(const QString& title, const Look& look, QWidget* parent)
    : QAbstractButton(parent)
    , look_(look)
{
    setText(title);
    setAccessibleName(title);
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);
}

void FilledButton::setLook(const Look& look)
{
    look_ = look;
    updateGeometry();
    update();
}

QSizeF FilledButton::labelSize() const
{
    if (look_.symbol) {
        const double side = symbolSide(VeskFont::pointSize(look_.textStyle.font));
        return {side, side};
    }
    const QSizeF title = FittedText::fit(text(), look_.textStyle, 0).size;
    if (!look_.leadingIcon)
        return title;
    return {look_.leadingIconSide + look_.iconSpacing + title.width(), std::max(look_.leadingIconSide, title.height())};
}

QSize FilledButton::sizeHint() const
{
    const QSizeF label = labelSize();
    const QMarginsF& p = look_.padding;
    return {static_cast<int>(std::ceil(label.width() + p.left() + p.right())),
            static_cast<int>(std::ceil(label.height() + p.top() + p.bottom()))};
}

QSize FilledButton::minimumSizeHint() const
{
    // A title may shrink and truncate; a symbol keeps its size.
    return look_.symbol ? sizeHint() : QSize(0, sizeHint().height());
}

void FilledButton::paintBackground(QPainter& painter, const QRectF& bounds) const
{
    const QRectF outline = look_.stroke ? bounds.adjusted(0.5, 0.5, -0.5, -0.5) : bounds;
    const QPainterPath shape =
        look_.cornerRadius ? continuousRoundedRect(outline, *look_.cornerRadius) : capsule(outline);
    painter.fillPath(shape, look_.fill);
    if (look_.stroke)
        painter.strokePath(shape, strokePen(*look_.stroke, 1));
}

void FilledButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    paintBackground(painter, bounds);

    const QRectF label = bounds.marginsRemoved(look_.padding);
    if (look_.symbol) {
        const double side = symbolSide(VeskFont::pointSize(look_.textStyle.font));
        const QRectF box(label.center() - QPointF(side / 2, side / 2), QSizeF(side, side));
        paintSymbol(painter, *look_.symbol, box, look_.textColor,
                    static_cast<QFont::Weight>(look_.textStyle.font.weight()));
        return;
    }
    TextStyle style = look_.textStyle;
    style.alignment = Qt::AlignHCenter;
    if (!look_.leadingIcon) {
        FittedText::fit(text(), style, label.width()).paint(painter, label, look_.textColor);
        return;
    }
    // Icon and title as one group, centred.
    const double side = look_.leadingIconSide;
    const FittedText title = FittedText::fit(text(), style, label.width() - side - look_.iconSpacing);
    const double groupWidth = side + look_.iconSpacing + title.size.width();
    const double left = label.center().x() - groupWidth / 2;
    look_.leadingIcon(painter, QRectF(left, label.center().y() - side / 2, side, side));
    title.paint(painter, QRectF(left + side + look_.iconSpacing, label.top(), title.size.width(), label.height()),
                look_.textColor);
}

} // namespace vesk
