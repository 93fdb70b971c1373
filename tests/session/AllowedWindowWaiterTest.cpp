#include "SessionLogCapture.h"
#include "SessionTestDoubles.h"

#include "core/ManualScheduler.h"
#include "session/AllowedWindowWaiter.h"
#include "session/SerialQueueSessionTimerFactory.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

using namespace vesk;

namespace {

class AllowedWindowWaiterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        detector->onPoll = [this] { polls.push_back(scheduler.uptime()); };
    }

    ManualScheduler scheduler;
    SessionLogCapture logs;
    std::shared_ptr<test::FakeDetector> detector = std::make_shared<test::FakeDetector>();
    // When the detector was asked, in seconds of uptime.
    std::vector<double> polls;
    AllowedWindowWaiter waiter{detector, scheduler};
    int completions = 0;
    std::function<void()> complete = [this] { ++completions; };
};

} // namespace

TEST_F(AllowedWindowWaiterTest, VisibleWindowCompletesInsideTheCall)
{
    detector->visible = {"a"};
    waiter.waitForAllowedWindows({"a"}, complete);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(scheduler.pendingCount(), 0);
    EXPECT_TRUE(
        logs.contains("Allowed app window detected — proceeding with overlay activation", "AllowedWindowWaiter"));
}

TEST_F(AllowedWindowWaiterTest, GivesUpAtTheFirstPollAtOrAfterFiveSeconds)
{
    detector->covered = {"a"}; // covered windows do not end the wait
    waiter.waitForAllowedWindows({"a"}, complete);
    scheduler.advance(4.9);
    EXPECT_EQ(completions, 0);
    scheduler.advance(0.1);
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(logs.contains("Timeout waiting for allowed app windows — proceeding anyway", "AllowedWindowWaiter"));
    ASSERT_EQ(polls.size(), 21u);
    EXPECT_DOUBLE_EQ(polls[1], 0.25);
    EXPECT_DOUBLE_EQ(polls.back(), 5.0);
    scheduler.advance(10);
    EXPECT_EQ(completions, 1);
}

TEST_F(AllowedWindowWaiterTest, WindowOnTheLastPollStillCountsAsDetected)
{
    waiter.waitForAllowedWindows({"a"}, complete);
    scheduler.advance(4.75);
    detector->visible = {"a"};
    scheduler.advance(0.25);
    EXPECT_EQ(completions, 1);
    EXPECT_FALSE(logs.contains("Timeout waiting", "AllowedWindowWaiter"));
}

TEST_F(AllowedWindowWaiterTest, CancelAndASecondWaitAbandonTheFirst)
{
    waiter.waitForAllowedWindows({"a"}, complete);
    waiter.cancel();
    scheduler.advance(10);
    EXPECT_EQ(completions, 0);
    EXPECT_EQ(polls.size(), 1u);

    int second = 0;
    waiter.waitForAllowedWindows({"a"}, complete);
    scheduler.advance(1);
    waiter.waitForAllowedWindows({"a"}, [&] { ++second; });
    detector->visible = {"a"};
    scheduler.advance(10);
    EXPECT_EQ(completions, 0);
    EXPECT_EQ(second, 1);
}

TEST(SerialQueueSessionTimerFactoryTest, TicksOnItsOwnQueueFromOneIntervalOnUntilCancelled)
{
    std::mutex mutex;
    std::condition_variable ticked;
    std::vector<std::thread::id> threads;
    const auto made = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration firstTickAfter{};

    SerialQueueSessionTimerFactory factory;
    auto timer = factory.makeTimer(0.02, [&] {
        std::lock_guard lock(mutex);
        if (threads.empty())
            firstTickAfter = std::chrono::steady_clock::now() - made;
        threads.push_back(std::this_thread::get_id());
        ticked.notify_all();
    });
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(ticked.wait_for(lock, std::chrono::seconds(5), [&] { return threads.size() >= 3; }));
    }
    timer->cancel();
    std::size_t ticksAtCancel;
    {
        std::lock_guard lock(mutex);
        ticksAtCancel = threads.size();
        EXPECT_GE(firstTickAfter, std::chrono::milliseconds(20));
        EXPECT_NE(threads.front(), std::this_thread::get_id());
        EXPECT_EQ(threads.front(), threads.back());
    }
    // No call starts after cancel() returned.
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    std::lock_guard lock(mutex);
    EXPECT_EQ(threads.size(), ticksAtCancel);
}
