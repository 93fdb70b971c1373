#pragma once

#include "overlay/PanelWindow.h"

#include <QPointer>

namespace vesk {

class StageVeskCard;

// One floating surface of the stage bars: a panel that never becomes key and
// never activates Vesk, two levels above the shielding level so that it stays
// in front of the overlay. It hosts one view at a time, sized to the whole
// panel; a replaced view goes once its events are done, since the click that
// replaced it may be its own.
class StageVeskControlPanel final : public PanelWindow {
    Q_OBJECT

public:
    StageVeskControlPanel(const Rect& cocoaFrame, bool dropsShadow, const platform::ScreenProviding& screens,
                          platform::OwnWindowRegistering* ownWindows);

    static int windowLevel();

    // Replaces the hosted view and orders the panel front.
    void setContent(QWidget* content);
    // Keeps the panel's shape to the card's rounded rectangle wherever the
    // layout moves or sizes it, so that the black of the opaque panel around
    // the card does not cover what is beneath. The frame stays as it is.
    void shapeToCard(StageVeskCard* card);
    QWidget* content() const { return content_; }
    // The apps bar draws none.
    bool dropsShadow() const { return dropsShadow_; }
    bool isOrderedIn() const { return isVisible(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followCardShape();

    bool dropsShadow_;
    QWidget* host_;
    QPointer<QWidget> content_;
    QPointer<StageVeskCard> shapingCard_;
};

} // namespace vesk
