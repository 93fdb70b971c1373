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

QRect OverlayContentView::pixelRect(const QRectF& viewRect)
{
    // Each edge goes to the nearest pixel boundary, as an unsmoothed fill of
    // the rect would place it.
    const int left = qRound(viewRect.left());
    const int top = qRound(viewRect.top());
    return QRect(left, top, qRound(viewRect.right()) - left, qRound(viewRect.bottom()) - top);
}

void OverlayContentView::paintEvent(QPaintEvent*)
{
    viewHoles_.clear();
    // A view taken out of its panel has nothing to map holes through.
    if (parentWidget()) {
        for (const Rect& hole : passthroughRects_) {
            const QRectF viewRect = viewRectFromCocoa(hole);
            if (!viewRect.isEmpty())
                viewHoles_.push_back(pixelRect(viewRect));
        }
    }
    fillPlan_.plan(rect(), viewHoles_);

    // Black where there is no hole, transparent where there is one: each
    // pixel is written once.
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& piece : fillPlan_.blackRects())
        painter.fillRect(piece, Qt::black);
    for (const QRect& piece : fillPlan_.holeRects())
        painter.fillRect(piece, Qt::transparent);
}

} // namespace vesk
