#include "platform/x11/X11KeyTap.h"

#include "platform/x11/X11Modifiers.h"

#include "platform/VirtualKeyCodes.h"
#include "platform/x11/X11Connection.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QStringList>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace vesk::platform {

namespace {

constexpr std::uint16_t shiftMask = XCB_MOD_MASK_SHIFT;
constexpr std::uint16_t controlMask = XCB_MOD_MASK_CONTROL;
constexpr std::uint16_t altMask = XCB_MOD_MASK_1;
constexpr std::uint16_t superMask = XCB_MOD_MASK_4;
constexpr std::uint16_t chordModifiers = shiftMask | controlMask | altMask | superMask;
// CapsLock and NumLock must not keep a chord from being grabbed.
constexpr std::uint16_t lockVariants[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

namespace Keysym {
constexpr std::uint32_t space = 0x20;
constexpr std::uint32_t grave = 0x60;
constexpr std::uint32_t isoLeftTab = 0xfe20;
constexpr std::uint32_t tab = 0xff09;
constexpr std::uint32_t returnKey = 0xff0d;
constexpr std::uint32_t escape = 0xff1b;
constexpr std::uint32_t home = 0xff50;
constexpr std::uint32_t left = 0xff51;
constexpr std::uint32_t up = 0xff52;
constexpr std::uint32_t right = 0xff53;
constexpr std::uint32_t down = 0xff54;
constexpr std::uint32_t pageUp = 0xff55;
constexpr std::uint32_t pageDown = 0xff56;
constexpr std::uint32_t end = 0xff57;
constexpr std::uint32_t f1 = 0xffbe;
constexpr std::uint32_t f12 = 0xffc9;
constexpr std::uint32_t shiftL = 0xffe1;
constexpr std::uint32_t shiftR = 0xffe2;
constexpr std::uint32_t controlL = 0xffe3;
constexpr std::uint32_t controlR = 0xffe4;
constexpr std::uint32_t metaL = 0xffe7;
constexpr std::uint32_t metaR = 0xffe8;
constexpr std::uint32_t altL = 0xffe9;
constexpr std::uint32_t altR = 0xffea;
constexpr std::uint32_t superL = 0xffeb;
constexpr std::uint32_t superR = 0xffec;
} // namespace Keysym

constexpr std::uint64_t command = EventFlag::command;
constexpr std::uint64_t shift = EventFlag::shift;
constexpr std::uint64_t control = EventFlag::control;
constexpr std::uint64_t option = EventFlag::option;

std::uint16_t modifierOfKeysym(std::uint32_t keysym)
{
    switch (keysym) {
    case Keysym::shiftL:
    case Keysym::shiftR:
        return shiftMask;
    case Keysym::controlL:
    case Keysym::controlR:
        return controlMask;
    case Keysym::altL:
    case Keysym::altR:
    case Keysym::metaL:
    case Keysym::metaR:
        return altMask;
    case Keysym::superL:
    case Keysym::superR:
        return superMask;
    default:
        return 0;
    }
}

std::optional<int> qtKeyOfKeysym(std::uint32_t keysym)
{
    if (keysym >= 'a' && keysym <= 'z')
        return int(keysym - 'a' + Qt::Key_A);
    if (keysym >= Keysym::space && keysym < 0x7f)
        return int(keysym); // Qt names the other printable ASCII keys by their character
    if (keysym >= Keysym::f1 && keysym <= Keysym::f12)
        return int(Qt::Key_F1 + (keysym - Keysym::f1));
    switch (keysym) {
    case Keysym::tab:
    case Keysym::isoLeftTab:
        return Qt::Key_Tab;
    case Keysym::returnKey:
        return Qt::Key_Return;
    case Keysym::escape:
        return Qt::Key_Escape;
    case 0xff08:
        return Qt::Key_Backspace;
    case 0xffff:
        return Qt::Key_Delete;
    case Keysym::home:
        return Qt::Key_Home;
    case Keysym::end:
        return Qt::Key_End;
    case Keysym::pageUp:
        return Qt::Key_PageUp;
    case Keysym::pageDown:
        return Qt::Key_PageDown;
    case Keysym::left:
        return Qt::Key_Left;
    case Keysym::right:
        return Qt::Key_Right;
    case Keysym::up:
        return Qt::Key_Up;
    case Keysym::down:
        return Qt::Key_Down;
    default:
        return std::nullopt;
    }
}

std::uint64_t flagsOfQtModifiers(Qt::KeyboardModifiers modifiers)
{
    std::uint64_t flags = 0;
    if (modifiers & Qt::MetaModifier)
        flags |= command;
    if (modifiers & Qt::AltModifier)
        flags |= option;
    if (modifiers & Qt::ControlModifier)
        flags |= control;
    if (modifiers & Qt::ShiftModifier)
        flags |= shift;
    return flags;
}

bool isKeyDownWanted(std::uint64_t mask)
{
    return EventTapChain::matches(mask, EventType::keyDown);
}

} // namespace

// Each X11 chord with the chord that does its job where the services were
// written (Super, Alt, Ctrl, Shift stand for Command, Option, Control, Shift).
const std::vector<X11KeyTap::Chord>& X11KeyTap::chords()
{
    static const std::vector<Chord> list = {
        // Switching applications and windows.
        {"Alt+Tab", Keysym::tab, altMask, KeyCode::tab, command},
        {"Alt+Shift+Tab", Keysym::tab, altMask | shiftMask, KeyCode::tab, command | shift},
        {"Super+Tab", Keysym::tab, superMask, KeyCode::tab, command},
        {"Super+Shift+Tab", Keysym::tab, superMask | shiftMask, KeyCode::tab, command | shift},
        {"Alt+grave", Keysym::grave, altMask, KeyCode::grave, command},
        // The overview, the launcher's search.
        {"Super", Keysym::superL, 0, KeyCode::f3, 0},
        {"Super (right)", Keysym::superR, 0, KeyCode::f3, 0},
        {"Super+Space", Keysym::space, superMask, KeyCode::space, command},
        // Switching desktops, alone or with the active window.
        {"Ctrl+Alt+Left", Keysym::left, controlMask | altMask, KeyCode::leftArrow, control},
        {"Ctrl+Alt+Right", Keysym::right, controlMask | altMask, KeyCode::rightArrow, control},
        {"Ctrl+Alt+Up", Keysym::up, controlMask | altMask, KeyCode::upArrow, control},
        {"Ctrl+Alt+Down", Keysym::down, controlMask | altMask, KeyCode::downArrow, control},
        {"Ctrl+Alt+Shift+Left", Keysym::left, controlMask | altMask | shiftMask, KeyCode::leftArrow, control},
        {"Ctrl+Alt+Shift+Right", Keysym::right, controlMask | altMask | shiftMask, KeyCode::rightArrow, control},
        {"Ctrl+Alt+Shift+Up", Keysym::up, controlMask | altMask | shiftMask, KeyCode::upArrow, control},
        {"Ctrl+Alt+Shift+Down", Keysym::down, controlMask | altMask | shiftMask, KeyCode::downArrow, control},
        {"Super+Page_Up", Keysym::pageUp, superMask, KeyCode::upArrow, control},
        {"Super+Page_Down", Keysym::pageDown, superMask, KeyCode::downArrow, control},
        {"Super+Shift+Page_Up", Keysym::pageUp, superMask | shiftMask, KeyCode::upArrow, control},
        {"Super+Shift+Page_Down", Keysym::pageDown, superMask | shiftMask, KeyCode::downArrow, control},
        {"Super+Home", Keysym::home, superMask, KeyCode::leftArrow, control},
        {"Super+End", Keysym::end, superMask, KeyCode::rightArrow, control},
        // The emergency exit and the force-quit dialog.
        {"Super+Shift+Escape", Keysym::escape, superMask | shiftMask, KeyCode::escape, command | shift},
        {"Super+Alt+Escape", Keysym::escape, superMask | altMask, KeyCode::escape, command | option},
    };
    return list;
}

X11KeyTap::X11KeyTap(X11Connection& connection, EventTapChain& chain, std::function<bool()> keysGoToVesk)
    : connection_(connection)
    , chain_(chain)
    , keysGoToVesk_(std::move(keysGoToVesk))
    , states_(chords().size(), GrabState::released)
{
    readKeyboardMapping();
    xcb_connection_t* c = connection_.xcb();
    if (const xcb_query_extension_reply_t* xinput = xcb_get_extension_data(c, &xcb_input_id);
        xinput && xinput->present) {
        xinputOpcode_ = xinput->major_opcode;
        // Qt announced its XInput 2 version on its own connection already.
        if (!connection_.sharesQtConnection())
            std::free(xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 2), nullptr));
    }
    handlerID_ = connection_.addEventHandler([this](const xcb_generic_event_t& event) { handle(event); });
    QObject::connect(&connection_, &X11Connection::eventsDispatched, this, [this] { deliverRawKeysLeftToOthers(); });
}

