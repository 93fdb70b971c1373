#include "overlay/PanelFillPlan.h"

#include <gtest/gtest.h>

#include <random>

using namespace vesk;

namespace {

// Paints the plan into a grid of counters: how often each pixel is written,
// and whether the last write was a hole.
struct Coverage {
    explicit Coverage(const QRect& area)
        : view(area)
        , writes(area.width() * area.height(), 0)
        , hole(area.width() * area.height(), false)
    {
    }

    void paint(const std::vector<QRect>& rects, bool isHole)
    {
        for (const QRect& rect : rects) {
            ASSERT_TRUE(view.contains(rect)) << "a rect beyond the view";
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                for (int x = rect.left(); x <= rect.right(); ++x) {
                    ++writes[index(x, y)];
                    hole[index(x, y)] = isHole;
                }
        }
    }

    int index(int x, int y) const { return (y - view.top()) * view.width() + (x - view.left()); }

    QRect view;
    std::vector<int> writes;
    std::vector<bool> hole;
};

// Every pixel of the view written exactly once, transparent exactly where a hole lies.
void expectEachPixelOnce(const QRect& view, const std::vector<QRect>& holes, const PanelFillPlan& plan)
{
    Coverage coverage(view);
    coverage.paint(plan.blackRects(), false);
    coverage.paint(plan.holeRects(), true);
    for (int y = view.top(); y <= view.bottom(); ++y)
        for (int x = view.left(); x <= view.right(); ++x) {
            const bool inHole =
                std::any_of(holes.begin(), holes.end(), [x, y](const QRect& hole) { return hole.contains(x, y); });
            ASSERT_EQ(coverage.writes[coverage.index(x, y)], 1) << x << "," << y;
            ASSERT_EQ(coverage.hole[coverage.index(x, y)], inHole) << x << "," << y;
        }
}

struct PlanCase {
    const char* name;
    QRect view;
    std::vector<QRect> holes;
    size_t blackRects;
    size_t holeRects;
};

} // namespace

TEST(PanelFillPlanTest, CoversEveryPixelOnceWithFewRects)
{
    const QRect view(0, 0, 40, 30);
    const PlanCase cases[] = {
        {"no hole", view, {}, 1, 0},
        {"one hole inside: above, left, right, below", view, {QRect(10, 5, 8, 6)}, 4, 1},
        {"the same hole twice", view, {QRect(10, 5, 8, 6), QRect(10, 5, 8, 6)}, 4, 1},
        {"a hole within another adds no rects", view, {QRect(10, 5, 8, 6), QRect(12, 7, 2, 2)}, 4, 1},
        {"a hole beyond the view is clipped", view, {QRect(30, -10, 50, 20)}, 2, 1},
        {"a hole over the whole view", view, {QRect(-5, -5, 100, 100)}, 0, 1},
        {"a hole wholly outside", view, {QRect(50, 50, 10, 10), QRect(0, 0, 0, 10)}, 1, 0},
        {"side by side holes touch", view, {QRect(0, 0, 20, 30), QRect(20, 0, 20, 30)}, 0, 1},
        {"overlapping holes: five bands", view, {QRect(5, 5, 20, 10), QRect(15, 10, 20, 15)}, 8, 3},
        {"a view not at the origin", QRect(100, 50, 20, 10), {QRect(105, 52, 4, 4)}, 4, 1},
        {"an empty view", QRect(0, 0, 0, 10), {QRect(0, 0, 5, 5)}, 0, 0},
    };
    PanelFillPlan plan; // one plan for all: what one pass leaves must not leak into the next
    for (const PlanCase& item : cases) {
        SCOPED_TRACE(item.name);
        plan.plan(item.view, item.holes);
        expectEachPixelOnce(item.view, item.holes, plan);
        EXPECT_EQ(plan.blackRects().size(), item.blackRects);
        EXPECT_EQ(plan.holeRects().size(), item.holeRects);
    }
}

TEST(PanelFillPlanTest, ManyOverlappingHolesStillCoverEachPixelOnce)
{
    std::mt19937 random(15);
    std::uniform_int_distribution<int> position(-10, 70);
    std::uniform_int_distribution<int> size(0, 30);
    const QRect view(0, 0, 64, 48);
    PanelFillPlan plan;
    for (int round = 0; round < 200; ++round) {
        std::vector<QRect> holes(round % 12);
        for (QRect& hole : holes)
            hole = QRect(position(random), position(random), size(random), size(random));
        plan.plan(view, holes);
        SCOPED_TRACE(round);
        expectEachPixelOnce(view, holes, plan);
        if (testing::Test::HasFatalFailure())
            return;
    }
}
