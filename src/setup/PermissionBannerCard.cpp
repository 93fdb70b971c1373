#include "setup/PermissionBannerCard.h"

#include "ui/Gradient.h"
#include "ui/Shapes.h"
#include "ui/VeskTheme.h"

#include <QPainter>
#include <QVBoxLayout>

namespace vesk {

PermissionBannerCard::PermissionBannerCard(QWidget* content, QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(7);
    content->setParent(this);
    layout->addWidget(content);
}

void PermissionBannerCard::paintEvent(QPaintEvent*)
{
    const QColor warn = VeskTheme::shared().warn;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = continuousRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8);
    painter.fillPath(shape, withOpacity(warn, 0.1));
    painter.strokePath(shape, strokePen(withOpacity(warn, 0.32), 1));
}

} // namespace vesk
