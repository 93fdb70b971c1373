#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace vesk::platform {

// The virtual key codes of the platform's keyboard, in one table with the Qt
// key that names each key and the name a script writes for it.

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
