#include "core/ManualScheduler.h"
#include "ui/Ticker.h"

#include <gtest/gtest.h>

#include <memory>

namespace vesk {
namespace {

TEST(Ticker, TicksEveryIntervalWhileRunning)
{
    ManualScheduler scheduler;
    int ticks = 0;
    Ticker ticker(scheduler, 0.5, [&] { ++ticks; });
    scheduler.advance(2);
    EXPECT_EQ(ticks, 0) << "a ticker starts stopped";

    ticker.start();
    ticker.start(); // a second start keeps one timeline
    scheduler.advance(0.49);
    EXPECT_EQ(ticks, 0);
    scheduler.advance(0.01);
    EXPECT_EQ(ticks, 1);
    scheduler.advance(1.0);
    EXPECT_EQ(ticks, 3);

    ticker.stop();
    EXPECT_FALSE(ticker.isRunning());
    scheduler.advance(5);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(scheduler.pendingCount(), 0);

    ticker.setRunning(true);
    scheduler.advance(0.5);
    EXPECT_EQ(ticks, 4);
}

TEST(Ticker, ATickThatStopsTheTickerIsTheLast)
{
    ManualScheduler scheduler;
    int ticks = 0;
    std::unique_ptr<Ticker> ticker;
    ticker = std::make_unique<Ticker>(scheduler, 0.1, [&] {
        if (++ticks == 2)
            ticker->stop();
    });
    ticker->start();
    scheduler.advance(1);
    EXPECT_EQ(ticks, 2);
}

TEST(Ticker, DestroyingItCancelsTheNextTick)
{
    ManualScheduler scheduler;
    int ticks = 0;
    auto ticker = std::make_unique<Ticker>(scheduler, 0.1, [&] { ++ticks; });
    ticker->start();
    ticker.reset();
    scheduler.advance(1);
    EXPECT_EQ(ticks, 0);
}

} // namespace
} // namespace vesk
