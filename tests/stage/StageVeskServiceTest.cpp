#include "StageServiceScene.h"

#include "stage/StageVeskFrames.h"

#include <gtest/gtest.h>

using namespace vesk;
using namespace vesk::test;

namespace {

constexpr StageVeskScreenID first = StageServiceScene::first;
constexpr StageVeskScreenID second = StageServiceScene::second;
const Rect firstArea{190, 80, 1220, 740};

void runFor(StageServiceScene& scene, double seconds)
{
    scene.runFor(seconds);
}

// Four overlapping windows on the first display, seeded a…d (a lowest).
QStringList activateFourWindows(StageServiceScene& scene)
{
    const QStringList ids{"com.a", "com.b", "com.c", "com.d"};
    for (int i = 0; i < 4; ++i)
        scene.visible[ids[i]] = {250.0 + 20 * i, 150.0 + 20 * i, 500, 400};
    scene.service->activate({ids.begin(), ids.end()}, {}, first);
    runFor(scene, 2.5); // every window's display prewarm is over
    return ids;
}

// Two windows on the first display, each with its free place.
void activateTwoWindows(StageServiceScene& scene)
{
    scene.visible["com.a"] = {300, 200, 600, 400};
    scene.visible["com.b"] = {500, 300, 600, 400};
    scene.service->activate({"com.a", "com.b"}, {}, first);
    runFor(scene, 1.0);
}

} // namespace

TEST(StageVeskServiceTest, ActivationSeedsVisibleWindowsAndPlacesLateOnes)
{
    StageServiceScene scene;
    scene.visible["com.a"] = {300, 200, 1300, 900}; // larger than the stage area: capped at 95 %
    scene.service->activate({"com.c", "com.a", "com.b"}, {{"com.a", "Alpha"}}, first);

    EXPECT_TRUE(scene.service->isActive());
    EXPECT_EQ(scene.service->state().appOrder, (QStringList{"com.a", "com.b", "com.c"}));
    const auto& seeded = scene.app("com.a");
    ASSERT_TRUE(seeded.position);
    EXPECT_EQ(seeded.position->rect(), clampFrameToVisible({300, 200, 1159, 703}, firstArea));
    EXPECT_EQ(seeded.displayName, "Alpha");
    EXPECT_EQ(scene.service->state().activeBundleID, "com.a");
    EXPECT_EQ(scene.service->pendingStagePlacements().size(), 2u);
    EXPECT_TRUE(scene.service->isPlacementBurstRunning());
    EXPECT_TRUE(scene.service->isReconciliationRunning());
    EXPECT_EQ(scene.logCount("activated — apps=[\"com.a\", \"com.b\", \"com.c\"], phase=freestyle, initialScreenID=1, "
                             "initialScreenSource=explicit, mainScreenID=1, trusted=true, "
                             "pendingStartPlacements=[\"com.b\", \"com.c\"]"),
              1);
    EXPECT_EQ(scene.logCount("sync hide skipped (pending stage placement)"), 2) << "late windows are not hidden";
    EXPECT_TRUE(scene.service->isPrewarming()) << "two displays: the seeded window visits the other one";

    // The two late windows show up, one of them on the wrong display.
    scene.visible["com.b"] = {2000, 300, 800, 600};
    scene.visible["com.c"] = {400, 300, 700, 500};
    runFor(scene, 3.0);

    EXPECT_EQ(scene.logCount("pending stage placement firing"), 2);
    EXPECT_EQ(scene.logCount("placement enforcement succeeded"), 2);
    EXPECT_TRUE(scene.service->pendingStagePlacements().empty());
    EXPECT_TRUE(scene.service->placementEnforcements().empty());
    for (const QString id : {"com.b", "com.c"}) {
        const auto& placed = scene.app(id);
        ASSERT_TRUE(placed.position) << id.toStdString();
        // 72 % of the area, bounded to 620 × 460, centred, 28 pt below the middle.
        EXPECT_EQ(placed.position->rect(), (Rect{490, 422, 620, 460})) << id.toStdString();
        EXPECT_EQ(placed.screenID, first);
        EXPECT_EQ(scene.visible.at(id), (Rect{490, 422, 620, 460})) << id.toStdString();
    }
    EXPECT_EQ(scene.logCount("prewarm display registration — bundleID=com.a"), 1);
    EXPECT_FALSE(scene.service->isPrewarming());
    EXPECT_FALSE(scene.service->isPlacementBurstRunning()) << "nothing outstanding ends the burst";
}

