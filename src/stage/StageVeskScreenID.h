#pragma once

#include "core/Geometry.h"
#include "platform/ScreenProviding.h"


#include <optional>

namespace vesk {

// A display as the stage names it: its display number, 0 when it has none.
struct StageVeskScreenID {
    quint32 rawValue = 0;

    static StageVeskScreenID of(const platform::ScreenInfo& screen);
    // The screen whose frame contains the bottom-left (Cocoa) point; none
    // outside every screen.
    static std::optional<StageVeskScreenID> forPoint(const platform::ScreenProviding& screens, Point cocoaPoint);
    // The main screen, else the first screen, else 0.
    static StageVeskScreenID mainScreenID(const platform::ScreenProviding& screens);

    auto operator<=>(const StageVeskScreenID&) const = default;
};

} // namespace vesk
