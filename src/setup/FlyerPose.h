#pragma once

#include "ui/WormveskStyle.h"

#include <QPointF>
#include <QRectF>

namespace vesk {

// Where and how one flying icon of the start animation is drawn at a flight
// progress: its centre, scale, opacity, spin and its accent shadow.
struct FlyerPose {
    QPointF center;
    double scale = 1;
    double opacity = 1;
    double rotationDegrees = 0;
    double shadowOpacity = 0;
    double shadowRadius = 4;
};

// The pose of the application at grid position `index` whose tile icon has
// the frame `tile`, flying towards `logoCenter` (both in the setup root's
// coordinates) at `progress` (0 on the tile, 1 at the logo). Even positions
// bend and spin to the negative side, odd ones to the positive side; the
// path runs straight through two control points bent off the direct line.
FlyerPose flyerPose(WormveskStyle style, int index, const QRectF& tile, const QPointF& logoCenter, double progress);

} // namespace vesk
