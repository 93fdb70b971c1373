#include "overlay/OverlayPanel.h"

#include "overlay/OverlayContentView.h"
#include "overlay/PanelScreen.h"
#include "platform/WindowLevel.h"

#include <QRegion>
#include <QVBoxLayout>

namespace vesk {

OverlayPanel::OverlayPanel(const platform::ScreenInfo& screen, const Rect& quartzFrame,
                           const platform::ScreenProviding& screens, platform::OwnWindowRegistering* ownWindows)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus
                           | Qt::WindowTransparentForInput)
    , cocoaFrame_(rectFromQRectF(screen.frame))
    , screens_(screens)
    , registration_(ownWindows, overlayPanelWindowSpec(QStringLiteral("Overlay"), windowLevel(), cocoaFrame_, true),
                    this)
{
    // Opaque, with the holes cut out of its shape: a window with an alpha
    // channel has its whole backing store cleared before every paint pass,
    // which would write each pixel twice per frame. Its view paints every
    // pixel, so it needs no background either.
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setGeometry(toQRectF(quartzFrame).toRect());

    contentView_ = new OverlayContentView(cocoaFrame_, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(contentView_);

    logger_.log(VeskLogLevel::debug, QStringLiteral("OverlayPanel created for screen: ") + screen.name);
}

OverlayPanel::~OverlayPanel() = default;

int OverlayPanel::windowLevel()
{
    static const int level = platform::shieldingWindowLevel() + 1;
    return level;
}

OverlayContentView* OverlayPanel::contentView() const
{
    return contentView_;
}

void OverlayPanel::setPassthroughRects(const std::vector<Rect>& rects)
{
    // The shape follows the holes only when they change: a steady frame
    // rebuilds no region.
    const bool holesChanged = rects != passthroughRects_ || !hasShape_;
    passthroughRects_ = rects;
    if (!contentView_)
        return;
    contentView_->setPassthroughRects(rects);
    // Painted in this turn of the event loop, before the next frame.
    contentView_->update();
    if (holesChanged)
        cutHolesOutOfShape();
}

void OverlayPanel::cutHolesOutOfShape()
{
    // A window system without compositing shows a window's clear parts as
    // black; cut out of the window's shape, the holes show what is beneath.
    QRegion shape(rect());
    for (const Rect& hole : passthroughRects_)
        shape -= QRegion(contentView_->viewRectFromCocoa(hole).toAlignedRect());
    if (shape != mask())
        setMask(shape);
    hasShape_ = true;
}

void OverlayPanel::orderFrontRegardless()
{
    show();
    raise();
    registration_.orderIn();
}

void OverlayPanel::orderOut()
{
    hide();
    registration_.orderOut();
}

void OverlayPanel::showOnScreen()
{
    orderFrontRegardless();
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Overlay shown on screen: ") + panelScreenLabel(screens_, cocoaFrame_));
}

} // namespace vesk
