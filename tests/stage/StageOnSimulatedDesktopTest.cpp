#include "stage/StageVeskService.h"

#include "DesktopSpecs.h"
#include "LogCapture.h"
#include "platform/simulated/DesktopTestScene.h"

#include "enforcement/SystemAXWindowManager.h"
#include "enforcement/SystemWorkspace.h"
#include "overlay/WindowSnapshotReader.h"
#include "platform/simulated/DesktopAccessibility.h"

using namespace vesk;
using namespace vesk::platform;

namespace {

const QString editor = QStringLiteral("com.example.editor");
const QString browser = QStringLiteral("com.example.browser");

// The stage as the composition builds it, over the simulated desktop: the
// real window manager and the default providers. The editor's window is at
// (100, 100, 600, 400) top-left on the 1440 × 900 primary display, the
// browser's at (300, 200, 800, 500); the second display is to the right.
class StageOnSimulatedDesktopTest : public vesk::platform::testing::DesktopTestScene {
protected:
    void SetUp() override
    {
        DesktopTestScene::SetUp();
        reader.emplace(desktop->interfaces().windowList, test::bundleIdentifierLookup(*desktop));
        const ScreenProviding& screens = desktop->interfaces().screens;
        const auto onScreenWindows = [this] { return reader->copyOnScreenWindowSnapshots(); };
        auto workspace = std::make_shared<SystemWorkspace>(desktop->interfaces().workspace);
        AllowedWindowSpaceClassification::Sources sources{
            .runningApplication = [workspace](const QString& id) -> std::shared_ptr<RunningApplicationControlling> {
                for (const auto& app : workspace->runningApplications()) {
                    if (app->bundleIdentifier() == id && !app->isTerminated())
                        return app;
                }
                return nullptr;
            },
            .onScreenWindowSnapshots = onScreenWindows,
            .allWindowSnapshots = [this] { return reader->copyAllWindowSnapshots(); },
            .minimizedWindowCounts = [](const QString&) { return AXWindowManaging::WindowCounts{}; },
            .displayGeometry = [&screens] { return DisplayGeometry::current(screens); },
        };
        stage = std::make_unique<StageVeskService>(
            std::make_shared<SystemAXWindowManager>(desktop->interfaces().workspace,
                                                    desktop->interfaces().accessibility, screens),
            StageVeskService::defaultVisibleWindowRectsProvider(screens, onScreenWindows),
            StageVeskService::defaultWindowSpaceClassificationProvider(sources),
            StageVeskServiceEnvironment{scheduler, scheduler, screens, [] { return true; }, onScreenWindows});
    }

    QRectF boundsOf(const QString& bundleID) const { return desktop->windowsOf(pidOf(bundleID)).front()->bounds; }
    void runFor(double seconds)
    {
        for (double passed = 0; passed < seconds - 1e-9; passed += 0.05)
            scheduler.advance(0.05);
    }

    std::optional<WindowSnapshotReader> reader;
    std::unique_ptr<StageVeskService> stage;
    test::LogCapture logs;
};

} // namespace

TEST_F(StageOnSimulatedDesktopTest, SeedsInBottomLeftCoordinatesAndLaysOutSlotsOnTheDesktop)
{
    stage->activate({editor, browser}, {}, StageVeskScreenID{1});
    EXPECT_EQ(stage->state().apps.at(editor).position->rect(), (Rect{100, 400, 600, 400}));
    EXPECT_EQ(stage->state().apps.at(browser).position->rect(), (Rect{300, 200, 800, 500}));
    runFor(1.5); // both windows visited the second display and came back
    EXPECT_EQ(boundsOf(editor), QRectF(100, 100, 600, 400));
    EXPECT_EQ(logs.count("prewarm display registration"), 2);

    stage->setPhase(StageVeskPhase::split, StageVeskScreenID{1});
    // Stage area (190, 80, 1220, 740): two 604 pt columns; top-left y = 900 − 820. The browser
    // comes first in text order, so it was seeded first and is the lower window: slot 0.
    EXPECT_EQ(boundsOf(browser), QRectF(190, 80, 604, 740));
    EXPECT_EQ(boundsOf(editor), QRectF(806, 80, 604, 740));
    runFor(1.0);
    EXPECT_EQ(boundsOf(editor), QRectF(806, 80, 604, 740)) << "reconciliation leaves slot windows in place";
}

TEST_F(StageOnSimulatedDesktopTest, AWindowThatCannotBeMovedGetsFourRetriesThenTheStageGivesUp)
{
    stage->activate({editor}, {}, StageVeskScreenID{1});
    runFor(1.0);
    desktop->accessibility().refuseSetting(AXElement{AXElement::Kind::window, pidOf(editor), firstWindowOf(editor)},
                                           AXName::position, AXError::cannotComplete);

    stage->handleSeamDragHandoff(editor, {2400, 500}); // released over the second display
    runFor(6.0);

    EXPECT_EQ(logs.count("placement enforcement retry — bundleID=com.example.editor, targetScreen=2, actualScreen=1"),
              4);
    EXPECT_EQ(logs.count("placement enforcement gave up (attempts) — bundleID=com.example.editor"), 1);
    EXPECT_EQ(boundsOf(editor).topLeft(), QPointF(100, 100));
    EXPECT_EQ(stage->state().apps.at(editor).screenID, StageVeskScreenID{1}) << "the model follows the window back";
}
