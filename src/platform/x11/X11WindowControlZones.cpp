#include "platform/x11/X11WindowControlZones.h"

#include "platform/x11/X11Accessibility.h"
#include "platform/x11/X11WindowCache.h"

namespace vesk::platform {

X11WindowControlZones::X11WindowControlZones(const X11WindowCache& cache,
                                             std::function<const X11RootMapping&()> rootMapping)
    : cache_(cache)
    , rootMapping_(std::move(rootMapping))
{
}

QRectF X11WindowControlZones::controlZone(std::optional<WindowNumber> window, const QRectF& cocoaWindowRect) const
{
    const X11ManagedWindow* managed = window ? cache_.window(*window) : nullptr;
    if (!managed || managed->frameExtents.top() <= 0)
        return {};
    const QRect bounds = managed->bounds();
    const QRect minimize = X11Accessibility::buttonFrame(AXElement::Kind::minimizeButton, *managed);
    const QRect rootZone = QRect(QPoint(minimize.left(), bounds.top()),
                                 QPoint(bounds.right(), bounds.top() + managed->frameExtents.top() - 1))
                               .intersected(bounds);
    if (rootZone.isEmpty())
        return {};
    const X11RootMapping& mapping = rootMapping_();
    const QRectF quartzWindow = mapping.quartzFromRoot(bounds);
    const QRectF quartzZone = mapping.quartzFromRoot(rootZone);
    // At the same place of the window in the bottom-left system, whose top edge is the rect's maximum y.
    return QRectF(cocoaWindowRect.left() + (quartzZone.left() - quartzWindow.left()),
                  cocoaWindowRect.bottom() - (quartzZone.top() - quartzWindow.top()) - quartzZone.height(),
                  quartzZone.width(), quartzZone.height());
}

} // namespace vesk::platform
