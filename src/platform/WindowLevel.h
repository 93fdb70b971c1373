#pragma once

#include <cstdint>
#include <limits>

namespace vesk::platform {

// Keys of the system's window levels, numbered as the window server numbers
// them (the desktop-icon level is key 18).
enum class WindowLevelKey : int {
    base = 0,
    minimum = 1,
    desktop = 2,
    backstop = 3,
    normal = 4,
    floating = 5,
    tornOffMenu = 6,
    dock = 7,
    mainMenu = 8,
    status = 9,
    modalPanel = 10,
    popUpMenu = 11,
    dragging = 12,
    screenSaver = 13,
    maximum = 14,
    overlay = 15,
    help = 16,
    utility = 17,
    desktopIcon = 18,
    cursor = 19,
    assistiveTechHigh = 20,
};

// Window levels in the window server's order: a window on a higher level is in
// front of every window on a lower one. The desktop picture and the desktop
// icons sit far below the normal level of application windows (0); the
// shielding level, used by windows that cover everything (the overlay sits one
// above it), is above every other level except the cursor.
namespace WindowLevel {
inline constexpr int base = std::numeric_limits<std::int32_t>::min();
inline constexpr int minimum = base + 5;
inline constexpr int desktop = minimum + 20;
inline constexpr int desktopIcon = desktop + 20;
inline constexpr int backstop = -20;
inline constexpr int normal = 0;
inline constexpr int floating = 3;
inline constexpr int tornOffMenu = 3;
inline constexpr int modalPanel = 8;
inline constexpr int utility = 19;
inline constexpr int dock = 20;
inline constexpr int mainMenu = 24;
inline constexpr int status = 25;
inline constexpr int popUpMenu = 101;
inline constexpr int overlay = 102;
inline constexpr int help = 200;
inline constexpr int dragging = 500;
inline constexpr int screenSaver = 1000;
inline constexpr int assistiveTechHigh = 1500;
inline constexpr int maximum = std::numeric_limits<std::int32_t>::max() - 16;
inline constexpr int shielding = maximum - 3;
inline constexpr int cursor = maximum - 1;
} // namespace WindowLevel

constexpr int windowLevelForKey(WindowLevelKey key)
{
    switch (key) {
    case WindowLevelKey::base:
        return WindowLevel::base;
    case WindowLevelKey::minimum:
        return WindowLevel::minimum;
    case WindowLevelKey::desktop:
        return WindowLevel::desktop;
    case WindowLevelKey::backstop:
        return WindowLevel::backstop;
    case WindowLevelKey::normal:
        return WindowLevel::normal;
    case WindowLevelKey::floating:
        return WindowLevel::floating;
    case WindowLevelKey::tornOffMenu:
        return WindowLevel::tornOffMenu;
    case WindowLevelKey::dock:
        return WindowLevel::dock;
    case WindowLevelKey::mainMenu:
        return WindowLevel::mainMenu;
    case WindowLevelKey::status:
        return WindowLevel::status;
    case WindowLevelKey::modalPanel:
        return WindowLevel::modalPanel;
    case WindowLevelKey::popUpMenu:
        return WindowLevel::popUpMenu;
    case WindowLevelKey::dragging:
        return WindowLevel::dragging;
    case WindowLevelKey::screenSaver:
        return WindowLevel::screenSaver;
    case WindowLevelKey::maximum:
        return WindowLevel::maximum;
    case WindowLevelKey::overlay:
        return WindowLevel::overlay;
    case WindowLevelKey::help:
        return WindowLevel::help;
    case WindowLevelKey::utility:
        return WindowLevel::utility;
    case WindowLevelKey::desktopIcon:
        return WindowLevel::desktopIcon;
    case WindowLevelKey::cursor:
        return WindowLevel::cursor;
    case WindowLevelKey::assistiveTechHigh:
        return WindowLevel::assistiveTechHigh;
    }
    return WindowLevel::normal;
}

// The level of windows that shield every display (the overlay panel goes one above).
constexpr int shieldingWindowLevel()
{
    return WindowLevel::shielding;
}

} // namespace vesk::platform
