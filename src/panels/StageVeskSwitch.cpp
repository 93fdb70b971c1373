#include "panels/StageVeskSwitch.h"

#include <QPainter>

namespace vesk {

StageVeskSwitch::StageVeskSwitch(const QColor& tint, QWidget* parent) : QAbstractButton(parent), tint_(tint)
{
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(sizeHint());
}

QSize StageVeskSwitch::sizeHint() const
{
    return {32, 18};
}

void StageVeskSwitch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = track.height() / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(isChecked() ? tint_ : QColor::fromRgbF(1, 1, 1, 0.2f));
    painter.drawRoundedRect(track, radius, radius);
    const double knob = track.height() - 3;
    const double x = isChecked() ? track.right() - 1.5 - knob : track.left() + 1.5;
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(x, track.top() + 1.5, knob, knob));
}

} // namespace vesk
