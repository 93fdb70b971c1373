#include "screens/ReflectionChip.h"

#include "ui/FittedText.h"
#include "ui/Gradient.h"
#include "ui/Shapes.h"

#include <QPainter>

#include <cmath>

namespace vesk {

namespace {

constexpr double fontSize = 11;
constexpr double verticalPadding = 7;
constexpr double reasonPadding = 10;

TextStyle chipStyle(ReflectionChip::Kind kind)
{
    TextStyle style;
    style.font = VeskFont::interface(fontSize, QFont::DemiBold);
    style.minimumScaleFactor = 0.75;
    style.alignment = kind == ReflectionChip::Kind::choice ? Qt::AlignHCenter : Qt::AlignLeft;
    return style;
}

} // namespace

ReflectionChip::ReflectionChip(const QString& text, Kind kind, const QColor& tint, const VeskTheme& theme,
                               QWidget* parent)
    : QAbstractButton(parent)
    , kind_(kind)
    , tint_(tint)
    , theme_(theme)
{
    setText(text);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ReflectionChip::setSelected(bool selected)
{
    if (selected == selected_)
        return;
    selected_ = selected;
    update();
}

QSize ReflectionChip::sizeHint() const
{
    const FittedText natural = FittedText::fit(text(), chipStyle(kind_), 0);
    const double sides = kind_ == Kind::reason ? 2 * reasonPadding : 12;
    return QSize(static_cast<int>(std::ceil(natural.size.width() + sides)),
                 static_cast<int>(std::ceil(natural.lineHeight + 2 * verticalPadding)));
}

QSize ReflectionChip::minimumSizeHint() const
{
    return QSize(0, sizeHint().height());
}

void ReflectionChip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor text = theme_.textSecondary;
    QColor fill = theme_.inset;
    QColor border = theme_.hairline;
    if (selected_ && kind_ == Kind::choice) {
        text = tint_;
        fill = withOpacity(tint_, 0.15);
        border = withOpacity(tint_, 0.43);
    } else if (selected_) {
        text = theme_.accent;
        fill = theme_.accentTint;
        border = theme_.accentBorder;
    }
    const QPainterPath outline = continuousRoundedRect(shape, 8);
    painter.fillPath(outline, fill);
    painter.strokePath(outline, strokePen(border, 1));

    const double inset = kind_ == Kind::reason ? reasonPadding : 6;
    const QRectF textBox = QRectF(rect()).adjusted(inset, verticalPadding, -inset, -verticalPadding);
    FittedText::fit(this->text(), chipStyle(kind_), textBox.width()).paint(painter, textBox, text);
}

} // namespace vesk
