#pragma once

#include "panels/AllowedAppVisibility.h"

#include <QString>

namespace vesk {

struct AllowedAppVisibilitySnapshot {
    QString bundleID;
    AllowedAppVisibility visibility = AllowedAppVisibility::notRunning;

    bool operator==(const AllowedAppVisibilitySnapshot&) const = default;
};

} // namespace vesk
