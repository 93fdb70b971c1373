#include "overlay/AllowedWindowDragTracker.h"

#include "FakeScreens.h"
#include "LogCapture.h"
#include "TestPrinters.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vesk;

namespace {

const QString kEditor = QStringLiteral("com.example.editor");
const QString kChat = QStringLiteral("com.example.chat");
const QDateTime kStart(QDate(2026, 1, 5), QTime(9, 0), Qt::UTC);

struct Handoff {
    QString bundleID;
    Point pointer;
    bool operator==(const Handoff&) const = default;
};

// Two displays side by side: A (0, 0, 1440, 900) and B (1440, 0, 1920, 1080).
class DragTrackerTest : public testing::Test {
protected:
    DragTrackerTest()
    {
        screens.add(1, QRectF(0, 0, 1440, 900), QStringLiteral("A"));
        screens.add(2, QRectF(1440, 0, 1920, 1080), QStringLiteral("B"));
        screens.bounds[1] = QRectF(0, 0, 1440, 900);
        screens.bounds[2] = QRectF(1440, -180, 1920, 1080);
    }

    QDateTime at(double seconds) const { return kStart.addMSecs(std::llround(seconds * 1000)); }

    // One frame in the order the overlay's tick runs the drag steps; a window
    // given in `moves` moved from its previous rect to this one.
    void frame(double time, bool down, const std::vector<std::pair<QString, Rect>>& moves = {})
    {
        std::vector<OverlayWindowMotionEvent> events;
        std::vector<OverlayAllowedWindowFragment> fragments;
        for (const auto& [id, rect] : moves) {
            const Rect previous = windows.contains(id) ? windows[id] : rect;
            events.push_back({id, previous, rect, rect.minX() - previous.minX(), rect.minY() - previous.minY(),
                              down ? std::optional(pointer) : std::nullopt});
            windows[id] = rect;
        }
        for (const auto& [id, rect] : windows)
            fragments.push_back({id, 1u, rect, rect});
        tracker.handleSeamDrag(down, at(time), recordHandoff);
        tracker.handoffSeamDragOnRelease(down, recordHandoff);
        tracker.updateDragPassthrough(down ? events : std::vector<OverlayWindowMotionEvent>{}, fragments, down,
                                      at(time), [this](const auto& delivered) { motionCalls.push_back(delivered); });
    }

    test::LogCapture logs;
    FakeScreens screens;
    VeskLogger logger{QStringLiteral("OverlayService")};
    Point pointer{1200, 400};
    AllowedWindowDragTracker tracker{logger, screens, [this] { return pointer; }};
    std::map<QString, Rect> windows;
    std::vector<Handoff> handoffs;
    std::vector<std::vector<OverlayWindowMotionEvent>> motionCalls;
    AllowedWindowDragTracker::HandoffHandler recordHandoff = [this](const QString& id, Point at) {
        handoffs.push_back({id, at});
    };
};

const Rect kOnSeam{1000, 200, 440, 300}; // right edge on the seam at x = 1440
const Rect kOffSeam{900, 200, 440, 300};

} // namespace

TEST_F(DragTrackerTest, DragWithinOneDisplayRelaxesWhileHeldAndReportsMotionForTheCooldown)
{
    windows[kEditor] = Rect{100, 100, 600, 400};
    frame(0.0, true, {{kEditor, Rect{120, 100, 600, 400}}});
    EXPECT_EQ(tracker.dragPassthroughBundleIDs(), std::set<QString>{kEditor});
    EXPECT_EQ(tracker.dragPassthroughWindowRectsByBundleID().at(kEditor), (Rect{120, 100, 600, 400}));
    ASSERT_EQ(motionCalls.size(), 1u);

    frame(0.1, true); // held still: stays relaxed
    EXPECT_EQ(tracker.dragPassthroughBundleIDs(), std::set<QString>{kEditor});

    frame(0.2, false);
    EXPECT_TRUE(tracker.dragPassthroughBundleIDs().empty());
    EXPECT_TRUE(tracker.dragPassthroughWindowRectsByBundleID().empty());
    EXPECT_EQ(logs.count("Drag passthrough relaxation active — bundleIDs=[\"com.example.editor\"]"), 1);
    EXPECT_EQ(logs.count("Drag passthrough relaxation ended"), 1);
    EXPECT_TRUE(handoffs.empty());

    const auto during = tracker.dragState(at(0.75), false);
    EXPECT_EQ(during.bundleIDs, std::set<QString>{kEditor});
    EXPECT_EQ(during.lastMotionAt, at(0.0));
    EXPECT_EQ(during.cooldown, 0.75);
    const auto after = tracker.dragState(at(0.76), false);
    EXPECT_TRUE(after.bundleIDs.empty());
    EXPECT_FALSE(after.lastMotionAt.has_value());
}

TEST_F(DragTrackerTest, RelaxationEndsForAnApplicationWithoutVisibleFragment)
{
    windows[kEditor] = Rect{100, 100, 600, 400};
    frame(0.0, true, {{kEditor, Rect{150, 100, 600, 400}}});
    windows.erase(kEditor);
    frame(0.1, true);
    EXPECT_TRUE(tracker.dragPassthroughBundleIDs().empty());
}

