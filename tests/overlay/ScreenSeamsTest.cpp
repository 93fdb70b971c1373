#include "overlay/ScreenSeams.h"
#include "TestPrinters.h"

#include <gtest/gtest.h>

using namespace vesk;

namespace {

const QString editor = "com.example.editor";
const QString chat = "com.example.chat";

// Display A (0, 0, 1440, 900) and, to its right, display B (1440, 0, 1920, 1080).
DisplayGeometry sideBySide()
{
    return DisplayGeometry::fromScreenFrames({Rect{0, 0, 1440, 900}, Rect{1440, 0, 1920, 1080}});
}

std::vector<platform::ScreenInfo> screenList(std::vector<std::pair<QRectF, QString>> frames)
{
    std::vector<platform::ScreenInfo> screens;
    for (const auto& [frame, name] : frames) {
        platform::ScreenInfo screen;
        screen.frame = frame;
        screen.name = name;
        screens.push_back(screen);
    }
    return screens;
}

struct BridgeCase {
    const char* name;
    Rect window;
    std::vector<Rect> bridges;
    const char* seamEdge;
};

} // namespace

TEST(ScreenSeams, BridgesAndSeamLabelsOfOneDraggedWindow)
{
    const BridgeCase cases[] = {
        {"touching the seam from A", {1000, 200, 440, 300}, {{1440, 200, 160, 300}}, "right@1440"},
        {"straddling the seam", {1430, 200, 440, 300}, {{1280, 200, 160, 300}}, "none"},
        {"20 points from the seam", {980, 200, 440, 300}, {{1440, 200, 160, 300}}, "none"},
        {"30 points from the seam", {970, 200, 440, 300}, {}, "none"},
        // The seam label needs the point just beyond the window's edge to leave the display.
        {"1.5 points short of the seam", {1000, 200, 438.5, 300}, {{1440, 200, 160, 300}}, "none"},
        {"0.5 points short of the seam", {1000, 200, 439.5, 300}, {{1440, 200, 160, 300}}, "right@1440"},
        // Bridges come only from the displays the window overlaps: A, not B, whose left edge it is close to.
        {"narrow, near the seam", {1420, 200, 10, 300}, {{1440, 200, 160, 300}}, "none"},
        {"along A's top edge", {100, 600, 440, 300}, {}, "none"},
        {"touching the seam from B", {1440, 200, 440, 300}, {{1280, 200, 160, 300}}, "left@1440"},
        {"beyond B's lower edge", {1000, 800, 440, 300}, {{1440, 800, 160, 280}}, "right@1440"},
        {"zero-sized", {1000, 200, 0, 300}, {}, "none"},
    };
    const DisplayGeometry geometry = sideBySide();
    for (const auto& c : cases) {
        EXPECT_EQ(dragBridgeRects({{editor, c.window}}, geometry), c.bridges) << c.name;
        EXPECT_EQ(describeSeamEdge(c.window, geometry), c.seamEdge) << c.name;
    }
    EXPECT_TRUE(dragBridgeRects({{editor, Rect::null()}}, geometry).empty());
}

TEST(ScreenSeams, EqualBridgesOfTwoWindowsAppearOnce)
{
    const auto bridges =
        dragBridgeRects({{editor, Rect{1000, 200, 440, 300}}, {chat, Rect{1100, 200, 340, 300}}}, sideBySide());
    EXPECT_EQ(bridges, (std::vector<Rect>{{1440, 200, 160, 300}}));
}

TEST(ScreenSeams, BridgesFollowBundleIdentifierOrder)
{
    const auto bridges =
        dragBridgeRects({{editor, Rect{1000, 200, 440, 300}}, {chat, Rect{1440, 100, 300, 200}}}, sideBySide());
    EXPECT_EQ(bridges, (std::vector<Rect>{{1280, 100, 160, 200}, {1440, 200, 160, 300}}));
}

TEST(ScreenSeams, VerticalSeams)
{
    // B stacked on top of A.
    const DisplayGeometry stacked =
        DisplayGeometry::fromScreenFrames({Rect{0, 0, 1440, 900}, Rect{0, 900, 1920, 1080}});
    const Rect nearTop{100, 500, 400, 390};
    std::vector<Rect> bridges;
    appendSeamBridgeRects(stacked, bridges, nearTop, Rect{0, 0, 1440, 900});
    EXPECT_EQ(bridges, (std::vector<Rect>{{100, 900, 400, 160}}));
    EXPECT_EQ(describeSeamEdge(Rect{100, 500, 400, 400}, stacked), "top@900");
    EXPECT_EQ(describeSeamEdge(Rect{100, 900, 400, 300}, stacked), "bottom@900");
    EXPECT_EQ(dragBridgeRects({{editor, Rect{100, 900, 400, 300}}}, stacked),
              (std::vector<Rect>{{100, 740, 400, 160}}));
}

TEST(ScreenSeams, SingleDisplayHasNoSeams)
{
    const DisplayGeometry single = DisplayGeometry::fromScreenFrames({Rect{0, 0, 1440, 900}});
    const Rect window{1000, 0, 440, 900};
    EXPECT_TRUE(dragBridgeRects({{editor, window}}, single).empty());
    EXPECT_EQ(describeSeamEdge(window, single), "none");
    EXPECT_EQ(describeScreenForRect(window, single, screenList({{QRectF(0, 0, 1440, 900), "Built-in"}})),
              "[0]Built-in");
    EXPECT_EQ(describeSeamEdge(window, DisplayGeometry()), "none");
}

TEST(ScreenSeams, DescribeScreenForRect)
{
    const DisplayGeometry geometry = sideBySide();
    const auto screens = screenList({{QRectF(0, 0, 1440, 900), "Built-in"}, {QRectF(1440, 0, 1920, 1080), "Studio"}});
    EXPECT_EQ(describeScreenForRect(Rect{1400, 100, 400, 100}, geometry, screens), "[1]Studio");
    EXPECT_EQ(describeScreenForRect(Rect{1240, 100, 400, 100}, geometry, screens), "[0]Built-in");
    EXPECT_EQ(describeScreenForRect(Rect{100, 950, 100, 100}, geometry, screens), "n/a");
    EXPECT_EQ(describeScreenForRect(Rect::null(), geometry, screens), "n/a");

    const auto moved = screenList({{QRectF(0, 0, 1440, 900), "Built-in"}, {QRectF(1441, 0, 1920, 1080), "Studio"}});
    EXPECT_EQ(describeScreenForRect(Rect{1400, 100, 400, 100}, geometry, moved), "[1]screen1");
}

TEST(ScreenSeams, DescribeScreenContainingPoint)
{
    const auto screens = screenList({{QRectF(0, 0, 1440, 900), "Built-in"}, {QRectF(1440, 0, 1920, 1080), "Studio"}});
    EXPECT_EQ(describeScreenContainingPoint(Point{1440, 0}, screens), QString("[1]Studio"));
    EXPECT_EQ(describeScreenContainingPoint(Point{1439.5, 899.5}, screens), QString("[0]Built-in"));
    EXPECT_EQ(describeScreenContainingPoint(Point{100, 1000}, screens), std::nullopt);
}