// Case-insensitively by display name, the identifier standing in for a missing
// one; equal names keep the identifiers' order.
TEST(StageVeskServiceTest, ActivationOrdersTheAppsByDisplayName)
{
    StageServiceScene scene;
    scene.service->activate({"com.a", "com.b", "com.c", "com.d"},
                            {{"com.a", "Zeitplan"}, {"com.b", "atlas"}, {"com.c", "Atlas"}}, first);
    EXPECT_EQ(scene.service->state().appOrder, (QStringList{"com.b", "com.c", "com.d", "com.a"}));
    EXPECT_EQ(scene.service->state().activeBundleID, "com.b");
    EXPECT_EQ(scene.logCount("activated — apps=[\"com.b\", \"com.c\", \"com.d\", \"com.a\"]"), 1);
}

TEST(StageVeskServiceTest, EmptyAllowlistKeepsTheTimerWithoutBurst)
{
    StageServiceScene scene(false);
    scene.trusted = false;
    scene.service->activate({}, {}, std::nullopt);
    EXPECT_FALSE(scene.service->state().activeBundleID);
    EXPECT_FALSE(scene.service->isPlacementBurstRunning());
    EXPECT_TRUE(scene.service->isReconciliationRunning());
    EXPECT_EQ(*scene.service->accessibilityWarning(),
              "Bedienungshilfen-Berechtigung fehlt: Fenster können nicht automatisch angeordnet werden.");
    EXPECT_EQ(scene.logCount("apps=[], phase=freestyle, initialScreenID=1, initialScreenSource=derived, "
                             "mainScreenID=1, trusted=false, pendingStartPlacements=[]"),
              1);

    scene.service->deactivate();
    EXPECT_FALSE(scene.service->isActive());
    EXPECT_FALSE(scene.service->isReconciliationRunning());
    EXPECT_FALSE(scene.service->accessibilityWarning());
    EXPECT_EQ(scene.service->anchorScreenID(), StageVeskScreenID{});
}

TEST(StageVeskServiceTest, QuadLayoutPutsFourWindowsInTheirSlots)
{
    StageServiceScene scene;
    const QStringList ids = activateFourWindows(scene);

    scene.service->setPhase(StageVeskPhase::quad, first);
    EXPECT_EQ(scene.logCount("phase changed — screenID=1, from=freestyle, to=quad"), 1);
    // The seed stamped a…d in order, so a is the lowest window and takes slot 0.
    for (int slot = 0; slot < 4; ++slot) {
        const QString& id = ids[slot];
        EXPECT_EQ(scene.app(id).slot, slot) << id.toStdString();
        EXPECT_EQ(scene.visible.at(id), slotFrame(StageVeskPhase::quad, slot, firstArea)) << id.toStdString();
    }
    EXPECT_EQ(scene.service->state().activeBundleID, "com.a");

    // A reconciliation leaves slot windows alone.
    const auto before = scene.service->state();
    runFor(scene, 1.0);
    EXPECT_EQ(scene.service->state(), before);
}

TEST(StageVeskServiceTest, WindowThatSnapsBackIsRetriedFourTimesThenGivenUp)
{
    StageServiceScene scene;
    scene.visible["com.a"] = {2000, 300, 800, 600};
    scene.service->activate({"com.a"}, {}, first);
    runFor(scene, 1.0); // the seed's prewarm is over
    scene.windowManager->snapsBack.insert("com.a");

    scene.service->requestStagePlacement("com.a", first);
    runFor(scene, 5.5);

    EXPECT_EQ(scene.logCount("pending stage placement firing — bundleID=com.a, targetScreen=1, windowScreen=2"), 1);
    EXPECT_EQ(scene.logCount("placement enforcement retry — bundleID=com.a"), 4);
    EXPECT_EQ(scene.logCount("remainingAttempts=0"), 1);
    EXPECT_EQ(scene.logCount(
                  "placement enforcement gave up (attempts) — bundleID=com.a, targetScreen=1, actualScreen=2"),
              1);
    EXPECT_EQ(scene.logCount("gave up (deadline)"), 0);
    EXPECT_TRUE(scene.service->placementEnforcements().empty());
    // The model then follows the window where it stays.
    EXPECT_EQ(scene.app("com.a").screenID, second);
}

