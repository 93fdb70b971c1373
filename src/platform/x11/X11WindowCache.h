#pragma once

#include "platform/x11/X11ManagedWindow.h"

#include <QObject>

#include <map>
#include <set>
#include <vector>

namespace vesk::platform {

class X11Connection;

// The windows the window manager manages, front to back
// (`_NET_CLIENT_LIST_STACKING`, else `_NET_CLIENT_LIST`), with the desktops
// and the active window. It listens to the root window's and each client's
// property changes, configure, map, unmap and destroy events, and after each
// batch of events reads again only what those events changed (all requests
// first, then the replies). Reading the cache never talks to the server.
class X11WindowCache final : public QObject {
    Q_OBJECT
public:
    // Reads the whole state once before it returns.
    explicit X11WindowCache(X11Connection& connection);
    ~X11WindowCache() override;

    // Front to back.
    const std::vector<X11ManagedWindow>& windows() const { return windows_; }
    const X11ManagedWindow* window(xcb_window_t id) const;
    quint32 currentDesktop() const { return currentDesktop_; }
    quint32 desktopCount() const { return desktopCount_; }
    xcb_window_t activeWindow() const { return activeWindow_; }
    // A window manager that speaks EWMH runs (`_NET_SUPPORTING_WM_CHECK` on
    // the root names a window that names itself).
    bool hasWindowManager() const { return hasWindowManager_; }
    // Grows with every change the cache takes in.
    quint64 revision() const { return revision_; }

    // Reads again what the events so far have changed.
    void refresh();

signals:
    void changed();
    void currentDesktopChanged(quint32 desktop);

private:
    struct WindowFetch;

    enum Aspect : unsigned {
        pidAspect = 1u << 0,
        classAspect = 1u << 1,
        titleAspect = 1u << 2,
        typeAspect = 1u << 3,
        stateAspect = 1u << 4,
        desktopAspect = 1u << 5,
        geometryAspect = 1u << 6,
        extentsAspect = 1u << 7,
        opacityAspect = 1u << 8,
        mapAspect = 1u << 9,
        allAspects = (1u << 10) - 1,
    };
    enum RootAspect : unsigned {
        clientListRoot = 1u << 0,
        currentDesktopRoot = 1u << 1,
        desktopCountRoot = 1u << 2,
        activeWindowRoot = 1u << 3,
        windowManagerRoot = 1u << 4,
        allRootAspects = (1u << 5) - 1,
    };

    void handleEvent(const xcb_generic_event_t& event);
    void handlePropertyChange(xcb_window_t window, xcb_atom_t atom);
    void markDirty(xcb_window_t window, unsigned aspects);
    void setMapped(xcb_window_t window, bool mapped);
    void readRoot();
    void readWindowManagerCheck(xcb_window_t checkWindow);
    void applyClientList(const std::vector<xcb_window_t>& bottomToTop);
    void watchNewWindows(const std::vector<xcb_window_t>& windows);
    void readDirtyWindows();
    void rebuildOrder();

    X11Connection& connection_;
    int handlerID_ = 0;
    std::map<xcb_window_t, X11ManagedWindow> records_;
    std::vector<xcb_window_t> frontToBack_;
    std::vector<X11ManagedWindow> windows_;
    std::map<xcb_window_t, unsigned> dirty_;
    unsigned rootDirty_ = 0;
    bool changed_ = false;
    quint32 currentDesktop_ = 0;
    quint32 desktopCount_ = 1;
    xcb_window_t activeWindow_ = XCB_WINDOW_NONE;
    bool hasWindowManager_ = false;
    xcb_window_t wmCheckWindow_ = XCB_WINDOW_NONE;
    quint64 revision_ = 0;
    QString hostName_;
};

} // namespace vesk::platform
