#include "platform/simulated/DesktopScreenCapturer.h"

#include "platform/simulated/DesktopAccessibility.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QCryptographicHash>
#include <QPainter>

namespace vesk::platform {

DesktopScreenCapturer::DesktopScreenCapturer(const SimulatedDesktop& desktop) : desktop_(desktop)
{
}

QColor DesktopScreenCapturer::windowColour(const QString& applicationKey)
{
    const QByteArray digest = QCryptographicHash::hash(applicationKey.toUtf8(), QCryptographicHash::Sha256);
    const int hue = (quint8(digest[0]) << 8 | quint8(digest[1])) % 360;
    return QColor::fromHsv(hue, 110, 215).toRgb();
}

QColor DesktopScreenCapturer::wallpaperColour()
{
    return QColor(38, 52, 78);
}

QImage DesktopScreenCapturer::capture(int displayIndex) const
{
    if (displayIndex < 0 || displayIndex >= int(desktop_.displays().size()))
        return QImage();
    const DesktopDisplay& display = desktop_.displays()[displayIndex];
    if (display.bounds.toRect().isEmpty())
        return QImage();
    QImage image(display.bounds.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter painter(&image);
    paintDisplay(painter, displayIndex, [](const DesktopWindow&) { return true; });
    painter.end();
    return image;
}

void DesktopScreenCapturer::paintDisplay(QPainter& painter, int displayIndex, const WindowFilter& includes) const
{
    if (displayIndex < 0 || displayIndex >= int(desktop_.displays().size()))
        return;
    const QRectF displayBounds = desktop_.displays()[displayIndex].bounds;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const auto frontToBack = desktop_.windowsFrontToBack();
    for (auto it = frontToBack.rbegin(); it != frontToBack.rend(); ++it) {
        const DesktopWindow& window = **it;
        if (!desktop_.isOnScreen(window) || window.alpha <= 0
            || !window.bounds.marginsAdded(QMarginsF(window.shadowMargins)).intersects(displayBounds)
            || !includes(window))
            continue;
        painter.setOpacity(window.alpha);
        drawWindow(painter, window, window.bounds.translated(-displayBounds.topLeft()));
    }
    painter.restore();
}

std::vector<QImage> DesktopScreenCapturer::captureAll() const
{
    std::vector<QImage> images;
    for (int i = 0; i < int(desktop_.displays().size()); ++i)
        images.push_back(capture(i));
    return images;
}

void DesktopScreenCapturer::drawWindow(QPainter& painter, const DesktopWindow& window, const QRectF& rect) const
{
    if (window.ownerPID == desktop_.ownPID()) {
        if (const auto* renderer = desktop_.ownWindowRenderer(window.number)) {
            const QRectF drawn = rect.marginsAdded(QMarginsF(window.shadowMargins));
            const QImage content = (*renderer)(drawn.size().toSize());
            if (!content.isNull())
                painter.drawImage(drawn, content);
        }
        return;
    }
    if (window.desktopElement) {
        painter.fillRect(rect, wallpaperColour());
        return;
    }
    const DesktopApplication* app = desktop_.application(window.ownerPID);
    const QString key = app ? app->bundleIdentifier.value_or(app->name) : QString::number(window.ownerPID);
    const QColor colour = windowColour(key);
    painter.fillRect(rect, colour);
    if (!window.hasTitleBarButtons || rect.height() < kTitleBarHeight)
        return;
    const QRectF titleBar(rect.topLeft(), QSizeF(rect.width(), kTitleBarHeight));
    painter.fillRect(titleBar, colour.darker(125));
    const QColor buttons[] = {QColor(236, 95, 86), QColor(244, 190, 79), QColor(98, 197, 85)};
    const AXElement::Kind kinds[] = {AXElement::Kind::closeButton, AXElement::Kind::minimizeButton,
                                     AXElement::Kind::zoomButton};
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        painter.setBrush(buttons[i]);
        painter.drawEllipse(DesktopAccessibility::buttonFrame(kinds[i], rect));
    }
    painter.setPen(Qt::white);
    painter.drawText(titleBar.adjusted(70, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft, window.title);
}

} // namespace vesk::platform
