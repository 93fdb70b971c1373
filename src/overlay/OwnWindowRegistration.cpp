#include "overlay/OwnWindowRegistration.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRegion>

namespace vesk {

namespace {

// The window as the desktop shows it: what lies outside its shape is clear.
QImage shapedContent(QWidget& widget)
{
    const QImage content = widget.grab().toImage();
    const QRegion shape = widget.mask();
    if (shape.isEmpty())
        return content;
    QImage shaped(content.size(), QImage::Format_ARGB32_Premultiplied);
    shaped.setDevicePixelRatio(content.devicePixelRatio());
    shaped.fill(Qt::transparent);
    QPainter painter(&shaped);
    painter.setClipRegion(shape);
    painter.drawImage(QPointF(0, 0), content);
    return shaped;
}

} // namespace

platform::OwnWindowSpec overlayPanelWindowSpec(const QString& title, int level, const Rect& cocoaFrame,
                                               bool ignoresMouseEvents)
{
    platform::OwnWindowSpec spec;
    spec.title = title;
    spec.level = level;
    spec.frame = toQRectF(cocoaFrame);
    spec.isPanel = true;
    spec.ignoresMouseEvents = ignoresMouseEvents;
    spec.joinsAllSpaces = true;
    spec.canBecomeKey = false;
    return spec;
}

OwnWindowRegistration::OwnWindowRegistration(platform::OwnWindowRegistering* ownWindows, platform::OwnWindowSpec spec,
                                             QWidget* widget)
    : ownWindows_(ownWindows)
    , spec_(std::move(spec))
    , widget_(widget)
{
    spec_.visible = false;
}

OwnWindowRegistration::~OwnWindowRegistration()
{
    if (ownWindows_ && number_)
        ownWindows_->removeOwnWindow(*number_);
}

void OwnWindowRegistration::orderIn()
{
    spec_.visible = true;
    publish();
}

void OwnWindowRegistration::orderOut()
{
    spec_.visible = false;
    publish();
}

void OwnWindowRegistration::makeKey()
{
    if (ownWindows_ && number_)
        ownWindows_->makeOwnWindowKey(*number_);
}

void OwnWindowRegistration::remove()
{
    if (ownWindows_ && number_)
        ownWindows_->removeOwnWindow(*number_);
    number_.reset();
}

void OwnWindowRegistration::setFrame(const Rect& cocoaFrame)
{
    spec_.frame = toQRectF(cocoaFrame);
    if (number_)
        publish();
}

void OwnWindowRegistration::publish()
{
    if (!ownWindows_)
        return;
    if (number_) {
        ownWindows_->updateOwnWindow(*number_, spec_);
        return;
    }
    number_ = ownWindows_->addOwnWindow(spec_);
    ownWindows_->setOwnWindowRenderer(*number_, [widget = widget_](const QSize& size) {
        if (!widget)
            return QImage();
        const QImage content = shapedContent(*widget);
        return content.size() == size ? content : content.scaled(size);
    });
    if (widget_)
        ownWindows_->setOwnWindowHandle(*number_, widget_->windowHandle());
}

} // namespace vesk
