#include "ui/WormveskSymbolTheme.h"

namespace vesk {

namespace {

WormveskSymbolTheme buildTheme()
{
    const QColor accent = rgb(217, 210, 196);
    const QColor accentSoft = rgb(237, 232, 220);
    const QColor highlight = rgb(251, 249, 243);
    WormveskSymbolTheme theme;
    theme.bowl = {
        {0, rgb(0, 0, 0), 1.0},
        {0.22, rgb(0, 0, 0), 1.0},
        {0.3, rgb(22, 21, 19), 0.98},
        {0.45, rgb(15, 14, 12), 0.95},
        {0.6, rgb(168, 159, 140), 0.45},
        {0.74, rgb(189, 182, 168), 0.35},
        {0.88, accent, 0.22},
        {1.0, accent, 0},
    };
    theme.halo = {{0.55, accent, 0}, {0.78, accent, 0.12}, {1.0, rgb(2, 3, 10), 0}};
    theme.brightening = {{0, accentSoft, 0}, {0.35, accentSoft, 0.1}, {0.55, accent, 0.06}, {1.0, Qt::transparent, 0}};
    theme.rim = {{0, accent, 0.8}, {0.5, rgb(189, 182, 168), 0.65}, {1.0, rgb(134, 131, 123), 0.85}};
    theme.latitudeStroke = withOpacity(accent, 0.12);
    theme.longitudeStroke = withOpacity(accent, 0.08);
    theme.accentRingPrimary = accent;
    theme.accentRingSecondary = accentSoft;
    theme.accentRingHighlight = highlight;
    theme.hotSpotInner = highlight;
    theme.hotSpotOuter = accentSoft;
    theme.starSeed = 89;
    return theme;
}

} // namespace

const WormveskSymbolTheme& WormveskSymbolTheme::shared()
{
    static const WormveskSymbolTheme theme = buildTheme();
    return theme;
}

std::vector<vesk::GradientStop> WormveskSymbolTheme::gradientStops(const std::vector<GradientStop>& stops)
{
    std::vector<vesk::GradientStop> result;
    for (const GradientStop& stop : stops) {
        QColor color = stop.color;
        color.setAlphaF(static_cast<float>(color.alphaF() * stop.opacity));
        result.push_back({stop.offset, color});
    }
    return result;
}

} // namespace vesk
