#include "overlay/OverlayContentView.h"

#include <QPainter>

namespace vesk {

OverlayContentView::OverlayContentView(const Rect& panelCocoaFrame, QWidget* parent)
    : QWidget(parent)
    , panelCocoaFrame_(panelCocoaFrame)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QRectF OverlayContentView::viewRectFromCocoa(const Rect& cocoaRect) const
{
    if (cocoaRect.isEmpty())
        return {};
    // The view's y axis runs downwards from the panel's top edge.
    return QRectF(cocoaRect.minX() - panelCocoaFrame_.minX(), panelCocoaFrame_.maxY() - cocoaRect.maxY(),
                  cocoaRect.standardWidth(), cocoaRect.standardHeight());
}

void OverlayContentView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    // A view taken out of its panel has nothing to map holes through.
    if (!parentWidget())
        return;
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const Rect& hole : passthroughRects_) {
        const QRectF viewRect = viewRectFromCocoa(hole);
        if (!viewRect.isEmpty())
            painter.fillRect(viewRect, Qt::transparent);
    }
}

} // namespace vesk
