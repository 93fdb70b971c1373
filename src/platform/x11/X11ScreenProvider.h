#pragma once

#include "platform/ScreenChangeObserving.h"
#include "platform/ScreenProviding.h"
#include "platform/x11/X11RootMapping.h"

#include <QObject>

#include <map>

class QScreen;

namespace vesk::platform {

// The displays as Qt knows them (QGuiApplication::screens(), the primary one
// first), followed as they come, go and change. Both coordinate systems start
// at a corner of the primary display: the top-left bounds at its top-left
// corner (Qt's global coordinates less `primaryOrigin()`; `rootMapping()`
// relates them to the root window's pixels), the bottom-left frames at its
// bottom-left corner. A
// display keeps its number for as long as the process runs (by its name).
class X11ScreenProvider final : public QObject, public ScreenProviding, public ScreenChangeObserving {
    Q_OBJECT
public:
    X11ScreenProvider();

    std::vector<ScreenInfo> screens() const override;
    // The display of the window with the keyboard focus, else the primary one.
    std::optional<ScreenInfo> mainScreen() const override;
    std::optional<QRectF> displayBounds(quint32 displayID) const override;
    QMetaObject::Connection observeScreenParameters(QObject* receiver, std::function<void()> handler) const override;

    // The primary display's top-left corner in Qt's global coordinates.
    QPointF primaryOrigin() const;
    // Between the root window and the top-left system, display by display
    // (read again on every change of the displays).
    const X11RootMapping& rootMapping() const { return mapping_; }
    QRectF quartzFromGlobal(const QRectF& globalRect) const;
    // Between the bottom-left system and the top-left one of the bounds.
    QRectF quartzRect(const QRectF& cocoaRect) const;
    QRectF cocoaRect(const QRectF& quartzRect) const;

signals:
    void screenParametersChanged();

private:
    void watch(QScreen* screen);
    void screensChanged();
    X11RootMapping readRootMapping() const;
    QList<QScreen*> orderedScreens() const;
    ScreenInfo screenInfo(QScreen* screen) const;
    quint32 displayID(const QScreen* screen) const;

    mutable std::map<QString, quint32> displayIDs_;
    X11RootMapping mapping_;
};

} // namespace vesk::platform
