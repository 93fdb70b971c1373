#include "overlay/WindowClassification.h"
#include "TestPrinters.h"

#include <gtest/gtest.h>

#include <random>

using namespace vesk;
using Reason = OverlaySuppressedWindowSnapshot::Reason;

namespace {

const QString editor = "com.example.editor";
const QString browser = "com.example.browser";
const QString chat = "com.example.chat";
const QString own = "com.example.vesk";

// One 1440×900 display: a Quartz rect (x, y, w, h) is the Cocoa rect (x, 900 − y − h, w, h).
DisplayGeometry singleDisplay()
{
    return DisplayGeometry({{Rect{0, 0, 1440, 900}, Rect{0, 0, 1440, 900}}});
}

// The 1440×900 primary and a 1920×1080 display to its right, tops level.
DisplayGeometry sideBySide()
{
    return DisplayGeometry(
        {{Rect{0, 0, 1440, 900}, Rect{0, 0, 1440, 900}}, {Rect{1440, -180, 1920, 1080}, Rect{1440, 0, 1920, 1080}}});
}

AllowedWindowSnapshot window(const QString& bundleID, Rect quartzBounds, int layer = 0, double alpha = 1.0,
                             std::optional<quint32> windowID = std::nullopt)
{
    return AllowedWindowSnapshot{bundleID, layer, quartzBounds, windowID, alpha, QString("Owner")};
}

WindowClassification classify(const std::vector<AllowedWindowSnapshot>& snapshots,
                              const DisplayGeometry& geometry = singleDisplay())
{
    return classifyWindowSnapshots(snapshots, {editor, kFinderBundleID}, own, geometry);
}

bool isEmpty(const WindowClassification& result)
{
    return result == WindowClassification{};
}

} // namespace

TEST(WindowClassification, EmptyListGivesEmptyLists)
{
    EXPECT_TRUE(isEmpty(classify({})));
}

struct AlphaCase {
    const char* name;
    QString bundleID;
    double alpha;
    size_t fragments;
    size_t suppressed;
    size_t blockers;
    size_t allowedRects;
};

TEST(WindowClassification, AlphaThresholds)
{
    const AlphaCase cases[] = {
        {"allowed, invisible", editor, 0.01, 0, 0, 0, 0},   {"allowed, barely visible", editor, 0.02, 0, 1, 0, 1},
        {"allowed, translucent", editor, 0.97, 0, 1, 0, 1}, {"allowed, opaque", editor, 0.98, 1, 0, 0, 1},
        {"other, invisible", browser, 0.01, 0, 0, 0, 0},    {"other, barely visible", browser, 0.02, 0, 0, 1, 0},
    };
    for (const auto& c : cases) {
        const auto result = classify({window(c.bundleID, Rect{100, 100, 400, 300}, 0, c.alpha, 9)});
        EXPECT_EQ(result.fragments.size(), c.fragments) << c.name;
        EXPECT_EQ(result.suppressedWindows.size(), c.suppressed) << c.name;
        EXPECT_EQ(result.blockers.size(), c.blockers) << c.name;
        EXPECT_EQ(totalRectCount(result.allowedWindowRectsByBundleID), int(c.allowedRects)) << c.name;
    }

    const auto translucent = classify({window(editor, Rect{100, 100, 400, 300}, 0, 0.97, 9)});
    EXPECT_EQ(translucent.suppressedWindows, (std::vector<OverlaySuppressedWindowSnapshot>{
                                                 {editor, 9u, 0.97, Rect{100, 500, 400, 300}, Reason::translucent}}));
}

TEST(WindowClassification, ZeroSizedWindowsAreSkipped)
{
    EXPECT_TRUE(isEmpty(classify({window(editor, Rect{100, 100, 0, 300}), window(browser, Rect{0, 0, 10, 0})})));
}

TEST(WindowClassification, WindowOutsideEveryDisplayIsSuppressedAsOffscreen)
{
    const auto result = classify({window(editor, Rect{2000, 100, 400, 300}, 0, 1.0, 5)});
    EXPECT_TRUE(result.fragments.empty());
    // Converted through the first display, as it overlaps none.
    EXPECT_EQ(result.suppressedWindows, (std::vector<OverlaySuppressedWindowSnapshot>{
                                            {editor, 5u, 1.0, Rect{2000, 500, 400, 300}, Reason::offscreen}}));
    EXPECT_EQ(result.allowedWindowRectsByBundleID.at(editor), std::vector<Rect>{Rect(2000, 500, 400, 300)});
}

