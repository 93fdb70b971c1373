#pragma once

#include "ui/Gradient.h"

#include <QColor>

#include <array>

namespace vesk {

// The one colour palette of Vesk's own screens: warm dark greys with a pale
// sand accent. Views read VeskTheme::shared() (or keep a copy of it) and name
// colours by member; no setting selects another palette.
struct VeskTheme {
    QColor bgTop;
    QColor bgBottom;
    QColor panelTop;
    QColor panelBottom;
    // panelTop to panelBottom, top to bottom.
    LinearGradient windowGradient;
    // accent at 0.05 to clear out to 270 points, and at 0.04 to clear out to 180 points.
    std::array<RadialGradient, 2> nebula;
    QColor accent;
    QColor accentSoft;
    QColor accentDeep;
    QColor accentTint;   // accent at 0.1
    QColor accentBorder; // accent at 0.34
    QColor accentText;   // near-black text on accent surfaces
    QColor ok;
    QColor warn;
    QColor danger;
    QColor textPrimary;
    QColor textSecondary; // darker than textMuted
    QColor textMuted;
    QColor textTitle;
    QColor textDim;
    QColor textStrong;
    QColor hairline;       // textPrimary at 0.08
    QColor hairlineStrong; // textPrimary at 0.15
    QColor inset;          // textPrimary at 0.045
    QColor insetStrong;    // textPrimary at 0.07

    bool operator==(const VeskTheme&) const = default;

    // The palette, built once on first use.
    static const VeskTheme& palette();
    // The instance the views read: a copy of the palette, made on first use.
    static const VeskTheme& shared();
};

} // namespace vesk
