#pragma once

#include "panels/AllowedAppVisibility.h"

#include <QImage>
#include <QString>

namespace vesk {

// What one chip of the HUD's strip shows.
struct SessionHUDAppDisplay {
    QString bundleID;
    QString name;
    QImage icon;
    AllowedAppVisibility visibility = AllowedAppVisibility::notRunning;
};

} // namespace vesk
