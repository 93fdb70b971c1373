#pragma once

#include <cstdint>
#include <optional>

namespace vesk::platform {

// The platform's virtual key code of a key that Qt names (Qt::Key), for the
// keys of a full keyboard; none for keys it has no code for.
std::optional<std::int64_t> virtualKeyCode(int qtKey);
// The Qt key of a virtual key code (the first that Qt names for it).
std::optional<int> qtKeyForVirtualKeyCode(std::int64_t keyCode);

} // namespace vesk::platform
