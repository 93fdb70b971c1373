#include "ui/Shapes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vesk {
namespace {

// The x at which an outline first leaves the top edge on its way into the
// top-right corner.
double cornerStart(const QPainterPath& outline, double right)
{
    double start = right;
    for (int i = 0; i <= 20000; ++i) {
        const QPointF point = outline.pointAtPercent(i / 20000.0);
        if (point.y() > 0.005 && point.y() < 0.2 && point.x() > right / 2)
            start = std::min(start, point.x());
    }
    return start;
}

TEST(Shapes, ContinuousCornersEaseInLongerThanCircularOnes)
{
    const QRectF rect(0, 0, 200, 100);
    const double radius = 14;
    const QPainterPath continuous = continuousRoundedRect(rect, radius);
    EXPECT_EQ(continuous.boundingRect(), rect);
    EXPECT_TRUE(continuous.contains(rect.center()));
    EXPECT_FALSE(continuous.contains(QPointF(0.5, 0.5)));

    // A circular corner leaves the edge where its arc starts, one radius from
    // the corner; a continuous one curves away gently from further out.
    QPainterPath circular;
    circular.addRoundedRect(rect, radius, radius);
    EXPECT_GT(cornerStart(circular, 200), 200 - radius - 0.1);
    EXPECT_LT(cornerStart(continuous, 200), 200 - radius - 2);
    // On the diagonal the two cut the corner about equally.
    const double diagonal = radius * (1 - 1 / std::sqrt(2.0));
    EXPECT_FALSE(continuous.contains(QPointF(diagonal - 0.5, diagonal - 0.5)));
    EXPECT_TRUE(continuous.contains(QPointF(diagonal + 1.0, diagonal + 1.0)));
}

TEST(Shapes, SmallRectsFallBackToCappedRoundedRects)
{
    const QPainterPath path = continuousRoundedRect(QRectF(0, 0, 80, 30), 14);
    EXPECT_EQ(path.boundingRect(), QRectF(0, 0, 80, 30));
    EXPECT_TRUE(path.contains(QPointF(40, 1)));
    EXPECT_FALSE(path.contains(QPointF(1, 1)));
    EXPECT_EQ(continuousRoundedRect(QRectF(0, 0, 10, 10), 0).boundingRect(), QRectF(0, 0, 10, 10));
}

TEST(Shapes, CapsuleEndsAreHalfCircles)
{
    const QPainterPath path = capsule(QRectF(0, 0, 100, 30));
    EXPECT_TRUE(path.contains(QPointF(15, 1)));
    EXPECT_FALSE(path.contains(QPointF(4, 4)));
    EXPECT_TRUE(path.contains(QPointF(1, 15)));
}

TEST(Shapes, StrokesUseMiterJoinsWithALimitOfTen)
{
    const QPen pen = strokePen(Qt::red, 1.4);
    EXPECT_EQ(pen.widthF(), 1.4);
    EXPECT_EQ(pen.joinStyle(), Qt::MiterJoin);
    EXPECT_EQ(pen.miterLimit(), 10);
    EXPECT_EQ(pen.capStyle(), Qt::FlatCap);
    EXPECT_EQ(pen.style(), Qt::SolidLine);
}

} // namespace
} // namespace vesk
