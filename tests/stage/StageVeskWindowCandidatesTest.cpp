#include "stage/StageVeskWindowCandidates.h"

#include <gtest/gtest.h>

using namespace vesk;

namespace {

AllowedWindowSnapshot window(const QString& bundleID, Rect bounds, int layer = 0, double alpha = 1.0)
{
    return AllowedWindowSnapshot{bundleID, layer, bounds, std::nullopt, alpha, std::nullopt};
}

// The primary display 1440 × 900 and, stacked above it, a 1920 × 1080 one
// (Quartz y negative, Cocoa y from 900).
DisplayGeometry stackedDisplays()
{
    return DisplayGeometry({{{0, 0, 1440, 900}, {0, 0, 1440, 900}}, {{0, 900, 1920, 1080}, {0, -1080, 1920, 1080}}});
}

} // namespace

TEST(StageVeskWindowCandidatesTest, CandidateTestsAndTheirTags)
{
    const std::optional<DisplayGeometry> geometry = stackedDisplays();
    const struct {
        AllowedWindowSnapshot window;
        QString tags;
    } cases[] = {
        {window("com.a", {10, 10, 400, 300}), ""},
        {window("com.a", {10, 10, 400, 300}, 0, 0.89), "alpha"},
        {window("com.a", {10, 10, 400, 300}, 0, 0.9), ""},
        {window("com.a", {10, 10, 24, 300}), "size"},
        {window("com.a", {10, 10, 25, 25}), ""},
        {window("com.apple.finder", {0, 0, 1440, 900}), "finderDesktop"},
        {window("com.apple.finder", {100, 100, 600, 400}), ""},
        {window("com.apple.finder", {0, 0, 1440, 900}, 3), "layer"},
        {window("com.a", {0, 0, 10, 10}, 25, 0.5), "layer,alpha,size"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(stageCandidateRejections(c.window, geometry).join(','), c.tags)
            << describeWindowCandidate(c.window, geometry).toStdString();
    }
    EXPECT_TRUE(stageCandidateRejections(window("com.apple.finder", {0, 0, 1440, 900}), std::nullopt).isEmpty())
        << "without displays the Finder test is not applied";
    EXPECT_EQ(describeWindowCandidate(window("com.a", {10, 20, 24, 300}, 0, 0.955), geometry),
              "{layer=0, alpha=0.95, bounds={{10, 20}, {24, 300}}, rejectedBy=[size]}");
    EXPECT_EQ(describeWindowCandidate(window("com.a", {10, 20, 400, 300}), geometry),
              "{layer=0, alpha=1.00, bounds={{10, 20}, {400, 300}}, rejectedBy=[]}");
}

TEST(StageVeskWindowCandidatesTest, FrontmostCandidatePerApplicationInCocoaCoordinates)
{
    const std::vector<AllowedWindowSnapshot> list{
        window("com.a", {100, 100, 50, 50}, 0, 0.5), // transparent: not the candidate
        window("com.a", {100, 200, 400, 300}),       // the front candidate
        window("com.a", {0, 0, 1400, 880}),          // larger, but behind
        window("com.b", {200, -1000, 800, 600}),     // on the display above
        window("com.other", {0, 0, 500, 500}),
    };
    const auto rects = visibleWindowRects(list, stackedDisplays(), {"com.a", "com.b", "com.missing"});
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects.at("com.a"), (Rect{100, 400, 400, 300}));
    // Converted with the upper display: cocoa y = 900 + (0 - (-1000 + 600)) = 1300.
    EXPECT_EQ(rects.at("com.b"), (Rect{200, 1300, 800, 600}));
    EXPECT_TRUE(visibleWindowRects(list, std::nullopt, {"com.a"}).empty());
}

TEST(StageVeskWindowCandidatesTest, DisplayNameOrderIgnoresCase)
{
    const std::map<QString, QString> names{{"com.z", "Alpha"}, {"com.a", "beta"}};
    EXPECT_TRUE(displayNameOrder("com.z", "com.a", names));
    EXPECT_FALSE(displayNameOrder("com.a", "com.z", names));
    EXPECT_TRUE(displayNameOrder("com.a", "com.y", names)) << "beta before the bare identifier com.y";
}
