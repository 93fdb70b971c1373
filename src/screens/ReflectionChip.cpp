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
    return {.font = VeskFont::interface(fontSize, QFont::DemiBold),
            .minimumScaleFactor = 0.75,
            .alignment = kind == ReflectionChip::Kind::choice ? Qt::AlignHCenter : Qt::AlignLeft};
}

double sidePadding(ReflectionChip::Kind kind)
{
    return kind == ReflectionChip::Kind::reason ? reasonPadding : 6;
}

// The text in a chip `width` wide: one line, shrunk where needed; a reason
// that even the smallest size would cut takes a second line instead (half
// the card is narrow for a whole sentence).
FittedText fittedText(const QString& text, ReflectionChip::Kind kind, double width)
{
    TextStyle style = chipStyle(kind);
    const double textWidth = width - 2 * sidePadding(kind);
    FittedText oneLine = FittedText::fit(text, style, textWidth);
    if (!oneLine.truncated || kind == ReflectionChip::Kind::choice)
        return oneLine;
    style.lineLimit = 2;
    return FittedText::fit(text, style, textWidth);
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
    // Reasons side by side share the height of the taller one.
    QSizePolicy policy(QSizePolicy::Expanding, kind_ == Kind::reason ? QSizePolicy::Minimum : QSizePolicy::Fixed);
    policy.setHeightForWidth(kind_ == Kind::reason);
    setSizePolicy(policy);
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
    return QSize(static_cast<int>(std::ceil(natural.size.width() + 2 * sidePadding(kind_))),
                 static_cast<int>(std::ceil(natural.lineHeight + 2 * verticalPadding)));
}

QSize ReflectionChip::minimumSizeHint() const
{
    return QSize(0, sizeHint().height());
}

bool ReflectionChip::hasHeightForWidth() const
{
    return kind_ == Kind::reason;
}

int ReflectionChip::heightForWidth(int width) const
{
    return static_cast<int>(std::ceil(fittedText(text(), kind_, width).size.height() + 2 * verticalPadding));
}

bool ReflectionChip::showsWholeText() const
{
    return !fittedText(text(), kind_, width()).truncated;
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

    const double inset = sidePadding(kind_);
    const QRectF textBox = QRectF(rect()).adjusted(inset, verticalPadding, -inset, -verticalPadding);
    fittedText(this->text(), kind_, width()).paint(painter, textBox, text);
}

} // namespace vesk