X11KeyTap::~X11KeyTap()
{
    connection_.removeEventHandler(handlerID_);
    releaseAll();
    selectRawKeys(false);
    if (filterInstalled_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    connection_.flush();
}

void X11KeyTap::follow()
{
    followKeyTaps();
    followGlobalMonitors();
    followLocalMonitors();
    connection_.flush();
}

void X11KeyTap::followKeyTaps()
{
    const std::vector<EventTapID> now = chain_.swallowingTaps(EventType::keyDown);
    const std::set<EventTapID> taps(now.begin(), now.end());
    if (taps.empty()) {
        if (!keyTaps_.empty())
            releaseAll();
        keyTaps_.clear();
        return;
    }
    bool added = false;
    bool removed = false;
    for (EventTapID tap : taps)
        added = added || !keyTaps_.contains(tap);
    for (EventTapID tap : keyTaps_)
        removed = removed || !taps.contains(tap);
    keyTaps_ = taps;
    if (removed)
        giveBackBorrowed();
    if (added)
        grabAll(true);
}

void X11KeyTap::retryRefusedGrabs()
{
    if (keyTaps_.empty())
        return;
    grabAll(false);
    connection_.flush();
}

void X11KeyTap::grabAll(bool includingGivenBack)
{
    for (std::size_t index = 0; index < chords().size(); ++index) {
        GrabState& state = states_[index];
        const bool retry = state == GrabState::refused || (includingGivenBack && state == GrabState::givenBack);
        if (state != GrabState::released && !retry)
            continue;
        if (keycodesOf(chords()[index].keysym).empty())
            continue; // not on this keyboard
        if (grab(index)) {
            state = retry ? GrabState::borrowed : GrabState::held;
            continue;
        }
        state = GrabState::refused;
        if (refusalLogged_.insert(index).second)
            logger_.log(VeskLogLevel::warning, QStringLiteral("%1 is held by another client — it passes")
                                                   .arg(QLatin1String(chords()[index].name)));
    }
}

bool X11KeyTap::grab(std::size_t index)
{
    const Chord& chord = chords()[index];
    xcb_connection_t* c = connection_.xcb();
    std::vector<xcb_void_cookie_t> cookies;
    for (xcb_keycode_t keycode : keycodesOf(chord.keysym)) {
        for (std::uint16_t locks : lockVariants)
            cookies.push_back(xcb_grab_key_checked(c, 0, connection_.root(), chord.modifiers | locks, keycode,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_SYNC));
    }
    bool refused = false;
    for (xcb_void_cookie_t cookie : cookies) {
        if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
            refused = true;
            std::free(error);
        }
    }
    if (refused)
        ungrab(index); // the variants that were not refused
    return !refused;
}

