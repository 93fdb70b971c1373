#include "panels/PanelPlacement.h"

#include <gtest/gtest.h>

#include <optional>

using namespace vesk;
using platform::ScreenInfo;

namespace {

// Two displays side by side, bottom-left coordinates: the primary 1440 x 900
// with a 24-point menu bar and a 70-point Dock at the bottom, the second one
// 1920 x 1080 to its right with no Dock.
ScreenInfo primaryScreen()
{
    return ScreenInfo{1, QRectF(0, 0, 1440, 900), QRectF(0, 70, 1440, 806), "Built-in", 2.0};
}

ScreenInfo secondScreen()
{
    return ScreenInfo{2, QRectF(1440, 0, 1920, 1080), QRectF(1440, 0, 1920, 1056), "External", 1.0};
}

struct PanelCase {
    const char* name;
    Size panel;
    Point mouse;
    std::vector<ScreenInfo> screens;
    std::optional<ScreenInfo> mainScreen;
    std::optional<Point> expected;
};

class PanelOriginNearMouseTest : public ::testing::TestWithParam<PanelCase> { };

TEST_P(PanelOriginNearMouseTest, PlacesThePanelInsideTheVisibleFrame)
{
    const PanelCase& c = GetParam();
    EXPECT_EQ(panelOriginNearMouse(c.panel, c.mouse, c.screens, c.mainScreen), c.expected);
}

const std::vector<ScreenInfo> kBoth{primaryScreen(), secondScreen()};

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelOriginNearMouseTest,
    ::testing::Values(
        // Top-left corner at the pointer when it fits.
        PanelCase{"fits", {300, 200}, {500, 600}, kBoth, primaryScreen(), Point{500, 400}},
        // Near the right edge: the right edge sits on the visible frame's right edge.
        PanelCase{"rightEdge", {300, 200}, {1400, 600}, kBoth, primaryScreen(), Point{1140, 400}},
        // Near the bottom: the bottom edge sits on the visible frame's bottom (above the Dock).
        PanelCase{"bottomEdge", {300, 200}, {500, 100}, kBoth, primaryScreen(), Point{500, 70}},
        // Pointer over the menu bar: pushed below it.
        PanelCase{"menuBar", {300, 200}, {500, 890}, kBoth, primaryScreen(), Point{500, 676}},
        // The pointer's screen wins over the main screen.
        PanelCase{"secondScreen", {300, 200}, {3300, 50}, kBoth, primaryScreen(), Point{3060, 0}},
        // Pointer outside every screen: the main screen's visible frame.
        PanelCase{"outsideUsesMain", {300, 200}, {-500, -500}, kBoth, secondScreen(), Point{1440, 0}},
        // Larger than the visible frame: right and top edges win.
        PanelCase{"tooLarge", {1600, 1000}, {100, 100}, kBoth, primaryScreen(), Point{-160, -124}},
        // The frame's right edge belongs to the next screen.
        PanelCase{"edgeBelongsToNext", {100, 100}, {1440, 500}, kBoth, primaryScreen(), Point{1440, 400}},
        PanelCase{"noScreens", {300, 200}, {500, 600}, {}, std::nullopt, std::nullopt}),
    [](const ::testing::TestParamInfo<PanelCase>& testCase) { return std::string(testCase.param.name); });

} // namespace
