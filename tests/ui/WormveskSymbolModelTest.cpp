#include "ui/AnimatedValue.h"
#include "ui/LongitudeSpokes.h"
#include "ui/WormveskStar.h"
#include "ui/WormveskSymbolMotion.h"
#include "ui/WormveskSymbolTheme.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vesk {
namespace {

TEST(WormveskStar, SeedGivesItsStarsOutsideTheThroat)
{
    const auto stars = makeWormveskStars(WormveskSymbolTheme::shared().starSeed, 75);
    ASSERT_EQ(stars.size(), 65u) << "ten of the 75 attempts fall next to the throat";
    for (const WormveskStar& star : stars) {
        EXPECT_LE(std::abs(star.x), 195.52);
        EXPECT_LE(std::abs(star.y), 108.1);
        EXPECT_GE(std::pow((star.x - 6) / 60, 2) + std::pow((star.y - 4) / 34, 2), 1.0);
        EXPECT_GE(star.radius, 0.4);
        EXPECT_LT(star.radius, 2.0);
        EXPECT_GE(star.opacity, 0.45);
        EXPECT_LT(star.opacity, 0.95);
    }
    // Worked out from the generator's definition outside this code.
    EXPECT_NEAR(stars.front().x, 75.08802199970035, 1e-9);
    EXPECT_NEAR(stars.front().y, -21.228081390091507, 1e-9);
    EXPECT_NEAR(stars.front().radius, 1.787564804777503, 1e-12);
    EXPECT_NEAR(stars.front().opacity, 0.8255463674897328, 1e-12);
    EXPECT_NEAR(stars.back().x, 117.54888465005791, 1e-9);
    EXPECT_NEAR(stars.back().opacity, 0.9180976542877033, 1e-12);
}

TEST(WormveskStar, SameSeedSamePlacesNewIdentifiers)
{
    const auto a = makeWormveskStars(89, 75);
    const auto b = makeWormveskStars(89, 75);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].x, b[i].x);
        EXPECT_EQ(a[i].radius, b[i].radius);
        EXPECT_NE(a[i].id, b[i].id);
    }
    EXPECT_TRUE(makeWormveskStars(89, 0).empty());
    EXPECT_NE(makeWormveskStars(90, 75).front().x, a.front().x);
}

TEST(LongitudeSpokes, SixteenSpokesFromTheOuterToTheInnerRing)
{
    const auto& spokes = LongitudeSpokes::spokes();
    // The first quadrant as drawn; the other three mirror it.
    const std::array<std::array<double, 4>, 5> quadrant{{
        {215, 0, 73, 0},
        {198.7, 45.6, 67.5, 15.3},
        {152, 84.2, 51.6, 28.3},
        {82.3, 110, 27.9, 37},
        {0, 119, 0, 40},
    }};
    for (int k = 0; k < 16; ++k) {
        const double angle = k * 22.5 * std::numbers::pi / 180;
        const auto& spoke = spokes[static_cast<std::size_t>(k)];
        // Each spoke lies on its angle's ellipse points, to the table's rounding.
        EXPECT_NEAR(spoke.outer.x(), 215 * std::cos(angle), 0.11) << k;
        EXPECT_NEAR(spoke.outer.y(), 119 * std::sin(angle), 0.11) << k;
        EXPECT_NEAR(spoke.inner.x(), 73 * std::cos(angle), 0.11) << k;
        EXPECT_NEAR(spoke.inner.y(), 40 * std::sin(angle), 0.11) << k;
        if (k <= 4) {
            const auto& row = quadrant[static_cast<std::size_t>(k)];
            EXPECT_EQ(spoke.outer, QPointF(row[0], row[1])) << k;
            EXPECT_EQ(spoke.inner, QPointF(row[2], row[3])) << k;
        }
    }
    EXPECT_EQ(spokes[7].outer, QPointF(-198.7, 45.6));
    EXPECT_EQ(spokes[9].inner, QPointF(-67.5, -15.3));
    EXPECT_EQ(spokes[14].outer, QPointF(152, -84.2));

    // 16 separate segments around the rectangle's centre.
    const QPainterPath path = LongitudeSpokes::path(QRectF(0, 0, 480, 480));
    ASSERT_EQ(path.elementCount(), 32);
    EXPECT_TRUE(path.elementAt(0).isMoveTo());
    EXPECT_TRUE(path.elementAt(1).isLineTo());
    EXPECT_EQ(QPointF(path.elementAt(2)), QPointF(240 + 198.7, 240 + 45.6));
    EXPECT_EQ(QPointF(path.elementAt(3)), QPointF(240 + 67.5, 240 + 15.3));
}

TEST(WormveskSymbolMotion, StillPoseUnderReducedMotion)
{
    const WormveskSymbolMotion still = WormveskSymbolMotion::still();
    EXPECT_EQ(still.tilt, -22);
    EXPECT_EQ(still.breathe, 1);
    EXPECT_DOUBLE_EQ(still.pulseScale(), 1.0175);
    EXPECT_DOUBLE_EQ(still.accentRingOpacity(), 0.96);
    EXPECT_DOUBLE_EQ(still.glowOpacity(), 0.22);
    EXPECT_DOUBLE_EQ(still.glowRadius(), 16);
}

TEST(WormveskSymbolMotion, EachValueIsASineOfItsOwnPeriod)
{
    // 5.5 s after the reference date the tilt wobble is at its top.
    const WormveskSymbolMotion motion = WormveskSymbolMotion::at(5.5);
    EXPECT_NEAR(motion.tilt, -14.0, 1e-9);
    EXPECT_NEAR(motion.breathe, 1.076639160985239, 1e-9);
    EXPECT_NEAR(motion.pulse, 0.793892626146236, 1e-9);
    EXPECT_NEAR(motion.glow, 0.41317591116653596, 1e-9);

    const WormveskSymbolMotion origin = WormveskSymbolMotion::at(0);
    EXPECT_EQ(origin.tilt, -22);
    EXPECT_EQ(origin.pulse, 0.5);
    // Whole periods later the pose repeats: 22 s for the tilt, 5 s for the pulse.
    EXPECT_NEAR(WormveskSymbolMotion::at(5.5 + 22 * 5).tilt, -14.0, 1e-9);
    EXPECT_NEAR(WormveskSymbolMotion::at(1.25 + 5).pulse, 1.0, 1e-9);
}

TEST(WormveskSymbolTheme, StopsApplyTheirOpacity)
{
    const WormveskSymbolTheme& theme = WormveskSymbolTheme::shared();
    ASSERT_EQ(theme.bowl.size(), 8u);
    ASSERT_EQ(theme.halo.size(), 3u);
    ASSERT_EQ(theme.brightening.size(), 4u);
    ASSERT_EQ(theme.rim.size(), 3u);
    const auto bowl = WormveskSymbolTheme::gradientStops(theme.bowl);
    EXPECT_EQ(bowl[4].location, 0.6);
    EXPECT_EQ(withOpacity(bowl[4].color, 1), QColor(168, 159, 140));
    EXPECT_NEAR(bowl[4].color.alphaF(), 0.45, 1e-4);
    EXPECT_EQ(bowl.back().color.alpha(), 0);
    EXPECT_EQ(theme.starSeed, 89u);
}

} // namespace
} // namespace vesk
