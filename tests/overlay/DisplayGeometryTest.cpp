#include "overlay/DisplayGeometry.h"
#include "FakeScreens.h"
#include "TestPrinters.h"

#include <gtest/gtest.h>

using namespace vesk;
using DisplayFrame = DisplayGeometry::DisplayFrame;

namespace {

// The primary display 1440×900 and, to its right, a 1920×1080 display whose
// top is level with the primary's.
DisplayGeometry sideBySide()
{
    return DisplayGeometry(
        {{Rect{0, 0, 1440, 900}, Rect{0, 0, 1440, 900}}, {Rect{1440, -180, 1920, 1080}, Rect{1440, 0, 1920, 1080}}});
}

} // namespace

TEST(DisplayGeometry, NoScreenOfPositiveSizeGivesNoGeometry)
{
    FakeScreens screens;
    EXPECT_FALSE(DisplayGeometry::current(screens));
    screens.add(1, QRectF(0, 0, 0, 900));
    screens.add(2, QRectF(0, 0, 1440, -1));
    EXPECT_FALSE(DisplayGeometry::current(screens));

    const DisplayGeometry empty = DisplayGeometry::fromScreenFrames({Rect{0, 0, 0, 0}});
    EXPECT_TRUE(empty.displayFrames().empty());
    EXPECT_TRUE(empty.globalFrame().isNull());
    EXPECT_TRUE(empty.quartzGlobalFrame().isNull());
    EXPECT_EQ(empty.displayFrameForQuartzRect(Rect{0, 0, 10, 10}), DisplayFrame{});
    EXPECT_EQ(empty.nearestDisplayFrameToQuartzPoint(Point{5, 5}), DisplayFrame{});
    EXPECT_TRUE(empty.cocoaRectsForQuartzRect(Rect{0, 0, 10, 10}).empty());
    EXPECT_FALSE(empty.isFullDisplayRect(Rect{0, 0, 10, 10}));
}

TEST(DisplayGeometry, CurrentTakesSystemBoundsAndFallsBackToTheUnionFlip)
{
    FakeScreens screens;
    screens.add(1, QRectF(0, 0, 1440, 900));
    screens.add(std::nullopt, QRectF(1440, 480, 1920, 1080)); // no identifier
    screens.add(3, QRectF(-1280, 0, 1280, 800));              // identifier, empty bounds
    screens.add(4, QRectF(0, 0, 0, 0));                       // not usable
    screens.bounds[1] = QRectF(0, 0, 1440, 900);
    screens.bounds[3] = QRectF(0, 0, 0, 0);

    const std::optional<DisplayGeometry> geometry = DisplayGeometry::current(screens);
    ASSERT_TRUE(geometry);
    // The fallback flips at the top of the union (1560), not at the primary's height.
    const std::vector<DisplayFrame> expected{
        {Rect{0, 0, 1440, 900}, Rect{0, 0, 1440, 900}},
        {Rect{1440, 480, 1920, 1080}, Rect{1440, 0, 1920, 1080}},
        {Rect{-1280, 0, 1280, 800}, Rect{-1280, 760, 1280, 800}},
    };
    EXPECT_EQ(geometry->displayFrames(), expected);
    EXPECT_EQ(geometry->screenFrames(),
              (std::vector<Rect>{Rect{0, 0, 1440, 900}, Rect{1440, 480, 1920, 1080}, Rect{-1280, 0, 1280, 800}}));
    EXPECT_EQ(geometry->globalFrame(), (Rect{-1280, 0, 4640, 1560}));
    EXPECT_EQ(geometry->quartzGlobalFrame(), (Rect{-1280, 0, 4640, 1560}));
}

struct PointCase {
    const char* name;
    Point quartz;
    Point cocoa;
};

