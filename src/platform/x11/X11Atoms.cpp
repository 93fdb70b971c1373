#include "platform/x11/X11Atoms.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace vesk::platform {

X11Atoms X11Atoms::intern(xcb_connection_t* connection)
{
    X11Atoms atoms;
    struct Entry {
        const char* name;
        xcb_atom_t* atom;
    };
    const Entry entries[] = {
        {"WM_PROTOCOLS", &atoms.wmProtocols},
        {"WM_DELETE_WINDOW", &atoms.wmDeleteWindow},
        {"WM_CHANGE_STATE", &atoms.wmChangeState},
        {"WM_STATE", &atoms.wmState},
        {"_NET_WM_WINDOW_OPACITY", &atoms.netWmWindowOpacity},
    };
    xcb_intern_atom_cookie_t cookies[std::size(entries)];
    for (std::size_t i = 0; i < std::size(entries); ++i)
        cookies[i] = xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(entries[i].name)), entries[i].name);
    for (std::size_t i = 0; i < std::size(entries); ++i) {
        if (xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookies[i], nullptr)) {
            *entries[i].atom = reply->atom;
            std::free(reply);
        }
    }
    return atoms;
}

} // namespace vesk::platform