void X11KeyTap::ungrab(std::size_t index)
{
    const Chord& chord = chords()[index];
    for (xcb_keycode_t keycode : keycodesOf(chord.keysym)) {
        for (std::uint16_t locks : lockVariants)
            xcb_ungrab_key(connection_.xcb(), keycode, connection_.root(), chord.modifiers | locks);
    }
}

void X11KeyTap::releaseAll()
{
    for (std::size_t index = 0; index < chords().size(); ++index) {
        if (states_[index] == GrabState::held || states_[index] == GrabState::borrowed)
            ungrab(index);
        states_[index] = GrabState::released;
    }
}

// The keys of the chords held may have moved: they are grabbed anew where
// they are now, each keeping what it was (held, or borrowed from another client).
void X11KeyTap::regrabForNewMapping()
{
    const auto isHeld = [this](std::size_t index) {
        return states_[index] == GrabState::held || states_[index] == GrabState::borrowed;
    };
    for (std::size_t index = 0; index < chords().size(); ++index) {
        if (isHeld(index))
            ungrab(index);
    }
    readKeyboardMapping();
    for (std::size_t index = 0; index < chords().size(); ++index) {
        if (isHeld(index) && !grab(index))
            states_[index] = GrabState::refused;
    }
    connection_.flush();
}

