#pragma once

#include "overlay/PanelWindow.h"
#include "ui/ImageEffects.h"

#include <QImage>
#include <QPointer>

namespace vesk {

class StageVeskCard;

// One floating surface of the stage bars: a panel that never becomes key and
// never activates Vesk, two levels above the shielding level so that it stays
// in front of the overlay. It hosts one view at a time, sized to the whole
// panel; a replaced view goes once its events are done, since the click that
// replaced it may be its own.
//
// A panel that drops a shadow is see-through around its card and draws the
// shadow under the card into room around its frame; that needs a display
// that composites. Any other panel is opaque over black and shaped to its
// card, so that on a display without compositing the black around the card
// does not cover what is beneath.
class StageVeskControlPanel final : public PanelWindow {
    Q_OBJECT

public:
    StageVeskControlPanel(const Rect& cocoaFrame, bool dropsShadow, const platform::ScreenProviding& screens,
                          platform::OwnWindowRegistering* ownWindows);

    static int windowLevel();
    // Under the card of a panel that drops a shadow.
    static Shadow cardShadow();

    // Replaces the hosted view and orders the panel front.
    void setContent(QWidget* content);
    // Keeps the panel's shape, or its shadow, to the card's rounded rectangle
    // wherever the layout moves or sizes it. The frame stays as it is.
    void shapeToCard(StageVeskCard* card);
    QWidget* content() const { return content_; }
    bool dropsShadow() const { return dropsShadow_; }
    bool isOrderedIn() const { return isVisible(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void followCardShape();
    QRect cardRect() const;

    bool dropsShadow_;
    QWidget* host_;
    QPointer<QWidget> content_;
    QPointer<StageVeskCard> shapingCard_;
    // Drawn once per card rectangle and device pixel ratio.
    QImage shadow_;
    QRect shadowCardRect_;
};

} // namespace vesk
