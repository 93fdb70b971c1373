#include "platform/DisplayCompositing.h"

#include <QByteArray>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace vesk::platform {

namespace {

template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPointer<Reply> owned(Reply* reply)
{
    return ReplyPointer<Reply>(reply, &std::free);
}

bool holdsCompositingSelection(xcb_connection_t* connection)
{
    static const QByteArray selection("_NET_WM_CM_S0");
    const auto atom =
        owned(xcb_intern_atom_reply(connection,
                                    xcb_intern_atom(connection, true, quint16(selection.size()), selection.constData()),
                                    nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return false;
    const auto owner =
        owned(xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

} // namespace

bool displayComposites()
{
    const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    const auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 && x11->connection() && holdsCompositingSelection(x11->connection());
}

} // namespace vesk::platform
