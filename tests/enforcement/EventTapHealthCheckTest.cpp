#include "enforcement/EventTapHealthCheck.h"
#include "LogCapture.h"
#include "core/ManualScheduler.h"

#include <gtest/gtest.h>

using namespace vesk;

TEST(EventTapHealthCheckTest, ChecksEveryTwoSecondsFromStartUntilStopAndSaysSoOnce)
{
    test::LogCapture logs;
    ManualScheduler scheduler;
    int checks = 0;
    EventTapHealthCheck check(scheduler, VeskLogger(QStringLiteral("Owner")), QStringLiteral("Mouse blocker"),
                              [&] { ++checks; });
    scheduler.advance(5.0);
    EXPECT_EQ(checks, 0);

    check.start();
    check.start(); // already running: no second series, no second line
    scheduler.advance(1.9);
    EXPECT_EQ(checks, 0);
    scheduler.advance(0.1);
    EXPECT_EQ(checks, 1);
    scheduler.advance(4.0);
    EXPECT_EQ(checks, 3);
    EXPECT_EQ(logs.messages(QStringLiteral("Owner")),
              QStringList{QStringLiteral("Mouse blocker health check started (every 2.0s)")});

    check.stop();
    scheduler.advance(10.0);
    EXPECT_EQ(checks, 3);
    EXPECT_FALSE(check.isRunning());
}

TEST(EventTapHealthCheckTest, ACheckWithoutSubjectStartsSilently)
{
    test::LogCapture logs;
    ManualScheduler scheduler;
    int checks = 0;
    EventTapHealthCheck check(scheduler, VeskLogger(QStringLiteral("Owner")), std::nullopt, [&] { ++checks; });
    check.start();
    scheduler.advance(2.0);
    EXPECT_EQ(checks, 1);
    EXPECT_TRUE(logs.messages(QStringLiteral("Owner")).isEmpty());
}
