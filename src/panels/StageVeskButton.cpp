#include "panels/StageVeskButton.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace vesk {

namespace {

constexpr double symbolTextSpacing = 4;

} // namespace

StageVeskButton::StageVeskButton(const QString& text, const Look& look, QWidget* parent)
    : QAbstractButton(parent)
    , look_(look)
{
    setText(text);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    if (!look_.fixedSize.isEmpty())
        setFixedSize(look_.fixedSize);
}

void StageVeskButton::setLook(const Look& look)
{
    look_ = look;
    if (!look_.fixedSize.isEmpty())
        setFixedSize(look_.fixedSize);
    updateGeometry();
    update();
}

QSizeF StageVeskButton::contentSize() const
{
    const QFontMetricsF metrics(look_.font);
    const double textWidth = text().isEmpty() ? 0 : metrics.horizontalAdvance(text());
    const double side = look_.symbol ? symbolSide(look_.symbolPointSize) : 0;
    const double spacing = look_.symbol && textWidth > 0 ? symbolTextSpacing : 0;
    return {side + spacing + textWidth, std::max(side, metrics.height())};
}

QSize StageVeskButton::sizeHint() const
{
    if (!look_.fixedSize.isEmpty())
        return look_.fixedSize;
    const QSizeF content = contentSize();
    return {int(std::ceil(content.width() + 2 * look_.horizontalPadding)),
            int(std::ceil(content.height() + 2 * look_.verticalPadding))};
}

void StageVeskButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    if (look_.background.alpha() > 0) {
        QPainterPath shape;
        shape.addRoundedRect(bounds, look_.cornerRadius, look_.cornerRadius);
        painter.fillPath(shape, look_.background);
    }
    QColor foreground = look_.foreground;
    if (isDown())
        foreground.setAlphaF(foreground.alphaF() * 0.6f);

    const QSizeF content = contentSize();
    double x = bounds.center().x() - content.width() / 2;
    if (look_.symbol) {
        const double side = symbolSide(look_.symbolPointSize);
        paintSymbol(painter, *look_.symbol, QRectF(x, bounds.center().y() - side / 2, side, side), foreground,
                    look_.font.weight());
        x += side + symbolTextSpacing;
    }
    if (!text().isEmpty()) {
        painter.setFont(look_.font);
        painter.setPen(foreground);
        painter.drawText(QRectF(x, bounds.top(), bounds.right() - x, bounds.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         text());
    }
}

} // namespace vesk
