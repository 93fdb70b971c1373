#pragma once

#include "logging/VeskLogger.h"
#include "platform/EventTapChain.h"

#include <QObject>
#include <QString>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace vesk::platform {

class X11Connection;

// The keyboard part of the event taps on X11. X11 has no global key tap, so
// the desktop's own chords for switching applications, desktops and the
// overview, and the emergency chord, are grabbed on the root window (a
// synchronous passive grab each, with and without CapsLock and NumLock) for
// as long as an enabled tap that can swallow asks for key-downs. A grabbed
// press is put to the tap chain in the services' terms (the chord that does
// that job there); passed, it is replayed to where it was going, untouched;
// swallowed, it is dropped, and its release with it.
//
// A chord another client holds (a window manager binds some itself) is logged
// once and passes. Chords refused are tried again when a key tap comes and on
// `retryRefusedGrabs` (the services' health checks ask every 2 s), since the
// session switches the window manager's bindings off only after its first key
// tap is in. A chord taken only after the window manager let go of it is given
// back as soon as a key tap goes: the session is ending, and the window
// manager takes it again when its settings come back.
//
// Monitors: global ones see key-downs that go to other applications (XInput 2
// raw key events on the root; a grabbed chord only once the taps passed it),
// local ones key-downs that go to Vesk (an event filter on the application,
// which may swallow them). Main thread only.
class X11KeyTap final : public QObject {
public:
    struct Chord {
        const char* name;
        std::uint32_t keysym;
        std::uint16_t modifiers; // X11 modifier mask: Shift, Control, Mod1 (Alt), Mod4 (Super)
        std::int64_t keyCode;    // what the services see: the virtual key code ...
        std::uint64_t flags;     // ... and the modifier flags of the chord that does the same job
    };
    // The event kinds a key tap may ask for (only key-downs ever come).
    static constexpr std::uint64_t kinds =
        eventMaskBit(EventType::keyDown) | eventMaskBit(EventType::keyUp) | eventMaskBit(EventType::flagsChanged);

    // Every chord grabbed, in one place.
    static const std::vector<Chord>& chords();

    // `keysGoToVesk` tells whether a key pressed now goes to one of Vesk's windows.
    X11KeyTap(X11Connection& connection, EventTapChain& chain, std::function<bool()> keysGoToVesk);
    ~X11KeyTap() override;
    X11KeyTap(const X11KeyTap&) = delete;
    X11KeyTap& operator=(const X11KeyTap&) = delete;

    // Takes or releases grabs, raw events and the application filter for
    // what the chain's taps and monitors now ask for.
    void follow();
    // Tries the chords another client held again, while grabbing.
    void retryRefusedGrabs();

    // The chords held now, by name.
    QStringList grabbedChords() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class GrabState { released, held, refused, borrowed, givenBack };

    void handle(const xcb_generic_event_t& event);
    void handleGrabbedPress(const xcb_key_press_event_t& press);
    void handleRawKey(const xcb_input_raw_key_press_event_t& raw);
    void deliverRawKeysLeftToOthers();
    bool isGrabbedKey(xcb_keycode_t keycode) const;

    void followKeyTaps();
    void grabAll(bool includingGivenBack);
    bool grab(std::size_t chord);
    void ungrab(std::size_t chord);
    void releaseAll();
    void giveBackBorrowed();
    void regrabForNewMapping();
    void followGlobalMonitors();
    void followLocalMonitors();
    void selectRawKeys(bool select);

    void readKeyboardMapping();
    std::vector<xcb_keycode_t> keycodesOf(std::uint32_t keysym) const;
    std::uint32_t keysymOf(xcb_keycode_t keycode) const;
    std::optional<std::size_t> chordFor(xcb_keycode_t keycode, std::uint16_t state) const;

    X11Connection& connection_;
    EventTapChain& chain_;
    std::function<bool()> keysGoToVesk_;
    int handlerID_ = 0;
    std::uint8_t xinputOpcode_ = 0;

    std::set<EventTapID> keyTaps_;
    std::vector<GrabState> states_;
    std::set<std::size_t> refusalLogged_;
    // The key of a swallowed press while its grab lasts (until its release).
    std::optional<xcb_keycode_t> swallowedKey_;

    xcb_keycode_t minKeycode_ = 0;
    int keysymsPerKeycode_ = 0;
    std::vector<xcb_keysym_t> keysyms_;
    // Raw key-downs: the modifiers held (from raw events, set right by every
    // grabbed event), the presses of grabbed keys waiting for the batch's end,
    // and the times of the presses the grabs took, whose raw events are theirs.
    struct RawPress {
        xcb_keycode_t keycode;
        xcb_timestamp_t time;
        std::uint16_t modifiers;
    };
    std::uint16_t rawModifiers_ = 0;
    std::vector<RawPress> pendingRawPresses_;
    std::vector<xcb_timestamp_t> grabbedPressTimes_;
    bool rawKeysSelected_ = false;
    bool filterInstalled_ = false;

    VeskLogger logger_{QStringLiteral("X11KeyTap")};
};

} // namespace vesk::platform
