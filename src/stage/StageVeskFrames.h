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

// The share of the stage area that a window placed by the stage may take in
// each direction.
constexpr double stageSizeShare = 0.95;

// The frame at its origin, its size capped at 95 % of the area.
Rect cappedFrame(const Rect& frame, const Rect& area);

// A free window's frame in the area: 72 % of its size within 360…620 ×
// 240…460, centred horizontally on the anchor with its lower edge 28 pt below
// it, clamped into the area.
Rect freestyleFrame(const Rect& area, double anchorX, double anchorY, double divisorX, double divisorY);

} // namespace vesk
