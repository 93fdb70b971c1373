#include "StageServiceScene.h"

#include <gtest/gtest.h>

using namespace vesk;
using namespace vesk::test;

namespace {

constexpr StageVeskScreenID first = StageServiceScene::first;

} // namespace

TEST(StageVeskWindowSyncTest, OnlyActivationLogsEveryWindowOperation)
{
    StageServiceScene scene(false);
    scene.visible["com.a"] = {300, 200, 600, 400};
    scene.service->activate({"com.a", "com.b"}, {}, first);
    scene.service->updateAllowlist({"com.a", "com.b", "com.c"}, {}); // com.c joins without a window or placement

    EXPECT_EQ(scene.logCount("sync setFrame — reason=activate, bundleID=com.a, screenID=1, rect={{300, 200}, {600, "
                             "400}}, ok=true"),
              1);
    EXPECT_EQ(scene.logCount("sync raise — reason=activate, bundleID=com.a, ok=true"), 1);
    EXPECT_EQ(scene.logCount("sync hide skipped (pending stage placement) — reason=activate, bundleID=com.b"), 1);
    EXPECT_EQ(scene.logCount("sync hide skipped (pending stage placement) — reason=allowlistUpdate, bundleID=com.b"), 1)
        << "a skipped hide is logged for every reason";
    EXPECT_EQ(scene.windowManager->callsStartingWith("hide"), QStringList{"hide com.c"});
    EXPECT_EQ(scene.logCount("sync hide —"), 0);
    EXPECT_EQ(scene.logCount("reason=allowlistUpdate, bundleID=com.a"), 0);
    EXPECT_EQ(scene.logCount("synced windows — reason=allowlistUpdate, visible=[\"com.a\"], hidden=[\"com.b\", "
                             "\"com.c\"]"),
              1);
}

TEST(StageVeskWindowSyncTest, AFrameSetRightAfterAUserDragIsReported)
{
    StageServiceScene scene(false);
    scene.visible["com.a"] = {300, 200, 600, 400};
    scene.service->activate({"com.a"}, {}, first);

    scene.service->syncUserDrag("com.a", std::nullopt, std::nullopt, {320, 210, 600, 400});
    scene.runFor(0.3);
    scene.service->setPhase(StageVeskPhase::quad, first);
    EXPECT_EQ(scene.logCount("setFrame during recent drag — reason=phaseChanged, bundleID=com.a, msSinceDrag=300"), 1);

    scene.runFor(0.35);
    scene.service->setPhase(StageVeskPhase::split, first);
    EXPECT_EQ(scene.logCount("setFrame during recent drag"), 1) << "650 ms after the drag";
}
