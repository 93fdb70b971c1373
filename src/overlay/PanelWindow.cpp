#include "overlay/PanelWindow.h"

#include "overlay/DisplayGeometry.h"
#include "overlay/PanelScreen.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainterPath>
#include <QPalette>
#include <QRegion>
#include <QVBoxLayout>

namespace vesk {

namespace {

Qt::WindowFlags panelFlags(const PanelWindow::Configuration& configuration)
{
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    if (!configuration.canBecomeKey)
        flags |= Qt::WindowDoesNotAcceptFocus;
    if (configuration.ignoresMouseEvents)
        flags |= Qt::WindowTransparentForInput;
    return flags;
}

platform::OwnWindowSpec panelWindowSpec(const PanelWindow::Configuration& configuration, const Rect& cocoaFrame)
{
    platform::OwnWindowSpec spec;
    spec.title = configuration.title;
    spec.level = configuration.level;
    spec.frame = toQRectF(cocoaFrame);
    spec.isPanel = true;
    spec.ignoresMouseEvents = configuration.ignoresMouseEvents;
    spec.joinsAllSpaces = true;
    spec.canBecomeKey = configuration.canBecomeKey;
    spec.shadowMargins = configuration.shadowMargins;
    return spec;
}

} // namespace

PanelWindow::PanelWindow(Configuration configuration, const Rect& cocoaFrame, const platform::ScreenProviding& screens,
                         platform::OwnWindowRegistering* ownWindows)
    : QWidget(nullptr, panelFlags(configuration))
    , configuration_(std::move(configuration))
    , screens_(screens)
    , frame_(cocoaFrame)
    , registration_(ownWindows, panelWindowSpec(configuration_, cocoaFrame), this)
{
    setWindowTitle(configuration_.title);
    setAttribute(Qt::WA_ShowWithoutActivating, !configuration_.canBecomeKey);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_TransparentForMouseEvents, configuration_.ignoresMouseEvents);
    // Vesk stays inactive while its panels are up, and Qt shows help texts
    // only over an active window unless told otherwise.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    if (configuration_.opaque) {
        // Black under the content, filled again with every paint pass, so
        // that a part of the content that hides or shrinks leaves nothing
        // behind on a window system that keeps the window's old pixels.
        QPalette black = palette();
        black.setColor(QPalette::Window, Qt::black);
        setPalette(black);
        setAutoFillBackground(true);
    } else {
        setAttribute(Qt::WA_TranslucentBackground);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(configuration_.shadowMargins);
    layout->setSpacing(0);
    placeWidget();
}

void PanelWindow::setFrame(const Rect& cocoaFrame)
{
    frame_ = cocoaFrame;
    placeWidget();
    registration_.setFrame(frame_);
}

void PanelWindow::setFrameOrigin(Point cocoaOrigin)
{
    setFrame(Rect{cocoaOrigin.x, cocoaOrigin.y, frame_.width, frame_.height});
}

void PanelWindow::setContentView(QWidget* view)
{
    if (contentView_ == view)
        return;
    delete contentView_;
    contentView_ = view;
    if (view)
        layout()->addWidget(view);
}

void PanelWindow::setRoundedShape(const QRectF& rect, double cornerRadius)
{
    QPainterPath rounded;
    rounded.addRoundedRect(rect, cornerRadius, cornerRadius);
    const QRegion shape(rounded.toFillPolygon().toPolygon());
    if (shape != mask())
        setMask(shape);
}

void PanelWindow::orderFrontRegardless()
{
    show();
    raise();
    registration_.orderIn();
}

void PanelWindow::makeKeyAndOrderFront()
{
    orderFrontRegardless();
    if (!configuration_.canBecomeKey)
        return;
    activateWindow();
    registration_.makeKey();
}

void PanelWindow::orderOutAndUnlist()
{
    orderOut();
    registration_.remove();
}

void PanelWindow::orderOut()
{
    hide();
    registration_.orderOut();
}

QString PanelWindow::screenLabel() const
{
    return panelScreenLabel(screens_, frame_);
}

// The widget's geometry is top-left: the frame goes through the display it lies on.
void PanelWindow::placeWidget()
{
    placing_ = true;
    setGeometry(widgetGeometry());
    placing_ = false;
}

QRect PanelWindow::widgetGeometry() const
{
    const std::optional<DisplayGeometry> geometry = DisplayGeometry::current(screens_);
    const Rect quartzFrame =
        geometry ? DisplayGeometry::quartzRect(frame_, geometry->displayFrameForCocoaRect(frame_)) : frame_;
    return toQRectF(quartzFrame).toRect().marginsAdded(configuration_.shadowMargins);
}

// A drag or a resize of the widget moves the frame with it.
void PanelWindow::frameFollowsWidget()
{
    // Whole pixels: a frame on half points stays as it is until the widget really moves.
    if (geometry() == widgetGeometry())
        return;
    const Rect quartzFrame = rectFromQRectF(QRectF(geometry().marginsRemoved(configuration_.shadowMargins)));
    const std::optional<DisplayGeometry> displays = DisplayGeometry::current(screens_);
    const Rect cocoaFrame =
        displays ? DisplayGeometry::cocoaRect(quartzFrame, displays->displayFrameForQuartzRect(quartzFrame))
                 : quartzFrame;
    if (cocoaFrame == frame_)
        return;
    frame_ = cocoaFrame;
    registration_.setFrame(frame_);
}

void PanelWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        // Taken here whether or not the panel acts on it: it is not passed on.
        event->accept();
        cancelOperation();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PanelWindow::mousePressEvent(QMouseEvent* event)
{
    // The shadow is not part of the panel: no drag starts on it.
    if (configuration_.movableByWindowBackground && event->button() == Qt::LeftButton
        && contentRect().contains(event->position().toPoint())) {
        dragOffset_ = event->globalPosition().toPoint() - pos();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void PanelWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragOffset_ || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    event->accept();
    move(event->globalPosition().toPoint() - *dragOffset_);
    frameFollowsWidget();
}

void PanelWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragOffset_.reset();
    QWidget::mouseReleaseEvent(event);
}

void PanelWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!placing_)
        frameFollowsWidget();
}

} // namespace vesk
