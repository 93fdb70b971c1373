#include "platform/x11/X11WindowCache.h"

#include "platform/x11/X11Connection.h"

#include <QSysInfo>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

namespace vesk::platform {

namespace {

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
using PropertyReply = std::unique_ptr<xcb_get_property_reply_t, FreeDeleter>;

constexpr std::uint32_t maximumPropertyLength = 4096; // in 32-bit units
constexpr std::uint32_t watchedEvents = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;

xcb_get_property_cookie_t requestProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t atom)
{
    return xcb_get_property(connection, 0, window, atom, XCB_GET_PROPERTY_TYPE_ANY, 0, maximumPropertyLength);
}

PropertyReply takeProperty(xcb_connection_t* connection, xcb_get_property_cookie_t cookie)
{
    return PropertyReply(xcb_get_property_reply(connection, cookie, nullptr));
}

std::vector<std::uint32_t> cardinals(const xcb_get_property_reply_t* reply)
{
    if (!reply || reply->format != 32)
        return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
    return std::vector<std::uint32_t>(values, values + xcb_get_property_value_length(reply) / 4);
}

std::optional<std::uint32_t> firstCardinal(const xcb_get_property_reply_t* reply)
{
    const auto values = cardinals(reply);
    return values.empty() ? std::nullopt : std::optional(values.front());
}

QByteArray bytes(const xcb_get_property_reply_t* reply)
{
    if (!reply || reply->format != 8)
        return {};
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply)), xcb_get_property_value_length(reply));
}

// A text property: UTF8_STRING as UTF-8, STRING as Latin-1, anything else
// (compound text) as the locale's encoding, which is right for its ASCII part.
QString text(const xcb_get_property_reply_t* reply, xcb_atom_t utf8String)
{
    const QByteArray value = bytes(reply);
    if (reply && reply->type == utf8String)
        return QString::fromUtf8(value);
    if (reply && reply->type == XCB_ATOM_STRING)
        return QString::fromLatin1(value);
    return QString::fromLocal8Bit(value);
}

X11WindowType windowType(const std::vector<std::uint32_t>& atoms, const xcb_ewmh_connection_t& ewmh)
{
    const std::pair<xcb_atom_t, X11WindowType> table[] = {
        {ewmh._NET_WM_WINDOW_TYPE_NORMAL, X11WindowType::normal},
        {ewmh._NET_WM_WINDOW_TYPE_DESKTOP, X11WindowType::desktop},
        {ewmh._NET_WM_WINDOW_TYPE_DOCK, X11WindowType::dock},
        {ewmh._NET_WM_WINDOW_TYPE_TOOLBAR, X11WindowType::toolbar},
        {ewmh._NET_WM_WINDOW_TYPE_MENU, X11WindowType::menu},
        {ewmh._NET_WM_WINDOW_TYPE_UTILITY, X11WindowType::utility},
        {ewmh._NET_WM_WINDOW_TYPE_SPLASH, X11WindowType::splash},
        {ewmh._NET_WM_WINDOW_TYPE_DIALOG, X11WindowType::dialog},
        {ewmh._NET_WM_WINDOW_TYPE_DROPDOWN_MENU, X11WindowType::dropdownMenu},
        {ewmh._NET_WM_WINDOW_TYPE_POPUP_MENU, X11WindowType::popupMenu},
        {ewmh._NET_WM_WINDOW_TYPE_TOOLTIP, X11WindowType::tooltip},
        {ewmh._NET_WM_WINDOW_TYPE_NOTIFICATION, X11WindowType::notification},
        {ewmh._NET_WM_WINDOW_TYPE_COMBO, X11WindowType::combo},
        {ewmh._NET_WM_WINDOW_TYPE_DND, X11WindowType::dnd},
    };
    // The list is in the client's order of preference: the first known type wins.
    for (std::uint32_t atom : atoms) {
        for (const auto& [known, type] : table) {
            if (atom == known)
                return type;
        }
    }
    return X11WindowType::normal;
}

