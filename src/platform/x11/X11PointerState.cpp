#include "platform/x11/X11PointerState.h"

#include "platform/x11/X11Connection.h"

#include <xcb/xcbext.h>

#include <cstdlib>

namespace vesk::platform {

X11PointerState::X11PointerState(X11Connection& connection, std::function<QPointF(QPoint rootPoint)> cocoaFromRoot)
    : connection_(connection)
    , cocoaFromRoot_(std::move(cocoaFromRoot))
{
}

X11PointerState::~X11PointerState()
{
    // The answer still on its way is xcb's to drop once it comes.
    if (pending_)
        xcb_discard_reply(connection_.xcb(), *pending_);
}

QPointF X11PointerState::mouseLocation() const
{
    update();
    return cocoaFromRoot_(root_);
}

bool X11PointerState::isMouseButtonDown(int button) const
{
    update();
    return isButtonInMask(mask_, button);
}

bool X11PointerState::isButtonInMask(std::uint16_t mask, int button)
{
    switch (button) {
    case 0:
        return mask & XCB_KEY_BUT_MASK_BUTTON_1;
    case 1:
        return mask & XCB_KEY_BUT_MASK_BUTTON_3;
    case 2:
        return mask & XCB_KEY_BUT_MASK_BUTTON_2;
    default:
        // Buttons 4 and 5 are the wheel's clicks; further buttons have no state bit.
        return false;
    }
}

void X11PointerState::update() const
{
    xcb_connection_t* xcb = connection_.xcb();
    if (pending_) {
        void* reply = nullptr;
        xcb_generic_error_t* error = nullptr;
        if (!xcb_poll_for_reply(xcb, *pending_, &reply, &error))
            return;
        pending_.reset();
        if (reply)
            take(*static_cast<xcb_query_pointer_reply_t*>(reply));
        std::free(reply);
        std::free(error);
    }
    const xcb_query_pointer_cookie_t cookie = xcb_query_pointer(xcb, connection_.root());
    if (!known_) {
        if (xcb_query_pointer_reply_t* reply = xcb_query_pointer_reply(xcb, cookie, nullptr)) {
            take(*reply);
            std::free(reply);
        }
        return;
    }
    pending_ = cookie.sequence;
    xcb_flush(xcb);
}

void X11PointerState::take(const xcb_query_pointer_reply_t& reply) const
{
    known_ = true;
    root_ = QPoint(reply.root_x, reply.root_y);
    mask_ = reply.mask;
}

} // namespace vesk::platform
