#include "overlay/AllowedWindowsVisibilityGuard.h"

#include <gtest/gtest.h>

using namespace vesk;
using Guard = AllowedWindowsVisibilityGuard;
using ActionKind = Guard::Action::Kind;
using StateKind = Guard::State::Kind;

namespace {

const QDateTime start = QDateTime::fromSecsSinceEpoch(1'800'000'000, Qt::UTC);

QDateTime at(double seconds)
{
    return start.addMSecs(qint64(seconds * 1000));
}

Guard::Action started(double deadline)
{
    return {ActionKind::startedGracePeriod, at(deadline)};
}

const Guard::Action cancelled{ActionKind::cancelledGracePeriod, {}};
const Guard::Action failOpen{ActionKind::triggerFailOpen, {}};

struct Step {
    int count;
    double time;
    std::optional<Guard::Action> expected;
};

void replay(Guard& guard, const std::vector<Step>& steps)
{
    for (const Step& step : steps) {
        EXPECT_EQ(guard.update(step.count, at(step.time)), step.expected)
            << "count " << step.count << " at t=" << step.time;
    }
}

} // namespace

TEST(AllowedWindowsVisibilityGuard, FailOpenFiresOnceAtTheDeadline)
{
    Guard guard;
    replay(guard, {{0, 0.0, started(1.5)}, {0, 1.4, std::nullopt}, {0, 1.5, failOpen}, {0, 2.0, std::nullopt}});
    EXPECT_EQ(guard.state().kind, StateKind::failOpenTriggered);
}

TEST(AllowedWindowsVisibilityGuard, WindowWithinTheGracePeriodCancelsIt)
{
    Guard guard;
    replay(guard, {{0, 0.0, started(1.5)},
                   {2, 1.0, cancelled},
                   {0, 1.2, started(2.7)},
                   {0, 2.6, std::nullopt},
                   {0, 2.7, failOpen}});
}

TEST(AllowedWindowsVisibilityGuard, VisibleWindowsGiveNoAction)
{
    Guard guard;
    replay(guard, {{3, 0.0, std::nullopt}, {1, 5.0, std::nullopt}});
    EXPECT_EQ(guard.state(), Guard::State{});
}

TEST(AllowedWindowsVisibilityGuard, WindowAfterFailOpenReturnsSilentlyToVisible)
{
    Guard guard;
    replay(guard, {{0, 0.0, started(1.5)}, {0, 3.0, failOpen}, {1, 4.0, std::nullopt}, {0, 5.0, started(6.5)}});
}

TEST(AllowedWindowsVisibilityGuard, NegativeCountChangesNothingInAnyState)
{
    Guard guard;
    EXPECT_EQ(guard.update(-1, at(0)), std::nullopt);
    EXPECT_EQ(guard.state().kind, StateKind::visible);

    guard.update(0, at(0));
    EXPECT_EQ(guard.update(-1, at(10)), std::nullopt);
    EXPECT_EQ(guard.state(), (Guard::State{StateKind::missing, at(1.5)}));

    guard.update(0, at(10));
    EXPECT_EQ(guard.update(-5, at(11)), std::nullopt);
    EXPECT_EQ(guard.state().kind, StateKind::failOpenTriggered);
}

TEST(AllowedWindowsVisibilityGuard, ResetStartsOver)
{
    Guard guard(0.5);
    guard.update(0, at(0));
    guard.reset();
    EXPECT_EQ(guard.state().kind, StateKind::visible);
    EXPECT_EQ(guard.update(0, at(10)), started(10.5));
    EXPECT_EQ(guard.gracePeriod(), 0.5);
}
