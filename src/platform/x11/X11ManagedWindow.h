#pragma once

#include "platform/Identifiers.h"

#include <QMargins>
#include <QRect>
#include <QString>

#include <xcb/xcb.h>

#include <optional>

namespace vesk::platform {

// The window types of EWMH; a window without one is `normal` (a transient
// one would be a dialog, which makes no difference to Vesk).
enum class X11WindowType {
    normal,
    desktop,
    dock,
    toolbar,
    menu,
    utility,
    splash,
    dialog,
    dropdownMenu,
    popupMenu,
    tooltip,
    notification,
    combo,
    dnd,
};

// The `_NET_WM_DESKTOP` of a window that is on every desktop.
inline constexpr quint32 kX11AllDesktops = 0xFFFFFFFF;

// One window the window manager manages, as the cache last read it from the
// server. Coordinates are the root window's (the top-left of the X screen).
struct X11ManagedWindow {
    xcb_window_t id = XCB_WINDOW_NONE;
    // `_NET_WM_PID`, kept only when the client runs on this machine
    // (`WM_CLIENT_MACHINE` names this host or is missing): another host's
    // process number means nothing here.
    std::optional<ProcessID> pid;
    QString instanceName; // WM_CLASS, first part
    QString className;    // WM_CLASS, second part
    QString title;        // _NET_WM_NAME, else WM_NAME
    X11WindowType type = X11WindowType::normal;
    bool hidden = false; // minimised (iconic) or otherwise not shown by the window manager
    bool above = false;
    bool below = false;
    bool fullScreen = false;
    bool maximizedHorizontally = false;
    bool maximizedVertically = false;
    bool sticky = false;
    bool skipTaskbar = false;
    std::optional<quint32> desktop; // none: the window manager has not said
    QRect clientGeometry;           // without the frame
    QMargins frameExtents;          // _NET_FRAME_EXTENTS
    bool mapped = false;
    double opacity = 1.0; // _NET_WM_WINDOW_OPACITY

    // What the user sees of the window: the client with the frame around it.
    QRect bounds() const { return clientGeometry.marginsAdded(frameExtents); }
    bool isMaximized() const { return maximizedHorizontally && maximizedVertically; }
    bool isOnAllDesktops() const { return sticky || desktop == kX11AllDesktops; }
    bool isOnDesktop(quint32 current) const { return !desktop || isOnAllDesktops() || *desktop == current; }

    bool operator==(const X11ManagedWindow&) const = default;
};

} // namespace vesk::platform
