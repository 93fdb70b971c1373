#include "ui/ToggleSwitch.h"

#include "ui/Shapes.h"

#include <QPainter>

namespace vesk {

ToggleSwitch::ToggleSwitch(const VeskTheme& theme, QWidget* parent) : QAbstractButton(parent), theme_(theme)
{
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(sizeHint());
}

void ToggleSwitch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.fillPath(capsule(track), isChecked() ? theme_.accent : theme_.insetStrong);
    painter.strokePath(capsule(track), strokePen(theme_.hairlineStrong, 1));
    const double knob = track.height() - 4;
    const double x = isChecked() ? track.right() - 2 - knob : track.left() + 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(isChecked() ? theme_.accentText : theme_.textMuted);
    painter.drawEllipse(QRectF(x, track.top() + 2, knob, knob));
}

} // namespace vesk
