#include "app/OwnWindowListing.h"

#include "overlay/DisplayGeometry.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace vesk {

OwnWindowListing::OwnWindowListing(QWidget& window, const platform::ScreenProviding& screens,
                                   platform::OwnWindowRegistering& ownWindows, int level)
    : window_(window)
    , screens_(screens)
    , ownWindows_(ownWindows)
    , level_(level)
{
    window_.installEventFilter(this);
}

OwnWindowListing::~OwnWindowListing()
{
    window_.removeEventFilter(this);
    if (windowNumber_)
        ownWindows_.removeOwnWindow(*windowNumber_);
}

QRectF OwnWindowListing::quartzFrame(const platform::ScreenProviding& screens, const QRectF& cocoaFrame)
{
    const auto geometry = DisplayGeometry::current(screens);
    if (!geometry)
        return cocoaFrame;
    const Rect rect = rectFromQRectF(cocoaFrame);
    return toQRectF(DisplayGeometry::quartzRect(rect, geometry->displayFrameForCocoaRect(rect)));
}

QRectF OwnWindowListing::cocoaFrame(const platform::ScreenProviding& screens, const QRectF& quartzFrame)
{
    const auto geometry = DisplayGeometry::current(screens);
    if (!geometry)
        return quartzFrame;
    const Rect rect = rectFromQRectF(quartzFrame);
    return toQRectF(DisplayGeometry::cocoaRect(rect, geometry->displayFrameForQuartzRect(rect)));
}

QRectF OwnWindowListing::centredOnMainScreen(const platform::ScreenProviding& screens, const QSizeF& size)
{
    QRectF frame(QPointF(), size);
    if (const auto main = screens.mainScreen())
        frame.moveCenter(main->visibleFrame.center());
    return quartzFrame(screens, frame);
}

bool OwnWindowListing::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
        // A window that was never shown is not listed yet.
        if (windowNumber_ || event->type() == QEvent::Show)
            publish();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void OwnWindowListing::publish()
{
    platform::OwnWindowSpec spec;
    spec.title = window_.windowTitle();
    spec.level = level_;
    // With its title bar, where it has one.
    spec.frame = cocoaFrame(screens_, QRectF(window_.frameGeometry()));
    // A minimised window is off screen.
    spec.visible = window_.isVisible() && !window_.isMinimized();
    spec.isPanel = false;
    spec.joinsAllSpaces = false;
    spec.canBecomeKey = true;
    if (windowNumber_) {
        ownWindows_.updateOwnWindow(*windowNumber_, spec);
        return;
    }
    windowNumber_ = ownWindows_.addOwnWindow(spec);
    ownWindows_.setOwnWindowRenderer(*windowNumber_, [window = QPointer<QWidget>(&window_)](const QSize& size) {
        return window ? window->grab().toImage().scaled(size) : QImage();
    });
    ownWindows_.setOwnWindowHandle(*windowNumber_, window_.windowHandle());
}

} // namespace vesk
