#include "setup/FlyerPose.h"

#include <algorithm>

namespace vesk {

namespace {

// One leg of the path: its local progress, position and the scale and
// opacity ramps over it.
struct Leg {
    double start;
    double length;
    double scaleFrom;
    double scaleDrop;
    double opacityFrom;
    double opacityDrop;
};

constexpr Leg firstLeg{0.0, 0.45, 1.0, 0.28, 1.0, 0.05};
constexpr Leg secondLeg{0.45, 0.33, 0.72, 0.42, 0.95, 0.40};
constexpr Leg lastLeg{0.78, 0.22, 0.30, 0.24, 0.55, 0.55};

QPointF between(const QPointF& from, const QPointF& to, double t)
{
    return from + t * (to - from);
}

} // namespace

FlyerPose flyerPose(WormveskStyle style, int index, const QRectF& tile, const QPointF& logoCenter, double progress)
{
    const double side = index % 2 == 1 ? 1.0 : -1.0;
    const bool cosmic = style == WormveskStyle::cosmic;
    const double bend = side * (cosmic ? 0.15 : 0.3);

    const QPointF start = tile.center();
    const QPointF delta = logoCenter - start;
    const QPointF normal(-delta.y(), delta.x());
    const QPointF control1 = start + 0.4 * delta + (0.5 * bend) * normal;
    const QPointF control2 = start + 0.78 * delta + (0.25 * bend) * normal;

    const double p = progress;
    const Leg& leg = p <= 0.45 ? firstLeg : p <= 0.78 ? secondLeg : lastLeg;
    const double t = (p - leg.start) / leg.length;
    const QPointF center = p <= 0.45   ? between(start, control1, t)
                           : p <= 0.78 ? between(control1, control2, t)
                                       : between(control2, logoCenter, t);

    FlyerPose pose;
    pose.center = center;
    pose.scale = leg.scaleFrom - leg.scaleDrop * t;
    pose.opacity = leg.opacityFrom - leg.opacityDrop * t;
    pose.rotationDegrees = side * (cosmic ? 380.0 : 540.0) * p;
    pose.shadowOpacity = std::min(0.6 * p, 0.6);
    pose.shadowRadius = 4 + 8 * p;
    return pose;
}

} // namespace vesk
