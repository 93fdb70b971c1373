#include "core/MainQueueTimer.h"
#include "core/ManualScheduler.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vesk;

TEST(MainQueueTimerTest, RunsEveryIntervalUntilStopped)
{
    ManualScheduler scheduler;
    int runs = 0;
    MainQueueTimer timer(scheduler, 2.0, [&] { ++runs; });
    scheduler.advance(5.0);
    EXPECT_EQ(runs, 0); // not started

    timer.start();
    timer.start(); // a second start books no second series
    scheduler.advance(1.9);
    EXPECT_EQ(runs, 0);
    scheduler.advance(0.1);
    EXPECT_EQ(runs, 1);
    scheduler.advance(4.0);
    EXPECT_EQ(runs, 3);
    EXPECT_TRUE(timer.isRunning());

    timer.stop();
    scheduler.advance(10.0);
    EXPECT_EQ(runs, 3);
    EXPECT_FALSE(timer.isRunning());
}

TEST(MainQueueTimerTest, WorkMayStopOrDestroyItsOwnTimer)
{
    ManualScheduler scheduler;
    int runs = 0;
    std::unique_ptr<MainQueueTimer> timer;
    timer = std::make_unique<MainQueueTimer>(scheduler, 1.0, [&] {
        if (++runs == 2)
            timer.reset();
    });
    timer->start();
    scheduler.advance(5.0);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(timer, nullptr);

    int stops = 0;
    MainQueueTimer stopping(scheduler, 1.0, [&] { ++stops; });
    MainQueueTimer stopper(scheduler, 1.0, [&] { stopping.stop(); });
    stopper.start();
    stopping.start();
    scheduler.advance(3.0);
    EXPECT_EQ(stops, 0); // the stopper, booked first, runs first at every tick
}
