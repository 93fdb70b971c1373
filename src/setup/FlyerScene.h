#pragma once

#include "ui/WormveskStyle.h"

#include <QPixmap>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <map>
#include <vector>

namespace vesk {

// One application that flies: its bundle identifier and icon.
struct FlyerApp {
    QString bundleID;
    QPixmap icon;
};

// What the flyer overlay draws: the style, the selected applications in grid
// order, their tile icon frames and the logo centre (setup root coordinates)
// and each application's flight progress.
struct FlyerScene {
    WormveskStyle style = WormveskStyle::cosmic;
    std::vector<FlyerApp> apps;
    std::map<QString, QRectF> iconFrames;
    QPointF logoCenter;
    std::map<QString, double> progress;
};

} // namespace vesk
