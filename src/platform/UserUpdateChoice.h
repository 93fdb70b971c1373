#pragma once

namespace vesk::platform {

// The user's answer to a found update or to one ready to install. The numbers
// are the updater's own; Vesk never sends skip.
enum class UserUpdateChoice { skip = 0, install = 1, dismiss = 2 };

} // namespace vesk::platform