void applyState(X11ManagedWindow& window, const std::vector<std::uint32_t>& atoms, const xcb_ewmh_connection_t& ewmh)
{
    auto has = [&](xcb_atom_t atom) { return std::find(atoms.begin(), atoms.end(), atom) != atoms.end(); };
    window.hidden = has(ewmh._NET_WM_STATE_HIDDEN);
    window.above = has(ewmh._NET_WM_STATE_ABOVE);
    window.below = has(ewmh._NET_WM_STATE_BELOW);
    window.fullScreen = has(ewmh._NET_WM_STATE_FULLSCREEN);
    window.maximizedHorizontally = has(ewmh._NET_WM_STATE_MAXIMIZED_HORZ);
    window.maximizedVertically = has(ewmh._NET_WM_STATE_MAXIMIZED_VERT);
    window.sticky = has(ewmh._NET_WM_STATE_STICKY);
    window.skipTaskbar = has(ewmh._NET_WM_STATE_SKIP_TASKBAR);
}

} // namespace

// The requests for one window's changed aspects, sent before any reply is taken.
struct X11WindowCache::WindowFetch {
    xcb_window_t id = XCB_WINDOW_NONE;
    unsigned aspects = 0;
    xcb_get_property_cookie_t pid{}, machine{}, wmClass{}, netName{}, wmName{}, type{}, state{}, desktop{}, extents{},
        opacity{};
    xcb_get_geometry_cookie_t geometry{};
    xcb_translate_coordinates_cookie_t origin{};
    xcb_get_window_attributes_cookie_t attributes{};
};

X11WindowCache::X11WindowCache(X11Connection& connection)
    : connection_(connection)
    , hostName_(QSysInfo::machineHostName())
{
    handlerID_ = connection_.addEventHandler([this](const xcb_generic_event_t& event) { handleEvent(event); });
    connect(&connection_, &X11Connection::eventsDispatched, this, &X11WindowCache::refresh);
    watchNewWindows({connection_.root()});
    rootDirty_ = allRootAspects;
    refresh();
}

X11WindowCache::~X11WindowCache()
{
    connection_.removeEventHandler(handlerID_);
}

const X11ManagedWindow* X11WindowCache::window(xcb_window_t id) const
{
    const auto it = records_.find(id);
    return it == records_.end() ? nullptr : &it->second;
}

void X11WindowCache::handleEvent(const xcb_generic_event_t& event)
{
    switch (event.response_type & 0x7f) {
    case XCB_PROPERTY_NOTIFY: {
        const auto& property = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        handlePropertyChange(property.window, property.atom);
        break;
    }
    case XCB_CONFIGURE_NOTIFY:
        markDirty(reinterpret_cast<const xcb_configure_notify_event_t&>(event).window, geometryAspect);
        break;
    case XCB_REPARENT_NOTIFY:
        markDirty(reinterpret_cast<const xcb_reparent_notify_event_t&>(event).window, geometryAspect);
        break;
    case XCB_MAP_NOTIFY:
        setMapped(reinterpret_cast<const xcb_map_notify_event_t&>(event).window, true);
        break;
    case XCB_UNMAP_NOTIFY:
        setMapped(reinterpret_cast<const xcb_unmap_notify_event_t&>(event).window, false);
        break;
    case XCB_DESTROY_NOTIFY: {
        const xcb_window_t window = reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window;
        if (window == wmCheckWindow_)
            rootDirty_ |= windowManagerRoot;
        if (records_.erase(window) > 0) {
            dirty_.erase(window);
            std::erase(frontToBack_, window);
            changed_ = true;
        }
        break;
    }
    default:
        break;
    }
}

