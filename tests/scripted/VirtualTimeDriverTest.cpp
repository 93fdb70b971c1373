#include "scripted/VirtualTimeDriver.h"

#include "core/ManualScheduler.h"
#include "platform/simulated/DesktopWorkspace.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

using namespace vesk;

namespace {

class VirtualTimeDriverTest : public testing::Test {
protected:
    // Work at `time` (virtual seconds), and again every `interval` when one is given.
    void scheduleAt(double at, std::function<void()> work, std::optional<double> interval = std::nullopt)
    {
        scheduler.asyncAfter(at - scheduler.uptime(), [this, work, interval, at] {
            work();
            if (interval)
                scheduleAt(at + *interval, work, interval);
        });
    }

    // A call through the Qt event loop, posted now; records when it runs.
    void postQueuedCall(std::optional<double>& ranAt)
    {
        QMetaObject::invokeMethod(
            &receiver, [this, &ranAt] { ranAt = scheduler.uptime(); }, Qt::QueuedConnection);
    }

    QTemporaryDir root;
    ManualScheduler scheduler;
    platform::SimulatedDesktop desktop{scheduler, root.path()};
    VirtualTimeDriver time{scheduler, desktop};
    QObject receiver;
};

} // namespace

TEST_F(VirtualTimeDriverTest, EveryFrameRunsAtItsExactTime)
{
    constexpr double frame = 1.0 / 60.0;
    std::vector<double> frames;
    scheduleAt(
        frame, [&] { frames.push_back(scheduler.uptime()); }, frame);
    time.advanceTo(10.0 + frame / 2);
    ASSERT_EQ(frames.size(), 600u);
    double expected = 0;
    for (double at : frames) {
        expected += frame;
        ASSERT_DOUBLE_EQ(at, expected);
    }
    EXPECT_DOUBLE_EQ(time.now(), 10.0 + frame / 2);
}

TEST_F(VirtualTimeDriverTest, TheEventLoopTurnsWhenAskedAndBeforeReturningButNotInQuietSlices)
{
    std::optional<double> quiet;
    scheduleAt(0.12, [&] { postQueuedCall(quiet); });
    time.advanceTo(0.3);
    // The quiet slice left the call for the turn before the next step.
    EXPECT_EQ(quiet, 0.3);

    std::optional<double> asked;
    scheduleAt(0.52, [&] {
        postQueuedCall(asked);
        time.requestSettle(); // as a new timeline entry does
    });
    time.advanceTo(1.0);
    ASSERT_TRUE(asked.has_value());
    EXPECT_DOUBLE_EQ(*asked, 0.55);
}

TEST_F(VirtualTimeDriverTest, WorkHandedBackByTheWorkspaceThreadRunsAsItsSliceEnds)
{
    // Keeps the virtual clock busy, so that time runs on while nobody waits.
    scheduleAt(
        0.001, [] {}, 0.001);
    std::optional<double> followUp;
    scheduleAt(0.02, [&] {
        desktop.workspace().runOnSystemThread([&] {
            // A slow completion: it hands its follow-up back only once the
            // main thread has reached the end of the slice.
            while (scheduler.uptime() < 0.05) { }
            scheduler.async([&] { followUp = scheduler.uptime(); });
        });
    });
    time.advanceTo(0.5);
    ASSERT_TRUE(followUp.has_value());
    EXPECT_DOUBLE_EQ(*followUp, 0.05);
}
