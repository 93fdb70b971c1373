#pragma once

#include "core/Geometry.h"

#include <QString>

#include <optional>

namespace vesk {

// An allowed application's largest window moved while a mouse button was held.
// Rects and the pointer are in bottom-left (Cocoa) global coordinates.
struct OverlayWindowMotionEvent {
    QString bundleID;
    Rect previousRect;
    Rect currentRect;
    double deltaX = 0; // change of minX
    double deltaY = 0; // change of minY
    std::optional<Point> pointerCocoaPoint;

    bool operator==(const OverlayWindowMotionEvent&) const = default;
};

} // namespace vesk
