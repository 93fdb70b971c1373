#include "overlay/PassthroughRects.h"
#include "TestPrinters.h"

#include <gtest/gtest.h>

using namespace vesk;

namespace {

const QString editor = "com.example.editor";
const QString chat = "com.example.chat";

OverlayAllowedWindowFragment fragment(const QString& bundleID, Rect rect, Rect windowRect)
{
    return {bundleID, std::nullopt, rect, windowRect};
}

} // namespace

TEST(PassthroughRects, OrdinaryFragmentsAreInsetByFourPoints)
{
    const auto holes =
        composePassthroughRects({fragment(editor, Rect{100, 500, 400, 300}, Rect{100, 500, 400, 300})}, {}, {}, {});
    EXPECT_EQ(holes, (std::vector<Rect>{{104, 504, 392, 292}}));
}

TEST(PassthroughRects, NarrowFragmentGivesOneNullHoleThatCutsNothing)
{
    const Rect window{0, 0, 400, 300};
    const auto holes = composePassthroughRects({fragment(editor, Rect{10, 10, 6, 100}, window),
                                                fragment(editor, Rect{50, 10, 100, 7}, window),
                                                fragment(editor, Rect{200, 10, 8, 100}, window)},
                                               {}, {}, {});
    ASSERT_EQ(holes.size(), 2u);
    EXPECT_TRUE(holes[0].isNull());
    EXPECT_EQ(holes[1], (Rect{204, 14, 0, 92}));

    // What consumers do with a hole: hit test, clip to a display, write it out.
    const Rect nullHole = holes[0];
    EXPECT_FALSE(nullHole.contains(Point{0, 0}));
    EXPECT_FALSE(nullHole.contains(Point{10, 10}));
    EXPECT_TRUE(nullHole.intersected(Rect{0, 0, 1440, 900}).isNull());
    EXPECT_TRUE(toQRectF(nullHole).isEmpty());
    EXPECT_FALSE(toQRectF(nullHole).contains(QPointF(0, 0)));
    EXPECT_EQ(toString(nullHole), "{{inf, inf}, {0, 0}}");
}

TEST(PassthroughRects, DraggedApplicationsShowTheirWholeWindowOnce)
{
    const Rect editorWindow{100, 100, 600, 400};
    const Rect chatWindow{900, 100, 300, 300};
    const Rect recordedDrag{120, 110, 600, 400};
    const std::vector<OverlayAllowedWindowFragment> fragments{
        fragment(editor, Rect{100, 100, 300, 400}, editorWindow),
        fragment(chat, Rect{900, 100, 300, 150}, chatWindow),
        fragment(editor, Rect{400, 100, 300, 400}, editorWindow),
        fragment(chat, Rect{900, 250, 300, 150}, chatWindow),
    };

    const auto holes = composePassthroughRects(fragments, {editor, chat}, {{editor, recordedDrag}}, {});
    EXPECT_EQ(holes, (std::vector<Rect>{recordedDrag, chatWindow}));
}

TEST(PassthroughRects, BridgesFollowTheHolesWithoutDuplicates)
{
    const Rect window{1000, 200, 440, 300};
    const Rect bridge{1440, 200, 160, 300};
    const auto holes = composePassthroughRects({fragment(editor, Rect{1000, 200, 440, 300}, window)}, {editor}, {},
                                               {bridge, window, bridge});
    EXPECT_EQ(holes, (std::vector<Rect>{window, bridge}));
}

TEST(PassthroughRects, ExcludingSuppressedFragmentsKeepsOrder)
{
    const Rect r{0, 0, 10, 10};
    const std::vector<OverlayAllowedWindowFragment> fragments{fragment(editor, r, r), fragment(chat, r, r),
                                                              fragment(editor, Rect{20, 0, 10, 10}, r)};
    EXPECT_EQ(excludingSuppressedFragments(fragments, {}), fragments);
    EXPECT_EQ(excludingSuppressedFragments(fragments, {chat}),
              (std::vector<OverlayAllowedWindowFragment>{fragments[0], fragments[2]}));
    EXPECT_TRUE(excludingSuppressedFragments(fragments, {chat, editor}).empty());
}
