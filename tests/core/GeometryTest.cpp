#include "core/Geometry.h"

#include <gtest/gtest.h>

using namespace vesk;

TEST(Geometry, NullRectIsDistinctFromEmptyRect)
{
    const Rect null = Rect::null();
    EXPECT_TRUE(null.isNull());
    EXPECT_TRUE(null.isEmpty());
    EXPECT_EQ(null, Rect::null());

    const Rect zeroSized{5, 5, 0, 0};
    EXPECT_FALSE(zeroSized.isNull());
    EXPECT_TRUE(zeroSized.isEmpty());
    EXPECT_NE(zeroSized, null);

    EXPECT_TRUE((Rect{0, 0, 10, 0}).isEmpty());
    EXPECT_FALSE((Rect{0, 0, -10, 5}).isEmpty());
    EXPECT_FALSE((Rect{0, 0, 1, 1}).isNull());
}

TEST(Geometry, EdgesAreReadFromTheStandardisedRect)
{
    const Rect flipped{100, 50, -40, -20};
    EXPECT_EQ(flipped.minX(), 60);
    EXPECT_EQ(flipped.maxX(), 100);
    EXPECT_EQ(flipped.minY(), 30);
    EXPECT_EQ(flipped.maxY(), 50);
    EXPECT_EQ(flipped.midX(), 80);
    EXPECT_EQ(flipped.midY(), 40);
    EXPECT_EQ(flipped.standardWidth(), 40);
    EXPECT_EQ(flipped.standardHeight(), 20);
    EXPECT_EQ(flipped.standardized(), (Rect{60, 30, 40, 20}));
    EXPECT_EQ(Rect::null().standardized(), Rect::null());
}

TEST(Geometry, UnionIgnoresNullButNotEmpty)
{
    const Rect a{0, 0, 10, 10};
    EXPECT_EQ(a.united(Rect::null()), a);
    EXPECT_EQ(Rect::null().united(a), a);
    EXPECT_TRUE(Rect::null().united(Rect::null()).isNull());
    // A zero-sized rect still has a position, and the union reaches it.
    EXPECT_EQ(a.united(Rect{20, 30, 0, 0}), (Rect{0, 0, 20, 30}));
    EXPECT_EQ(a.united(Rect{-5, 15, 10, -20}), (Rect{-5, -5, 15, 20}));
    // Two displays side by side, the second one lower.
    EXPECT_EQ((Rect{0, 0, 1440, 900}).united(Rect{1440, -180, 1920, 1080}), (Rect{0, -180, 3360, 1080}));
}

struct IntersectionCase {
    const char* name;
    Rect a;
    Rect b;
    Rect expected;
};

TEST(Geometry, Intersection)
{
    const Rect base{0, 0, 100, 50};
    const IntersectionCase cases[] = {
        {"overlap", base, {80, 40, 40, 40}, {80, 40, 20, 10}},
        {"contained", base, {10, 10, 5, 5}, {10, 10, 5, 5}},
        {"same", base, base, base},
        {"right edge only", base, {100, 0, 10, 50}, Rect::null()},
        {"top edge only", base, {0, 50, 100, 10}, Rect::null()},
        {"corner only", base, {100, 50, 10, 10}, Rect::null()},
        {"apart", base, {200, 0, 10, 10}, Rect::null()},
        {"zero-sized inside", base, {10, 10, 0, 0}, Rect::null()},
        {"null operand", base, Rect::null(), Rect::null()},
        {"negative size", base, {120, 60, -40, -30}, {80, 30, 20, 20}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.a.intersected(c.b), c.expected) << c.name;
        EXPECT_EQ(c.b.intersected(c.a), c.expected) << c.name << " (swapped)";
        EXPECT_EQ(c.a.intersects(c.b), !c.expected.isNull()) << c.name;
    }
}