void X11KeyTap::giveBackBorrowed()
{
    for (std::size_t index = 0; index < chords().size(); ++index) {
        if (states_[index] != GrabState::borrowed)
            continue;
        ungrab(index);
        states_[index] = GrabState::givenBack;
    }
}

QStringList X11KeyTap::grabbedChords() const
{
    QStringList names;
    for (std::size_t index = 0; index < chords().size(); ++index) {
        if (states_[index] == GrabState::held || states_[index] == GrabState::borrowed)
            names << QLatin1String(chords()[index].name);
    }
    return names;
}

void X11KeyTap::handle(const xcb_generic_event_t& event)
{
    const std::uint8_t type = event.response_type & 0x7f;
    // The grabs are on the root; on Qt's connection the keys of Vesk's own
    // windows come by too, and are Qt's.
    if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) {
        const auto& key = reinterpret_cast<const xcb_key_press_event_t&>(event);
        if (key.event != connection_.root())
            return;
        if (type == XCB_KEY_PRESS)
            handleGrabbedPress(key);
        else if (swallowedKey_ == key.detail)
            swallowedKey_.reset(); // a swallowed press's grab ends with its key's release
    } else if (type == XCB_MAPPING_NOTIFY) {
        if (reinterpret_cast<const xcb_mapping_notify_event_t&>(event).request != XCB_MAPPING_KEYBOARD)
            return;
        regrabForNewMapping();
    } else if (type == XCB_GE_GENERIC && xinputOpcode_) {
        const auto& generic = reinterpret_cast<const xcb_ge_generic_event_t&>(event);
        if (generic.extension != xinputOpcode_)
            return;
        if (generic.event_type == XCB_INPUT_RAW_KEY_PRESS || generic.event_type == XCB_INPUT_RAW_KEY_RELEASE)
            handleRawKey(reinterpret_cast<const xcb_input_raw_key_press_event_t&>(event));
    }
}

