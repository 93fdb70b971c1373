#include "ui/VeskTheme.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

QColor opaque(const QColor& color)
{
    return withOpacity(color, 1);
}

TEST(VeskTheme, SharedIsTheWholePaletteEvenWhenReadFirst)
{
    // CTest runs each test in a process of its own: here shared() is the
    // first read of the theme, and it must already hold every colour.
    const VeskTheme& shared = VeskTheme::shared();
    EXPECT_EQ(shared.accent, QColor(217, 210, 196));
    EXPECT_EQ(shared, VeskTheme::palette());
    EXPECT_NE(&shared, &VeskTheme::palette());
    EXPECT_EQ(&shared, &VeskTheme::shared());
}

TEST(VeskTheme, MembersHoldTheirColours)
{
    const VeskTheme& theme = VeskTheme::shared();
    struct Case {
        const char* name;
        QColor actual;
        int red, green, blue;
        double opacity;
    };
    const Case cases[] = {
        {"bgTop", theme.bgTop, 14, 14, 16, 1},
        {"bgBottom", theme.bgBottom, 6, 6, 8, 1},
        {"panelTop", theme.panelTop, 15, 15, 18, 1},
        {"panelBottom", theme.panelBottom, 10, 10, 12, 1},
        {"accent", theme.accent, 217, 210, 196, 1},
        {"accentSoft", theme.accentSoft, 237, 232, 220, 1},
        {"accentDeep", theme.accentDeep, 168, 159, 140, 1},
        {"accentTint", theme.accentTint, 217, 210, 196, 0.1},
        {"accentBorder", theme.accentBorder, 217, 210, 196, 0.34},
        {"accentText", theme.accentText, 16, 16, 16, 1},
        {"ok", theme.ok, 156, 194, 166, 1},
        {"warn", theme.warn, 205, 190, 147, 1},
        {"danger", theme.danger, 217, 138, 130, 1},
        {"textPrimary", theme.textPrimary, 236, 234, 227, 1},
        {"textSecondary", theme.textSecondary, 134, 131, 123, 1},
        {"textMuted", theme.textMuted, 162, 158, 148, 1},
        {"textTitle", theme.textTitle, 216, 213, 204, 1},
        {"textDim", theme.textDim, 84, 81, 74, 1},
        {"textStrong", theme.textStrong, 251, 249, 243, 1},
        {"hairline", theme.hairline, 236, 234, 227, 0.08},
        {"hairlineStrong", theme.hairlineStrong, 236, 234, 227, 0.15},
        {"inset", theme.inset, 236, 234, 227, 0.045},
        {"insetStrong", theme.insetStrong, 236, 234, 227, 0.07},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(opaque(c.actual), QColor(c.red, c.green, c.blue)) << c.name;
        EXPECT_NEAR(c.actual.alphaF(), c.opacity, 1e-4) << c.name;
    }
}

TEST(VeskTheme, DerivedColoursKeepTheirRelations)
{
    const VeskTheme& theme = VeskTheme::shared();
    for (const QColor& tinted : {theme.accentTint, theme.accentBorder})
        EXPECT_EQ(opaque(tinted), theme.accent);
    for (const QColor& line : {theme.hairline, theme.hairlineStrong, theme.inset, theme.insetStrong})
        EXPECT_EQ(opaque(line), theme.textPrimary);
    EXPECT_LT(theme.textSecondary.lightness(), theme.textMuted.lightness());

    ASSERT_EQ(theme.windowGradient.stops.size(), 2u);
    EXPECT_EQ(theme.windowGradient.stops.front().color, theme.panelTop);
    EXPECT_EQ(theme.windowGradient.stops.back().color, theme.panelBottom);
    EXPECT_EQ(theme.windowGradient.startPoint, QPointF(0.5, 0));
    EXPECT_EQ(theme.windowGradient.endPoint, QPointF(0.5, 1));

    const std::array<std::pair<double, double>, 2> nebula{{{0.05, 270}, {0.04, 180}}};
    for (std::size_t i = 0; i < nebula.size(); ++i) {
        const RadialGradient& gradient = theme.nebula[i];
        EXPECT_EQ(opaque(gradient.stops.front().color), theme.accent);
        EXPECT_NEAR(gradient.stops.front().color.alphaF(), nebula[i].first, 1e-4);
        EXPECT_EQ(gradient.stops.back().color.alpha(), 0);
        EXPECT_EQ(gradient.center, QPointF(0.5, 0.5));
        EXPECT_EQ(gradient.startRadius, 0);
        EXPECT_EQ(gradient.endRadius, nebula[i].second);
    }
}

TEST(Gradient, RadialStopsStartAtTheStartRadius)
{
    const RadialGradient ring{{{0, Qt::white}, {1, Qt::black}}, {0.5, 0.5}, 50, 100};
    const QRadialGradient qt = ring.in(QRectF(0, 0, 400, 200));
    EXPECT_EQ(qt.center(), QPointF(200, 100));
    EXPECT_EQ(qt.radius(), 100);
    const QGradientStops stops = qt.stops();
    ASSERT_EQ(stops.size(), 3);
    EXPECT_EQ(stops[0], QGradientStop(0, QColor(Qt::white)));
    EXPECT_EQ(stops[1], QGradientStop(0.5, QColor(Qt::white)));
    EXPECT_EQ(stops[2], QGradientStop(1, QColor(Qt::black)));
}

} // namespace
} // namespace vesk
