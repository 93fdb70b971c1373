#include "platform/x11/X11RootMapping.h"

namespace vesk::platform {

QRectF X11RootMapping::quartzFromRoot(const QRect& rootRect) const
{
    if (displays.empty())
        return QRectF(rootRect).translated(-primaryOrigin);
    const Display* display = &displays.front();
    for (const Display& candidate : displays) {
        if (candidate.rootRect.contains(rootRect.center())) {
            display = &candidate;
            break;
        }
    }
    const QPointF logical =
        display->logicalOrigin + QPointF(rootRect.topLeft() - display->rootRect.topLeft()) / display->scale;
    return QRectF(logical - primaryOrigin, QSizeF(rootRect.size()) / display->scale);
}

QRect X11RootMapping::rootFromQuartz(const QRectF& quartzRect) const
{
    const QRectF logical = quartzRect.translated(primaryOrigin);
    if (displays.empty())
        return logical.toAlignedRect();
    const Display* display = &displays.front();
    for (const Display& candidate : displays) {
        const QRectF logicalBounds(candidate.logicalOrigin, QSizeF(candidate.rootRect.size()) / candidate.scale);
        if (logicalBounds.contains(logical.center())) {
            display = &candidate;
            break;
        }
    }
    const QPointF root =
        QPointF(display->rootRect.topLeft()) + (logical.topLeft() - display->logicalOrigin) * display->scale;
    return QRectF(root, logical.size() * display->scale).toAlignedRect();
}

} // namespace vesk::platform
