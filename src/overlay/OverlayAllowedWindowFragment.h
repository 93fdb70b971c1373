#pragma once

#include "core/Geometry.h"

#include <QString>

#include <optional>

namespace vesk {

// A visible piece of an allowed window, the candidate for a hole. Both rects
// are in bottom-left (Cocoa) global coordinates.
struct OverlayAllowedWindowFragment {
    QString bundleID;
    std::optional<quint32> windowID;
    Rect rect;       // the visible piece
    Rect windowRect; // the whole window

    bool operator==(const OverlayAllowedWindowFragment&) const = default;
};

} // namespace vesk