TEST(Geometry, ContainsPointIncludesMinimumAndExcludesMaximumEdges)
{
    const Rect r{0, 0, 10, 20};
    EXPECT_TRUE(r.contains(Point{0, 0}));
    EXPECT_TRUE(r.contains(Point{9.999, 19.999}));
    EXPECT_FALSE(r.contains(Point{10, 5}));
    EXPECT_FALSE(r.contains(Point{5, 20}));
    EXPECT_FALSE(r.contains(Point{-0.001, 5}));
    EXPECT_TRUE((Rect{10, 20, -10, -20}).contains(Point{0, 0}));
    EXPECT_FALSE(Rect::null().contains(Point{0, 0}));
}

TEST(Geometry, ContainsRect)
{
    const Rect r{0, 0, 10, 10};
    EXPECT_TRUE(r.contains(r));
    EXPECT_TRUE(r.contains(Rect{2, 2, 8, 8}));
    EXPECT_FALSE(r.contains(Rect{2, 2, 9, 8}));
    EXPECT_FALSE(r.contains(Rect::null()));
    EXPECT_FALSE(Rect::null().contains(r));
}

TEST(Geometry, InsetGivesNullOnlyWhenTheRectWouldTurnInsideOut)
{
    EXPECT_EQ((Rect{10, 20, 100, 50}).insetBy(4, 4), (Rect{14, 24, 92, 42}));
    const Rect exactlyUsedUp = (Rect{0, 0, 8, 30}).insetBy(4, 4);
    EXPECT_EQ(exactlyUsedUp, (Rect{4, 4, 0, 22}));
    EXPECT_FALSE(exactlyUsedUp.isNull());
    EXPECT_TRUE((Rect{0, 0, 6, 30}).insetBy(4, 4).isNull());
    EXPECT_TRUE((Rect{0, 0, 30, 7.5}).insetBy(4, 4).isNull());
    EXPECT_EQ((Rect{10, 10, 5, 5}).insetBy(-5, -1), (Rect{5, 9, 15, 7}));
    EXPECT_EQ((Rect{20, 20, -10, -10}).insetBy(1, 1), (Rect{11, 11, 8, 8}));
    EXPECT_TRUE(Rect::null().insetBy(-10, -10).isNull());
}

TEST(Geometry, OffsetMovesTheOriginAndKeepsNullNull)
{
    EXPECT_EQ((Rect{1, 2, 3, 4}).offsetBy(10, -20), (Rect{11, -18, 3, 4}));
    EXPECT_TRUE(Rect::null().offsetBy(10, 10).isNull());
}

TEST(Geometry, TextForms)
{
    EXPECT_EQ(toString(Rect{0, 0, 1440, 900}), "{{0, 0}, {1440, 900}}");
    EXPECT_EQ(toString(Rect{1440, -180, 1920, 1080}), "{{1440, -180}, {1920, 1080}}");
    EXPECT_EQ(toString(Point{100, 200}), "{100, 200}");
    EXPECT_EQ(toString(Size{800, 600}), "{800, 600}");
    EXPECT_EQ(toString(Point{0.5, -12.25}), "{0.5, -12.25}");
    EXPECT_EQ(toString(Point{0.1, 1000000}), "{0.1, 1000000}");
    EXPECT_EQ(toString(Point{1.0 / 3.0, -0.0}), "{0.3333333333333333, 0}");
    EXPECT_EQ(toString(Size{1e300, -2.5e-7}), "{1e+300, -0.00000025}");
    EXPECT_EQ(toString(Rect::null()), "{{inf, inf}, {0, 0}}");
}

TEST(Geometry, QtBoundary)
{
    const Rect r{1.5, -2, 30, 40};
    EXPECT_EQ(rectFromQRectF(toQRectF(r)), r);
    EXPECT_EQ(toQRectF(r), QRectF(1.5, -2, 30, 40));
    EXPECT_EQ(toQRectF(Rect::null()), QRectF());
    EXPECT_EQ(pointFromQPointF(toQPointF(Point{3, 4})), (Point{3, 4}));
    EXPECT_EQ(sizeFromQSizeF(toQSizeF(Size{5, 6})), (Size{5, 6}));
}
