#pragma once

#include "core/Geometry.h"
#include "platform/ScreenProviding.h"

#include <optional>
#include <vector>

namespace vesk {

// The bottom-left (Cocoa) origin at which a panel of `panelSize` sits with
// its top-left corner at the mouse pointer, pushed inside the visible frame of
// the screen under the pointer (else the main screen). When the panel is
// larger than that frame, its right and top edges win. None without a screen.
std::optional<Point> panelOriginNearMouse(Size panelSize, Point mouseLocation,
                                          const std::vector<platform::ScreenInfo>& screens,
                                          const std::optional<platform::ScreenInfo>& mainScreen);
std::optional<Point> panelOriginNearMouse(Size panelSize, Point mouseLocation,
                                          const platform::ScreenProviding& screens);

} // namespace vesk
