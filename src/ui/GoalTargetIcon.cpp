#include "ui/GoalTargetIcon.h"

#include "ui/Gradient.h"
#include "ui/Shapes.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vesk {

GoalTargetIcon::GoalTargetIcon(double size, QWidget* parent) : QWidget(parent), size_(size)
{
    setAttribute(Qt::WA_TranslucentBackground);
    const int side = static_cast<int>(std::ceil(size));
    setFixedSize(side, side);
}

QSize GoalTargetIcon::sizeHint() const
{
    const int side = static_cast<int>(std::ceil(size_));
    return {side, side};
}

QColor GoalTargetIcon::color()
{
    return QColor::fromRgbF(1.0f, 159.0f / 255, 10.0f / 255);
}

double GoalTargetIcon::lineWidth(double width, double height)
{
    return std::max(std::min(width, height) / 20, 1.0);
}

void GoalTargetIcon::paint(QPainter& painter, const QRectF& rect)
{
    const QPointF center = rect.center();
    const double unit = std::min(rect.width(), rect.height()) / 20;
    const double width = lineWidth(rect.width(), rect.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.strokePath(ellipse(center, 18 * unit, 18 * unit), strokePen(color(), width));
    painter.strokePath(ellipse(center, 10 * unit, 10 * unit), strokePen(withOpacity(color(), 0.82), width));
    painter.fillPath(ellipse(center, 3 * unit, 3 * unit), color());
    painter.restore();
}

void GoalTargetIcon::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF square(QPointF(width() - size_, height() - size_) / 2, QSizeF(size_, size_));
    paint(painter, square);
}

} // namespace vesk
