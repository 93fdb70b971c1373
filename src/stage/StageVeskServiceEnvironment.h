#pragma once

#include "core/Clock.h"
#include "core/Geometry.h"
#include "core/Scheduler.h"
#include "enforcement/AllowedWindowSpaceClassification.h"
#include "overlay/AllowedWindowSnapshot.h"
#include "platform/ScreenProviding.h"

#include <QString>

#include <functional>
#include <map>
#include <set>
#include <vector>

namespace vesk {

// Where the visible window of each asked application is (bottom-left
// coordinates); an application without one is left out.
using StageVeskVisibleWindowRectsProvider = std::function<std::map<QString, Rect>(const std::set<QString>& bundleIDs)>;
// Whether an application's window is visible, hidden, minimised, on another
// Space or absent.
using StageVeskWindowSpaceClassificationProvider =
    std::function<AllowedWindowSpaceClassification(const QString& bundleID)>;

// What the stage reads of the desktop besides the window manager.
struct StageVeskServiceEnvironment {
    Scheduler& scheduler;
    Clock& clock;
    const platform::ScreenProviding& screens;
    std::function<bool()> isAccessibilityTrusted;
    // The on-screen window list, front to back (for the vanished-window
    // diagnostic).
    std::function<std::vector<AllowedWindowSnapshot>()> onScreenWindowSnapshots;
};

} // namespace vesk
