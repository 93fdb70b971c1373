#include "platform/simulated/DesktopDisplayWindow.h"

#include <QPainter>

namespace vesk::platform {

DesktopDisplayWindow::DesktopDisplayWindow(const DesktopScreenCapturer& capturer, int displayIndex, const QRect& bounds,
                                           DesktopScreenCapturer::WindowFilter drawn)
    : capturer_(capturer)
    , displayIndex_(displayIndex)
    , drawn_(std::move(drawn))
{
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint);
    setTitle(QStringLiteral("Desktop"));
    setGeometry(bounds);
}

void DesktopDisplayWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(QRect(QPoint(), size()), Qt::black);
    capturer_.paintDisplay(painter, displayIndex_, drawn_);
}

} // namespace vesk::platform
