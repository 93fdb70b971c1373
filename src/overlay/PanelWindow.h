#pragma once

#include "core/Geometry.h"
#include "overlay/OwnWindowRegistration.h"
#include "platform/ScreenProviding.h"

#include <QMargins>
#include <QPoint>
#include <QWidget>

#include <optional>

namespace vesk {

// One of Vesk's floating panels: a frameless top-level window that stands
// at a window level of its own, never activates Vesk when clicked, shows on
// every Space and lists itself in the window list while ordered in. Its frame
// is kept in the bottom-left (Cocoa) system, as placement rules and control
// rects use it; the widget is placed through the display it lies on.
//
// A panel that can become key takes the keyboard when made key; Escape then
// reaches cancelOperation(). A panel movable by its background follows a drag
// that starts on a part of it that does not take the mouse itself.
class PanelWindow : public QWidget {
    Q_OBJECT
public:
    // Style mask flags, as the platform numbers them.
    static constexpr int utilityWindowMask = 1 << 4;
    static constexpr int nonactivatingPanelMask = 1 << 7;
    // Joins all Spaces (1), stationary (16), full-screen auxiliary (256).
    static constexpr int allSpacesStationaryAuxiliary = 273;

    struct Configuration {
        QString title;
        int level = 0;
        int styleMask = nonactivatingPanelMask | utilityWindowMask;
        bool canBecomeKey = false;
        bool movableByWindowBackground = false;
        // An opaque panel is black under its content; a clear one is translucent with a shadow.
        bool opaque = false;
        bool ignoresMouseEvents = false;
        // Room around the frame for a shadow the panel draws: the window is
        // that much larger, the content stays on the frame, and the frame
        // (placement, the window list, clicks) leaves the shadow out.
        QMargins shadowMargins;
    };

    PanelWindow(Configuration configuration, const Rect& cocoaFrame, const platform::ScreenProviding& screens,
                platform::OwnWindowRegistering* ownWindows);

    int level() const { return configuration_.level; }
    int styleMask() const { return configuration_.styleMask; }
    int collectionBehavior() const { return allSpacesStationaryAuxiliary; }
    bool canBecomeKey() const { return configuration_.canBecomeKey; }
    bool isMovableByWindowBackground() const { return configuration_.movableByWindowBackground; }
    bool isOpaque() const { return configuration_.opaque; }
    bool hasShadow() const { return !configuration_.opaque; }
    bool ignoresMouseEvents() const { return configuration_.ignoresMouseEvents; }

    // Bottom-left (Cocoa) global frame.
    const Rect& frame() const { return frame_; }
    void setFrame(const Rect& cocoaFrame);
    void setFrameOrigin(Point cocoaOrigin);
    // Replaces the content with `view`, which fills the panel; the panel takes its ownership.
    void setContentView(QWidget* view);
    QWidget* contentView() const { return contentView_; }
    // Where the frame lies in the widget: all of it but the shadow's room.
    QRect contentRect() const { return rect().marginsRemoved(configuration_.shadowMargins); }
    // Cuts the window's shape down to a rounded rectangle (widget
    // coordinates): a window system without compositing shows every part of
    // a window, clear or not, so only the shape lets what is beneath show.
    void setRoundedShape(const QRectF& rect, double cornerRadius);

    // In front of its level without activating Vesk.
    void orderFrontRegardless();
    // In front and taking the keyboard; a panel that cannot become key is only ordered front.
    void makeKeyAndOrderFront();
    void orderOut();
    // Orders the panel out and takes it out of the window list, for a panel
    // that goes later than it closes.
    void orderOutAndUnlist();
    // The name of the display the panel is on, "unknown" when on none.
    QString screenLabel() const;
    // The panel's number in the desktop's window list once it was ordered in.
    std::optional<quint32> windowNumber() const { return registration_.windowNumber(); }

protected:
    // Escape while the panel has the keyboard; the default does nothing.
    virtual void cancelOperation() { }
    const platform::ScreenProviding& screens() const { return screens_; }

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeWidget();
    // Where the frame puts the widget (top-left, whole pixels).
    QRect widgetGeometry() const;
    void frameFollowsWidget();

    Configuration configuration_;
    const platform::ScreenProviding& screens_;
    Rect frame_;
    OwnWindowRegistration registration_;
    QWidget* contentView_ = nullptr;
    std::optional<QPoint> dragOffset_;
    bool placing_ = false;
};

} // namespace vesk
