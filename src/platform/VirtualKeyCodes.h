#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace vesk::platform {

// The virtual key codes of the platform's keyboard, in one table with the Qt
// key that names each key and the name a script writes for it.

// The keys that the system's own shortcuts name.
namespace KeyCode {
constexpr std::int64_t digit3 = 20;
constexpr std::int64_t digit4 = 21;
constexpr std::int64_t digit5 = 23;
constexpr std::int64_t tab = 48;
constexpr std::int64_t space = 49;
constexpr std::int64_t grave = 50;
constexpr std::int64_t escape = 53;
constexpr std::int64_t f3 = 99;
constexpr std::int64_t leftArrow = 123;
constexpr std::int64_t rightArrow = 124;
constexpr std::int64_t downArrow = 125;
constexpr std::int64_t upArrow = 126;
} // namespace KeyCode

// The code of a key that Qt names (Qt::Key), for the keys of a full keyboard;
// none for keys it has no code for.
std::optional<std::int64_t> virtualKeyCode(int qtKey);
// The Qt key of a code (the first that Qt names for it).
std::optional<int> qtKeyForVirtualKeyCode(std::int64_t keyCode);
// The code of a key by the name a script writes for it: "a" to "z", "0" to
// "9", "return", "tab", "space", "delete" (the key left of the backspace's
// place, which deletes backwards), "escape", "left", "right", "down", "up".
// Exact, lower-case names only.
std::optional<std::int64_t> virtualKeyCodeNamed(const QString& name);

} // namespace vesk::platform
