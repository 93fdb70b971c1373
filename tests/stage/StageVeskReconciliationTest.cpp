#include "StageServiceScene.h"

#include <gtest/gtest.h>

using namespace vesk;
using namespace vesk::test;

namespace {

constexpr StageVeskScreenID first = StageServiceScene::first;
constexpr StageVeskScreenID second = StageServiceScene::second;

} // namespace

TEST(StageVeskReconciliationTest, AVanishedWindowIsQueuedOnlyAfterThePlacementGrace)
{
    StageServiceScene scene(false);
    scene.visible["com.a"] = {300, 200, 600, 400};
    scene.visible["com.b"] = {400, 250, 600, 400};
    scene.service->activate({"com.a", "com.b"}, {}, first);
    scene.service->moveToQueue("com.a");
    scene.service->restoreFromQueue("com.a", first); // placed by the stage now
    ASSERT_TRUE(scene.visible.contains("com.a"));

    scene.visible.erase("com.a");
    scene.runFor(1.9);
    EXPECT_GT(scene.logCount("queue move deferred (placement grace) — bundleID=com.a, reason=timer"), 0);
    EXPECT_TRUE(scene.app("com.a").position);
    scene.runFor(0.8);
    EXPECT_EQ(scene.logCount("window disappeared — bundleID=com.a, reason=timer, no CGWindow snapshots at all"), 1);
    EXPECT_TRUE(scene.app("com.a").isQueued());
    EXPECT_EQ(scene.logCount("reconciled visible windows — reason=timer, changed=[\"com.a\"], queue=[\"com.a\"]"), 1);

    // A window that the window list still shows, but not as a stage candidate,
    // is queued at once (no placement of the stage's own) and described.
    scene.visible.erase("com.b");
    scene.snapshots = {{"com.b", 0, {400, 250, 600, 400}, 7, 0.5, std::nullopt}};
    scene.runFor(0.8);
    EXPECT_EQ(scene.logCount("window filtered out before queue move — bundleID=com.b, reason=timer, snapshots=1: "
                             "{layer=0, alpha=0.50, bounds={{400, 250}, {600, 400}}, rejectedBy=[alpha]}"),
              1);
    EXPECT_TRUE(scene.app("com.b").isQueued());
}

TEST(StageVeskReconciliationTest, TheGraceEndsTwoSecondsAfterThePlacementToTheMillisecond)
{
    StageServiceScene scene(false);
    scene.visible["com.a"] = {300, 200, 600, 400};
    scene.service->activate({"com.a"}, {}, first);
    scene.service->moveToQueue("com.a");
    scene.service->restoreFromQueue("com.a", first); // placed by the stage at 0 s
    scene.visible.erase("com.a");

    // Times a binary fraction can hold exactly; the timer's passes fall at 0.8 and 1.6 s.
    scene.scheduler.advance(1.9375);
    scene.service->reconcileVisibleWindows("probe");
    EXPECT_EQ(scene.logCount("queue move deferred (placement grace) — bundleID=com.a, reason=probe"), 1);
    EXPECT_FALSE(scene.app("com.a").isQueued());

    scene.scheduler.advance(0.0625);
    scene.service->reconcileVisibleWindows("probe");
    EXPECT_TRUE(scene.app("com.a").isQueued()) << "at 2.0 s the grace is over";
    EXPECT_EQ(scene.logCount("window disappeared — bundleID=com.a"), 1);
}

// The user moved the window on purpose: a drag after the stage's placement
// ends its enforcement, a drag before it does not.
TEST(StageVeskReconciliationTest, OnlyAUserDragNewerThanTheEnforcementCancelsIt)
{
    StageServiceScene scene;
    scene.visible["com.a"] = {2000, 300, 800, 600};
    scene.service->activate({"com.a"}, {}, second);
    scene.runFor(1.0);
    scene.spaces["com.a"] = AllowedWindowSpaceState::onOtherSpace; // kept on the stage while it is gone

    scene.service->syncUserDrag("com.a", std::nullopt, std::nullopt, {2000, 300, 800, 600});
    scene.scheduler.advance(0.2);
    scene.service->handleSeamDragHandoff("com.a", {700, 500}); // onto the first display
    scene.visible.erase("com.a");
    scene.runFor(0.5);
    ASSERT_TRUE(scene.service->placementEnforcements().contains("com.a")) << "the drag came before the placement";

    scene.service->syncUserDrag("com.a", std::nullopt, std::nullopt, {700, 300, 620, 460});
    scene.runFor(0.3);
    EXPECT_FALSE(scene.service->placementEnforcements().contains("com.a"));
    EXPECT_EQ(scene.logCount("placement enforcement cancelled by newer user drag — bundleID=com.a"), 1);
    scene.runFor(5.0);
    EXPECT_EQ(scene.logCount("placement enforcement gave up"), 0);
}

TEST(StageVeskReconciliationTest, AFreeWindowMovedByItsAppIsFollowed)
{
    StageServiceScene scene;
    scene.visible["com.a"] = {300, 200, 600, 400};
    scene.service->activate({"com.a"}, {}, first);
    scene.runFor(1.0); // the seed's prewarm is over
    scene.logs.clear();

    // Within its screen: recorded without a word.
    scene.visible["com.a"] = {350, 220, 640, 420};
    scene.runFor(0.8);
    EXPECT_EQ(scene.app("com.a").position->rect(), (Rect{350, 220, 640, 420}));
    EXPECT_TRUE(scene.stageLog().filter("reconciled").isEmpty());

    // Onto the other display: the screen follows and the pass says so.
    scene.visible["com.a"] = {2000, 300, 640, 420};
    scene.runFor(0.8);
    EXPECT_EQ(scene.app("com.a").screenID, second);
    EXPECT_EQ(scene.app("com.a").position->rect(), (Rect{2000, 300, 640, 420}));
    EXPECT_EQ(scene.logCount("reconciled screen change — bundleID=com.a, from=1, to=2"), 1);
    EXPECT_EQ(scene.logCount("reconciled visible windows — reason=timer, changed=[\"com.a\"], queue=[]"), 1);
}

TEST(StageVeskReconciliationTest, AWindowInNativeFullScreenIsOnlyAskedToLeaveItInThatPass)
{
    StageServiceScene scene(false);
    scene.service->activate({"com.a"}, {}, first); // waits for its window
    scene.visible["com.a"] = {300, 200, 600, 400};
    scene.windowManager->fullScreen.insert("com.a");

    scene.runFor(0.1);
    EXPECT_EQ(scene.logCount("exiting native fullscreen — bundleID=com.a, ok=true"), 1);
    EXPECT_TRUE(scene.service->pendingStagePlacements().contains("com.a")) << "the placement waits a pass";
    scene.runFor(0.1);
    EXPECT_EQ(scene.logCount("pending stage placement firing — bundleID=com.a"), 1);
    EXPECT_EQ(scene.windowManager->callsStartingWith("exitFullScreen"), QStringList{"exitFullScreen com.a"});
}
