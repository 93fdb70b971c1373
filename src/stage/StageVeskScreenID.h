#pragma once

#include "core/Geometry.h"
#include "platform/ScreenProviding.h"

#include <QtGlobal>

#include <optional>
#include <vector>

namespace vesk {

// A display as the stage names it: its display number, 0 when it has none.
// Every lookup reads the current screens; nothing is cached. Rects and points
// are bottom-left (Cocoa) global coordinates.
struct StageVeskScreenID {
    quint32 rawValue = 0;

    static StageVeskScreenID of(const platform::ScreenInfo& screen);
    // One per screen, in the screens' order.
    static std::vector<StageVeskScreenID> allScreenIDs(const platform::ScreenProviding& screens);
    // The screen whose frame contains the point; none outside every screen.
    static std::optional<StageVeskScreenID> forPoint(const platform::ScreenProviding& screens, Point cocoaPoint);
    // The screen that overlaps the rect most (the earlier on a tie), else the
    // one holding its centre, else the main screen; 0 without screens.
    static StageVeskScreenID forRect(const platform::ScreenProviding& screens, const Rect& cocoaRect);
    // The main screen, else the first screen, else 0.
    static StageVeskScreenID mainScreenID(const platform::ScreenProviding& screens);
    // The first screen with that identifier; without one, the main screen,
    // else the first.
    static std::optional<platform::ScreenInfo> screen(const platform::ScreenProviding& screens,
                                                      std::optional<StageVeskScreenID> id);
    // The stage area of the screen (the main screen when none matches): the
    // full frame less 190 pt on the left, 30 on the right and 80 at the bottom
    // and top, at least 640 × 420.
    static Rect defaultWindowFrame(const platform::ScreenProviding& screens, std::optional<StageVeskScreenID> id);

    auto operator<=>(const StageVeskScreenID&) const = default;
};

} // namespace vesk
