#pragma once

#include "core/Geometry.h"

namespace vesk {

// Moves (never resizes) a window frame so that at least 30 % of its width
// stays inside the area and its lower edge lies between the area's lower edge
// and 28 pt below its upper edge. Upper bounds are applied last.
Rect clampFrameToVisible(const Rect& frame, const Rect& area);

// Shrinks the frame to at most `scale` of the area in each direction and moves
// it inside the area.
Rect fitScaledFrame(const Rect& frame, double scale, const Rect& area);

} // namespace vesk
