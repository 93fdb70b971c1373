#include "overlay/OverlayWindowTransitionTracker.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vesk;
using Reason = OverlayWindowTransitionSuppressionEvent::Reason;

namespace {

const QString kApp = QStringLiteral("com.example.editor");
const QDateTime kStart(QDate(2026, 1, 5), QTime(9, 0), Qt::UTC);

QDateTime at(double seconds)
{
    return kStart.addMSecs(std::llround(seconds * 1000));
}

// One frame of a single allowed application: its window rect, or none when the
// window has no visible piece, and whether a mouse button is held.
struct Frame {
    double time;
    std::optional<Rect> window;
    bool buttonDown = false;
    // What the frame must report.
    bool suppressed = false;
    std::optional<Reason> startedReason = std::nullopt;
    bool ended = false;
};

std::vector<OverlayAllowedWindowFragment> fragmentsOf(const QString& bundleID, std::optional<Rect> window)
{
    if (!window)
        return {};
    return {{bundleID, 7u, *window, *window}};
}

void replay(OverlayWindowTransitionTracker& tracker, const std::vector<Frame>& frames)
{
    for (size_t i = 0; i < frames.size(); ++i) {
        const Frame& frame = frames[i];
        SCOPED_TRACE(testing::Message() << "frame " << i << " at t=" << frame.time);
        const auto update =
            tracker.update(fragmentsOf(kApp, frame.window), {kApp}, at(frame.time), frame.buttonDown, std::nullopt);
        EXPECT_EQ(update.suppressedBundleIDs.contains(kApp), frame.suppressed);
        if (frame.startedReason) {
            ASSERT_EQ(update.events.size(), 1u);
            EXPECT_EQ(update.events[0].reason, *frame.startedReason);
            EXPECT_EQ(update.events[0].deadline, at(frame.time + 1.4));
        } else {
            EXPECT_TRUE(update.events.empty());
        }
        EXPECT_EQ(update.endedBundleIDs.contains(kApp), frame.ended);
    }
}

const Rect kLarge{100, 100, 800, 600};

} // namespace

struct ShrinkCase {
    const char* name;
    Rect stable;
    Rect next;
    bool shrunk;
    double areaRatio;
};

class TransitionTrackerShrinkTest : public testing::TestWithParam<ShrinkCase> { };

