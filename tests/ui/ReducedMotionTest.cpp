#include "UiFixture.h"

#include "ui/GalaxyBackdropView.h"
#include "ui/WormveskSymbol.h"

#include <QSignalSpy>

namespace vesk {
namespace {

using ReducedMotionTest = test::UiFixture;

TEST_F(ReducedMotionTest, EitherTheSystemOrTheSettingTurnsItOn)
{
    QSignalSpy changed(&reducedMotion, &ReducedMotion::changed);
    EXPECT_FALSE(reducedMotion.isOn());

    desktop.setReduceMotion(true);
    EXPECT_TRUE(reducedMotion.isOn());
    settings.setReducedMotion(true);
    EXPECT_TRUE(reducedMotion.isOn());
    EXPECT_EQ(changed.count(), 1) << "the combined value changed once";

    desktop.setReduceMotion(false);
    EXPECT_TRUE(reducedMotion.isOn()) << "the setting still holds it";
    settings.setReducedMotion(false);
    EXPECT_FALSE(reducedMotion.isOn());
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(ReducedMotionTest, StartsFromTheCurrentValues)
{
    desktop.setReduceMotion(true);
    const ReducedMotion fromSystem(desktop.reduceMotion(), settings);
    EXPECT_TRUE(fromSystem.isOn());
}

TEST_F(ReducedMotionTest, TimelinesStopWhileItIsOnAndResumeAfter)
{
    GalaxyBackdropView backdrop(scheduler, scheduler, reducedMotion, WormveskStyle::cosmic, 140, 28);
    WormveskSymbol symbol(scheduler, scheduler, reducedMotion, WormveskStyle::cosmic, 220, true);
    EXPECT_FALSE(backdrop.isTimelineRunning()) << "hidden views do not tick";
    backdrop.show();
    symbol.show();
    EXPECT_TRUE(backdrop.isTimelineRunning());
    EXPECT_TRUE(symbol.isTimelineRunning());
    scheduler.setDate(referenceDatePlus(5.5));
    EXPECT_NEAR(symbol.currentMotion().tilt, -14, 1e-9) << "the pose follows the clock";

    settings.setReducedMotion(true);
    EXPECT_FALSE(backdrop.isTimelineRunning());
    EXPECT_FALSE(symbol.isTimelineRunning());
    EXPECT_EQ(scheduler.pendingCount(), 0);
    EXPECT_EQ(symbol.currentMotion().tilt, -22);
    EXPECT_EQ(symbol.currentMotion().pulse, 0.5);

    settings.setReducedMotion(false);
    EXPECT_TRUE(backdrop.isTimelineRunning());
    EXPECT_TRUE(symbol.isTimelineRunning());
    symbol.hide();
    EXPECT_FALSE(symbol.isTimelineRunning());
}

} // namespace
} // namespace vesk