void X11WindowCache::handlePropertyChange(xcb_window_t window, xcb_atom_t atom)
{
    const xcb_ewmh_connection_t& ewmh = *connection_.ewmh();
    if (window == connection_.root()) {
        if (atom == ewmh._NET_CLIENT_LIST_STACKING || atom == ewmh._NET_CLIENT_LIST)
            rootDirty_ |= clientListRoot;
        else if (atom == ewmh._NET_CURRENT_DESKTOP)
            rootDirty_ |= currentDesktopRoot;
        else if (atom == ewmh._NET_NUMBER_OF_DESKTOPS)
            rootDirty_ |= desktopCountRoot;
        else if (atom == ewmh._NET_ACTIVE_WINDOW)
            rootDirty_ |= activeWindowRoot;
        else if (atom == ewmh._NET_SUPPORTING_WM_CHECK)
            rootDirty_ |= windowManagerRoot;
        return;
    }
    unsigned aspect = 0;
    if (atom == ewmh._NET_WM_PID || atom == XCB_ATOM_WM_CLIENT_MACHINE)
        aspect = pidAspect;
    else if (atom == XCB_ATOM_WM_CLASS)
        aspect = classAspect;
    else if (atom == ewmh._NET_WM_NAME || atom == XCB_ATOM_WM_NAME)
        aspect = titleAspect;
    else if (atom == ewmh._NET_WM_WINDOW_TYPE)
        aspect = typeAspect;
    else if (atom == ewmh._NET_WM_STATE)
        aspect = stateAspect;
    else if (atom == ewmh._NET_WM_DESKTOP)
        aspect = desktopAspect;
    else if (atom == ewmh._NET_FRAME_EXTENTS)
        aspect = extentsAspect | geometryAspect;
    else if (atom == connection_.atoms().netWmWindowOpacity)
        aspect = opacityAspect;
    if (aspect)
        markDirty(window, aspect);
}

void X11WindowCache::markDirty(xcb_window_t window, unsigned aspects)
{
    if (records_.contains(window))
        dirty_[window] |= aspects;
}

void X11WindowCache::setMapped(xcb_window_t window, bool mapped)
{
    const auto it = records_.find(window);
    if (it == records_.end() || it->second.mapped == mapped)
        return;
    it->second.mapped = mapped;
    changed_ = true;
}

void X11WindowCache::refresh()
{
    if (rootDirty_)
        readRoot();
    if (!dirty_.empty())
        readDirtyWindows();
    if (!changed_)
        return;
    changed_ = false;
    rebuildOrder();
    ++revision_;
    emit changed();
}

void X11WindowCache::readRoot()
{
    xcb_connection_t* c = connection_.xcb();
    const xcb_ewmh_connection_t& ewmh = *connection_.ewmh();
    const xcb_window_t root = connection_.root();
    const unsigned aspects = std::exchange(rootDirty_, 0u);
    auto request = [&](unsigned aspect, xcb_atom_t atom) {
        return (aspects & aspect) ? requestProperty(c, root, atom) : xcb_get_property_cookie_t{};
    };
    const auto stacking = request(clientListRoot, ewmh._NET_CLIENT_LIST_STACKING);
    const auto clientList = request(clientListRoot, ewmh._NET_CLIENT_LIST);
    const auto current = request(currentDesktopRoot, ewmh._NET_CURRENT_DESKTOP);
    const auto count = request(desktopCountRoot, ewmh._NET_NUMBER_OF_DESKTOPS);
    const auto active = request(activeWindowRoot, ewmh._NET_ACTIVE_WINDOW);
    const auto check = request(windowManagerRoot, ewmh._NET_SUPPORTING_WM_CHECK);

    if (aspects & clientListRoot) {
        const PropertyReply stackingReply = takeProperty(c, stacking);
        const PropertyReply listReply = takeProperty(c, clientList);
        const bool hasStacking = stackingReply && stackingReply->type != XCB_ATOM_NONE;
        const auto ids = cardinals(hasStacking ? stackingReply.get() : listReply.get());
        applyClientList(std::vector<xcb_window_t>(ids.begin(), ids.end()));
    }
    if (aspects & currentDesktopRoot) {
        const quint32 desktop = firstCardinal(takeProperty(c, current).get()).value_or(0);
        if (desktop != currentDesktop_) {
            currentDesktop_ = desktop;
            changed_ = true;
            emit currentDesktopChanged(desktop);
        }
    }
    if (aspects & desktopCountRoot) {
        const quint32 desktops = std::max<quint32>(1, firstCardinal(takeProperty(c, count).get()).value_or(1));
        changed_ = changed_ || desktops != desktopCount_;
        desktopCount_ = desktops;
    }
    if (aspects & activeWindowRoot) {
        const xcb_window_t window = firstCardinal(takeProperty(c, active).get()).value_or(XCB_WINDOW_NONE);
        changed_ = changed_ || window != activeWindow_;
        activeWindow_ = window;
    }
    if (aspects & windowManagerRoot)
        readWindowManagerCheck(firstCardinal(takeProperty(c, check).get()).value_or(XCB_WINDOW_NONE));
}

