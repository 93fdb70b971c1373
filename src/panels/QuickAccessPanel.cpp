#include "panels/QuickAccessPanel.h"

#include "panels/QuickAccessPanelView.h"
#include "platform/WindowLevel.h"
#include "ui/Gradient.h"
#include "ui/Shapes.h"

#include <QPainter>

namespace vesk {

namespace {

InSessionPanel::Kind quickAccessKind()
{
    InSessionPanel::Kind kind{QStringLiteral("QuickAccessPanel"),
                              QStringLiteral("Quick access panel"),
                              QuickAccessPanel::size,
                              QuickAccessPanel::windowLevel(),
                              true,
                              true,
                              InSessionPanel::Placement::atPointer};
    kind.shadowMargins = shadowMargins(QuickAccessPanel::surfaceShadow());
    return kind;
}

} // namespace

QuickAccessPanel::QuickAccessPanel(const PanelEnvironment& environment)
    : DismissibleSessionPanel(quickAccessKind(), environment)
{
}

QString QuickAccessPanel::shownLogSuffix() const
{
    return QStringLiteral(", canBecomeKey=true");
}

int QuickAccessPanel::windowLevel()
{
    static const int level = platform::shieldingWindowLevel() + 3;
    return level;
}

Shadow QuickAccessPanel::surfaceShadow()
{
    return Shadow{withOpacity(Qt::black, 0.45), 18, QPointF(0, 12)};
}

void QuickAccessPanel::paintEvent(QPaintEvent*)
{
    const double dpr = devicePixelRatioF();
    const QSize pixels = (QSizeF(QWidget::size()) * dpr).toSize();
    if (shadow_.size() != pixels || shadow_.devicePixelRatio() != dpr) {
        shadow_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        shadow_.setDevicePixelRatio(dpr);
        shadow_.fill(Qt::transparent);
        QPainter painter(&shadow_);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF surface = QRectF(contentRect()).adjusted(0.5, 0.5, -0.5, -0.5);
        // The surface itself is the view's: the layer's copy of it lies under the view.
        paintLayer(painter, surface, LayerEffects::shadowed(surfaceShadow()), [&surface](QPainter& layer) {
            layer.fillPath(continuousRoundedRect(surface, QuickAccessPanelView::cornerRadius), Qt::black);
        });
    }
    QPainter(this).drawImage(QPointF(0, 0), shadow_);
}

} // namespace vesk
