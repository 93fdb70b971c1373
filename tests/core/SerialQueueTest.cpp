#include "core/SerialQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace vesk;
using namespace std::chrono_literals;

TEST(SerialQueue, RunsBlocksInOrderOnItsOwnThread)
{
    SerialQueue queue("test.order");
    std::vector<int> order;
    for (int i = 0; i < 50; ++i)
        queue.async([&order, i] { order.push_back(i); });
    bool onQueue = false;
    queue.sync([&] { onQueue = queue.isCurrent(); });
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_TRUE(onQueue);
    EXPECT_FALSE(queue.isCurrent());
}

TEST(SerialQueue, SyncFromInsideTheQueueRunsInline)
{
    SerialQueue queue("test.reentrant");
    std::vector<std::string> steps;
    queue.sync([&] {
        steps.push_back("outer");
        queue.sync([&] { steps.push_back("inner"); });
        steps.push_back("after");
    });
    EXPECT_EQ(steps, (std::vector<std::string>{"outer", "inner", "after"}));
}

TEST(SerialQueue, RepeatingTimerFirstFiresOneIntervalAfterStart)
{
    SerialQueue queue("test.timer.first");
    std::atomic<int> fired{0};
    const auto started = std::chrono::steady_clock::now();
    std::atomic<std::chrono::steady_clock::duration> firstAfter{};
    auto timer = queue.scheduleRepeating(50ms, [&] {
        if (fired++ == 0)
            firstAfter = std::chrono::steady_clock::now() - started;
    });
    queue.sync([] {});
    while (fired.load() == 0)
        std::this_thread::sleep_for(1ms);
    EXPECT_GE(firstAfter.load(), 50ms);
}

TEST(SerialQueue, RepeatingTimerFiresUntilCancelledOrDestroyed)
{
    SerialQueue queue("test.timer");
    std::atomic<int> fired{0};
    auto timer = queue.scheduleRepeating(5ms, [&] { ++fired; });
    while (fired.load() < 3)
        std::this_thread::sleep_for(1ms);
    timer->cancel();
    queue.sync([] {});
    const int atCancel = fired.load();
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(fired.load(), atCancel);

    std::atomic<int> other{0};
    {
        auto dropped = queue.scheduleRepeating(5ms, [&] { ++other; });
    }
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(other.load(), 0);
}