void X11WindowCache::readWindowManagerCheck(xcb_window_t checkWindow)
{
    // A window manager that went away may leave the root's property behind:
    // it counts only while its check window exists and names itself, and the
    // cache hears when that window is destroyed.
    bool present = false;
    if (checkWindow != XCB_WINDOW_NONE) {
        watchNewWindows({checkWindow});
        xcb_connection_t* c = connection_.xcb();
        const PropertyReply own =
            takeProperty(c, requestProperty(c, checkWindow, connection_.ewmh()->_NET_SUPPORTING_WM_CHECK));
        present = firstCardinal(own.get()) == checkWindow;
    }
    wmCheckWindow_ = present ? checkWindow : xcb_window_t(XCB_WINDOW_NONE);
    changed_ = changed_ || present != hasWindowManager_;
    hasWindowManager_ = present;
}

void X11WindowCache::applyClientList(const std::vector<xcb_window_t>& bottomToTop)
{
    std::vector<xcb_window_t> order(bottomToTop.rbegin(), bottomToTop.rend());
    std::vector<xcb_window_t> added;
    for (xcb_window_t id : order) {
        if (!records_.contains(id)) {
            X11ManagedWindow record;
            record.id = id;
            records_.emplace(id, record);
            dirty_[id] = allAspects;
            added.push_back(id);
        }
    }
    std::erase_if(records_,
                  [&](const auto& entry) { return std::find(order.begin(), order.end(), entry.first) == order.end(); });
    std::erase_if(dirty_, [&](const auto& entry) { return !records_.contains(entry.first); });
    watchNewWindows(added);
    if (order != frontToBack_) {
        frontToBack_ = std::move(order);
        changed_ = true;
    }
}

void X11WindowCache::watchNewWindows(const std::vector<xcb_window_t>& windows)
{
    // When the connection is Qt's, a window may be one of Qt's own, whose
    // event mask Qt needs: ours is added to it, never put in its place.
    xcb_connection_t* c = connection_.xcb();
    std::vector<xcb_get_window_attributes_cookie_t> cookies;
    for (xcb_window_t id : windows)
        cookies.push_back(xcb_get_window_attributes(c, id));
    for (std::size_t i = 0; i < windows.size(); ++i) {
        std::unique_ptr<xcb_get_window_attributes_reply_t, FreeDeleter> reply(
            xcb_get_window_attributes_reply(c, cookies[i], nullptr));
        if (!reply)
            continue; // gone already
        const std::uint32_t mask = reply->your_event_mask | watchedEvents;
        // A window may go before the request arrives: its error is dropped
        // rather than reported as an event.
        xcb_discard_reply(c, xcb_change_window_attributes_checked(c, windows[i], XCB_CW_EVENT_MASK, &mask).sequence);
    }
    connection_.flush();
}

