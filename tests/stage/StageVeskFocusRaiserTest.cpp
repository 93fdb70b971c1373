#include "StageServiceScene.h"

#include <gtest/gtest.h>

using namespace vesk;
using namespace vesk::test;

namespace {

constexpr StageVeskScreenID first = StageServiceScene::first;

// One display (no prewarm), one free window, calls recorded from here on.
void activateOneWindow(StageServiceScene& scene)
{
    scene.visible["com.a"] = {300, 200, 600, 400};
    scene.service->activate({"com.a"}, {}, first);
    scene.windowManager->calls.clear();
}

} // namespace

TEST(StageVeskFocusRaiserTest, ARaiseIsRepeatedTwiceWhileTheAppStaysActive)
{
    StageServiceScene scene(false);
    activateOneWindow(scene);

    scene.service->toggleZoom("com.a");
    EXPECT_EQ(scene.windowManager->callsStartingWith("raise").size(), 2) << "after the frame, and the raise itself";
    scene.runFor(0.2);
    EXPECT_EQ(scene.logCount("repeated focus raise — bundleID=com.a, reason=zoom, delay=0.12"), 1);
    EXPECT_EQ(scene.windowManager->callsStartingWith("raise").size(), 3);
    scene.runFor(0.2);
    EXPECT_EQ(scene.logCount("repeated focus raise — bundleID=com.a, reason=zoom, delay=0.35"), 1);
    EXPECT_EQ(scene.windowManager->callsStartingWith("raise").size(), 4);
}

TEST(StageVeskFocusRaiserTest, NoRepeatOnceTheAppLeftTheStage)
{
    StageServiceScene scene(false);
    activateOneWindow(scene);

    scene.service->toggleZoom("com.a");
    scene.service->moveToQueue("com.a");
    scene.runFor(0.5);
    EXPECT_EQ(scene.windowManager->callsStartingWith("raise").size(), 2);
    EXPECT_EQ(scene.logCount("repeated focus raise"), 0);

    // A new raise replaces the pending repeats of the earlier one.
    scene.service->restoreFromQueue("com.a", first);
    scene.service->toggleZoom("com.a");
    scene.runFor(0.5);
    EXPECT_EQ(scene.logCount("repeated focus raise — bundleID=com.a, reason=restoreFromQueue"), 0);
    EXPECT_EQ(scene.logCount("repeated focus raise — bundleID=com.a, reason=zoom"), 2);
}

TEST(StageVeskFocusRaiserTest, AWindowOnAnotherSpaceIsNotRaised)
{
    StageServiceScene scene(false);
    activateOneWindow(scene);
    scene.spaces["com.a"] = AllowedWindowSpaceState::onOtherSpace;

    scene.service->toggleZoom("com.a");
    EXPECT_EQ(scene.logCount("raise skipped for non-raisable app — bundleID=com.a, reason=zoom, "), 1);
    scene.runFor(0.5);
    EXPECT_EQ(scene.windowManager->callsStartingWith("raise").size(), 1) << "only the one after the frame";
    EXPECT_EQ(scene.logCount("repeated"), 0);

    // The window leaves the active Space between the raise and its repeat.
    scene.spaces.erase("com.a");
    scene.service->toggleZoom("com.a");
    scene.spaces["com.a"] = AllowedWindowSpaceState::onOtherSpace;
    scene.runFor(0.5);
    EXPECT_EQ(scene.logCount("repeated raise skipped for non-raisable app — bundleID=com.a, reason=zoomRestore, "
                             "delay=0.12"),
              1);
    EXPECT_EQ(scene.logCount("delay=0.35"), 0) << "the first refusal cancels the second repeat";
}
