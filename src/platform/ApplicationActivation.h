#pragma once

namespace vesk::platform {

// How an application takes part in the user interface; raw values as the
// platform numbers them.
enum class ActivationPolicy : int { regular = 0, accessory = 1, prohibited = 2 };

// Activation option flags.
enum ActivationOption : int {
    ActivateAllWindows = 1,
    ActivateIgnoringOtherApps = 2,
};

} // namespace vesk::platform
