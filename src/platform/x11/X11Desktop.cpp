#include "platform/x11/X11Desktop.h"

#include "platform/x11/XdgEnvironment.h"

#include <QCoreApplication>

namespace vesk::platform {

X11Desktop::X11Desktop(std::unique_ptr<X11Connection> connection, const QString& ownName)
    : connection_(std::move(connection))
    , cache_(*connection_)
    , control_(*connection_, cache_)
    , ownWindows_(screens_)
    , windowList_(cache_, ownWindows_, ProcessID(QCoreApplication::applicationPid()), ownName,
                  [this]() -> const X11RootMapping& { return screens_.rootMapping(); })
    , capturer_(*connection_, screens_, [this]() -> const X11RootMapping& { return screens_.rootMapping(); })
    , pointer_(*connection_, [this](QPoint rootPoint) { return cocoaFromRoot(rootPoint); })
    , reduceMotion_(settingsTool_)
    , systemInfo_(X11SystemInfo::dmiFolder, settingsTool_)
    , ownApplication_(X11OwnApplication::specOfThisProcess())
    , eventTaps_(*connection_)
    , commandRunner_(std::make_unique<GSettingsTool>(), XdgEnvironment::fromProcess().currentDesktops.join(u':'))
    , installedApplications_(XdgEnvironment::fromProcess())
    , workspace_(cache_, control_, installedApplications_, XdgLauncher(installedApplications_.environment()),
                 ProcessID(QCoreApplication::applicationPid()))
    , activity_(cache_, ProcessID(QCoreApplication::applicationPid()))
    , accessibility_(cache_, control_, [this]() -> const X11RootMapping& { return screens_.rootMapping(); })
    , files_(installedApplications_)
    , bundles_(installedApplications_)
{
}

PlatformInterfaces X11Desktop::interfaces()
{
    return {windowList_,     screens_,   screens_,          workspace_,     files_,      bundles_,
            accessibility_,  eventTaps_, defaultsDomains_,  commandRunner_, ownWindows_, presentationOptions_,
            ownApplication_, pointer_,   permissions_,      reduceMotion_,  capturer_,   diagnosticPayloads_,
            systemInfo_,     activity_,  storeTransactions_};
}

QPointF X11Desktop::cocoaFromRoot(QPoint rootPoint) const
{
    const QPointF quartz = screens_.rootMapping().quartzFromRoot(QRect(rootPoint, QSize(1, 1))).topLeft();
    return screens_.cocoaRect(QRectF(quartz, QSizeF())).topLeft();
}

std::unique_ptr<X11Desktop> X11Desktop::withWindowManager(std::unique_ptr<X11Connection> connection,
                                                          const QString& ownName)
{
    if (!connection)
        return nullptr;
    std::unique_ptr<X11Desktop> desktop(new X11Desktop(std::move(connection), ownName));
    if (!desktop->cache_.hasWindowManager())
        return nullptr;
    return desktop;
}

std::unique_ptr<X11Desktop> X11Desktop::create(const QString& ownName)
{
    return withWindowManager(X11Connection::forApplication(), ownName);
}

std::unique_ptr<X11Desktop> X11Desktop::open(const QString& displayName, const QString& ownName)
{
    return withWindowManager(X11Connection::open(displayName), ownName);
}

} // namespace vesk::platform