TEST(StageVeskServiceTest, EnforcementOfAnAbsentWindowEndsOnTheDeadline)
{
    StageServiceScene scene;
    scene.visible["com.a"] = {2000, 300, 800, 600};
    scene.service->activate({"com.a"}, {}, second);
    runFor(scene, 1.0);
    scene.visible["com.a"] = {2000, 300, 800, 600};
    scene.service->handleSeamDragHandoff("com.a", {700, 500}); // onto the first display
    scene.visible.erase("com.a");
    scene.spaces["com.a"] = AllowedWindowSpaceState::onOtherSpace;
    runFor(scene, 5.5);
    EXPECT_EQ(scene.logCount("placement enforcement gave up (deadline) — bundleID=com.a, targetScreen=1"), 1);
    EXPECT_GT(scene.logCount("queue move skipped — window exists on another Space, bundleID=com.a"), 0);
    EXPECT_EQ(scene.logCount("window disappeared"), 0);
    EXPECT_TRUE(scene.app("com.a").position) << "a window on another Space stays on the stage";
}

TEST(StageVeskServiceTest, CloseIsVerifiedAndReported)
{
    StageServiceScene scene;
    scene.visible["com.a"] = {300, 200, 600, 400};
    scene.visible["com.b"] = {400, 250, 600, 400};
    scene.service->activate({"com.a", "com.b"}, {}, first);
    runFor(scene, 1.0);

    scene.service->closeApp("com.a", {500, 300}, false);
    EXPECT_EQ(scene.windowManager->callsStartingWith("closeWindow"), QStringList{"closeWindow com.a {500, 300}"});
    EXPECT_EQ(scene.logCount("close verification pending — bundleID=com.a, didRequestClose=true, point={500, 300}"), 1);
    runFor(scene, 0.2);
    EXPECT_EQ(scene.fullyClosed, QStringList{"com.a"});
    EXPECT_FALSE(scene.app("com.a").isOpen);
    EXPECT_EQ(scene.logCount("close verified — no windows remain, bundleID=com.a"), 1);
    EXPECT_EQ(scene.service->state().activeBundleID, "com.b");

    // A window that stays is kept open after 4 s.
    scene.windowManager->closes = false;
    scene.service->closeApp("com.b", {600, 300}, false);
    runFor(scene, 4.5);
    EXPECT_EQ(scene.logCount("close left windows open — keeping app open, bundleID=com.b, remaining=visible"), 1);
    EXPECT_TRUE(scene.app("com.b").isOpen);
    EXPECT_EQ(scene.fullyClosed, QStringList{"com.a"});

    // The closed application's window comes back: it is reopened into the queue and hidden.
    scene.visible["com.a"] = {300, 200, 600, 400};
    runFor(scene, 1.0);
    EXPECT_EQ(scene.logCount("reopened app — window reappeared after close, bundleID=com.a"), 1);
    EXPECT_TRUE(scene.app("com.a").isQueued());
    EXPECT_FALSE(scene.visible.contains("com.a"));
}

TEST(StageVeskServiceTest, MinimiseQueuesAndRestoreReturnsToTheSavedFrame)
{
    StageServiceScene scene;
    activateTwoWindows(scene);
    const StageVeskWindowPosition saved = *scene.app("com.a").position;

    scene.service->moveToQueue("com.a");
    EXPECT_TRUE(scene.app("com.a").isQueued());
    EXPECT_EQ(scene.app("com.a").savedPosition, saved);
    EXPECT_FALSE(scene.visible.contains("com.a")) << "hidden, not minimised";
    EXPECT_TRUE(scene.windowManager->callsStartingWith("setMinimized").isEmpty());
    EXPECT_EQ(scene.logCount("moved app to Vesk queue — bundleID=com.a, queue=[\"com.a\"]"), 1);
    runFor(scene, 1.0);
    EXPECT_TRUE(scene.app("com.a").isQueued()) << "a hidden queued app stays queued";

    scene.service->setPhase(StageVeskPhase::split, first);
    scene.service->restoreFromQueue("com.a", second);
    EXPECT_EQ(scene.service->state().phase(first), StageVeskPhase::freestyle) << "a restore frees the screen";
    EXPECT_EQ(scene.app("com.a").position->rect(), saved.rect());
    EXPECT_GT(scene.app("com.a").position->z, saved.z);
    EXPECT_EQ(scene.service->state().activeBundleID, "com.a");
    EXPECT_EQ(scene.visible.at("com.a"), saved.rect());
    EXPECT_EQ(scene.logCount("restored app from queue with saved frame — bundleID=com.a, screenID=1"), 1);

    // Without a saved frame: centred on the fallback screen.
    scene.service->moveToQueue("com.b");
    scene.service->updateAllowlist({"com.a"}, {});
    scene.service->updateAllowlist({"com.a", "com.b"}, {});
    EXPECT_EQ(scene.app("com.b").screenID, first) << "a fresh entry on the anchor screen";
    scene.service->restoreFromQueue("com.b", second);
    EXPECT_EQ(scene.logCount("restore from queue without saved frame — bundleID=com.b, fallbackScreenID=2"), 1);
    EXPECT_EQ(scene.app("com.b").screenID, second);
}

