#include "platform/x11/X11PointerTap.h"

#include "platform/x11/X11Modifiers.h"

#include "platform/x11/X11Connection.h"

#include <QStringList>

#include <array>
#include <cstdlib>
#include <map>
#include <vector>

namespace vesk::platform {

namespace {

// Left, middle, right, back, forward; 4 to 7 are the wheel's.
constexpr std::array<std::uint8_t, 5> grabbedButtons{1, 2, 3, 8, 9};
constexpr std::uint16_t allButtonsMask =
    XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3 | XCB_BUTTON_MASK_4 | XCB_BUTTON_MASK_5;
// Every combination of the eight modifier bits, for a grab that cannot take them all at once.
constexpr int modifierSets = 256;

std::uint16_t buttonMask(std::uint8_t button)
{
    return button >= 1 && button <= 5 ? std::uint16_t(XCB_BUTTON_MASK_1 << (button - 1)) : 0;
}

int eventType(std::uint8_t button)
{
    if (button == 1)
        return EventType::leftMouseDown;
    if (button == 3)
        return EventType::rightMouseDown;
    return EventType::otherMouseDown;
}

int buttonNumber(std::uint8_t button)
{
    switch (button) {
    case 1:
        return 0;
    case 3:
        return 1;
    case 2:
        return 2;
    default:
        return button > 7 ? button - 5 : button; // 8 and 9 are the fourth and fifth
    }
}

bool refused(xcb_connection_t* connection, xcb_void_cookie_t cookie)
{
    xcb_generic_error_t* error = xcb_request_check(connection, cookie);
    std::free(error);
    return error != nullptr;
}

xcb_void_cookie_t grabButton(xcb_connection_t* connection, xcb_window_t root, std::uint8_t button,
                             std::uint16_t modifiers)
{
    return xcb_grab_button_checked(connection, 0, root, XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE,
                                   XCB_GRAB_MODE_SYNC, XCB_GRAB_MODE_ASYNC, XCB_WINDOW_NONE, XCB_CURSOR_NONE, button,
                                   modifiers);
}

} // namespace

X11PointerTap::X11PointerTap(X11Connection& connection, std::function<const X11RootMapping&()> rootMapping,
                             const EventTapChain& chain)
    : connection_(connection)
    , rootMapping_(std::move(rootMapping))
    , chain_(chain)
    , root_(connection.root())
{
    handler_ = connection_.addEventHandler([this](const xcb_generic_event_t& event) { handle(event); });
    safeguard_ = std::thread([this] { releaseLongFreezes(); });
}

X11PointerTap::~X11PointerTap()
{
    {
        const std::lock_guard lock(frozenMutex_);
        stopping_ = true;
    }
    frozenChanged_.notify_all();
    safeguard_.join();
    connection_.removeEventHandler(handler_);
    ungrab();
}

void X11PointerTap::follow(std::uint64_t enabledKinds)
{
    if (enabledKinds & kinds)
        grab();
    else
        ungrab();
}

void X11PointerTap::grab()
{
    if (grabbing_)
        return;
    grabbing_ = true;
    xcb_connection_t* c = connection_.xcb();
    std::vector<std::pair<std::uint8_t, xcb_void_cookie_t>> whole;
    for (std::uint8_t button : grabbedButtons)
        whole.emplace_back(button, grabButton(c, root_, button, XCB_MOD_MASK_ANY));
    // A button someone else grabs with some modifiers cannot be grabbed with
    // all of them at once: it is grabbed with each set of modifiers that is free.
    std::map<std::uint8_t, std::vector<std::pair<std::uint16_t, xcb_void_cookie_t>>> bySet;
    for (const auto& [button, cookie] : whole) {
        if (!refused(c, cookie))
            continue;
        for (int modifiers = 0; modifiers < modifierSets; ++modifiers)
            bySet[button].emplace_back(std::uint16_t(modifiers),
                                       grabButton(c, root_, button, std::uint16_t(modifiers)));
    }
    QStringList held;
    for (const auto& [button, cookies] : bySet) {
        QStringList sets;
        for (const auto& [modifiers, cookie] : cookies) {
            if (refused(c, cookie))
                sets << QStringLiteral("0x%1").arg(modifiers, 2, 16, QLatin1Char('0'));
        }
        if (sets.size() == modifierSets)
            held << QStringLiteral("button %1 with any modifiers").arg(button);
        else if (!sets.isEmpty())
            held << QStringLiteral("button %1 with modifiers %2").arg(button).arg(sets.join(u' '));
    }
    connection_.flush();
    if (held.isEmpty() || refusalReported_)
        return;
    refusalReported_ = true;
    logger_.log(VeskLogLevel::warning, QStringLiteral("Another client holds mouse grabs on the root window — those "
                                                      "clicks pass unblocked (fail-open): ")
                                           + held.join(QStringLiteral("; ")));
}

void X11PointerTap::ungrab()
{
    if (!grabbing_)
        return;
    grabbing_ = false;
    for (std::uint8_t button : grabbedButtons)
        xcb_ungrab_button(connection_.xcb(), button, root_, XCB_MOD_MASK_ANY);
    connection_.flush();
}

void X11PointerTap::handle(const xcb_generic_event_t& event)
{
    switch (event.response_type & 0x7f) {
    case XCB_BUTTON_PRESS:
        takePress(reinterpret_cast<const xcb_button_press_event_t&>(event));
        break;
    case XCB_BUTTON_RELEASE:
        takeRelease(reinterpret_cast<const xcb_button_release_event_t&>(event));
        break;
    default:
        break;
    }
}

void X11PointerTap::takePress(const xcb_button_press_event_t& press)
{
    // Only the grab brings the root window's presses to this client.
    if (press.event != root_)
        return;
    // Another button of a swallowed click: the grab holds it already (and the pointer is not frozen).
    if (swallowingClick_ && (press.state & allButtonsMask)) {
        xcb_allow_events(connection_.xcb(), XCB_ALLOW_ASYNC_POINTER, press.time);
        connection_.flush();
        return;
    }
    {
        const std::lock_guard lock(frozenMutex_);
        frozenPress_ = press.time;
    }
    frozenChanged_.notify_all();
    // The taps may change the chain (and so the grab) while they run; the
    // press is answered afterwards all the same.
    const bool passed = chain_.pass(inputEvent(press, rootMapping_())).event.has_value();
    const bool answered = answer(press.time, passed ? XCB_ALLOW_REPLAY_POINTER : XCB_ALLOW_ASYNC_POINTER);
    swallowingClick_ = answered && !passed;
    if (!answered && !lateAnswerReported_) {
        lateAnswerReported_ = true;
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("A click waited longer than %1 ms for its decision — it went to its window "
                                   "(fail-open)")
                        .arg(longestFreeze.count()));
    }
}

