#include "ui/HardcoreLockBadge.h"

#include "ui/FittedText.h"
#include "ui/Shapes.h"
#include "ui/Symbol.h"
#include "ui/VeskFont.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

TextStyle titleStyle()
{
    return {.font = VeskFont::interface(HardcoreLockBadge::pointSize, QFont::Medium)};
}

} // namespace

HardcoreLockBadge::HardcoreLockBadge(const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , title_(localizer.translate("HardcoreLockBadge", "Hardcore"))
{
    setToolTip(
        localizer.translate("HardcoreLockBadge", "Hardcore-Modus: Die Session endet nur durch Timer oder Neustart."));
    setAccessibleName(title_);
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void HardcoreLockBadge::setColor(const QColor& color)
{
    color_ = color;
    update();
}

void HardcoreLockBadge::setBackground(const QColor& fill, std::optional<double> cornerRadius)
{
    background_ = fill;
    cornerRadius_ = cornerRadius;
    update();
}

QSize HardcoreLockBadge::sizeHint() const
{
    const QSizeF text = FittedText::fit(title_, titleStyle(), 0).size;
    const double symbol = symbolSide(pointSize);
    const QMargins margins = contentsMargins();
    return {static_cast<int>(std::ceil(symbol + spacing + text.width())) + margins.left() + margins.right(),
            static_cast<int>(std::ceil(std::max(symbol, text.height()))) + margins.top() + margins.bottom()};
}

QSize HardcoreLockBadge::minimumSizeHint() const
{
    return sizeHint();
}

void HardcoreLockBadge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (background_.alpha() > 0) {
        const QRectF bounds = rect();
        painter.fillPath(cornerRadius_ ? continuousRoundedRect(bounds, *cornerRadius_) : capsule(bounds), background_);
    }
    const QRectF content = contentsRect();
    const double symbol = symbolSide(pointSize);
    paintSymbol(painter, Symbol::lockFill, QRectF(content.left(), content.center().y() - symbol / 2, symbol, symbol),
                color_, QFont::Medium);
    const FittedText text = FittedText::fit(title_, titleStyle(), 0);
    const double textLeft = content.left() + symbol + spacing;
    text.paint(painter, QRectF(textLeft, content.top(), content.right() - textLeft + 1, content.height()), color_);
}

} // namespace vesk
