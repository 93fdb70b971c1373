#pragma once

#include "core/Geometry.h"

#include <QString>

#include <optional>

namespace vesk {

// One entry of the system window list, whatever application owns it.
struct AllowedWindowSnapshot {
    QString bundleID;
    int layer = 0; // 0 is the layer of ordinary application windows
    Rect bounds;   // top-left (Quartz) coordinates
    std::optional<quint32> windowID;
    double alpha = 1.0;
    std::optional<QString> ownerName;

    bool operator==(const AllowedWindowSnapshot&) const = default;
};

} // namespace vesk
