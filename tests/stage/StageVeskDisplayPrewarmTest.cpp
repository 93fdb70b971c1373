#include "StageServiceScene.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vesk;
using namespace vesk::test;

namespace {

constexpr StageVeskScreenID first = StageServiceScene::first;

} // namespace

TEST(StageVeskDisplayPrewarmTest, EachNewWindowVisitsTheOtherDisplayOnce)
{
    StageServiceScene scene;
    scene.visible["com.a"] = {300, 200, 600, 400};
    scene.visible["com.b"] = {350, 250, 600, 400};
    scene.service->activate({"com.a", "com.b"}, {}, first);
    EXPECT_TRUE(scene.service->isPrewarming());
    scene.runFor(0.6);
    EXPECT_EQ(scene.logCount("prewarm display registration — bundleID=com.a, sourceScreen=1, targetScreen=2, "
                             "originalRect={{300, 200}, {600, 400}}, targetRect={{2180, 340}, {600, 400}}"),
              1);
    EXPECT_TRUE(scene.service->isPrewarming()) << "one window at a time";
    scene.runFor(0.5);
    EXPECT_EQ(scene.logCount("prewarm display registration — bundleID=com.b"), 1);
    EXPECT_FALSE(scene.service->isPrewarming());

    scene.service->moveToQueue("com.a");
    scene.service->restoreFromQueue("com.a", first);
    scene.runFor(1.0);
    EXPECT_EQ(scene.logCount("prewarm display registration"), 2) << "a window is prewarmed once";

    StageServiceScene single(false);
    single.visible["com.a"] = {300, 200, 600, 400};
    single.service->activate({"com.a"}, {}, first);
    single.runFor(1.0);
    EXPECT_EQ(single.logCount("prewarm"), 0);
    EXPECT_TRUE(single.windowManager->callsStartingWith("setPosition").isEmpty());
}

// Activation and a free placement sync the windows right after they send one
// out; it stays on the other display for the whole dwell all the same.
TEST(StageVeskDisplayPrewarmTest, AWindowDwellsHalfASecondOnTheOtherDisplayOnEveryPath)
{
    const struct {
        const char* name;
        std::function<void(StageServiceScene&)> sendOut;
    } paths[] = {
        {"activation",
         [](StageServiceScene& scene) {
             scene.visible["com.a"] = {300, 200, 600, 400};
             scene.service->activate({"com.a"}, {}, first);
         }},
        {"free placement",
         [](StageServiceScene& scene) {
             scene.service->activate({}, {}, first);
             scene.service->updateAllowlist({"com.a"}, {});
             scene.visible["com.a"] = {300, 200, 600, 400};
             scene.service->requestStagePlacement("com.a", first);
         }},
    };
    for (const auto& path : paths) {
        StageServiceScene scene;
        path.sendOut(scene);
        const auto screenOfWindow = [&] {
            return StageVeskScreenID::forRect(scene.screens, scene.visible.at("com.a"));
        };
        EXPECT_EQ(screenOfWindow(), StageServiceScene::second) << path.name;
        scene.runFor(0.45);
        EXPECT_EQ(screenOfWindow(), StageServiceScene::second) << path.name;
        scene.runFor(0.1);
        EXPECT_EQ(scene.logCount("prewarm display registration — bundleID=com.a"), 1) << path.name;
        EXPECT_EQ(screenOfWindow(), first) << path.name;
        EXPECT_EQ(scene.visible.at("com.a"), scene.app("com.a").position->rect()) << path.name;
    }
}

// The stage may place a window while it, or one waiting for its turn, is out
// on the other display: it comes back to that place, not to where it was seen.
TEST(StageVeskDisplayPrewarmTest, AWindowComesBackToWhereTheStagePutItMeanwhile)
{
    const struct {
        const char* name;
        std::function<void(StageServiceScene&)> meanwhile;
    } cases[] = {
        {"zoom", [](StageServiceScene& scene) { scene.service->toggleZoom("com.a"); }},
        {"quad layout", [](StageServiceScene& scene) { scene.service->setPhase(StageVeskPhase::quad, first); }},
    };
    for (const auto& c : cases) {
        StageServiceScene scene;
        scene.visible["com.a"] = {300, 200, 600, 400};
        scene.visible["com.b"] = {350, 250, 600, 400};
        scene.service->activate({"com.a", "com.b"}, {}, first);
        c.meanwhile(scene);
        scene.runFor(2.0);
        ASSERT_FALSE(scene.service->isPrewarming()) << c.name;
        const std::map<QString, Rect> settled = scene.visible;
        // A sync now sets each window to where the stage has it.
        scene.service->updateAllowlist({"com.a", "com.b"}, {});
        for (const QString id : {"com.a", "com.b"}) {
            const QStringList frames = scene.windowManager->callsStartingWith("setFrame " + id + " ");
            ASSERT_FALSE(frames.isEmpty()) << c.name;
            EXPECT_EQ(("setFrame " + id + " " + toString(settled.at(id))).toStdString(), frames.last().toStdString())
                << c.name << ": " << id.toStdString() << " is where the stage last put it";
        }
    }
}