void X11WindowCache::readDirtyWindows()
{
    xcb_connection_t* c = connection_.xcb();
    const xcb_ewmh_connection_t& ewmh = *connection_.ewmh();
    const xcb_window_t root = connection_.root();
    std::vector<WindowFetch> fetches;
    for (const auto& [id, aspects] : std::exchange(dirty_, {})) {
        WindowFetch f;
        f.id = id;
        f.aspects = aspects;
        if (aspects & pidAspect) {
            f.pid = requestProperty(c, id, ewmh._NET_WM_PID);
            f.machine = requestProperty(c, id, XCB_ATOM_WM_CLIENT_MACHINE);
        }
        if (aspects & classAspect)
            f.wmClass = requestProperty(c, id, XCB_ATOM_WM_CLASS);
        if (aspects & titleAspect) {
            f.netName = requestProperty(c, id, ewmh._NET_WM_NAME);
            f.wmName = requestProperty(c, id, XCB_ATOM_WM_NAME);
        }
        if (aspects & typeAspect)
            f.type = requestProperty(c, id, ewmh._NET_WM_WINDOW_TYPE);
        if (aspects & stateAspect)
            f.state = requestProperty(c, id, ewmh._NET_WM_STATE);
        if (aspects & desktopAspect)
            f.desktop = requestProperty(c, id, ewmh._NET_WM_DESKTOP);
        if (aspects & extentsAspect)
            f.extents = requestProperty(c, id, ewmh._NET_FRAME_EXTENTS);
        if (aspects & opacityAspect)
            f.opacity = requestProperty(c, id, connection_.atoms().netWmWindowOpacity);
        if (aspects & geometryAspect) {
            f.geometry = xcb_get_geometry(c, id);
            f.origin = xcb_translate_coordinates(c, id, root, 0, 0);
        }
        if (aspects & mapAspect)
            f.attributes = xcb_get_window_attributes(c, id);
        fetches.push_back(f);
    }

    for (const WindowFetch& f : fetches) {
        const auto it = records_.find(f.id);
        if (it == records_.end())
            continue;
        X11ManagedWindow next = it->second;
        if (f.aspects & pidAspect) {
            const auto pid = firstCardinal(takeProperty(c, f.pid).get());
            const QByteArray machine = bytes(takeProperty(c, f.machine).get());
            const bool local = machine.isEmpty() || QString::fromLatin1(machine) == hostName_;
            next.pid = pid && local && *pid > 0 ? std::optional(ProcessID(*pid)) : std::nullopt;
        }
        if (f.aspects & classAspect) {
            const QList<QByteArray> parts = bytes(takeProperty(c, f.wmClass).get()).split('\0');
            next.instanceName = parts.size() > 0 ? QString::fromLatin1(parts[0]) : QString();
            next.className = parts.size() > 1 ? QString::fromLatin1(parts[1]) : QString();
        }
        if (f.aspects & titleAspect) {
            const PropertyReply netName = takeProperty(c, f.netName);
            const PropertyReply wmName = takeProperty(c, f.wmName);
            next.title = netName && netName->type != XCB_ATOM_NONE ? text(netName.get(), ewmh.UTF8_STRING)
                                                                   : text(wmName.get(), ewmh.UTF8_STRING);
        }
        if (f.aspects & typeAspect)
            next.type = windowType(cardinals(takeProperty(c, f.type).get()), ewmh);
        if (f.aspects & stateAspect)
            applyState(next, cardinals(takeProperty(c, f.state).get()), ewmh);
        if (f.aspects & desktopAspect)
            next.desktop = firstCardinal(takeProperty(c, f.desktop).get());
        if (f.aspects & extentsAspect) {
            const auto e = cardinals(takeProperty(c, f.extents).get());
            next.frameExtents = e.size() == 4 ? QMargins(int(e[0]), int(e[2]), int(e[1]), int(e[3])) : QMargins();
        }
        if (f.aspects & opacityAspect) {
            const auto value = firstCardinal(takeProperty(c, f.opacity).get());
            next.opacity = value ? double(*value) / double(0xFFFFFFFFu) : 1.0;
        }
        if (f.aspects & geometryAspect) {
            std::unique_ptr<xcb_get_geometry_reply_t, FreeDeleter> geometry(
                xcb_get_geometry_reply(c, f.geometry, nullptr));
            std::unique_ptr<xcb_translate_coordinates_reply_t, FreeDeleter> origin(
                xcb_translate_coordinates_reply(c, f.origin, nullptr));
            if (geometry && origin)
                next.clientGeometry = QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
        }
        if (f.aspects & mapAspect) {
            std::unique_ptr<xcb_get_window_attributes_reply_t, FreeDeleter> attributes(
                xcb_get_window_attributes_reply(c, f.attributes, nullptr));
            next.mapped = attributes && attributes->map_state != XCB_MAP_STATE_UNMAPPED;
        }
        if (next != it->second) {
            it->second = std::move(next);
            changed_ = true;
        }
    }
}

void X11WindowCache::rebuildOrder()
{
    windows_.clear();
    windows_.reserve(frontToBack_.size());
    for (xcb_window_t id : frontToBack_)
        windows_.push_back(records_.at(id));
}

} // namespace vesk::platform
