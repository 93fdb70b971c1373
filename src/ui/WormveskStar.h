#pragma once

#include <QUuid>

#include <cstdint>
#include <vector>

namespace vesk {

// One star sprinkled over the Vesk symbol's bowl, in points from the centre
// of the 480-point canvas.
struct WormveskStar {
    QUuid id;
    double x = 0;
    double y = 0;
    double radius = 0;
    double opacity = 0;
};

// The stars of `attempts` tries from a seed: each try draws a point in the
// bowl and yields a star unless the point lies next to the throat. The same
// seed gives the same stars (only the ids differ). `attempts` must not be
// negative.
std::vector<WormveskStar> makeWormveskStars(std::uint32_t seed, int attempts);

} // namespace vesk
