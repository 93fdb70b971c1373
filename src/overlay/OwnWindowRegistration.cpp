#include "overlay/OwnWindowRegistration.h"

#include <QImage>
#include <QPixmap>

namespace vesk {

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

OwnWindowRegistration::OwnWindowRegistration(platform::SimulatedDesktop* desktop, platform::OwnWindowSpec spec,
                                             QWidget* widget)
    : desktop_(desktop)
    , spec_(std::move(spec))
    , widget_(widget)
{
    spec_.visible = false;
}

OwnWindowRegistration::~OwnWindowRegistration()
{
    if (desktop_ && number_)
        desktop_->removeOwnWindow(*number_);
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

void OwnWindowRegistration::publish()
{
    if (!desktop_)
        return;
    if (number_) {
        desktop_->updateOwnWindow(*number_, spec_);
        return;
    }
    number_ = desktop_->addOwnWindow(spec_);
    desktop_->setOwnWindowRenderer(*number_, [widget = widget_](const QSize& size) {
        if (!widget)
            return QImage();
        const QImage content = widget->grab().toImage();
        return content.size() == size ? content : content.scaled(size);
    });
}

} // namespace vesk