// What the session core asks when the user taps an app outside the apps bar:
// a queued app comes back as from its tile, a placed one stays where it is.
TEST(StageVeskServiceTest, RestoreIfQueuedBringsBackOnlyAQueuedApp)
{
    StageServiceScene scene;
    activateTwoWindows(scene);
    const StageVeskWindowPosition placedB = *scene.app("com.b").position;
    const StageVeskWindowPosition saved = *scene.app("com.a").position;
    scene.service->moveToQueue("com.a");
    ASSERT_FALSE(scene.visible.contains("com.a"));

    scene.service->restoreIfQueued("com.b", second);
    EXPECT_EQ(*scene.app("com.b").position, placedB);
    EXPECT_EQ(scene.app("com.b").screenID, first);

    scene.service->restoreIfQueued("com.a", second);
    EXPECT_TRUE(scene.app("com.a").isStaged());
    EXPECT_EQ(scene.app("com.a").position->rect(), saved.rect());
    EXPECT_EQ(scene.visible.at("com.a"), saved.rect());
    runFor(scene, 1.0);
    EXPECT_TRUE(scene.visible.contains("com.a")) << "the stage's own pass keeps it shown";
}

TEST(StageVeskServiceTest, ZoomAndUnzoom)
{
    StageServiceScene scene(false);
    scene.visible["com.a"] = {300, 200, 600, 400};
    scene.service->activate({"com.a"}, {}, first);
    const Rect original = scene.app("com.a").position->rect();

    scene.service->toggleZoom("com.a");
    const Rect zoomed{220.5, 98.5, 1159, 703};
    EXPECT_EQ(scene.app("com.a").position->rect(), zoomed);
    EXPECT_EQ(scene.visible.at("com.a"), zoomed);
    EXPECT_EQ(scene.service->zoomRestorePositions().at("com.a").rect(), original);

    scene.service->toggleZoom("com.a");
    EXPECT_EQ(scene.app("com.a").position->rect(), original);
    EXPECT_EQ(scene.visible.at("com.a"), original);
    EXPECT_TRUE(scene.service->zoomRestorePositions().empty());
    EXPECT_EQ(scene.logCount("restored app from Vesk zoom — bundleID=com.a, hadRestorePosition=true"), 1);

    // 97 pt off the zoom frame in any one value counts as not zoomed; 96 still does.
    const struct {
        const char* value;
        Rect dragged;
        bool restores;
    } cases[] = {
        {"x", {zoomed.x + 96, zoomed.y, zoomed.width, zoomed.height}, true},
        {"x", {zoomed.x + 97, zoomed.y, zoomed.width, zoomed.height}, false},
        {"y", {zoomed.x, zoomed.y - 96, zoomed.width, zoomed.height}, true},
        {"y", {zoomed.x, zoomed.y - 97, zoomed.width, zoomed.height}, false},
        {"width", {zoomed.x, zoomed.y, zoomed.width - 96, zoomed.height}, true},
        {"width", {zoomed.x, zoomed.y, zoomed.width - 97, zoomed.height}, false},
        {"height", {zoomed.x, zoomed.y, zoomed.width, zoomed.height - 96}, true},
        {"height", {zoomed.x, zoomed.y, zoomed.width, zoomed.height - 97}, false},
    };
    for (const auto& c : cases) {
        scene.service->syncUserDrag("com.a", std::nullopt, std::nullopt, c.dragged);
        scene.logs.clear();
        scene.service->toggleZoom("com.a");
        EXPECT_EQ(scene.logCount("restored app from Vesk zoom"), c.restores ? 1 : 0)
            << c.value << " " << toString(c.dragged).toStdString();
    }
    // Without a restore position the fallback frame: 620 × 460 centred on the area.
    EXPECT_EQ(scene.app("com.a").position->rect(), zoomed);
    scene.service->syncUserDrag("com.a", std::nullopt, std::nullopt, zoomed);
    scene.logs.clear();
    scene.service->toggleZoom("com.a");
    EXPECT_EQ(scene.logCount("hadRestorePosition=false"), 1);
    EXPECT_EQ(scene.app("com.a").position->rect(), (Rect{490, 422, 620, 460}));
}

