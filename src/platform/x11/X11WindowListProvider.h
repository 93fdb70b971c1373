#pragma once

#include "platform/WindowListProviding.h"
#include "platform/x11/X11ManagedWindow.h"
#include "platform/x11/X11RootMapping.h"

#include <functional>
#include <map>

namespace vesk::platform {

class X11OwnWindows;
class X11WindowCache;

// The window list over the window cache: every managed window of another
// process with its id as number, `_NET_WM_PID` as owner (0 when unknown),
// WM_CLASS's class as owner name, its level (from its type and states), its
// frame's bounds, opacity and whether it is on screen (mapped, not hidden,
// on the current desktop or all of them); and Vesk's own registered windows
// at their levels. Front to back by level, then stacking. Bounds are top-left
// coordinates from the primary display's top-left corner, in logical pixels:
// `rootMapping()` takes them there from the root window's (none given: the
// same).
// While nothing changes, a read hands out the list it built last time.
class X11WindowListProvider final : public WindowListProviding {
public:
    X11WindowListProvider(const X11WindowCache& cache, const X11OwnWindows& ownWindows, ProcessID ownPID,
                          QString ownName, std::function<const X11RootMapping&()> rootMapping = {});

    QList<QVariantMap> copyWindowInfo(int options) const override;

    // The level a window of another application is listed at.
    static int levelOf(const X11ManagedWindow& window);
    static bool isOnScreen(const X11ManagedWindow& window, quint32 currentDesktop);

private:
    QList<QVariantMap> build(int options, const X11RootMapping& mapping) const;

    struct CachedList {
        quint64 windowsRevision = 0;
        quint64 ownRevision = 0;
        X11RootMapping mapping;
        QList<QVariantMap> list;
    };

    const X11WindowCache& cache_;
    const X11OwnWindows& ownWindows_;
    ProcessID ownPID_;
    QString ownName_;
    std::function<const X11RootMapping&()> rootMapping_;
    mutable std::map<int, CachedList> lists_;
};

} // namespace vesk::platform
