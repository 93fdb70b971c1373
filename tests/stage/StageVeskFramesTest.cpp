#include "stage/StageVeskFrames.h"
#include "stage/StageVeskPhase.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vesk;

namespace {

void expectNear(const Rect& actual, const Rect& expected, const std::string& label)
{
    EXPECT_NEAR(actual.x, expected.x, 0.01) << label;
    EXPECT_NEAR(actual.y, expected.y, 0.01) << label;
    EXPECT_NEAR(actual.width, expected.width, 0.01) << label;
    EXPECT_NEAR(actual.height, expected.height, 0.01) << label;
}

} // namespace

TEST(StageVeskFramesTest, SlotCellsOfEveryLayout)
{
    const Rect area{0, 0, 1000, 600};
    const struct {
        StageVeskPhase phase;
        int slot;
        Rect cell;
    } cases[] = {
        {StageVeskPhase::split, 0, {0, 0, 494, 600}},
        {StageVeskPhase::split, 1, {506, 0, 494, 600}},
        {StageVeskPhase::tri, 0, {0, 0, 658.67, 600}},
        {StageVeskPhase::tri, 1, {670.67, 0, 329.33, 294}},
        {StageVeskPhase::tri, 2, {670.67, 306, 329.33, 294}},
        {StageVeskPhase::quad, 0, {0, 0, 494, 294}},
        {StageVeskPhase::quad, 1, {506, 0, 494, 294}},
        {StageVeskPhase::quad, 2, {0, 306, 494, 294}},
        {StageVeskPhase::quad, 3, {506, 306, 494, 294}},
        {StageVeskPhase::focus, 0, area},
        {StageVeskPhase::focus, 3, area},
        {StageVeskPhase::freestyle, 2, area},
    };
    for (const auto& c : cases)
        expectNear(slotFrame(c.phase, c.slot, area), c.cell,
                   (toRaw(c.phase) + " " + QString::number(c.slot)).toStdString());
    // The area's origin shifts every cell.
    expectNear(slotFrame(StageVeskPhase::tri, 2, {190, 80, 1000, 600}), {860.67, 386, 329.33, 294}, "tri moved");
}

TEST(StageVeskFramesTest, ClampKeepsFramesReachable)
{
    const Rect area{0, 0, 1440, 900};
    EXPECT_EQ(clampFrameToVisible({-900, -50, 1000, 500}, area), (Rect{-700, 0, 1000, 500}));
    EXPECT_EQ(clampFrameToVisible({1300, 880, 1000, 500}, area), (Rect{1140, 872, 1000, 500}));
    EXPECT_EQ(clampFrameToVisible({100, 200, 300, 28}, area), (Rect{100, 200, 300, 28}));
    // An area lower than 28 pt: the upper bound wins.
    EXPECT_EQ(clampFrameToVisible({0, 50, 100, 100}, {0, 0, 500, 20}), (Rect{0, -8, 100, 100}));
}

TEST(StageVeskFramesTest, FitShrinksToTheScaledAreaAndMovesInside)
{
    EXPECT_EQ(fitScaledFrame({1000, 700, 1200, 800}, 0.95, {190, 80, 1220, 740}), (Rect{251, 117, 1159, 703}));
    EXPECT_EQ(fitScaledFrame({100, 50, 300, 200}, 0.95, {190, 80, 1220, 740}), (Rect{190, 80, 300, 200}));
}

TEST(StageVeskFramesTest, PhaseNumbersLabelsAndSlotCounts)
{
    EXPECT_FALSE(stageVeskPhaseFromNumber(0));
    EXPECT_FALSE(stageVeskPhaseFromNumber(6));
    EXPECT_EQ(stageVeskPhaseFromNumber(3), StageVeskPhase::tri);
    EXPECT_EQ(slotCount(StageVeskPhase::quad), 4);
    EXPECT_FALSE(slotCount(StageVeskPhase::freestyle));
    EXPECT_EQ(phaseLabel(StageVeskPhase::focus), "Fokus");
    EXPECT_EQ(phaseLabel(StageVeskPhase::freestyle), "Freestyle");
}
