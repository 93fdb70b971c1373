#pragma once

#include "ui/Gradient.h"

#include <QColor>

#include <cstdint>
#include <vector>

namespace vesk {

// The colours of the Vesk symbol, shared by every instance.
struct WormveskSymbolTheme {
    // A stop whose colour is drawn at `opacity`.
    struct GradientStop {
        double offset = 0;
        QColor color;
        double opacity = 1;

        bool operator==(const GradientStop&) const = default;
    };

    std::vector<GradientStop> bowl;
    std::vector<GradientStop> halo;
    std::vector<GradientStop> brightening;
    std::vector<GradientStop> rim;
    QColor latitudeStroke;
    QColor longitudeStroke;
    QColor accentRingPrimary;
    QColor accentRingSecondary;
    QColor accentRingHighlight;
    QColor hotSpotInner;
    QColor hotSpotOuter;
    std::uint32_t starSeed = 0;

    static const WormveskSymbolTheme& shared();

    // The stops as gradient stops, each colour at its stop's opacity.
    static std::vector<vesk::GradientStop> gradientStops(const std::vector<GradientStop>& stops);
};

} // namespace vesk