// Every press that comes here thaws the keyboard again: one of our grabs
// froze it, or it comes under a swallowed chord's grab, where allowing does
// nothing.
void X11KeyTap::handleGrabbedPress(const xcb_key_press_event_t& press)
{
    xcb_connection_t* c = connection_.xcb();
    rawModifiers_ = std::uint16_t((press.state & chordModifiers) | modifierOfKeysym(keysymOf(press.detail)));
    grabbedPressTimes_.push_back(press.time);
    if (grabbedPressTimes_.size() > 64)
        grabbedPressTimes_.erase(grabbedPressTimes_.begin());
    if (swallowedKey_ == press.detail) {
        // The swallowed chord's key repeating.
        xcb_allow_events(c, XCB_ALLOW_ASYNC_KEYBOARD, press.time);
        connection_.flush();
        return;
    }
    swallowedKey_.reset();
    const std::optional<std::size_t> index = chordFor(press.detail, press.state);
    const Chord* chord = index ? &chords()[*index] : nullptr;
    const EventTapChain::Passage passage =
        chord ? chain_.pass(InputEvent::key(EventType::keyDown, chord->keyCode, chord->flags))
              : EventTapChain::Passage{InputEvent{}, 0};
    if (passage.event) {
        xcb_allow_events(c, XCB_ALLOW_REPLAY_KEYBOARD, press.time);
        connection_.flush();
        // One that goes to Vesk meets the local monitors on its way in.
        if (chord && !keysGoToVesk_())
            chain_.passGlobalMonitors(*passage.event);
        return;
    }
    if (modifierOfKeysym(chord->keysym)) {
        // The press was ours when the grab began; keeping the grab until a
        // modifier's release would take every chord it is part of.
        xcb_ungrab_keyboard(c, press.time);
    } else {
        // Dropped, and the grab lasts until the key's release, which it takes too.
        xcb_allow_events(c, XCB_ALLOW_ASYNC_KEYBOARD, press.time);
        swallowedKey_ = press.detail;
    }
    connection_.flush();
}

// A key's raw event may come before or after the event its grab takes (after,
// when the grab held the keyboard), so raw presses of grabbed keys wait for
// the end of the batch: by then the grab's press of the same time has come.
void X11KeyTap::handleRawKey(const xcb_input_raw_key_press_event_t& raw)
{
    const auto keycode = xcb_keycode_t(raw.detail);
    const std::uint16_t modifier = modifierOfKeysym(keysymOf(keycode));
    if (raw.event_type == XCB_INPUT_RAW_KEY_RELEASE) {
        rawModifiers_ &= std::uint16_t(~modifier);
        return;
    }
    rawModifiers_ |= modifier;
    // A modifier alone is no key-down.
    if (modifier)
        return;
    pendingRawPresses_.push_back(RawPress{keycode, raw.time, rawModifiers_});
    if (!isGrabbedKey(keycode))
        deliverRawKeysLeftToOthers();
}

void X11KeyTap::deliverRawKeysLeftToOthers()
{
    const std::vector<RawPress> presses = std::exchange(pendingRawPresses_, {});
    for (const RawPress& press : presses) {
        if (std::find(grabbedPressTimes_.begin(), grabbedPressTimes_.end(), press.time) != grabbedPressTimes_.end())
            continue; // the taps had it; what they passed the grab's press told the monitors
        if (swallowedKey_ || keysGoToVesk_())
            continue;
        const std::optional<int> qtKey = qtKeyOfKeysym(keysymOf(press.keycode));
        const std::optional<std::int64_t> keyCode = qtKey ? virtualKeyCode(*qtKey) : std::nullopt;
        if (keyCode)
            chain_.passGlobalMonitors(
                InputEvent::key(EventType::keyDown, *keyCode, eventFlagsOfModifiers(press.modifiers)));
    }
}

bool X11KeyTap::isGrabbedKey(xcb_keycode_t keycode) const
{
    for (std::size_t index = 0; index < chords().size(); ++index) {
        if (states_[index] != GrabState::held && states_[index] != GrabState::borrowed)
            continue;
        const std::vector<xcb_keycode_t> keycodes = keycodesOf(chords()[index].keysym);
        if (std::find(keycodes.begin(), keycodes.end(), keycode) != keycodes.end())
            return true;
    }
    return false;
}

void X11KeyTap::followGlobalMonitors()
{
    selectRawKeys(isKeyDownWanted(chain_.globalMonitorMask()));
}

