#pragma once

#include "core/Geometry.h"
#include "overlay/PanelFillPlan.h"

#include <QWidget>

#include <vector>

namespace vesk {

// The content of a black overlay panel: black over the whole display except
// transparent holes. The holes are in bottom-left (Cocoa) global coordinates;
// the view maps them onto itself through its panel's frame. It does not watch
// its list: whoever replaces the holes repaints it.
class OverlayContentView : public QWidget {
    Q_OBJECT
public:
    // `panelCocoaFrame` is the frame of the panel the view fills.
    explicit OverlayContentView(const Rect& panelCocoaFrame, QWidget* parent = nullptr);

    const std::vector<Rect>& passthroughRects() const { return passthroughRects_; }
    void setPassthroughRects(const std::vector<Rect>& rects) { passthroughRects_ = rects; }

    // A hole in view coordinates (top-left origin), or an empty QRectF for a
    // null or empty rect.
    QRectF viewRectFromCocoa(const Rect& cocoaRect) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static QRect pixelRect(const QRectF& viewRect);

    Rect panelCocoaFrame_;
    std::vector<Rect> passthroughRects_;
    // Working storage of the paint pass, kept from pass to pass.
    std::vector<QRect> viewHoles_;
    PanelFillPlan fillPlan_;
};

} // namespace vesk
