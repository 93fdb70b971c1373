#pragma once

#include <QString>

#include <cstdint>

namespace vesk {

// Which keyboard shortcuts the Space blocker drops: those that switch Spaces,
// open Mission Control or Spotlight, or switch applications and windows.
// Screenshots always pass; the emergency exit (Command+Shift+Escape) and
// Force Quit (Command+Option+Escape) pass only in a normal session. A
// shortcut counts only with exactly its modifiers among Fn, Command, Option,
// Control and Shift. Key codes are the platform's virtual key codes.
class SpaceBlockerPolicy {
public:
    enum class Action { pass, block };

    // Fn, Command, Option, Control, Shift.
    static constexpr std::uint64_t modifierMask = 0x9E0000;

    static Action shouldBlock(std::int64_t keyCode, std::uint64_t flags, bool hardcore);
    // Command+Shift with 3, 4 or 5.
    static bool isScreenshotShortcut(std::int64_t keyCode, std::uint64_t flags);
    // Exactly these modifiers held among the five.
    static bool hasExactly(std::uint64_t flags, std::uint64_t modifiers);
};

QString toRaw(SpaceBlockerPolicy::Action action);

} // namespace vesk
