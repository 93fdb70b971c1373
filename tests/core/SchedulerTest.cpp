#include "core/MainThread.h"
#include "core/ManualScheduler.h"
#include "core/QtScheduler.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <numeric>
#include <thread>

using namespace vesk;

TEST(ManualScheduler, RunsDueWorkInTimeThenSchedulingOrder)
{
    ManualScheduler scheduler;
    std::vector<std::string> ran;
    scheduler.asyncAfter(2.0, [&] { ran.push_back("b@2"); });
    scheduler.asyncAfter(1.0, [&] { ran.push_back("a@1"); });
    scheduler.asyncAfter(2.0, [&] { ran.push_back("c@2"); });
    scheduler.asyncAfter(3.0, [&] { ran.push_back("d@3"); });

    scheduler.advance(2.0);
    EXPECT_EQ(ran, (std::vector<std::string>{"a@1", "b@2", "c@2"}));
    EXPECT_DOUBLE_EQ(scheduler.uptime(), 2.0);
    EXPECT_EQ(scheduler.pendingCount(), 1);
}

TEST(ManualScheduler, CancelledWorkNeverRuns)
{
    ManualScheduler scheduler;
    int runs = 0;
    WorkItem item = scheduler.asyncAfter(1.0, [&] { ++runs; });
    EXPECT_TRUE(item.isPending());
    item.cancel();
    scheduler.advance(5.0);
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(item.isPending());
    EXPECT_TRUE(item.isCancelled());

    WorkItem cleared = scheduler.asyncAfter(1.0, [&] { ++runs; });
    EXPECT_TRUE(cleared.cancelAndClear());
    EXPECT_FALSE(cleared.isValid());
    EXPECT_FALSE(cleared.cancelAndClear()) << "nothing left to cancel";
    scheduler.advance(5.0);
    EXPECT_EQ(runs, 0);
}

TEST(ManualScheduler, RunsNestedWorkThatFallsDueWithinTheAdvance)
{
    ManualScheduler scheduler;
    std::vector<double> times;
    scheduler.asyncAfter(1.0, [&] {
        times.push_back(scheduler.uptime());
        scheduler.asyncAfter(0.5, [&] { times.push_back(scheduler.uptime()); });
        scheduler.asyncAfter(5.0, [&] { times.push_back(scheduler.uptime()); });
        scheduler.async([&] { times.push_back(scheduler.uptime()); });
    });
    scheduler.advance(2.0);
    EXPECT_EQ(times, (std::vector<double>{1.0, 1.0, 1.5}));
    scheduler.advance(4.0);
    EXPECT_EQ(times.back(), 6.0);
}

TEST(ManualScheduler, DateFollowsVirtualTime)
{
    const QDateTime start(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC);
    ManualScheduler scheduler(start);
    scheduler.advance(90.5);
    EXPECT_EQ(scheduler.now(), start.addMSecs(90500));
}

TEST(ManualScheduler, TakesWorkFromOtherThreadsAndRunsItOnlyInsideAdvance)
{
    ManualScheduler scheduler;
    constexpr int threads = 4;
    constexpr int itemsPerThread = 500;
    const std::thread::id caller = std::this_thread::get_id();
    std::vector<std::vector<int>> ranByThread(threads);
    std::atomic<int> ranElsewhere{0};
    std::atomic<bool> scheduling{true};

    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < itemsPerThread; ++i) {
                auto work = [&, t, i] {
                    if (std::this_thread::get_id() != caller)
                        ++ranElsewhere;
                    ranByThread[t].push_back(i);
                };
                if (i % 2 == 0)
                    scheduler.async(work);
                else
                    scheduler.asyncAfter(0, work);
            }
        });
    }
    // The caller keeps advancing while the others schedule.
    std::thread watcher([&] {
        for (auto& worker : workers)
            worker.join();
        scheduling = false;
    });
    while (scheduling)
        scheduler.runPending();
    watcher.join();
    // What the last workers scheduled after the loop's final pass.
    scheduler.runPending();

    EXPECT_EQ(ranElsewhere, 0);
    EXPECT_EQ(scheduler.pendingCount(), 0);
    std::vector<int> expected(itemsPerThread);
    std::iota(expected.begin(), expected.end(), 0);
    for (int t = 0; t < threads; ++t)
        EXPECT_EQ(ranByThread[t], expected) << "thread " << t; // each exactly once, in the order scheduled
}

TEST(ManualScheduler, WorkFromAnotherThreadWaitsForTheNextAdvance)
{
    ManualScheduler scheduler;
    scheduler.advance(3.0);
    bool ran = false;
    WorkItem delayed;
    std::thread([&] {
        scheduler.async([&] { ran = true; });
        delayed = scheduler.asyncAfter(1.0, [] {});
    }).join();
    EXPECT_FALSE(ran);
    EXPECT_EQ(scheduler.pendingCount(), 2);
    scheduler.runPending();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(delayed.isPending());
    scheduler.advance(1.0);
    EXPECT_FALSE(delayed.isPending());
}

TEST(QtScheduler, RunsOnTheMainThreadWhenAskedFromAnother)
{
    QtScheduler scheduler;
    bool onMain = false;
    bool cancelledRan = false;
    QEventLoop loop;
    std::thread worker([&] {
        WorkItem cancelled = scheduler.asyncAfter(0.01, [&] { cancelledRan = true; });
        cancelled.cancel();
        scheduler.asyncAfter(0.02, [&] {
            onMain = isMainThread();
            loop.quit();
        });
    });
    worker.join();
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(onMain);
    EXPECT_FALSE(cancelledRan);
    EXPECT_TRUE(isMainThread());
}

TEST(QtScheduler, ADelayLongerThanAQtTimerTakesIsNotCutShort)
{
    QtScheduler scheduler;
    bool longRan = false;
    bool shortRan = false;
    // 30 days is more milliseconds than a Qt timer takes in one go.
    scheduler.asyncAfter(30 * 86400.0, [&] { longRan = true; });
    scheduler.asyncAfter(std::numeric_limits<double>::infinity(), [&] { longRan = true; });
    scheduler.asyncAfter(0, [&] { shortRan = true; });
    QDeadlineTimer deadline(1000);
    while (!shortRan && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // Let timers that wrongly fell due at once have their turn too.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(shortRan);
    EXPECT_FALSE(longRan);
}
