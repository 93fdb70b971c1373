#include "ui/WormveskStar.h"

#include "ui/Mulberry32.h"

#include <cmath>
#include <numbers>

namespace vesk {

std::vector<WormveskStar> makeWormveskStars(std::uint32_t seed, int attempts)
{
    Mulberry32 random(seed);
    std::vector<WormveskStar> stars;
    for (int i = 0; i < attempts; ++i) {
        const double theta = 2 * std::numbers::pi * random.next();
        const double rho = 0.94 * std::sqrt(random.next());
        const double x = 208 * rho * std::cos(theta);
        const double y = 115 * rho * std::sin(theta);
        const double nearThroat = std::pow((x - 6) / 60, 2) + std::pow((y - 4) / 34, 2);
        if (nearThroat < 1)
            continue;
        const double radius = 0.4 + 1.6 * random.next();
        const double opacity = 0.45 + 0.5 * random.next();
        stars.push_back({QUuid::createUuid(), x, y, radius, opacity});
    }
    return stars;
}

} // namespace vesk