void X11PointerTap::takeRelease(const xcb_button_release_event_t& release)
{
    if (release.event != root_)
        return;
    // The state is the buttons' before this release.
    if ((release.state & allButtonsMask & ~buttonMask(release.detail)) == 0)
        swallowingClick_ = false;
}

bool X11PointerTap::answer(xcb_timestamp_t press, std::uint8_t mode)
{
    const std::lock_guard lock(frozenMutex_);
    if (frozenPress_ != press)
        return false;
    frozenPress_.reset();
    // With the press's time, an answer the server takes for a later grab is ignored.
    xcb_allow_events(connection_.xcb(), mode, press);
    connection_.flush();
    return true;
}

// The safeguard thread: a press left frozen too long is let through.
void X11PointerTap::releaseLongFreezes()
{
    std::unique_lock lock(frozenMutex_);
    while (!stopping_) {
        if (!frozenPress_) {
            frozenChanged_.wait(lock);
            continue;
        }
        const xcb_timestamp_t press = *frozenPress_;
        if (frozenChanged_.wait_for(lock, longestFreeze, [&] { return stopping_ || frozenPress_ != press; }))
            continue;
        frozenPress_.reset();
        xcb_allow_events(connection_.xcb(), XCB_ALLOW_REPLAY_POINTER, press);
        xcb_flush(connection_.xcb());
    }
}

InputEvent X11PointerTap::inputEvent(const xcb_button_press_event_t& press, const X11RootMapping& mapping)
{
    const QPointF point = mapping.quartzFromRoot(QRect(press.root_x, press.root_y, 1, 1)).topLeft();
    InputEvent event = InputEvent::mouse(eventType(press.detail), point, buttonNumber(press.detail));
    event.flags = eventFlagsOfModifiers(press.state);
    return event;
}

} // namespace vesk::platform
