#include "platform/x11/X11WindowListProvider.h"

#include "platform/WindowLevel.h"
#include "platform/x11/X11OwnWindows.h"
#include "platform/x11/X11WindowCache.h"

#include <algorithm>

namespace vesk::platform {

namespace {

struct Listed {
    int layer = 0;
    // Position in the stacking, front first; -1 for own windows the X
    // server does not stack (yet), which count as in front of their level.
    int stackRank = -1;
    QVariantMap entry;
};

QVariantMap boundsMap(const QRectF& bounds)
{
    return QVariantMap{{QStringLiteral("X"), bounds.x()},
                       {QStringLiteral("Y"), bounds.y()},
                       {QStringLiteral("Width"), bounds.width()},
                       {QStringLiteral("Height"), bounds.height()}};
}

} // namespace

X11WindowListProvider::X11WindowListProvider(const X11WindowCache& cache, const X11OwnWindows& ownWindows,
                                             ProcessID ownPID, QString ownName,
                                             std::function<const X11RootMapping&()> rootMapping)
    : cache_(cache)
    , ownWindows_(ownWindows)
    , ownPID_(ownPID)
    , ownName_(std::move(ownName))
    , rootMapping_(std::move(rootMapping))
{
}

int X11WindowListProvider::levelOf(const X11ManagedWindow& window)
{
    switch (window.type) {
    case X11WindowType::desktop:
        return WindowLevel::desktopIcon;
    case X11WindowType::dock:
        return WindowLevel::dock;
    case X11WindowType::notification:
        return WindowLevel::status;
    case X11WindowType::dropdownMenu:
    case X11WindowType::popupMenu:
    case X11WindowType::combo:
        return WindowLevel::popUpMenu;
    case X11WindowType::tooltip:
        return WindowLevel::help;
    case X11WindowType::dnd:
        return WindowLevel::dragging;
    case X11WindowType::toolbar:
    case X11WindowType::menu:
        return WindowLevel::tornOffMenu;
    case X11WindowType::utility:
        return WindowLevel::floating;
    case X11WindowType::normal:
    case X11WindowType::splash:
    case X11WindowType::dialog:
        break;
    }
    return window.above ? WindowLevel::floating : WindowLevel::normal;
}

bool X11WindowListProvider::isOnScreen(const X11ManagedWindow& window, quint32 currentDesktop)
{
    return window.mapped && !window.hidden && window.isOnDesktop(currentDesktop);
}

QList<QVariantMap> X11WindowListProvider::copyWindowInfo(int options) const
{
    static const X11RootMapping same;
    const X11RootMapping& mapping = rootMapping_ ? rootMapping_() : same;
    CachedList& cached = lists_[options];
    if (cached.list.isEmpty() || cached.windowsRevision != cache_.revision()
        || cached.ownRevision != ownWindows_.revision() || cached.mapping != mapping) {
        cached.windowsRevision = cache_.revision();
        cached.ownRevision = ownWindows_.revision();
        cached.list = build(options, mapping);
        cached.mapping = mapping;
    }
    return cached.list;
}

QList<QVariantMap> X11WindowListProvider::build(int options, const X11RootMapping& mapping) const
{
    const bool onScreenOnly = options & WindowListOnScreenOnly;
    const bool excludeDesktop = options & WindowListExcludeDesktopElements;
    std::vector<Listed> listed;

    const auto& windows = cache_.windows();
    for (int rank = 0; rank < int(windows.size()); ++rank) {
        const X11ManagedWindow& window = windows[std::size_t(rank)];
        if (window.pid == ownPID_)
            continue; // listed as registered, below
        const bool onScreen = isOnScreen(window, cache_.currentDesktop());
        if ((onScreenOnly && !onScreen) || (excludeDesktop && window.type == X11WindowType::desktop))
            continue;
        const QString owner = window.className.isEmpty() ? window.instanceName : window.className;
        QVariantMap entry;
        entry.insert(kWindowNumber, qint64(window.id));
        entry.insert(kWindowOwnerPID, window.pid.value_or(0));
        if (!owner.isEmpty())
            entry.insert(kWindowOwnerName, owner);
        if (!window.title.isEmpty())
            entry.insert(kWindowName, window.title);
        const int layer = levelOf(window);
        entry.insert(kWindowLayer, layer);
        entry.insert(kWindowBounds, boundsMap(mapping.quartzFromRoot(window.bounds())));
        entry.insert(kWindowAlpha, window.opacity);
        entry.insert(kWindowIsOnscreen, onScreen);
        listed.push_back(Listed{layer, rank, std::move(entry)});
    }

    for (const X11OwnWindows::Entry& own : ownWindows_.entries()) {
        if (onScreenOnly && !own.spec.visible)
            continue;
        int rank = -1;
        if (const auto native = X11OwnWindows::nativeWindow(own)) {
            const auto it = std::find_if(windows.begin(), windows.end(),
                                         [&](const X11ManagedWindow& window) { return window.id == *native; });
            if (it != windows.end())
                rank = int(it - windows.begin());
        }
        QVariantMap entry;
        entry.insert(kWindowNumber, qint64(own.number));
        entry.insert(kWindowOwnerPID, ownPID_);
        if (!ownName_.isEmpty())
            entry.insert(kWindowOwnerName, ownName_);
        if (!own.spec.title.isEmpty())
            entry.insert(kWindowName, own.spec.title);
        entry.insert(kWindowLayer, own.spec.level);
        entry.insert(kWindowBounds, boundsMap(own.quartzBounds));
        entry.insert(kWindowAlpha, own.spec.alpha);
        entry.insert(kWindowIsOnscreen, own.spec.visible);
        listed.push_back(Listed{own.spec.level, rank, std::move(entry)});
    }

    std::stable_sort(listed.begin(), listed.end(), [](const Listed& a, const Listed& b) {
        return a.layer != b.layer ? a.layer > b.layer : a.stackRank < b.stackRank;
    });
    QList<QVariantMap> list;
    list.reserve(qsizetype(listed.size()));
    for (Listed& item : listed)
        list.append(std::move(item.entry));
    return list;
}

} // namespace vesk::platform
