#include "ui/VeskTheme.h"

namespace vesk {

namespace {

VeskTheme buildPalette()
{
    const QColor panelTop = rgb(15, 15, 18);
    const QColor panelBottom = rgb(10, 10, 12);
    const QColor accent = rgb(217, 210, 196);
    const QColor textPrimary = rgb(236, 234, 227);
    const auto nebulaGradient = [&](double opacity, double endRadius) {
        return RadialGradient{{{0, withOpacity(accent, opacity)}, {1, withOpacity(accent, 0)}},
                              {0.5, 0.5},
                              0,
                              endRadius};
    };

    VeskTheme theme;
    theme.bgTop = rgb(14, 14, 16);
    theme.bgBottom = rgb(6, 6, 8);
    theme.panelTop = panelTop;
    theme.panelBottom = panelBottom;
    theme.windowGradient = LinearGradient{{{0, panelTop}, {1, panelBottom}}, {0.5, 0}, {0.5, 1}};
    theme.nebula = {nebulaGradient(0.05, 270), nebulaGradient(0.04, 180)};
    theme.accent = accent;
    theme.accentSoft = rgb(237, 232, 220);
    theme.accentDeep = rgb(168, 159, 140);
    theme.accentTint = withOpacity(accent, 0.1);
    theme.accentBorder = withOpacity(accent, 0.34);
    theme.accentText = rgb(16, 16, 16);
    theme.ok = rgb(156, 194, 166);
    theme.warn = rgb(205, 190, 147);
    theme.danger = rgb(217, 138, 130);
    theme.textPrimary = textPrimary;
    theme.textSecondary = rgb(134, 131, 123);
    theme.textMuted = rgb(162, 158, 148);
    theme.textTitle = rgb(216, 213, 204);
    theme.textDim = rgb(84, 81, 74);
    theme.textStrong = rgb(251, 249, 243);
    theme.hairline = withOpacity(textPrimary, 0.08);
    theme.hairlineStrong = withOpacity(textPrimary, 0.15);
    theme.inset = withOpacity(textPrimary, 0.045);
    theme.insetStrong = withOpacity(textPrimary, 0.07);
    return theme;
}

} // namespace

const VeskTheme& VeskTheme::palette()
{
    static const VeskTheme instance = buildPalette();
    return instance;
}

const VeskTheme& VeskTheme::shared()
{
    static const VeskTheme instance = palette();
    return instance;
}

} // namespace vesk
