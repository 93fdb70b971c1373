#include "platform/simulated/DesktopWindowListProvider.h"

#include "platform/simulated/SimulatedDesktop.h"

namespace vesk::platform {

QList<QVariantMap> DesktopWindowListProvider::copyWindowInfo(int options) const
{
    // The overlay reads the list on every frame: an unchanged desktop hands out
    // the list it built last time (implicitly shared, nothing is copied).
    auto& cached = cache_[options];
    if (cached.first != desktop_.windowRevision() || cached.second.isEmpty()) {
        cached.first = desktop_.windowRevision();
        cached.second = buildWindowInfo(options);
    }
    return cached.second;
}

QList<QVariantMap> DesktopWindowListProvider::buildWindowInfo(int options) const
{
    QList<QVariantMap> list;
    for (const DesktopWindow* window : desktop_.windowsFrontToBack()) {
        const bool onScreen = desktop_.isOnScreen(*window);
        if ((options & WindowListExcludeDesktopElements) && window->desktopElement)
            continue;
        if ((options & WindowListOnScreenOnly) && !onScreen)
            continue;
        QVariantMap entry;
        entry.insert(kWindowNumber, qint64(window->number));
        entry.insert(kWindowOwnerPID, window->ownerPID);
        if (const DesktopApplication* app = desktop_.application(window->ownerPID); app && !app->name.isEmpty())
            entry.insert(kWindowOwnerName, app->name);
        if (!window->title.isEmpty())
            entry.insert(kWindowName, window->title);
        entry.insert(kWindowLayer, window->layer);
        entry.insert(kWindowBounds, QVariantMap{{QStringLiteral("X"), window->bounds.x()},
                                                {QStringLiteral("Y"), window->bounds.y()},
                                                {QStringLiteral("Width"), window->bounds.width()},
                                                {QStringLiteral("Height"), window->bounds.height()}});
        entry.insert(kWindowAlpha, window->alpha);
        entry.insert(kWindowIsOnscreen, onScreen);
        list.append(entry);
    }
    return list;
}

} // namespace vesk::platform
