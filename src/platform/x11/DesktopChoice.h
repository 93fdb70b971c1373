#pragma once

#include <QString>

#include <functional>

namespace vesk::platform {

// What the program knows when it picks the desktop Vesk runs on.
struct DesktopChoiceInputs {
    // `--desktop SCENARIO.json` was given.
    bool scenarioGiven = false;
    // `--simulated` was given.
    bool simulatedAsked = false;
    // Qt's platform ("xcb", "offscreen", "wayland", ...).
    QString platformName;
    // $WAYLAND_DISPLAY and $XDG_SESSION_TYPE.
    QString waylandDisplay;
    QString sessionType;
    // Whether the display's window manager speaks EWMH; asked only when
    // everything else speaks for the real desktop (it connects to the server).
    std::function<bool()> ewmhWindowManagerRuns;
};

// The desktop Vesk runs on and why. `notice` is the one line the user reads
// when the desktop they would expect cannot be had.
struct DesktopChoice {
    enum class Kind { simulated, x11 };

    Kind kind = Kind::simulated;
    QString reason;
    QString notice;

    // On a display whose window manager speaks EWMH the real desktop; a
    // scenario, `--simulated`, a session without an X server to work with
    // (offscreen) or a Wayland session (whose own windows an X client cannot
    // see or move) keep the simulated desktop.
    static DesktopChoice choose(const DesktopChoiceInputs& inputs);
};

} // namespace vesk::platform
