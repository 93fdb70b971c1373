#include "setup/DurationPill.h"

#include "ui/FittedText.h"
#include "ui/Shapes.h"
#include "ui/VeskFont.h"

#include <QPainter>

#include <cmath>

namespace vesk {

DurationPill::DurationPill(const QString& label, bool isSelected, QWidget* parent)
    : QAbstractButton(parent)
    , isSelected_(isSelected)
{
    setText(label);
    setAccessibleName(label);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    // Every pill in a row takes an equal share, whatever its label.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void DurationPill::setSelected(bool selected)
{
    if (selected == isSelected_)
        return;
    isSelected_ = selected;
    updateGeometry();
    update();
}

QFont DurationPill::labelFont() const
{
    return VeskFont::interface(pointSize, isSelected_ ? QFont::Medium : QFont::Normal);
}

QSize DurationPill::sizeHint() const
{
    const QSizeF label = FittedText::fit(text(), {.font = labelFont()}, 0).size;
    return {static_cast<int>(std::ceil(label.width())),
            static_cast<int>(std::ceil(label.height() + 2 * verticalPadding))};
}

QSize DurationPill::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

void DurationPill::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(capsule(QRectF(rect())), isSelected_ ? theme_.accent : theme_.insetStrong);
    TextStyle style;
    style.font = labelFont();
    style.alignment = Qt::AlignHCenter;
    FittedText::fit(text(), style, width())
        .paint(painter, QRectF(rect()), isSelected_ ? theme_.bgBottom : theme_.textPrimary);
}

} // namespace vesk
