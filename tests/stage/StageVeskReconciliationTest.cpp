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