void X11KeyTap::selectRawKeys(bool select)
{
    if (select == rawKeysSelected_ || !xinputOpcode_)
        return;
    rawKeysSelected_ = select;
    if (!select) {
        rawModifiers_ = 0;
        pendingRawPresses_.clear();
    }
    struct {
        xcb_input_event_mask_t head;
        std::uint32_t mask;
    } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
           select ? std::uint32_t(XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE)
                  : 0u};
    xcb_input_xi_select_events(connection_.xcb(), connection_.root(), 1, &mask.head);
}

void X11KeyTap::followLocalMonitors()
{
    const bool wanted = isKeyDownWanted(chain_.localMonitorMask());
    QCoreApplication* application = QCoreApplication::instance();
    if (wanted == filterInstalled_ || !application)
        return;
    filterInstalled_ = wanted;
    if (wanted)
        application->installEventFilter(this);
    else
        application->removeEventFilter(this);
}

// A key comes to Vesk through its window first, then to the focused item in
// it: looking at the windows' events sees each key once.
bool X11KeyTap::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWindowType())
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const std::optional<std::int64_t> keyCode = virtualKeyCode(key->key());
    if (!keyCode)
        return false;
    const InputEvent keyDown = InputEvent::key(EventType::keyDown, *keyCode, flagsOfQtModifiers(key->modifiers()));
    return !chain_.passLocalMonitors(keyDown);
}

void X11KeyTap::readKeyboardMapping()
{
    xcb_connection_t* c = connection_.xcb();
    const xcb_setup_t* setup = xcb_get_setup(c);
    minKeycode_ = setup->min_keycode;
    keysyms_.clear();
    keysymsPerKeycode_ = 0;
    xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(
        c, xcb_get_keyboard_mapping(c, setup->min_keycode, std::uint8_t(setup->max_keycode - setup->min_keycode + 1)),
        nullptr);
    if (!reply)
        return;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply);
    keysyms_.assign(keysyms, keysyms + xcb_get_keyboard_mapping_keysyms_length(reply));
    keysymsPerKeycode_ = reply->keysyms_per_keycode;
    std::free(reply);
}

std::vector<xcb_keycode_t> X11KeyTap::keycodesOf(std::uint32_t keysym) const
{
    std::vector<xcb_keycode_t> keycodes;
    if (keysymsPerKeycode_ == 0)
        return keycodes;
    // The unshifted and the shifted symbol of each key.
    const int columns = std::min(keysymsPerKeycode_, 2);
    for (std::size_t i = 0; i < keysyms_.size(); i += std::size_t(keysymsPerKeycode_)) {
        for (int column = 0; column < columns; ++column) {
            if (keysyms_[i + std::size_t(column)] == keysym) {
                keycodes.push_back(xcb_keycode_t(minKeycode_ + i / std::size_t(keysymsPerKeycode_)));
                break;
            }
        }
    }
    return keycodes;
}

std::uint32_t X11KeyTap::keysymOf(xcb_keycode_t keycode) const
{
    if (keycode < minKeycode_ || keysymsPerKeycode_ == 0)
        return 0;
    const std::size_t at = std::size_t(keycode - minKeycode_) * std::size_t(keysymsPerKeycode_);
    return at < keysyms_.size() ? keysyms_[at] : 0;
}

std::optional<std::size_t> X11KeyTap::chordFor(xcb_keycode_t keycode, std::uint16_t state) const
{
    for (std::size_t index = 0; index < chords().size(); ++index) {
        const Chord& chord = chords()[index];
        if (chord.modifiers != (state & chordModifiers))
            continue;
        const std::vector<xcb_keycode_t> keycodes = keycodesOf(chord.keysym);
        if (std::find(keycodes.begin(), keycodes.end(), keycode) != keycodes.end())
            return index;
    }
    return std::nullopt;
}

} // namespace vesk::platform
