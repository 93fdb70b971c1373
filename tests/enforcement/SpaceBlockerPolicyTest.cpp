#include "enforcement/SpaceBlockerPolicy.h"

#include "platform/InputEvent.h"

#include <gtest/gtest.h>

using namespace vesk;
using Action = SpaceBlockerPolicy::Action;

namespace {

constexpr std::uint64_t cmd = platform::EventFlag::command;
constexpr std::uint64_t shift = platform::EventFlag::shift;
constexpr std::uint64_t opt = platform::EventFlag::option;
constexpr std::uint64_t ctrl = platform::EventFlag::control;
constexpr std::uint64_t fn = platform::EventFlag::secondaryFn;
constexpr std::uint64_t capsLock = 0x10000;

struct KeyCase {
    const char* name;
    std::int64_t keyCode;
    std::uint64_t flags;
    Action normal;
    Action hardcore;
};

class SpaceBlockerPolicyTest : public ::testing::TestWithParam<KeyCase> { };

TEST_P(SpaceBlockerPolicyTest, DropsExactlyTheSessionShortcuts)
{
    EXPECT_EQ(SpaceBlockerPolicy::shouldBlock(GetParam().keyCode, GetParam().flags, false), GetParam().normal);
    EXPECT_EQ(SpaceBlockerPolicy::shouldBlock(GetParam().keyCode, GetParam().flags, true), GetParam().hardcore);
}

const Action pass = Action::pass;
const Action block = Action::block;

INSTANTIATE_TEST_SUITE_P(
    Shortcuts, SpaceBlockerPolicyTest,
    ::testing::Values(
        KeyCase{"emergencyExit", 53, cmd | shift, pass, block},
        KeyCase{"emergencyExitWithCapsLock", 53, cmd | shift | capsLock, pass, block},
        KeyCase{"forceQuit", 53, cmd | opt, pass, block}, KeyCase{"escapeAlone", 53, 0, pass, pass},
        KeyCase{"escapeWithMoreModifiers", 53, cmd | shift | opt, pass, pass},
        KeyCase{"screenshot3", 20, cmd | shift, pass, pass}, KeyCase{"screenshot4", 21, cmd | shift, pass, pass},
        KeyCase{"screenshot5", 23, cmd | shift, pass, pass}, KeyCase{"spotlight", 49, cmd, block, block},
        KeyCase{"finderSearch", 49, cmd | opt, block, block}, KeyCase{"spaceWithControl", 49, ctrl, pass, pass},
        KeyCase{"spaceLeft", 123, ctrl, block, block}, KeyCase{"spaceRight", 124, ctrl, block, block},
        KeyCase{"appWindows", 125, ctrl, block, block}, KeyCase{"missionControl", 126, ctrl, block, block},
        KeyCase{"arrowWithFnToo", 124, ctrl | fn, pass, pass},
        KeyCase{"arrowWithOptionToo", 124, ctrl | opt, pass, pass}, KeyCase{"plainArrow", 124, 0, pass, pass},
        KeyCase{"missionControlKey", 99, 0, block, block}, KeyCase{"missionControlKeyWithFn", 99, fn, block, block},
        KeyCase{"missionControlKeyWithCommand", 99, cmd, pass, pass}, KeyCase{"windowCycling", 50, cmd, block, block},
        KeyCase{"windowCyclingBackwards", 50, cmd | shift, pass, pass}, KeyCase{"appSwitcher", 48, cmd, block, block},
        KeyCase{"appSwitcherBackwards", 48, cmd | shift, block, block}, KeyCase{"optionTab", 48, opt, pass, pass},
        KeyCase{"plainTab", 48, 0, pass, pass}, KeyCase{"typing", 0, 0, pass, pass}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

} // namespace
