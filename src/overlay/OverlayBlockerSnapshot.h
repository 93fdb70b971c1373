#pragma once

#include "core/Geometry.h"

#include <QString>

#include <optional>

namespace vesk {

// One display's piece of a window that covers what lies behind it (or, as an
// ignored blocker, is listed but covers nothing).
struct OverlayBlockerSnapshot {
    QString bundleID;
    int layer = 0;
    double alpha = 1.0;
    std::optional<QString> ownerName;
    Rect rect; // bottom-left (Cocoa) coordinates

    bool operator==(const OverlayBlockerSnapshot&) const = default;
};

} // namespace vesk