TEST(StageVeskServiceTest, DragFlipsQuadToFreestyle)
{
    StageServiceScene scene;
    const QStringList ids = activateFourWindows(scene);
    scene.service->setPhase(StageVeskPhase::quad, first);

    const Rect dragged{400, 300, 494, 324};
    scene.service->syncUserDrag("com.c", Point{600, 500}, first, dragged);
    EXPECT_EQ(scene.service->state().phase(first), StageVeskPhase::freestyle);
    EXPECT_EQ(scene.app("com.c").position->rect(), dragged);
    EXPECT_EQ(scene.service->state().activeBundleID, "com.c");
    for (const QString id : {"com.a", "com.b", "com.d"})
        EXPECT_EQ(scene.app(id).position->rect(), scene.visible.at(id)) << "the others keep their cells";
    EXPECT_EQ(scene.logCount("synced user drag — bundleID=com.c, phase=quad->freestyle, didFlipPhase=true, "
                             "screen=1->1, rectMajorityScreen=1, pointerScreen=1, pointer={600, 500}, seamTouch=false"),
              1);

    scene.service->syncUserDrag("com.c", std::nullopt, std::nullopt, {1.5, 300, 494, 324});
    EXPECT_EQ(scene.logCount("phase=freestyle->freestyle, didFlipPhase=false, screen=1->1, rectMajorityScreen=1, "
                             "pointerScreen=n/a, pointer=nil, seamTouch=true"),
              1);
}

TEST(StageVeskServiceTest, SeamHandoffMovesTheWindowToTheOtherDisplay)
{
    StageServiceScene scene;
    scene.visible["com.a"] = {300, 200, 620, 460};
    scene.service->activate({"com.a"}, {}, first);
    runFor(scene, 1.0);
    scene.service->toggleZoom("com.a");
    scene.service->toggleZoom("com.a");
    scene.service->toggleZoom("com.a");
    ASSERT_FALSE(scene.service->zoomRestorePositions().empty());

    // The drag left the window half across the seam; the pointer is on display 2.
    scene.visible["com.a"] = {1300, 200, 620, 460};
    scene.service->handleSeamDragHandoff("com.a", {2000, 500});
    const Rect drop{1690, 80, 620, 460}; // (2000 − 310, 500 + 12 − 460) moved up into the area
    EXPECT_EQ(scene.app("com.a").screenID, second);
    EXPECT_EQ(scene.app("com.a").position->rect(), drop);
    EXPECT_TRUE(scene.service->zoomRestorePositions().empty()) << "the handoff forgets the zoom";
    ASSERT_TRUE(scene.service->placementEnforcements().contains("com.a"));
    EXPECT_EQ(scene.service->placementEnforcements().at("com.a").remainingAttempts, 4);
    EXPECT_EQ(scene.visible.at("com.a"), drop);
    runFor(scene, 0.3);
    EXPECT_EQ(scene.logCount("placement enforcement succeeded — bundleID=com.a, screen=2"), 1);

    scene.service->handleSeamDragHandoff("com.a", {2000, 500});
    EXPECT_EQ(scene.logCount("seam-drag handoff skipped — pointer already on window screen, bundleID=com.a, screen=2"),
              1);
    scene.service->handleSeamDragHandoff("com.a", {-500, 500});
    EXPECT_EQ(scene.logCount("seam-drag handoff skipped — pointer on no known screen"), 1);
}

