#include "ui/AnimatedValue.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

// Values of the curves the start animation and the views use, computed by
// bisection outside this code.
TEST(CubicBezierCurve, MatchesTheTimingCurvesAtChosenTimes)
{
    struct Case {
        CubicBezierCurve curve;
        std::array<double, 5> expected; // at 0.1, 0.25, 0.5, 0.75, 0.9
    };
    const Case cases[] = {
        {{0.45, 0.05, 0.55, 1}, {0.027589, 0.140083, 0.51875, 0.885347, 0.983278}},
        {{0.3, 0, 0.2, 1}, {0.046747, 0.348935, 0.797153, 0.960733, 0.994418}},
        {{0.72, 0, 0.85, 0.05}, {0.000443, 0.004298, 0.035162, 0.181899, 0.503748}},
        {CubicBezierCurve::easeInOut(), {0.019722, 0.129162, 0.5, 0.870838, 0.980278}},
    };
    const std::array<double, 5> times{0.1, 0.25, 0.5, 0.75, 0.9};
    for (const Case& c : cases) {
        for (std::size_t i = 0; i < times.size(); ++i)
            EXPECT_NEAR(c.curve.valueAt(times[i]), c.expected[i], 1e-6) << c.curve.x1 << " at " << times[i];
        EXPECT_EQ(c.curve.valueAt(0), 0);
        EXPECT_EQ(c.curve.valueAt(1), 1);
        EXPECT_EQ(c.curve.valueAt(-0.5), 0);
        EXPECT_EQ(c.curve.valueAt(1.5), 1);
    }
    EXPECT_DOUBLE_EQ(CubicBezierCurve::linear().valueAt(0.3), 0.3);
}

class AnimatedValueTest : public ::testing::Test {
protected:
    QDateTime at(double seconds) const { return start.addMSecs(static_cast<qint64>(seconds * 1000)); }
    const QDateTime start = QDateTime(QDate(2026, 1, 5), QTime(9, 0), Qt::UTC);
};

TEST_F(AnimatedValueTest, FollowsItsCurveFromStartToEnd)
{
    AnimatedValue scale(1.0);
    scale.animate(8.0, start, 1.05, {0.72, 0, 0.85, 0.05});
    EXPECT_EQ(scale.target(), 8.0);
    EXPECT_EQ(scale.valueAt(at(-0.1)), 1.0);
    EXPECT_EQ(scale.valueAt(start), 1.0);
    EXPECT_NEAR(scale.valueAt(at(0.525)), 1 + 7 * 0.035162, 1e-4);
    EXPECT_TRUE(scale.isAnimating(at(1.0)));
    EXPECT_EQ(scale.valueAt(at(1.05)), 8.0);
    EXPECT_FALSE(scale.isAnimating(at(1.05)));
    EXPECT_EQ(scale.valueAt(at(30)), 8.0);
}

TEST_F(AnimatedValueTest, ANewAnimationStartsFromThePresentedValue)
{
    AnimatedValue opacity(1.0);
    opacity.animate(0.0, start, 1.0, CubicBezierCurve::linear());
    opacity.animate(1.0, at(0.25), 0.5, CubicBezierCurve::linear());
    EXPECT_DOUBLE_EQ(opacity.valueAt(at(0.25)), 0.75);
    EXPECT_DOUBLE_EQ(opacity.valueAt(at(0.5)), 0.875);
    EXPECT_EQ(opacity.valueAt(at(0.75)), 1.0);
}

TEST_F(AnimatedValueTest, SetJumpsWithoutAnimation)
{
    AnimatedValue progress(0.0);
    progress.animate(1.0, start, 1.0, CubicBezierCurve::easeInOut());
    progress.set(0.0);
    EXPECT_EQ(progress.valueAt(at(0.5)), 0.0);
    EXPECT_FALSE(progress.isAnimating(at(0.5)));
    // A zero duration lands at once.
    progress.animate(0.4, at(1), 0, CubicBezierCurve::linear());
    EXPECT_EQ(progress.valueAt(at(1)), 0.4);
}

TEST(ReferenceDate, CountsSecondsFrom2001)
{
    EXPECT_EQ(secondsSinceReferenceDate(QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC)), 0.0);
    EXPECT_EQ(secondsSinceReferenceDate(QDateTime(QDate(2001, 1, 1), QTime(0, 0, 5, 500), Qt::UTC)), 5.5);
    EXPECT_EQ(secondsSinceReferenceDate(QDateTime::fromSecsSinceEpoch(978307200 + 86400, Qt::UTC)), 86400.0);
}

} // namespace
} // namespace vesk
