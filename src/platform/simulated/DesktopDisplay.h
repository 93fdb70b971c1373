#pragma once

#include "platform/simulated/DisplaySpec.h"

#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

namespace vesk::platform {

// One display of the desktop as the model holds it.
struct DesktopDisplay {
    std::optional<quint32> displayID;
    QRectF bounds;       // top-left system
    QRectF frame;        // bottom-left system
    QRectF visibleFrame; // bottom-left system
    QString name;
    double scale = 1.0;
    bool reportsBounds = true;
    std::vector<int> spaceIDs; // in Mission Control order
    int activeSpaceID = 0;

    bool operator==(const DesktopDisplay&) const = default;
};

inline constexpr double kMenuBarHeight = 24.0;

} // namespace vesk::platform
