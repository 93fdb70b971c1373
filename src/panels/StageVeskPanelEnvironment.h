#pragma once

#include "core/Clock.h"
#include "core/Scheduler.h"
#include "core/UserDefaults.h"
#include "enforcement/InstalledApp.h"
#include "platform/DisplayCompositing.h"
#include "platform/OwnWindowRegistering.h"
#include "platform/PointerStateProviding.h"
#include "platform/ScreenProviding.h"
#include "settings/VeskDefaultsStore.h"

#include <functional>
#include <vector>

namespace vesk {

// What the stage bars read of the desktop and the application.
struct StageVeskPanelEnvironment {
    const platform::ScreenProviding& screens;
    const platform::PointerStateProviding& pointer;
    // Where the panels list themselves; none in tests that need no window list.
    platform::OwnWindowRegistering* ownWindows = nullptr;
    Clock& clock;
    // Ticks the control bar's clock.
    Scheduler& scheduler;
    // The standard user defaults, over which each panel and view keeps its
    // own settings store.
    UserDefaults& userDefaults;
    VeskDefaultsStore::PreferredLanguagesProvider preferredLanguages = VeskDefaultsStore::systemPreferredLanguages;
    // The installed applications, scanned anew for every apps-bar layout.
    std::function<std::vector<InstalledApp>()> installedApps;
    // Whether the display composites see-through windows, asked for every new
    // panel: only then do the bars draw their shadows.
    std::function<bool()> displayComposites = platform::displayComposites;
};

} // namespace vesk