TEST(DisplayGeometry, ConvertsPointsThroughTheirOwnDisplay)
{
    const DisplayGeometry geometry = sideBySide();
    const PointCase cases[] = {
        {"on the second display", {1500, 100}, {1500, 800}},
        {"on the primary", {100, 100}, {100, 800}},
        {"low on the second display", {2000, 1000}, {2000, -100}},
        {"below both, nearest the second", {3000, 1200}, {3000, -300}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(geometry.cocoaPointFromQuartz(c.quartz), c.cocoa) << c.name;
}

TEST(DisplayGeometry, DisplayAboveThePrimaryConvertsWhereOneGlobalFlipWouldNot)
{
    // The second display sits above the primary, so the union-based Quartz
    // frames put the primary 660 points down. Flipping at the primary's height
    // (900 − y) would land 660 points too low.
    const DisplayGeometry geometry =
        DisplayGeometry::fromScreenFrames({Rect{0, 0, 1440, 900}, Rect{1440, 480, 1920, 1080}});
    ASSERT_EQ(geometry.displayFrames().size(), 2u);
    EXPECT_EQ(geometry.displayFrames()[0].quartzFrame, (Rect{0, 660, 1440, 900}));
    EXPECT_EQ(geometry.displayFrames()[1].quartzFrame, (Rect{1440, 0, 1920, 1080}));

    EXPECT_EQ(geometry.cocoaPointFromQuartz(Point{100, 700}), (Point{100, 860}));
    EXPECT_EQ(geometry.cocoaPointFromQuartz(Point{1500, 100}), (Point{1500, 1460}));

    // A window straddling the seam is cut into one piece per display, each in
    // its display's own frame.
    EXPECT_EQ(geometry.cocoaRectsForQuartzRect(Rect{1340, 700, 200, 100}),
              (std::vector<Rect>{Rect{1340, 760, 100, 100}, Rect{1440, 760, 100, 100}}));
}

TEST(DisplayGeometry, DisplayFrameForRectPrefersLargestOverlapThenEarlierDisplay)
{
    const DisplayGeometry geometry = sideBySide();
    const DisplayFrame primary = geometry.displayFrames()[0];
    const DisplayFrame second = geometry.displayFrames()[1];

    EXPECT_EQ(geometry.displayFrameForQuartzRect(Rect{1400, 100, 200, 100}), second);
    EXPECT_EQ(geometry.displayFrameForQuartzRect(Rect{1340, 100, 200, 100}), primary) << "equal overlap";
    EXPECT_EQ(geometry.displayFrameForQuartzRect(Rect{5000, 5000, 10, 10}), primary) << "no overlap";
    EXPECT_EQ(geometry.displayFrameForCocoaRect(Rect{1500, -150, 100, 100}), second);
    EXPECT_EQ(geometry.displayFrameForCocoaRect(Rect::null()), primary);
}

TEST(DisplayGeometry, CocoaRectsDropSliversOnNeighbouringDisplays)
{
    const DisplayGeometry geometry = sideBySide();
    EXPECT_EQ(geometry.cocoaRectsForQuartzRect(Rect{1000, 100, 440.5, 200}),
              (std::vector<Rect>{Rect{1000, 600, 440, 200}}));
    EXPECT_EQ(geometry.cocoaRectsForQuartzRect(Rect{1340, 100, 200, 100}),
              (std::vector<Rect>{Rect{1340, 700, 100, 100}, Rect{1440, 700, 100, 100}}));
    EXPECT_TRUE(geometry.cocoaRectsForQuartzRect(Rect{-500, -500, 100, 100}).empty());
}

TEST(DisplayGeometry, PointInTheGapConvertsThroughTheNearestDisplay)
{
    const DisplayGeometry geometry(
        {{Rect{0, 0, 1440, 900}, Rect{0, 0, 1440, 900}}, {Rect{1500, 100, 1000, 800}, Rect{1500, 0, 1000, 800}}});
    EXPECT_EQ(geometry.nearestDisplayFrameToQuartzPoint(Point{1450, 100}), geometry.displayFrames()[0]);
    EXPECT_EQ(geometry.cocoaPointFromQuartz(Point{1450, 100}), (Point{1450, 800}));
    EXPECT_EQ(geometry.nearestDisplayFrameToQuartzPoint(Point{1490, 100}), geometry.displayFrames()[1]);
    EXPECT_EQ(geometry.cocoaPointFromQuartz(Point{1490, 100}), (Point{1490, 800}));
    // Equally far from both: the earlier display.
    EXPECT_EQ(geometry.nearestDisplayFrameToQuartzPoint(Point{1470, 100}), geometry.displayFrames()[0]);
}

struct FullDisplayCase {
    const char* name;
    Rect quartzRect;
    bool expected;
};

TEST(DisplayGeometry, FullDisplayRects)
{
    const DisplayGeometry sideBySideDisplays = sideBySide();
    const FullDisplayCase sideBySideCases[] = {
        {"display minus 20 points", {0, 0, 1420, 880}, true},
        {"second display exactly", {1440, 0, 1920, 1080}, true},
        {"whole desktop", {0, 0, 3360, 1080}, true},
        {"full height, half width", {500, 0, 1680, 1080}, true},
        {"display minus 40 points in height", {0, 0, 1440, 860}, false},
        {"ordinary window", {100, 100, 400, 300}, false},
        {"null", Rect::null(), false},
    };
    for (const auto& c : sideBySideCases)
        EXPECT_EQ(sideBySideDisplays.isFullDisplayRect(c.quartzRect), c.expected) << c.name;

    const DisplayGeometry stacked(
        {{Rect{0, 0, 1440, 900}, Rect{0, 0, 1440, 900}}, {Rect{0, 900, 1440, 900}, Rect{0, -900, 1440, 900}}});
    EXPECT_TRUE(stacked.isFullDisplayRect(Rect{0, -900, 1440, 1800}));
    EXPECT_FALSE(stacked.isFullDisplayRect(Rect{0, -900, 1440, 1200}));
}

TEST(DisplayGeometry, RectsApproximatelyEqualChecksEachValue)
{
    const Rect a{0, 0, 100, 100};
    EXPECT_TRUE(rectsApproximatelyEqual(a, Rect{32, -32, 132, 68}, 32));
    EXPECT_FALSE(rectsApproximatelyEqual(a, Rect{33, 0, 100, 100}, 32));
    EXPECT_FALSE(rectsApproximatelyEqual(a, Rect{0, 0, 100, 133}, 32));
}

TEST(DisplayGeometry, Description)
{
    EXPECT_EQ(sideBySide().description(), "cocoa={{0, 0}, {1440, 900}}, quartz={{0, 0}, {1440, 900}}; "
                                          "cocoa={{1440, -180}, {1920, 1080}}, quartz={{1440, 0}, {1920, 1080}}");
    EXPECT_EQ(DisplayGeometry().description(), "");
}
