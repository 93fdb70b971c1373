#pragma once

#include "ui/WormveskStyle.h"

#include <QColor>

#include <cstdint>
#include <vector>

namespace vesk {

// One star of the galaxy backdrop, of one of four kinds: small, medium,
// bright (with a glow) and jewel (glow and sparkle). `x` is a fraction of the width, `y` a
// fraction of the height below the top inset.
struct GalaxyBackdropStar {
    int id = 0;
    double x = 0;
    double y = 0;
    double size = 0;       // diameter in points
    double minOpacity = 0; // dimmest point of the twinkle
    double maxOpacity = 0; // brightest point, and the still opacity under reduced motion
    double duration = 0;   // seconds of one twinkle cycle
    double delay = 0;      // phase offset in seconds
    QColor color;
    QColor glowColor;
    double glowRadius = 0; // 0 for stars without glow
    bool isJewel = false;  // carries the cross-shaped sparkle

    // The twinkle at `t` seconds since the reference date (2001-01-01): a
    // sine from minOpacity up to maxOpacity and back over `duration`.
    double opacityAt(double t) const;

    // The seed of each style's star field.
    static std::uint32_t seed(WormveskStyle style);
};

// The star field of a style: `count` stars, the same every time for the same
// style and count. `count` must not be negative.
std::vector<GalaxyBackdropStar> makeGalaxyStars(WormveskStyle style, int count);

} // namespace vesk