TEST(WindowClassification, BlockerHidesOnlyTheAllowedWindowsBehindIt)
{
    const AllowedWindowSnapshot allowed = window(editor, Rect{100, 100, 400, 300}, 0, 1.0, 1);
    const AllowedWindowSnapshot cover = window(browser, Rect{50, 50, 600, 500});

    const auto behind = classify({cover, allowed});
    EXPECT_TRUE(behind.fragments.empty());
    EXPECT_EQ(behind.allowedWindowRectsByBundleID.at(editor), std::vector<Rect>{Rect(100, 500, 400, 300)});
    EXPECT_EQ(fullyOccludedBundleIDs(behind.allowedWindowRectsByBundleID, behind.fragments), std::set<QString>{editor});
    EXPECT_EQ(behind.blockers.size(), 1u);

    const auto inFront = classify({allowed, cover});
    EXPECT_EQ(inFront.fragments, (std::vector<OverlayAllowedWindowFragment>{
                                     {editor, 1u, Rect{100, 500, 400, 300}, Rect{100, 500, 400, 300}}}));
    EXPECT_TRUE(fullyOccludedBundleIDs(inFront.allowedWindowRectsByBundleID, inFront.fragments).empty());
}

TEST(WindowClassification, BlockerInTheMiddleLeavesFourFragmentsInOrder)
{
    const auto result = classify({window(browser, Rect{200, 200, 100, 100}), window(editor, Rect{100, 100, 400, 300})});
    EXPECT_EQ(fragmentRects(result.fragments), (std::vector<Rect>{
                                                   {100, 700, 400, 100}, // above
                                                   {100, 500, 400, 100}, // below
                                                   {100, 600, 100, 100}, // left
                                                   {300, 600, 200, 100}, // right
                                               }));
    for (const auto& fragment : result.fragments)
        EXPECT_EQ(fragment.windowRect, (Rect{100, 500, 400, 300}));
}

TEST(WindowClassification, SliverLeftByABlockerIsNoFragment)
{
    // The blocker covers the window's upper third but leaves half a point on its left.
    const auto result = classify({window(browser, Rect{100.5, 0, 400, 200}), window(editor, Rect{100, 100, 400, 300})});
    EXPECT_EQ(fragmentRects(result.fragments), (std::vector<Rect>{{100, 500, 400, 200}}));
}

TEST(WindowClassification, AllowedWindowsDoNotCutEachOther)
{
    const auto result =
        classifyWindowSnapshots({window(editor, Rect{100, 100, 400, 300}), window(chat, Rect{200, 200, 400, 300})},
                                {editor, chat}, own, singleDisplay());
    EXPECT_EQ(fragmentRects(result.fragments), (std::vector<Rect>{{100, 500, 400, 300}, {200, 400, 400, 300}}));
    EXPECT_EQ(fragmentBundleIDs(result.fragments), (std::set<QString>{editor, chat}));
}

TEST(WindowClassification, WindowSpanningTwoDisplaysGivesOneFragmentPerDisplay)
{
    const auto result = classify({window(editor, Rect{1340, 100, 200, 100})}, sideBySide());
    ASSERT_EQ(result.fragments.size(), 2u);
    EXPECT_EQ(result.fragments[0].rect, (Rect{1340, 700, 100, 100}));
    EXPECT_EQ(result.fragments[1].rect, (Rect{1440, 700, 100, 100}));
    // Equal overlap: the whole window goes through the earlier display.
    EXPECT_EQ(result.fragments[0].windowRect, (Rect{1340, 700, 200, 100}));
    EXPECT_EQ(result.fragments[1].windowRect, (Rect{1340, 700, 200, 100}));
}

TEST(WindowClassification, FinderDesktopIsIgnoredButOrdinaryFinderWindowsAreAllowed)
{
    const auto result =
        classify({window(kFinderBundleID, Rect{0, 0, 1440, 900}), window(kFinderBundleID, Rect{100, 100, 600, 400})});
    EXPECT_EQ(result.ignoredBlockers.size(), 1u);
    EXPECT_EQ(result.ignoredBlockers[0].rect, (Rect{0, 0, 1440, 900}));
    EXPECT_EQ(fragmentRects(result.fragments), (std::vector<Rect>{{100, 400, 600, 400}}));
    EXPECT_EQ(result.allowedWindowRectsByBundleID.at(kFinderBundleID).size(), 1u);
    EXPECT_TRUE(result.blockers.empty());
}

