#pragma once

#include <QRect>

#include <xcb/xcb.h>

namespace vesk::platform {

class X11Connection;
class X11WindowCache;

// Asks the window manager to act on other clients' windows, as a pager
// does (EWMH client messages to the root window with the "other" source, so
// the window manager does not take them for the application's own wishes).
// Each call is sent at once and returns without waiting: the window cache
// shows the outcome when the window manager has carried it out. A call on a
// window the cache does not list does nothing and returns false.
class X11WindowControl {
public:
    X11WindowControl(X11Connection& connection, const X11WindowCache& cache);

    // Places the window so that its bounds, frame included, are `bounds`, in
    // root coordinates as the window cache has them (the window list's are
    // measured from the primary display's corner instead).
    bool moveResize(xcb_window_t window, const QRect& bounds);
    // Activates the window: its desktop comes up, it is raised and takes the keyboard.
    bool activate(xcb_window_t window);
    // Raises the window to the top of its layer without activating it.
    bool raise(xcb_window_t window);
    // Iconifies the window (ICCCM WM_CHANGE_STATE).
    bool minimize(xcb_window_t window);
    // Maps an iconified window back (ICCCM: mapping it leaves the iconic state).
    bool restore(xcb_window_t window);
    // Asks the window to close (its application may ask the user first, or refuse).
    bool close(xcb_window_t window);
    bool setMaximized(xcb_window_t window, bool maximized);
    bool setFullScreen(xcb_window_t window, bool fullScreen);
    bool moveToDesktop(xcb_window_t window, quint32 desktop);
    // False when there is no such desktop.
    bool switchToDesktop(quint32 desktop);

private:
    bool isListed(xcb_window_t window) const;
    bool changeState(xcb_window_t window, bool on, xcb_atom_t first, xcb_atom_t second);
    void send();

    X11Connection& connection_;
    const X11WindowCache& cache_;
};

} // namespace vesk::platform