// The pointer that let go of the window holds its title bar: 12 pt below the
// dropped window's top edge, the window centred on it across.
TEST(StageVeskServiceTest, SeamHandoffDropsTheWindowWithThePointerInItsTitleBar)
{
    StageServiceScene scene;
    scene.visible["com.a"] = {2000, 300, 620, 460};
    scene.service->activate({"com.a"}, {}, second);
    runFor(scene, 1.0);

    scene.service->handleSeamDragHandoff("com.a", {1000, 600});
    // (1000 − 310, 600 + 12 − 460): its top edge at 612, wholly inside the first area.
    const Rect drop{690, 152, 620, 460};
    EXPECT_EQ(scene.app("com.a").screenID, first);
    EXPECT_EQ(scene.app("com.a").position->rect(), drop);
    EXPECT_EQ(scene.visible.at("com.a"), drop);
    EXPECT_EQ(scene.logCount("seam-drag handoff — bundleID=com.a, fromScreen=2, toScreen=1, pointer={1000, 600}, "
                             "targetBounds={{190, 80}, {1220, 740}}, dropRect={{690, 152}, {620, 460}}, "
                             "enforcement=true"),
              1);
}

TEST(StageVeskServiceTest, NothingHappensWhileInactive)
{
    StageServiceScene scene;
    scene.visible["com.a"] = {300, 200, 600, 400};
    scene.service->closeApp("com.a", {1, 1}, false);
    scene.service->moveToQueue("com.a");
    scene.service->toggleZoom("com.a");
    scene.service->requestStagePlacement("com.a", first);
    scene.service->setPhase(StageVeskPhase::quad, first);
    scene.service->handleSeamDragHandoff("com.a", {2000, 500});
    runFor(scene, 1.0);
    EXPECT_TRUE(scene.windowManager->calls.isEmpty());
    EXPECT_TRUE(scene.stageLog().isEmpty());
}

TEST(StageVeskServiceTest, ObserversHearOnlyRealChanges)
{
    StageServiceScene scene;
    int stateChanges = 0;
    int activeChanges = 0;
    QObject::connect(scene.service.get(), &StageVeskService::stateChanged, [&] { ++stateChanges; });
    QObject::connect(scene.service.get(), &StageVeskService::isActiveChanged, [&] { ++activeChanges; });
    scene.visible["com.a"] = {300, 200, 600, 400};
    scene.service->activate({"com.a"}, {}, first);
    runFor(scene, 1.0); // the seed's prewarm is over
    scene.service->activate({"com.a"}, {}, first);
    EXPECT_EQ(activeChanges, 1) << "a second activation finds the stage active";

    stateChanges = 0;
    runFor(scene, 2.0);
    EXPECT_EQ(stateChanges, 0) << "passes that find every window in place tell no view";
    scene.service->setPhase(StageVeskPhase::quad, first);
    scene.service->setPhase(StageVeskPhase::quad, first);
    EXPECT_EQ(stateChanges, 1);

    scene.service->deactivate();
    scene.service->deactivate();
    EXPECT_EQ(activeChanges, 2);
}

TEST(StageVeskServiceTest, AnAppLeavingTheAllowlistLeavesNothingPending)
{
    StageServiceScene scene;
    scene.visible["com.a"] = {300, 200, 600, 400};
    scene.visible["com.b"] = {400, 250, 600, 400};
    scene.service->activate({"com.a", "com.b", "com.c"}, {}, first); // com.c waits for its window
    runFor(scene, 1.0);
    scene.service->handleSeamDragHandoff("com.a", {2000, 500});
    scene.service->toggleZoom("com.a");
    scene.windowManager->closes = false;
    scene.service->closeApp("com.b", {600, 300}, false);
    ASSERT_EQ(scene.service->pendingStagePlacements().size(), 1u);
    ASSERT_EQ(scene.service->placementEnforcements().size(), 1u);
    ASSERT_EQ(scene.service->zoomRestorePositions().size(), 1u);
    ASSERT_EQ(scene.service->pendingCloseVerifications().size(), 1u);

    scene.service->updateAllowlist({}, {});
    EXPECT_TRUE(scene.service->pendingStagePlacements().empty());
    EXPECT_TRUE(scene.service->placementEnforcements().empty());
    EXPECT_TRUE(scene.service->zoomRestorePositions().empty());
    EXPECT_TRUE(scene.service->pendingCloseVerifications().empty());
    runFor(scene, 0.2);
    EXPECT_FALSE(scene.service->isPlacementBurstRunning()) << "nothing outstanding ends the burst";
}