struct OtherWindowCase {
    const char* name;
    QString bundleID;
    int layer;
    Rect quartzBounds;
    bool blocks; // else ignored
};

TEST(WindowClassification, WindowsOfOtherApplications)
{
    const OtherWindowCase cases[] = {
        {"display-sized at layer 0", browser, 0, {0, 0, 1440, 900}, true},
        {"display-sized floating", browser, 25, {0, 0, 1440, 900}, false},
        {"almost display-sized floating", browser, 25, {10, 20, 1420, 870}, false},
        {"small floating", browser, 25, {10, 10, 300, 200}, true},
        {"display-sized window manager", kWindowManagerBundleID, 0, {0, 0, 1440, 900}, false},
        {"small window manager at layer 0", kWindowManagerBundleID, 0, {10, 10, 300, 200}, true},
        {"display-sized Finder, not allowed", kFinderBundleID, 0, {0, 0, 1440, 900}, true},
    };
    for (const auto& c : cases) {
        const auto result = classifyWindowSnapshots({window(c.bundleID, c.quartzBounds, c.layer),
                                                     window(editor, Rect{100, 100, 200, 100})},
                                                    {editor}, own, singleDisplay());
        EXPECT_EQ(result.blockers.size(), c.blocks ? 1u : 0u) << c.name;
        EXPECT_EQ(result.ignoredBlockers.size(), c.blocks ? 0u : 1u) << c.name;
        // Only a real blocker takes the allowed window's visible area.
        const bool covered = c.blocks && c.quartzBounds.contains(Rect{100, 100, 200, 100});
        EXPECT_EQ(result.fragments.empty(), covered) << c.name;
    }
}

TEST(WindowClassification, OwnWindowsAndNegativeLayersAppearNowhere)
{
    EXPECT_TRUE(
        isEmpty(classify({window(own, Rect{0, 0, 1440, 900}), window(own, Rect{100, 100, 200, 100}),
                          window(browser, Rect{0, 0, 1440, 900}, -20), window(editor, Rect{10, 10, 200, 100}, -1)})));
    // The own full-screen panel in front hides nothing.
    EXPECT_EQ(classify({window(own, Rect{0, 0, 1440, 900}), window(editor, Rect{100, 100, 200, 100})}).fragments.size(),
              1u);
}

TEST(WindowClassification, BlockerSnapshotsSplitAtDisplayBorders)
{
    const AllowedWindowSnapshot straddling = window(browser, Rect{1340, 100, 200, 100}, 3, 0.5);
    const auto blockers = blockerSnapshots(straddling, sideBySide(), Rect{1, 2, 3, 4});
    EXPECT_EQ(blockers, (std::vector<OverlayBlockerSnapshot>{
                            {browser, 3, 0.5, QString("Owner"), Rect{1340, 700, 100, 100}},
                            {browser, 3, 0.5, QString("Owner"), Rect{1440, 700, 100, 100}},
                        }));

    const auto offscreen = blockerSnapshots(window(browser, Rect{-900, 100, 200, 100}), sideBySide(), Rect{1, 2, 3, 4});
    ASSERT_EQ(offscreen.size(), 1u);
    EXPECT_EQ(offscreen[0].rect, (Rect{1, 2, 3, 4}));
}

struct SubtractCase {
    const char* name;
    Rect rect;
    Rect occluder;
    std::vector<Rect> expected;
};

