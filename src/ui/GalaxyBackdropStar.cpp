#include "ui/GalaxyBackdropStar.h"

#include "ui/Gradient.h"
#include "ui/Mulberry32.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace vesk {

namespace {

struct KindLook {
    double size;
    double minOpacity;
    double maxOpacity;
    double durationOffset;
    double durationScale;
    bool glows;
    bool isJewel;
};

// By the kind draw r: small below 0.74, medium below 0.93, bright below 0.985, jewel above.
KindLook lookFor(double r)
{
    if (r < 0.74)
        return {1.0, 0.16, 0.5, 3, 3, false, false}; // small
    if (r < 0.93)
        return {1.5, 0.28, 0.72, 3, 3, false, false}; // medium
    if (r < 0.985)
        return {2.2, 0.45, 0.9, 4, 4, true, false}; // bright
    return {2.6, 0.55, 0.95, 5, 4, true, true};     // jewel
}

const std::array<QColor, 4>& warmTints()
{
    static const std::array<QColor, 4> tints{rgb(231, 226, 214), rgb(207, 201, 187), rgb(183, 177, 162),
                                             rgb(251, 249, 243)};
    return tints;
}

} // namespace

double GalaxyBackdropStar::opacityAt(double t) const
{
    const double phase = std::fmod(delay + t, duration) / duration;
    const double w = (std::sin(2 * std::numbers::pi * phase - std::numbers::pi / 2) + 1) / 2;
    return minOpacity + w * (maxOpacity - minOpacity);
}

std::uint32_t GalaxyBackdropStar::seed(WormveskStyle style)
{
    return style == WormveskStyle::cosmic ? 49246u : 20506u;
}

std::vector<GalaxyBackdropStar> makeGalaxyStars(WormveskStyle style, int count)
{
    const QColor accent = rgb(217, 210, 196);
    std::vector<GalaxyBackdropStar> stars;
    std::uint32_t state = GalaxyBackdropStar::seed(style);
    for (int i = 0; i < count; ++i) {
        const KindLook look = lookFor(Mulberry32::drawAt(state, 1));
        const double duration = look.durationOffset + look.durationScale * Mulberry32::drawAt(state, 2);

        // 78 % white; the rest one of four warm tints.
        QColor color = Qt::white;
        std::uint32_t afterPick = state + 3 * Mulberry32::increment;
        if (Mulberry32::drawAt(state, 3) < 0.22) {
            const int tint = std::min(static_cast<int>(std::floor(4 * Mulberry32::drawAt(state, 4))), 3);
            color = warmTints()[static_cast<std::size_t>(tint)];
            afterPick = state + 4 * Mulberry32::increment;
        }

        GalaxyBackdropStar star;
        star.id = i;
        star.x = Mulberry32::drawAt(afterPick, 1);
        star.y = Mulberry32::drawAt(afterPick, 2);
        star.size = look.size;
        star.minOpacity = look.minOpacity;
        star.maxOpacity = look.maxOpacity;
        star.duration = duration;
        star.delay = duration * Mulberry32::drawAt(afterPick, 3);
        star.color = color;
        star.glowColor = withOpacity(accent, look.glows ? 0.55 : 0);
        star.glowRadius = look.glows ? 5 : 0;
        star.isJewel = look.isJewel;
        stars.push_back(star);
        state = afterPick + 3 * Mulberry32::increment;
    }
    return stars;
}

} // namespace vesk
