#pragma once

#include "core/Geometry.h"

#include <QJsonObject>

#include <optional>

namespace vesk {

// A free window frame (bottom-left global coordinates) with its stacking
// stamp: a larger z was brought forward later.
struct StageVeskWindowPosition {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    int z = 0;

    static StageVeskWindowPosition of(const Rect& frame, int z)
    {
        return {frame.x, frame.y, frame.width, frame.height, z};
    }
    Rect rect() const { return {x, y, width, height}; }

    // Keys "x", "y", "width", "height", "z"; all are required when reading.
    QJsonObject toJson() const;
    static std::optional<StageVeskWindowPosition> fromJson(const QJsonObject& object);

    bool operator==(const StageVeskWindowPosition&) const = default;
};

} // namespace vesk
