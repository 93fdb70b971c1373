#include "ui/TextLabel.h"

#include "ui/FittedText.h"

#include <QPainter>

#include <cmath>

namespace vesk {

namespace {

QSize ceiled(const QSizeF& size)
{
    return {static_cast<int>(std::ceil(size.width())), static_cast<int>(std::ceil(size.height()))};
}

} // namespace

TextLabel::TextLabel(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

TextLabel::TextLabel(const QString& text, const TextStyle& style, const QColor& color, QWidget* parent)
    : QWidget(parent)
    , text_(text)
    , style_(style)
    , color_(color)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setAccessibleName(text_);
}

void TextLabel::setText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    setAccessibleName(text_);
    changed();
}

void TextLabel::setStyle(const TextStyle& style)
{
    style_ = style;
    changed();
}

void TextLabel::setColor(const QColor& color)
{
    if (color == color_)
        return;
    color_ = color;
    update();
}

QSize TextLabel::sizeHint() const
{
    return ceiled(FittedText::fit(text_, style_, maximumWidth() < QWIDGETSIZE_MAX ? maximumWidth() : 0).size);
}

QSize TextLabel::minimumSizeHint() const
{
    // A label can always shrink horizontally: it truncates.
    return {0, sizeHint().height()};
}

bool TextLabel::hasHeightForWidth() const
{
    return style_.lineLimit != 1;
}

int TextLabel::heightForWidth(int width) const
{
    return ceiled(FittedText::fit(text_, style_, width).size).height();
}

void TextLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    FittedText::fit(text_, style_, width()).paint(painter, rect(), color_);
}

void TextLabel::changed()
{
    updateGeometry();
    update();
}

} // namespace vesk