TEST_P(TransitionTrackerShrinkTest, SuppressesOnlyAbruptShrinks)
{
    const ShrinkCase& c = GetParam();
    OverlayWindowTransitionTracker tracker;
    tracker.update(fragmentsOf(kApp, c.stable), {kApp}, at(0), false, std::nullopt);
    const auto update = tracker.update(fragmentsOf(kApp, c.next), {kApp}, at(1.0 / 60), false, std::nullopt);

    EXPECT_EQ(update.suppressedBundleIDs.contains(kApp), c.shrunk);
    if (c.shrunk) {
        ASSERT_EQ(update.events.size(), 1u);
        const auto& event = update.events[0];
        EXPECT_EQ(event.reason, Reason::shrunk);
        EXPECT_EQ(event.previousRect, c.stable);
        EXPECT_EQ(event.currentRect, c.next);
        ASSERT_TRUE(event.areaRatio.has_value());
        EXPECT_NEAR(*event.areaRatio, c.areaRatio, 0.0005);
    } else {
        EXPECT_TRUE(update.events.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ratios, TransitionTrackerShrinkTest,
    testing::Values(ShrinkCase{"quarterArea", Rect{0, 0, 800, 600}, Rect{0, 0, 400, 300}, true, 0.25},
                    ShrinkCase{"areaAtThreshold", Rect{0, 0, 1000, 1000}, Rect{0, 0, 1000, 620}, true, 0.62},
                    ShrinkCase{"areaJustAbove", Rect{0, 0, 1000, 1000}, Rect{0, 0, 1000, 630}, false, 0},
                    ShrinkCase{"narrowButTaller", Rect{0, 0, 800, 600}, Rect{0, 0, 440, 1000}, true, 0.917},
                    // 720x540 keeps 81% of the area: a shrink only when the centre moved by
                    // 20% of the 1000-point diagonal.
                    ShrinkCase{"moderateWithCentreShift", Rect{0, 0, 800, 600}, Rect{240, 120, 720, 540}, true, 0.81},
                    ShrinkCase{"moderateCentreKept", Rect{0, 0, 800, 600}, Rect{40, 30, 720, 540}, false, 0},
                    ShrinkCase{"moderateSmallShift", Rect{0, 0, 800, 600}, Rect{140, 30, 720, 540}, false, 0},
                    ShrinkCase{"slightResize", Rect{0, 0, 800, 600}, Rect{10, 10, 780, 580}, false, 0},
                    ShrinkCase{"tooNarrowToBeLarge", Rect{0, 0, 110, 600}, Rect{0, 0, 50, 300}, false, 0},
                    ShrinkCase{"tooSmallInArea", Rect{0, 0, 190, 200}, Rect{0, 0, 50, 50}, false, 0}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(TransitionTrackerTest, UnchangedCentreShrinkBecomesTheNewStableRect)
{
    OverlayWindowTransitionTracker tracker;
    tracker.update(fragmentsOf(kApp, Rect{0, 0, 800, 600}), {kApp}, at(0), false, std::nullopt);
    tracker.update(fragmentsOf(kApp, Rect{40, 30, 720, 540}), {kApp}, at(0.1), false, std::nullopt);
    const auto update = tracker.update(fragmentsOf(kApp, Rect{40, 30, 400, 300}), {kApp}, at(0.2), false, std::nullopt);
    ASSERT_EQ(update.events.size(), 1u);
    EXPECT_EQ(update.events[0].previousRect, (Rect{40, 30, 720, 540}));
    EXPECT_NEAR(*update.events[0].areaRatio, 120000.0 / 388800.0, 1e-9);
}

TEST(TransitionTrackerTest, ShrinkSuppressesForTheWholeDuration)
{
    OverlayWindowTransitionTracker tracker;
    const Rect small(100, 100, 400, 300);
    replay(tracker, {
                        {0.0, kLarge},
                        {0.1, small, false, true, Reason::shrunk},
                        {0.5, small, false, true},
                        {1.49, small, false, true},
                        // The suppression ends; the window never went missing, so no restore wait.
                        {1.5, small, false, false, std::nullopt, true},
                        {1.6, small},
                    });
}

TEST(TransitionTrackerTest, VanishingWithoutButtonStartsNoSuppressionButTheReturnWaits)
{
    OverlayWindowTransitionTracker tracker;
    replay(tracker, {
                        {0.0, kLarge},
                        {0.1, std::nullopt},
                        {1.0, std::nullopt},
                        {2.0, kLarge, false, true, Reason::restoring},
                        {3.0, kLarge, false, true},
                        // First frame after the wait: the rect equals its first frame back.
                        {3.4, kLarge, false, false, std::nullopt, true},
                    });
}

TEST(TransitionTrackerTest, ReturnWithChangedRectNeedsOneMoreStableFrame)
{
    OverlayWindowTransitionTracker tracker;
    const Rect moved = kLarge.offsetBy(50, 0);
    replay(tracker, {
                        {0.0, kLarge},
                        {0.1, std::nullopt},
                        {1.0, kLarge, false, true, Reason::restoring},
                        {2.4, moved, false, true, std::nullopt, true},
                        {2.5, moved},
                    });
}

TEST(TransitionTrackerTest, JitterOfThreePointsKeepsAReturningWindowCovered)
{
    OverlayWindowTransitionTracker tracker;
    std::vector<Frame> frames = {{0.0, kLarge}, {0.1, std::nullopt}, {1.0, kLarge, false, true, Reason::restoring}};
    // After the wait the window keeps jittering by 3 points from frame to frame.
    double t = 2.4;
    for (int i = 0; i < 6; ++i, t += 1.0 / 60) {
        const bool firstAfterWait = i == 0;
        frames.push_back({t, kLarge.offsetBy(i % 2 == 0 ? 3 : 0, 0), false, true, std::nullopt, firstAfterWait});
    }
    // Two frames that agree within 1 point open the hole again.
    const Rect settled = kLarge.offsetBy(40, 0);
    frames.push_back({t, settled, false, true});
    frames.push_back({t + 1.0 / 60, settled.offsetBy(0.5, 0), false, false});
    replay(tracker, frames);
}

TEST(TransitionTrackerTest, DisappearingWithButtonHeldIsSuppressedThenRestores)
{
    OverlayWindowTransitionTracker tracker;
    replay(tracker, {
                        {0.0, kLarge, true},
                        {0.1, std::nullopt, true, true, Reason::disappeared},
                        {0.6, kLarge, true, true},
                        {1.0, kLarge, false, true},
                        // The disappearance ends at 1.5 and the restore wait starts on the same frame.
                        {1.5, kLarge, false, true, Reason::restoring, true},
                        {2.8, kLarge, false, true},
                        {2.9, kLarge, false, false, std::nullopt, true},
                    });
}

TEST(TransitionTrackerTest, WindowCoveredByABlockerCountsAsGone)
{
    OverlayWindowTransitionTracker tracker;
    replay(tracker, {
                        {0.0, kLarge},
                        {0.1, std::nullopt}, // wholly hidden: no fragment
                        {0.5, kLarge, false, true, Reason::restoring},
                    });
}

TEST(TransitionTrackerTest, MotionIsReportedOnlyWithAButtonHeldAndBeyondOnePoint)
{
    OverlayWindowTransitionTracker tracker;
    const Point pointer(500, 400);
    auto frame = [&](double t, Rect rect, bool down) {
        return tracker.update(fragmentsOf(kApp, rect), {kApp}, at(t), down,
                              down ? std::optional(pointer) : std::nullopt);
    };
    EXPECT_TRUE(frame(0.00, kLarge, true).motionEvents.empty()); // no previous rect yet
    EXPECT_TRUE(frame(0.02, kLarge.offsetBy(1, 1), true).motionEvents.empty());
    const auto moved = frame(0.04, kLarge.offsetBy(21, -9), true);
    ASSERT_EQ(moved.motionEvents.size(), 1u);
    const OverlayWindowMotionEvent expected{kApp, kLarge.offsetBy(1, 1), kLarge.offsetBy(21, -9), 20, -10, pointer};
    EXPECT_EQ(moved.motionEvents[0], expected);
    EXPECT_TRUE(moved.suppressedBundleIDs.empty());
    EXPECT_TRUE(frame(0.06, kLarge.offsetBy(80, 0), false).motionEvents.empty());
}

TEST(TransitionTrackerTest, LeavingTheAllowlistEndsThePendingSuppression)
{
    OverlayWindowTransitionTracker tracker;
    tracker.update(fragmentsOf(kApp, kLarge), {kApp}, at(0), false, std::nullopt);
    tracker.update(fragmentsOf(kApp, Rect{100, 100, 300, 200}), {kApp}, at(0.1), false, std::nullopt);
    const auto update = tracker.update(fragmentsOf(kApp, kLarge), {}, at(0.2), false, std::nullopt);
    EXPECT_EQ(update.endedBundleIDs, std::set<QString>{kApp});
    EXPECT_TRUE(update.suppressedBundleIDs.empty());
    // Back on the allowlist it starts from scratch: seen for the first time, not as returning.
    const auto back = tracker.update(fragmentsOf(kApp, kLarge), {kApp}, at(0.3), false, std::nullopt);
    EXPECT_TRUE(back.suppressedBundleIDs.empty());
    EXPECT_TRUE(back.events.empty());
}

TEST(TransitionTrackerTest, ImmediateSuppressionCoversThenWaitsThenNeedsStability)
{
    OverlayWindowTransitionTracker tracker;
    tracker.update(fragmentsOf(kApp, kLarge), {kApp}, at(0), false, std::nullopt);
    const auto event = tracker.suppressImmediately(kApp, at(0.5));
    EXPECT_EQ(event, (OverlayWindowTransitionSuppressionEvent{kApp, Reason::windowControlClick, kLarge, std::nullopt,
                                                              std::nullopt, at(1.9)}));
    replay(tracker, {
                        {0.5, kLarge, false, true},
                        {1.8, kLarge, false, true},
                        {1.9, kLarge, false, true, Reason::restoring, true},
                        {3.3, kLarge, false, false, std::nullopt, true},
                    });
}

TEST(TransitionTrackerTest, ImmediateSuppressionOfAnUnknownWindowHasNoPreviousRect)
{
    OverlayWindowTransitionTracker tracker;
    const auto event = tracker.suppressImmediately(kApp, at(0));
    EXPECT_TRUE(event.previousRect.isNull());
}

TEST(TransitionTrackerTest, ResetForgetsEverySuppression)
{
    OverlayWindowTransitionTracker tracker;
    tracker.update(fragmentsOf(kApp, kLarge), {kApp}, at(0), false, std::nullopt);
    tracker.suppressImmediately(kApp, at(0.1));
    tracker.reset();
    const auto update = tracker.update(fragmentsOf(kApp, kLarge), {kApp}, at(0.2), false, std::nullopt);
    EXPECT_TRUE(update.suppressedBundleIDs.empty());
    EXPECT_TRUE(update.events.empty());
}

TEST(TransitionTrackerTest, LargestWindowOfEachApplicationCounts)
{
    const QString other = QStringLiteral("com.example.chat");
    const std::vector<OverlayAllowedWindowFragment> fragments = {
        {kApp, 1u, Rect{0, 0, 10, 10}, Rect{0, 0, 300, 300}},
        {kApp, 2u, Rect{0, 0, 10, 10}, Rect{0, 0, 500, 100}},
        {kApp, 3u, Rect{0, 0, 10, 10}, Rect{0, 0, 0, 900}},
        {other, 4u, Rect{0, 0, 10, 10}, Rect{5, 5, 200, 200}},
    };
    EXPECT_EQ(OverlayWindowTransitionTracker::largestWindowRect(fragments, kApp), (Rect{0, 0, 300, 300}));
    EXPECT_EQ(OverlayWindowTransitionTracker::largestWindowRect(fragments, other), (Rect{5, 5, 200, 200}));
    EXPECT_EQ(OverlayWindowTransitionTracker::largestWindowRect(fragments, QStringLiteral("com.example.mail")),
              std::nullopt);
}

TEST(TransitionTrackerTest, ReasonRawTextRoundTrips)
{
    for (Reason reason : {Reason::disappeared, Reason::shrunk, Reason::windowControlClick, Reason::restoring})
        EXPECT_EQ(OverlayWindowTransitionSuppressionEvent::fromRaw(
                      OverlayWindowTransitionSuppressionEvent::toRaw(reason)),
                  reason);
    EXPECT_EQ(OverlayWindowTransitionSuppressionEvent::toRaw(Reason::windowControlClick), "windowControlClick");
    EXPECT_FALSE(OverlayWindowTransitionSuppressionEvent::fromRaw("minimized").has_value());
}
