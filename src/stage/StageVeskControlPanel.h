#pragma once

#include "core/Geometry.h"
#include "overlay/OwnWindowRegistration.h"
#include "platform/ScreenProviding.h"

#include <QPointer>
#include <QWidget>

namespace vesk {

// One floating surface of the stage bars: a panel that never becomes key and
// never activates Vesk, on every Space, two levels above the shielding level
// so that it stays in front of the overlay. It hosts one view, sized to the
// whole panel, and lists itself in the window list while ordered in. Its
// frame is bottom-left (Cocoa).
class StageVeskControlPanel final : public QWidget {
    Q_OBJECT

public:
    StageVeskControlPanel(const Rect& cocoaFrame, bool hasShadow, const platform::ScreenProviding& screens,
                          platform::OwnWindowRegistering* ownWindows);

    static int windowLevel();

    // Replaces the hosted view (the old one goes once its events are done)
    // and orders the panel front.
    void setContent(QWidget* content);
    QWidget* content() const { return content_; }
    void setFrame(const Rect& cocoaFrame);
    const Rect& frame() const { return cocoaFrame_; }
    bool hasShadow() const { return hasShadow_; }

    void orderFront();
    void orderOut();
    bool isOrderedIn() const { return orderedIn_; }

private:
    void applyGeometry();

    Rect cocoaFrame_;
    bool hasShadow_;
    bool orderedIn_ = false;
    const platform::ScreenProviding& screens_;
    OwnWindowRegistration registration_;
    QPointer<QWidget> content_;
};

} // namespace vesk
