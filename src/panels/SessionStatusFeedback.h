#pragma once

namespace vesk {

// A short notice the HUD shows: the allowed application the user asked for is
// on another Space.
enum class SessionStatusFeedback { appOnOtherSpace };

} // namespace vesk
