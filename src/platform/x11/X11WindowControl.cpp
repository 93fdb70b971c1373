#include "platform/x11/X11WindowControl.h"

#include "platform/x11/X11Connection.h"
#include "platform/x11/X11WindowCache.h"

namespace vesk::platform {

namespace {

constexpr std::uint32_t iconicState = 3; // ICCCM

} // namespace

X11WindowControl::X11WindowControl(X11Connection& connection, const X11WindowCache& cache)
    : connection_(connection)
    , cache_(cache)
{
}

bool X11WindowControl::isListed(xcb_window_t window) const
{
    return cache_.window(window) != nullptr;
}

void X11WindowControl::send()
{
    connection_.flush();
}

bool X11WindowControl::moveResize(xcb_window_t window, const QRect& bounds)
{
    const X11ManagedWindow* listed = cache_.window(window);
    if (!listed)
        return false;
    // Static gravity places the client itself, so the frame is taken off
    // here; a size is the client's, without the frame.
    const QMargins frame = listed->frameExtents;
    const QRect client = bounds.marginsRemoved(frame);
    if (client.width() <= 0 || client.height() <= 0)
        return false;
    const auto flags =
        xcb_ewmh_moveresize_window_opt_flags_t(XCB_EWMH_MOVERESIZE_WINDOW_X | XCB_EWMH_MOVERESIZE_WINDOW_Y
                                               | XCB_EWMH_MOVERESIZE_WINDOW_WIDTH | XCB_EWMH_MOVERESIZE_WINDOW_HEIGHT);
    xcb_ewmh_request_moveresize_window(connection_.ewmh(), connection_.screenNumber(), window, XCB_GRAVITY_STATIC,
                                       XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, flags, std::uint32_t(client.x()),
                                       std::uint32_t(client.y()), std::uint32_t(client.width()),
                                       std::uint32_t(client.height()));
    send();
    return true;
}

bool X11WindowControl::activate(xcb_window_t window)
{
    if (!isListed(window))
        return false;
    xcb_ewmh_request_change_active_window(connection_.ewmh(), connection_.screenNumber(), window,
                                          XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, XCB_CURRENT_TIME, cache_.activeWindow());
    send();
    return true;
}

bool X11WindowControl::raise(xcb_window_t window)
{
    if (!isListed(window))
        return false;
    xcb_ewmh_request_restack_window(connection_.ewmh(), connection_.screenNumber(), window, XCB_WINDOW_NONE,
                                    XCB_STACK_MODE_ABOVE);
    send();
    return true;
}

bool X11WindowControl::minimize(xcb_window_t window)
{
    if (!isListed(window))
        return false;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = connection_.atoms().wmChangeState;
    message.data.data32[0] = iconicState;
    xcb_send_event(connection_.xcb(), 0, connection_.root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    send();
    return true;
}

bool X11WindowControl::restore(xcb_window_t window)
{
    if (!isListed(window))
        return false;
    xcb_map_window(connection_.xcb(), window);
    send();
    return true;
}

bool X11WindowControl::close(xcb_window_t window)
{
    if (!isListed(window))
        return false;
    xcb_ewmh_request_close_window(connection_.ewmh(), connection_.screenNumber(), window, XCB_CURRENT_TIME,
                                  XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER);
    send();
    return true;
}

bool X11WindowControl::changeState(xcb_window_t window, bool on, xcb_atom_t first, xcb_atom_t second)
{
    if (!isListed(window))
        return false;
    xcb_ewmh_request_change_wm_state(connection_.ewmh(), connection_.screenNumber(), window,
                                     on ? XCB_EWMH_WM_STATE_ADD : XCB_EWMH_WM_STATE_REMOVE, first, second,
                                     XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER);
    send();
    return true;
}

bool X11WindowControl::setMaximized(xcb_window_t window, bool maximized)
{
    const xcb_ewmh_connection_t& ewmh = *connection_.ewmh();
    return changeState(window, maximized, ewmh._NET_WM_STATE_MAXIMIZED_HORZ, ewmh._NET_WM_STATE_MAXIMIZED_VERT);
}

bool X11WindowControl::setFullScreen(xcb_window_t window, bool fullScreen)
{
    return changeState(window, fullScreen, connection_.ewmh()->_NET_WM_STATE_FULLSCREEN, XCB_ATOM_NONE);
}

bool X11WindowControl::moveToDesktop(xcb_window_t window, quint32 desktop)
{
    if (!isListed(window) || (desktop >= cache_.desktopCount() && desktop != kX11AllDesktops))
        return false;
    xcb_ewmh_request_change_wm_desktop(connection_.ewmh(), connection_.screenNumber(), window, desktop,
                                       XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER);
    send();
    return true;
}

bool X11WindowControl::switchToDesktop(quint32 desktop)
{
    if (desktop >= cache_.desktopCount())
        return false;
    xcb_ewmh_request_change_current_desktop(connection_.ewmh(), connection_.screenNumber(), desktop, XCB_CURRENT_TIME);
    send();
    return true;
}

} // namespace vesk::platform
