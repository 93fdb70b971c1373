#include "panels/SessionHUDAppBarItem.h"

#include <gtest/gtest.h>

namespace vesk::test {
namespace {

using Visibility = AllowedAppVisibility;

struct OrderCase {
    const char* name;
    std::vector<AllowedAppVisibilitySnapshot> snapshots;
    int limit;
    std::vector<QString> expectedIDs;
    int expectedOverflow;
};

void PrintTo(const OrderCase& c, std::ostream* out)
{
    *out << c.name;
}

class OrderedHUDAppBarItemsTest : public ::testing::TestWithParam<OrderCase> { };

TEST_P(OrderedHUDAppBarItemsTest, OrdersByRankThenIdentifierAndCutsToTheLimit)
{
    const OrderCase& c = GetParam();
    const SessionHUDAppBar bar = orderedHUDAppBarItems(c.snapshots, c.limit);
    std::vector<QString> ids;
    for (const SessionHUDAppBarItem& item : bar.items)
        ids.push_back(item.bundleID);
    EXPECT_EQ(ids, c.expectedIDs);
    EXPECT_EQ(bar.overflowCount, c.expectedOverflow);
}

INSTANTIATE_TEST_SUITE_P(Cases, OrderedHUDAppBarItemsTest,
                         ::testing::Values(OrderCase{"empty", {}, 3, {}, 0},
                                           OrderCase{"fewerThanTheLimit",
                                                     {{"com.b", Visibility::visible}, {"com.a", Visibility::visible}},
                                                     3,
                                                     {"com.a", "com.b"},
                                                     0},
                                           OrderCase{"fiveOfThree",
                                                     {{"com.e", Visibility::visible},
                                                      {"com.d", Visibility::visible},
                                                      {"com.c", Visibility::visible},
                                                      {"com.b", Visibility::visible},
                                                      {"com.a", Visibility::visible}},
                                                     3,
                                                     {"com.a", "com.b", "com.c"},
                                                     2},
                                           OrderCase{"rankBeforeIdentifier",
                                                     {{"com.a", Visibility::visible},
                                                      {"com.z", Visibility::occluded},
                                                      {"com.b", Visibility::minimized},
                                                      {"com.c", Visibility::occluded}},
                                                     4,
                                                     {"com.c", "com.z", "com.b", "com.a"},
                                                     0},
                                           OrderCase{"everyRank",
                                                     {{"v", Visibility::visible},
                                                      {"n", Visibility::notRunning},
                                                      {"s", Visibility::onOtherSpace},
                                                      {"m", Visibility::minimized},
                                                      {"o", Visibility::occluded}},
                                                     5,
                                                     {"o", "m", "s", "n", "v"},
                                                     0},
                                           // Identifiers that sort against the ranks: each rank must stand
                                           // apart from its neighbours to keep this order.
                                           OrderCase{"everyRankAgainstTheIdentifiers",
                                                     {{"a", Visibility::visible},
                                                      {"b", Visibility::notRunning},
                                                      {"c", Visibility::onOtherSpace},
                                                      {"d", Visibility::minimized},
                                                      {"e", Visibility::occluded}},
                                                     5,
                                                     {"e", "d", "c", "b", "a"},
                                                     0},
                                           // Plain code-point order: upper case before lower case.
                                           OrderCase{"codePointOrder",
                                                     {{"com.b", Visibility::visible}, {"com.B", Visibility::visible}},
                                                     3,
                                                     {"com.B", "com.b"},
                                                     0},
                                           OrderCase{"negativeLimit", {{"com.a", Visibility::visible}}, -1, {}, 1}),
                         [](const ::testing::TestParamInfo<OrderCase>& testCase) {
                             return std::string(testCase.param.name);
                         });

TEST(OrderedHUDAppBarItemsEqualEntriesTest, EqualEntriesKeepTheirOrder)
{
    const SessionHUDAppBar bar = orderedHUDAppBarItems(
        {{"com.a", Visibility::minimized}, {"com.a", Visibility::occluded}, {"com.a", Visibility::minimized}}, 3);
    EXPECT_EQ(bar.items, (std::vector<SessionHUDAppBarItem>{{"com.a", Visibility::occluded},
                                                            {"com.a", Visibility::minimized},
                                                            {"com.a", Visibility::minimized}}));
}

} // namespace
} // namespace vesk::test