TEST_F(DragTrackerTest, ReleaseOnTheSeamHandsOffOnceWithTheReleasePointer)
{
    windows[kEditor] = kOffSeam;
    frame(0.0, true, {{kEditor, kOnSeam}});
    frame(0.1, true, {{kEditor, kOnSeam.offsetBy(0, 10)}});
    EXPECT_EQ(logs.count("[OverlayService] drag reached display seam — bundleID=com.example.editor, "
                         "seamEdge=right@1440"),
              1);
    pointer = Point{1500, 420};
    frame(0.15, false);
    EXPECT_EQ(handoffs, (std::vector<Handoff>{{kEditor, Point{1500, 420}}}));
    EXPECT_EQ(logs.count("[OverlayService] seam-drag handoff on release — bundleID=com.example.editor, "
                         "pointer={1500, 420}"),
              1);
    frame(0.2, true);
    frame(0.3, false);
    EXPECT_EQ(handoffs.size(), 1u);
}

TEST_F(DragTrackerTest, StallOnTheSeamHandsOffOnceAndNotAgainOnRelease)
{
    windows[kEditor] = kOffSeam;
    frame(0.0, true, {{kEditor, kOnSeam}});
    frame(0.2, true); // 0.2 s without motion: not yet
    EXPECT_TRUE(handoffs.empty());
    frame(0.25, true);
    ASSERT_EQ(handoffs.size(), 1u);
    EXPECT_EQ(handoffs[0].bundleID, kEditor);
    EXPECT_EQ(logs.count("[OverlayService] drag session appears to have died at seam — bundleID=com.example.editor, "
                         "msSinceLastMotion=250, seamEdge=right@1440, seamReachedMsAgo=250"),
              1);
    EXPECT_EQ(logs.count("seam-drag handoff on stall"), 1);
    frame(0.5, true);
    frame(0.6, false);
    EXPECT_EQ(handoffs.size(), 1u);
}

TEST_F(DragTrackerTest, LeavingTheSeamBeforeReleaseMeansNoHandoff)
{
    windows[kEditor] = kOffSeam;
    frame(0.0, true, {{kEditor, kOnSeam}});
    frame(0.1, true, {{kEditor, kOffSeam}});
    EXPECT_FALSE(tracker.hasSeamRecord(kEditor));
    frame(0.2, false);
    EXPECT_TRUE(handoffs.empty());
}

TEST_F(DragTrackerTest, TwoApplicationsOnSeamsAreBothHandedOffOnRelease)
{
    windows[kEditor] = kOffSeam;
    windows[kChat] = Rect{1600, 500, 400, 300};
    // The chat window reaches B's left edge, the seam at x = 1440.
    frame(0.0, true, {{kEditor, kOnSeam}, {kChat, Rect{1440, 500, 400, 300}}});
    frame(0.1, false);
    ASSERT_EQ(handoffs.size(), 2u);
    EXPECT_EQ(handoffs[0].bundleID, kChat);
    EXPECT_EQ(handoffs[1].bundleID, kEditor);
}

TEST_F(DragTrackerTest, MotionLinesAreThrottledPerApplication)
{
    windows[kEditor] = Rect{100, 100, 600, 400};
    for (int i = 1; i <= 30; ++i)
        frame(i / 60.0, true, {{kEditor, Rect{100.0 + 5 * i, 100, 600, 400}}});
    // Half a second of frames at 60 per second gives a line at most every 0.1 s.
    const int lines = logs.count("[OverlayService] drag motion — bundleID=com.example.editor");
    EXPECT_GE(lines, 4);
    EXPECT_LE(lines, 5);
}

TEST_F(DragTrackerTest, CrossingsOfPointerAndWindowAreLoggedWhenTheyChange)
{
    windows[kEditor] = Rect{1200, 200, 400, 300};
    pointer = Point{1300, 300};
    frame(0.0, true, {{kEditor, Rect{1210, 200, 400, 300}}});
    EXPECT_EQ(logs.count("drag pointer crossed display — bundleID=com.example.editor, from=n/a, to=[0]A"), 1);
    EXPECT_EQ(logs.count("Allowed window drag crosses display boundary"), 1);
    pointer = Point{1500, 300};
    frame(0.1, true, {{kEditor, Rect{1400, 200, 400, 300}}});
    EXPECT_EQ(logs.count("drag pointer crossed display — bundleID=com.example.editor, from=[0]A, to=[1]B"), 1);
    EXPECT_EQ(logs.count("drag window crossed display — bundleID=com.example.editor, from=[0]A, to=[1]B"), 1);
}

TEST_F(DragTrackerTest, WithOneDisplayThereIsNoSeamHandlingButRelaxationWorks)
{
    screens.list.pop_back();
    windows[kEditor] = Rect{900, 200, 440, 300};
    frame(0.0, true, {{kEditor, Rect{1000, 200, 440, 300}}});
    EXPECT_EQ(tracker.dragPassthroughBundleIDs(), std::set<QString>{kEditor});
    frame(0.5, true);
    frame(0.6, false);
    EXPECT_TRUE(handoffs.empty());
    EXPECT_EQ(logs.count("drag motion"), 0);
}

TEST_F(DragTrackerTest, ClearingEverythingForgetsSeamRecords)
{
    windows[kEditor] = kOffSeam;
    frame(0.0, true, {{kEditor, kOnSeam}});
    ASSERT_TRUE(tracker.hasSeamRecord(kEditor));
    tracker.clearDragTracking();
    EXPECT_FALSE(tracker.hasSeamRecord(kEditor));
    frame(0.1, false);
    EXPECT_TRUE(handoffs.empty());
}
