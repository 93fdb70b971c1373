#pragma once

#include "core/Geometry.h"
#include "enforcement/MouseBlockerControlAction.h"

#include <QString>

#include <optional>

namespace vesk {

// Names the title-bar button of an application's window under a click.
class AXWindowControlResolving {
public:
    virtual ~AXWindowControlResolving() = default;
    // Both points are the same click, top-left (Quartz) and bottom-left
    // (Cocoa); none when no close, minimise or zoom button lies there.
    virtual std::optional<MouseBlockerControlAction> resolve(const QString& bundleID, Point quartzPoint,
                                                             Point cocoaPoint) = 0;
};

} // namespace vesk
