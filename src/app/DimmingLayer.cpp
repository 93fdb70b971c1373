#include "app/DimmingLayer.h"

#include <QMouseEvent>
#include <QPainter>

namespace vesk {

DimmingLayer::DimmingLayer(const QColor& color, QWidget* parent) : QWidget(parent), color_(color)
{
}

void DimmingLayer::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), color_);
}

void DimmingLayer::mousePressEvent(QMouseEvent* event)
{
    // Nothing under the veil reacts, and the window does not move.
    event->accept();
}

void DimmingLayer::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (rect().contains(event->position().toPoint()))
        emit tapped();
}

} // namespace vesk