TEST(WindowClassification, SubtractRect)
{
    const Rect r{0, 0, 100, 100};
    const SubtractCase cases[] = {
        {"miss", r, {200, 200, 10, 10}, {r}},
        {"miss keeps a tiny rect", {0, 0, 0.5, 0.5}, {200, 200, 10, 10}, {{0, 0, 0.5, 0.5}}},
        {"edge contact is a miss", r, {100, 0, 10, 100}, {r}},
        {"null occluder", r, Rect::null(), {r}},
        {"fully covered", r, {-10, -10, 200, 200}, {}},
        {"right half", r, {50, -10, 100, 200}, {{0, 0, 50, 100}}},
        {"top-right corner", r, {60, 70, 100, 100}, {{0, 0, 100, 70}, {0, 70, 60, 30}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(subtractRect(c.rect, c.occluder), c.expected) << c.name;

    EXPECT_EQ(subtractRects(r, {}), std::vector<Rect>{r});
    EXPECT_EQ(subtractRects(r, {{0, 50, 100, 50}, {50, 0, 50, 50}}), (std::vector<Rect>{{0, 0, 50, 50}}));
    EXPECT_TRUE(subtractRects(r, {{0, 50, 100, 50}, {0, 0, 100, 50}}).empty());
}

TEST(WindowClassification, SubtractingManyOccludersGivesThePiecesOfOneAtATime)
{
    // The occluders taken one by one over every piece, as the rule reads; the
    // fast path must give the same pieces in the same order.
    auto oneAtATime = [](const Rect& rect, const std::vector<Rect>& occluders) {
        std::vector<Rect> pieces{rect};
        for (const Rect& occluder : occluders) {
            std::vector<Rect> next;
            for (const Rect& piece : pieces) {
                const std::vector<Rect> rest = subtractRect(piece, occluder);
                next.insert(next.end(), rest.begin(), rest.end());
            }
            pieces = next;
        }
        return pieces;
    };
    std::mt19937 random(15);
    std::uniform_real_distribution<double> position(-300, 1300);
    std::uniform_real_distribution<double> size(0, 500);
    std::vector<Rect> pieces;
    std::vector<Rect> scratch;
    for (int round = 0; round < 300; ++round) {
        const Rect window{position(random), position(random), 900, 600};
        std::vector<Rect> occluders(round % 40);
        for (Rect& occluder : occluders)
            occluder = Rect{position(random), position(random), size(random), size(random)};
        subtractRects(window, occluders, pieces, scratch);
        ASSERT_EQ(pieces, oneAtATime(window, occluders)) << "round " << round;
    }
}

TEST(WindowClassification, BuildAllowedWindowFragmentsCutsEachDisplayPiece)
{
    const AllowedWindowSnapshot snapshot = window(editor, Rect{}, 0, 1.0, 3);
    const std::vector<OverlayBlockerSnapshot> blockers{{browser, 0, 1.0, std::nullopt, Rect{0, 0, 50, 100}}};
    const auto fragments = buildAllowedWindowFragments({Rect{0, 0, 100, 100}, Rect{100, 0, 100, 100}}, blockers,
                                                       snapshot, Rect{0, 0, 200, 100});
    EXPECT_EQ(fragments, (std::vector<OverlayAllowedWindowFragment>{
                             {editor, 3u, Rect{50, 0, 50, 100}, Rect{0, 0, 200, 100}},
                             {editor, 3u, Rect{100, 0, 100, 100}, Rect{0, 0, 200, 100}},
                         }));
}

TEST(WindowClassification, FullyOccludedBundleIDs)
{
    const std::map<QString, std::vector<Rect>> rects{{editor, {Rect{0, 0, 1, 1}}}, {chat, {Rect{0, 0, 1, 1}}}};
    const OverlayAllowedWindowFragment editorPiece{editor, std::nullopt, Rect{0, 0, 1, 1}, Rect{0, 0, 1, 1}};
    const OverlayAllowedWindowFragment strangerPiece{browser, std::nullopt, Rect{0, 0, 1, 1}, Rect{0, 0, 1, 1}};

    EXPECT_EQ(fullyOccludedBundleIDs(rects, {}), (std::set<QString>{editor, chat}));
    EXPECT_TRUE(fullyOccludedBundleIDs({}, {editorPiece}).empty());
    EXPECT_EQ(fullyOccludedBundleIDs(rects, {editorPiece, strangerPiece}), std::set<QString>{chat});
    EXPECT_EQ(totalRectCount(rects), 2);
    EXPECT_EQ(totalRectCount({}), 0);
}

TEST(WindowClassification, ExcludingFinderDesktopWindows)
{
    const std::vector<AllowedWindowSnapshot> snapshots{
        window(browser, Rect{0, 0, 1440, 900}, 0, 1.0, 1),
        window(kFinderBundleID, Rect{0, 0, 1440, 900}, 0, 1.0, 2),
        window(kFinderBundleID, Rect{0, 0, 1440, 900}, 3, 1.0, 3),
        window(kFinderBundleID, Rect{10, 10, 400, 300}, 0, 1.0, 4),
    };
    const auto kept = excludingFinderDesktopWindows(snapshots, singleDisplay());
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept[0].windowID, 1u);
    EXPECT_EQ(kept[1].windowID, 3u);
    EXPECT_EQ(kept[2].windowID, 4u);
}
