#include "enforcement/GestureBlockPolicy.h"

#include <gtest/gtest.h>

using namespace vesk;

namespace {

using Action = GestureBlockPolicy::Action;

struct GestureCase {
    const char* name;
    int type;
    std::optional<int> hidType;
    std::optional<int> subtype;
    bool allowedFocused;
    bool dockSwipeActive;
    Action expected;
};

class GestureBlockPolicyTable : public ::testing::TestWithParam<GestureCase> { };

TEST_P(GestureBlockPolicyTable, FirstMatchingRuleDecides)
{
    const GestureCase& c = GetParam();
    EXPECT_EQ(toRaw(GestureBlockPolicy::shouldBlock(c.type, c.hidType, c.subtype, c.allowedFocused, c.dockSwipeActive)),
              toRaw(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Events, GestureBlockPolicyTable,
    ::testing::Values(GestureCase{"DockSwipeWithAllowedAppInFront", 29, 23, {}, true, false, Action::block},
                      GestureCase{"DockSwipeOnMagnifyType", 30, 23, {}, true, false, Action::block},
                      GestureCase{"GestureWhileASwipeIsActive", 29, 0, {}, true, true, Action::block},
                      GestureCase{"MagnifyWhileASwipeIsActive", 30, {}, {}, true, true, Action::block},
                      GestureCase{"SwipeTypeIsNoDockSwipeType", 31, {}, {}, true, true, Action::pass},
                      GestureCase{"PinchWithAllowedAppInFront", 30, 0, {}, true, false, Action::pass},
                      GestureCase{"PinchWithOtherAppInFront", 30, 0, {}, false, false, Action::block},
                      GestureCase{"RotateWithOtherAppInFront", 18, {}, {}, false, false, Action::block},
                      GestureCase{"DirectTouchWithOtherAppInFront", 37, {}, {}, false, false, Action::block},
                      GestureCase{"PressureWithAllowedAppInFront", 34, {}, {}, true, false, Action::pass},
                      GestureCase{"SystemDefinedSubtype16", 14, {}, 16, true, false, Action::block},
                      GestureCase{"SystemDefinedSubtype17", 14, {}, 17, true, false, Action::block},
                      GestureCase{"SystemDefinedSubtype15", 14, {}, 15, false, false, Action::pass},
                      GestureCase{"SystemDefinedWithoutSubtype", 14, {}, {}, false, false, Action::pass},
                      GestureCase{"ScrollWheelIsNoGesture", 22, {}, {}, false, false, Action::pass}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

} // namespace
