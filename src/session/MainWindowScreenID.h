#pragma once

#include "stage/StageVeskScreenID.h"

#include <optional>
#include <vector>

namespace vesk {

// One window of this application, as the main-window lookup needs it.
struct ApplicationWindowInfo {
    bool isPanel = false;
    // The screen the window is on; none when it is on no screen.
    std::optional<StageVeskScreenID> screen;
};

// The screen of the first window, in the application's window order, that is
// not a panel; none when that window has no screen or every window is a panel.
std::optional<StageVeskScreenID> mainWindowScreenID(const std::vector<ApplicationWindowInfo>& windows);

} // namespace vesk
