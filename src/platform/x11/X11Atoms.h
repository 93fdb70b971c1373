#pragma once

#include <xcb/xcb.h>

namespace vesk::platform {

// The ICCCM and extra atoms Vesk reads or sends beside those of EWMH (which
// xcb-ewmh interns), interned once per connection.
struct X11Atoms {
    xcb_atom_t wmProtocols = XCB_ATOM_NONE;
    xcb_atom_t wmDeleteWindow = XCB_ATOM_NONE;
    xcb_atom_t wmChangeState = XCB_ATOM_NONE;
    xcb_atom_t wmState = XCB_ATOM_NONE;
    xcb_atom_t netWmWindowOpacity = XCB_ATOM_NONE;

    // Sends every intern request first and then takes the replies: one round trip.
    static X11Atoms intern(xcb_connection_t* connection);
};

} // namespace vesk::platform
