#include "ui/GalaxyBackdropStar.h"
#include "ui/GalaxyBackdropView.h"

#include <gtest/gtest.h>

#include <map>

namespace vesk {
namespace {

// Stars by kind, told apart by their disc size.
std::map<double, int> countBySize(const std::vector<GalaxyBackdropStar>& stars)
{
    std::map<double, int> counts;
    for (const GalaxyBackdropStar& star : stars)
        ++counts[star.size];
    return counts;
}

TEST(GalaxyBackdropStar, EachStyleHasItsStarField)
{
    const std::map<double, int> cosmic{{1.0, 111}, {1.5, 26}, {2.6, 3}};
    const std::map<double, int> solar{{1.0, 99}, {1.5, 30}, {2.2, 7}, {2.6, 4}};
    EXPECT_EQ(countBySize(makeGalaxyStars(WormveskStyle::cosmic, 140)), cosmic);
    EXPECT_EQ(countBySize(makeGalaxyStars(WormveskStyle::solar, 140)), solar);
}

TEST(GalaxyBackdropStar, KindsCarryTheirLook)
{
    struct Look {
        double minOpacity, maxOpacity, durationMin, durationMax, glowRadius;
        bool isJewel;
    };
    const std::map<double, Look> looks{
        {1.0, {0.16, 0.5, 3, 6, 0, false}},
        {1.5, {0.28, 0.72, 3, 6, 0, false}},
        {2.2, {0.45, 0.9, 4, 8, 5, false}},
        {2.6, {0.55, 0.95, 5, 9, 5, true}},
    };
    for (const WormveskStyle style : allCases<WormveskStyle>()) {
        const auto stars = makeGalaxyStars(style, 140);
        for (std::size_t i = 0; i < stars.size(); ++i) {
            const GalaxyBackdropStar& star = stars[i];
            const Look& look = looks.at(star.size);
            EXPECT_EQ(star.id, static_cast<int>(i));
            EXPECT_EQ(star.minOpacity, look.minOpacity);
            EXPECT_EQ(star.maxOpacity, look.maxOpacity);
            EXPECT_GE(star.duration, look.durationMin);
            EXPECT_LT(star.duration, look.durationMax);
            EXPECT_GE(star.delay, 0);
            EXPECT_LT(star.delay, star.duration);
            EXPECT_EQ(star.glowRadius, look.glowRadius);
            EXPECT_EQ(star.glowColor.alphaF() > 0, look.glowRadius > 0);
            EXPECT_EQ(star.isJewel, look.isJewel);
        }
    }
}

// Values of the generator worked out by hand from its definition, outside this code.
TEST(GalaxyBackdropStar, DrawsFollowTheSeededGenerator)
{
    const auto cosmic = makeGalaxyStars(WormveskStyle::cosmic, 140);
    const GalaxyBackdropStar& first = cosmic[0]; // kind draw 0.74263: medium
    EXPECT_EQ(first.size, 1.5);
    EXPECT_NEAR(first.duration, 3.344135275343433, 1e-12);
    EXPECT_NEAR(first.x, 0.7802458798978478, 1e-12);
    EXPECT_NEAR(first.y, 0.46557027846574783, 1e-12);
    EXPECT_NEAR(first.delay, 3.3379552834268966, 1e-12);
    EXPECT_EQ(first.color, QColor(Qt::white));

    // The first tinted star picks its tint with a fourth draw and shifts the rest.
    const GalaxyBackdropStar& tinted = cosmic[12];
    EXPECT_EQ(tinted.color, QColor(207, 201, 187));
    EXPECT_NEAR(tinted.x, 0.5282138276379555, 1e-12);
    EXPECT_NEAR(tinted.delay, 1.9282343513366178, 1e-12);

    const auto solar = makeGalaxyStars(WormveskStyle::solar, 140);
    EXPECT_EQ(solar[6].color, QColor(231, 226, 214));
    EXPECT_NEAR(solar[6].y, 0.7739383808802813, 1e-12);

    int white = 0;
    for (const GalaxyBackdropStar& star : cosmic)
        white += star.color == QColor(Qt::white) ? 1 : 0;
    EXPECT_EQ(white, 110);
}

TEST(GalaxyBackdropStar, SameStyleAndCountGiveTheSameField)
{
    const auto a = makeGalaxyStars(WormveskStyle::solar, 140);
    const auto b = makeGalaxyStars(WormveskStyle::solar, 140);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].x, b[i].x);
        EXPECT_EQ(a[i].y, b[i].y);
        EXPECT_EQ(a[i].delay, b[i].delay);
        EXPECT_EQ(a[i].color, b[i].color);
    }
    // A shorter field is the start of the longer one.
    const auto few = makeGalaxyStars(WormveskStyle::solar, 10);
    EXPECT_EQ(few.back().x, a[9].x);
    EXPECT_TRUE(makeGalaxyStars(WormveskStyle::cosmic, 0).empty());
}

TEST(GalaxyBackdropStar, TwinkleRunsFromMinimumToMaximumAndBack)
{
    GalaxyBackdropStar star;
    star.minOpacity = 0.28;
    star.maxOpacity = 0.72;
    star.duration = 4;
    star.delay = 1;
    EXPECT_NEAR(star.opacityAt(3), 0.28, 1e-12); // (delay + t) a multiple of the duration
    EXPECT_NEAR(star.opacityAt(7), 0.28, 1e-12);
    EXPECT_NEAR(star.opacityAt(5), 0.72, 1e-12); // half a cycle later
    EXPECT_NEAR(star.opacityAt(4), 0.50, 1e-12); // a quarter
    // Time since 2001 is large; the phase still comes out right.
    EXPECT_NEAR(star.opacityAt(800000003.0), 0.28, 1e-6);
}

TEST(GalaxyBackdropStar, StarsKeepClearOfTheTopInset)
{
    GalaxyBackdropStar star;
    star.x = 0.25;
    star.y = 0.5;
    EXPECT_EQ(GalaxyBackdropView::starCenter(star, QSizeF(360, 440), 28), QPointF(90, 28 + 0.5 * 412));
    // A backdrop lower than its inset puts every star on the inset's line.
    for (const double y : {0.0, 0.5, 0.99}) {
        star.y = y;
        EXPECT_EQ(GalaxyBackdropView::starCenter(star, QSizeF(360, 20), 28).y(), 28);
    }
}

} // namespace
} // namespace vesk
