#include "platform/x11/X11ScreenProvider.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace vesk::platform {

X11ScreenProvider::X11ScreenProvider()
{
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watch(screen);
        screensChanged();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &X11ScreenProvider::screensChanged);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &X11ScreenProvider::screensChanged);
    mapping_ = readRootMapping();
}

void X11ScreenProvider::watch(QScreen* screen)
{
    connect(screen, &QScreen::geometryChanged, this, &X11ScreenProvider::screensChanged);
    connect(screen, &QScreen::availableGeometryChanged, this, &X11ScreenProvider::screensChanged);
}

void X11ScreenProvider::screensChanged()
{
    mapping_ = readRootMapping();
    emit screenParametersChanged();
}

QList<QScreen*> X11ScreenProvider::orderedScreens() const
{
    QList<QScreen*> screens = QGuiApplication::screens();
    if (QScreen* primary = QGuiApplication::primaryScreen(); primary && screens.removeOne(primary))
        screens.prepend(primary);
    return screens;
}

quint32 X11ScreenProvider::displayID(const QScreen* screen) const
{
    const auto [it, added] = displayIDs_.try_emplace(screen->name(), quint32(displayIDs_.size() + 1));
    return it->second;
}

ScreenInfo X11ScreenProvider::screenInfo(QScreen* screen) const
{
    ScreenInfo info;
    info.displayID = displayID(screen);
    info.frame = cocoaRect(quartzFromGlobal(screen->geometry()));
    info.visibleFrame = cocoaRect(quartzFromGlobal(screen->availableGeometry()));
    info.name = screen->name();
    info.scale = screen->devicePixelRatio();
    return info;
}

std::vector<ScreenInfo> X11ScreenProvider::screens() const
{
    std::vector<ScreenInfo> result;
    for (QScreen* screen : orderedScreens())
        result.push_back(screenInfo(screen));
    return result;
}

std::optional<ScreenInfo> X11ScreenProvider::mainScreen() const
{
    QWindow* focus = QGuiApplication::focusWindow();
    QScreen* screen = focus && focus->screen() ? focus->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    return screenInfo(screen);
}

std::optional<QRectF> X11ScreenProvider::displayBounds(quint32 id) const
{
    for (QScreen* screen : orderedScreens()) {
        if (displayID(screen) == id)
            return quartzFromGlobal(screen->geometry());
    }
    return std::nullopt;
}

QMetaObject::Connection X11ScreenProvider::observeScreenParameters(QObject* receiver,
                                                                   std::function<void()> handler) const
{
    return connect(this, &X11ScreenProvider::screenParametersChanged, receiver, std::move(handler));
}

QPointF X11ScreenProvider::primaryOrigin() const
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? QPointF(primary->geometry().topLeft()) : QPointF();
}

X11RootMapping X11ScreenProvider::readRootMapping() const
{
    X11RootMapping mapping;
    mapping.primaryOrigin = primaryOrigin();
    for (QScreen* screen : orderedScreens()) {
        const QRect logical = screen->geometry();
        const double scale = screen->devicePixelRatio();
        const QSize rootSize(qRound(logical.width() * scale), qRound(logical.height() * scale));
        mapping.displays.push_back({QRect(logical.topLeft(), rootSize), QPointF(logical.topLeft()), scale});
    }
    return mapping;
}

QRectF X11ScreenProvider::quartzFromGlobal(const QRectF& globalRect) const
{
    return globalRect.translated(-primaryOrigin());
}

QRectF X11ScreenProvider::cocoaRect(const QRectF& quartzRect) const
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return quartzRect;
    // Both systems start at a corner of the primary display: a flip about its height.
    const double height = primary->geometry().height();
    return QRectF(quartzRect.x(), height - quartzRect.y() - quartzRect.height(), quartzRect.width(),
                  quartzRect.height());
}

QRectF X11ScreenProvider::quartzRect(const QRectF& cocoaRect) const
{
    // The flip is its own inverse.
    return this->cocoaRect(cocoaRect);
}

} // namespace vesk::platform
