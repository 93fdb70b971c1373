#include "SessionManagerFixture.h"

#include <QFile>

using namespace vesk;
using namespace vesk::test;

namespace {

const QString browserID = QStringLiteral("com.example.browser");

} // namespace

using SessionManagerInSessionTest = SessionManagerFixture;

TEST_F(SessionManagerInSessionTest, WindowsBackWithinTheConfirmationDelayEndTheFailOpenPath)
{
    startActive();
    scheduler.advance(1);
    const qsizetype mark = trace.calls.size();
    logs.clear();

    detector->visible.clear();
    overlay->onAllowedWindowsMissing();
    EXPECT_TRUE(logs.contains("No allowed windows detected — confirming empty-session state in 0.25s"));
    detector->visible = {editorID};
    scheduler.advance(0.25);

    EXPECT_TRUE(logs.contains("Fail-open confirmation cancelled — allowed windows visible again"));
    EXPECT_FALSE(logs.contains("Scheduled allowed-app recovery"));
    EXPECT_TRUE(trace.since(mark).isEmpty());
    EXPECT_TRUE(manager->isSessionActive());
}

TEST_F(SessionManagerInSessionTest, MissingWindowsNeverEndTheSession)
{
    startActive();
    scheduler.advance(1);
    detector->visible.clear();

    // Allowed applications still run: treated as minimised, a recovery follows.
    overlay->onAllowedWindowsMissing();
    scheduler.advance(0.25);
    EXPECT_TRUE(
        logs.contains("No allowed windows confirmed, but allowed apps are still running — treating as minimized "
                      "and keeping session active, running=[\"com.example.editor\", \"com.example.notes\"]"));
    EXPECT_TRUE(logs.contains("Scheduled allowed-app recovery — reason=allowedWindowsMissingConfirmed, delay=0.15s, "
                              "dragDeferrable=true"));

    // Every allowed application quits.
    for (const auto& app : workspace->apps)
        app->terminated = true;
    overlay->onAllowedWindowsTemporarilyMissing();
    EXPECT_TRUE(
        logs.contains("Allowed windows temporarily missing and no allowed apps are running — keeping empty VESK "
                      "session active"));
    overlay->onAllowedWindowsMissing();
    scheduler.advance(0.25);
    EXPECT_TRUE(logs.contains("No allowed windows confirmed and no allowed apps are running — keeping empty VESK "
                              "session active"));
    scheduler.advance(30);
    EXPECT_TRUE(manager->isSessionActive());
    EXPECT_FALSE(store->stopped);
}

TEST_F(SessionManagerInSessionTest, TitleBarActionsSuppressTheHoleOnlyForCloseAndMinimize)
{
    startActive();
    const qsizetype mark = trace.calls.size();
    const Point click{120, 880};

    mouseBlocker->controlClickHandler(editorID, MouseBlockerControlAction::close, click);
    mouseBlocker->controlClickHandler(editorID, MouseBlockerControlAction::minimize, click);
    mouseBlocker->controlClickHandler(editorID, MouseBlockerControlAction::zoom, click);
    mouseBlocker->controlClickHandler("com.example.other", MouseBlockerControlAction::close, click);
    // The clicks reach the manager through the main queue.
    EXPECT_TRUE(trace.since(mark).isEmpty());
    scheduler.runPending();

    EXPECT_EQ(trace.since(mark), QStringList({
                                     "overlay.suppressPassthrough(com.example.editor)",
                                     "stage.closeApp(com.example.editor)",
                                     "overlay.suppressPassthrough(com.example.editor)",
                                     "stage.moveToQueue(com.example.editor)",
                                     "stage.toggleZoom(com.example.editor)",
                                 }));
    EXPECT_TRUE(logs.contains("Ignoring window-control click for non-allowed app — bundleID=com.example.other"));
}

TEST_F(SessionManagerInSessionTest, HolesReachTheMouseBlockerOnlyWhileTheSessionIsCurrent)
{
    startActive();
    const auto forward = overlay->passthroughRectsChangedHandler;
    const auto motion = overlay->allowedWindowMotionHandler;
    forward({Rect{0, 0, 10, 10}});
    EXPECT_EQ(mouseBlocker->passthroughRects, (std::vector<Rect>{{0, 0, 10, 10}}));

    const QUuid lifecycle = *manager->activeLifecycleID();
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    EXPECT_FALSE(overlay->passthroughRectsChangedHandler);
    forward({Rect{5, 5, 1, 1}});
    EXPECT_EQ(mouseBlocker->passthroughRects, (std::vector<Rect>{{0, 0, 10, 10}}));

    OverlayWindowMotionEvent event;
    event.bundleID = editorID;
    const qsizetype mark = trace.calls.size();
    motion({event});
    scheduler.runPending();
    EXPECT_TRUE(trace.since(mark).isEmpty());
    EXPECT_TRUE(logs.contains("Ignoring stale allowed-window motion callback for lifecycle=" + uuidText(lifecycle)));
}

TEST_F(SessionManagerInSessionTest, MotionAndSeamHandoffsOfAllowedWindowsGoToTheStage)
{
    startActive();
    OverlayWindowMotionEvent allowed;
    allowed.bundleID = editorID;
    allowed.pointerCocoaPoint = Point{10, 10};
    OverlayWindowMotionEvent other;
    other.bundleID = "com.example.other";
    const qsizetype mark = trace.calls.size();
    overlay->allowedWindowMotionHandler({allowed, other});
    overlay->seamDragHandoffHandler(notesID, Point{1440, 300});
    overlay->seamDragHandoffHandler("com.example.other", Point{1440, 300});
    scheduler.runPending();
    EXPECT_EQ(trace.since(mark), QStringList({"stage.syncUserDrag(com.example.editor)",
                                              "stage.handleSeamDragHandoff(com.example.notes)"}));
}

TEST_F(SessionManagerInSessionTest, SpaceChangeAndClicksDuringTheSession)
{
    start();
    // The Space monitor is live during the window wait already.
    spaceMonitor->onSpaceChange(SpaceChangeContext{QStringLiteral("com.example.other"), 2});
    scheduler.runPending();
    EXPECT_TRUE(trace.calls.contains("overlay.prepareBacking(spaceChangedUnexpectedly)"));
    EXPECT_TRUE(logs.contains("Unexpected active Space change during VESK session — frontmost=com.example.other, "
                              "sinceActivation=2"));

    detector->visible = {editorID};
    scheduler.advance(0.25);
    mouseBlocker->clickObserver(Point{3, 4});
    EXPECT_EQ(appMonitor->lastUserClickAt, scheduler.now());
    EXPECT_TRUE(trace.calls.contains("ui.handleGlobalClick"));
}

TEST_F(SessionManagerInSessionTest, OnlyTheLastOfTwoQuickRecoveryRequestsRuns)
{
    startActive();
    scheduler.advance(1);
    const qsizetype mark = trace.calls.size();
    appMonitor->disallowedAppHiddenHandler("com.example.game");
    scheduler.advance(0.1);
    spaceMonitor->onSpaceChange(SpaceChangeContext{});
    scheduler.advance(1);
    const QStringList enforced = trace.since(mark).filter("enforceAllowlist");
    EXPECT_EQ(enforced, QStringList({"appMonitor.enforceAllowlist(allowedAppRecovery:spaceChangedUnexpectedly)"}));
}

TEST_F(SessionManagerInSessionTest, RecoveryWaitsForADragToSettle)
{
    startActive();
    scheduler.advance(1);
    detector->visible.clear();
    const struct {
        double motionAge;
        QString delay;
    } cases[] = {{0.2, "0.60"}, {0.7, "0.15"}, {0.8, ""}};
    for (const auto& c : cases) {
        logs.clear();
        overlay->dragState.lastMotionAt = scheduler.now().addMSecs(-qint64(c.motionAge * 1000));
        overlay->dragState.cooldown = 0.75;
        overlay->dragState.bundleIDs = {editorID};
        overlay->allowedWindowsOccludedHandler({editorID});
        if (c.delay.isEmpty()) {
            EXPECT_FALSE(logs.contains("Allowed-app recovery deferred")) << c.motionAge;
        } else {
            EXPECT_TRUE(logs.contains(
                "Allowed-app recovery deferred during allowed-window drag — reason=allowedWindowsOccluded, "
                "bundleIDs=[\"com.example.editor\"], mouseInteraction=false, lastMotionAge="))
                << c.motionAge;
            EXPECT_TRUE(logs.contains("delay=" + c.delay + "s")) << c.motionAge;
        }
    }
}

TEST_F(SessionManagerInSessionTest, OnlyRecoveriesForCoveredOrMissingWindowsWaitForADrag)
{
    startActive();
    scheduler.advance(1);
    detector->visible.clear();
    // A drag that is still settling whenever a request comes.
    overlay->dragState.cooldown = 5.0;
    overlay->dragState.bundleIDs = {editorID};
    const struct {
        QString reason;
        std::function<void()> request;
        bool waits;
    } cases[] = {
        {"allowedWindowsOccluded", [&] { overlay->allowedWindowsOccludedHandler({editorID}); }, true},
        {"allowedWindowsTemporarilyMissing", [&] { overlay->onAllowedWindowsTemporarilyMissing(); }, true},
        {"allowedWindowsMissingConfirmed",
         [&] {
             overlay->onAllowedWindowsMissing();
             scheduler.advance(0.25);
         },
         true},
        {"spaceChangedUnexpectedly",
         [&] {
             spaceMonitor->onSpaceChange(SpaceChangeContext{});
             scheduler.runPending();
         },
         false},
        {"disallowedAppHidden:com.example.game", [&] { appMonitor->disallowedAppHiddenHandler("com.example.game"); },
         false},
        {"quickAccessPanelClosed",
         [&] { manager->scheduleAllowedAppsRecovery("quickAccessPanelClosed", std::nullopt, false); }, false},
    };
    for (const auto& c : cases) {
        logs.clear();
        overlay->dragState.lastMotionAt = scheduler.now();
        c.request();
        EXPECT_EQ(logs.contains("Allowed-app recovery deferred during allowed-window drag — reason=" + c.reason + ","),
                  c.waits)
            << c.reason.toStdString();
        EXPECT_EQ(logs.contains("Scheduled allowed-app recovery — reason=" + c.reason
                                + ", delay=0.15s, dragDeferrable=false"),
                  !c.waits)
            << c.reason.toStdString();
    }
}

TEST_F(SessionManagerInSessionTest, RecoveryBringsTheFinderForwardWithoutAllItsWindows)
{
    workspace->install("com.apple.finder", "Finder");
    const auto finder = workspace->run("com.apple.finder");
    const auto notes = workspace->apps.front();
    detector->visible = {notesID};
    manager->startSession(60, {notesID, "com.apple.finder"}, {}, std::nullopt, false, 0);
    scheduler.advance(1);
    onScreenWindows = {window(notesID), window("com.apple.finder", Rect{50, 50, 600, 400})};
    finder->activations.clear();
    notes->activations.clear();

    spaceMonitor->onSpaceChange(SpaceChangeContext{});
    scheduler.advance(1);
    EXPECT_EQ(finder->activations, std::vector<ApplicationActivationOptions>{{false}});
    EXPECT_EQ(notes->activations, std::vector<ApplicationActivationOptions>{{true}});
}

TEST_F(SessionManagerInSessionTest, OcclusionOfWindowsThatAreVisibleAgainIsDiscarded)
{
    startActive();
    scheduler.advance(1);
    detector->visible = {editorID, notesID};
    overlay->allowedWindowsOccludedHandler({editorID});
    EXPECT_TRUE(logs.contains("Deferred allowed-app recovery discarded because allowed windows are visible again — "
                              "reason=allowedWindowsOccluded, recovered=[\"com.example.editor\"], "
                              "visible=[\"com.example.editor\", \"com.example.notes\"]"));
    EXPECT_FALSE(logs.contains("Scheduled allowed-app recovery — reason=allowedWindowsOccluded"));
}

TEST_F(SessionManagerInSessionTest, GeneralRecoveryLeavesMinimizedAndOtherSpaceAppsAlone)
{
    startActive();
    scheduler.advance(1);
    allWindows = {window(editorID), window(notesID)};
    windowManager->counts[editorID] = {1, 1};
    const qsizetype mark = trace.calls.size();
    logs.clear();

    spaceMonitor->onSpaceChange(SpaceChangeContext{});
    scheduler.advance(1);

    EXPECT_TRUE(logs.contains("Recovery skipped blind activation for minimized app — bundleID=com.example.editor"));
    EXPECT_TRUE(logs.contains("Recovery skipped blind activation for other-Space app — bundleID=com.example.notes"));
    EXPECT_TRUE(logs.contains("activatedAllowedApps=0, skippedSpaceBlocked=2"));
    EXPECT_TRUE(trace.since(mark).filter("windowManager").isEmpty());
    EXPECT_TRUE(trace.since(mark).filter("app.activate").isEmpty());

    // Visible and hidden applications are brought forward.
    onScreenWindows = {window(editorID)};
    workspace->apps.front()->hidden = true; // notes
    spaceMonitor->onSpaceChange(SpaceChangeContext{});
    scheduler.advance(1);
    EXPECT_TRUE(trace.calls.contains("app.unhide(com.example.notes)"));
    EXPECT_TRUE(trace.calls.contains("app.activate(com.example.editor)"));
    EXPECT_TRUE(logs.contains("activatedAllowedApps=2, skippedSpaceBlocked=0"));
}

TEST_F(SessionManagerInSessionTest, ClassificationAndVisibilityOfTheAllowedApps)
{
    startActive();
    workspace->install("com.example.gone", "Gone");
    manager->addApp("com.example.gone", std::nullopt, std::nullopt);
    workspace->apps.back()->terminated = true;

    detector->visible = {editorID};
    detector->covered = {};
    allWindows = {window(notesID)};
    onScreenWindows = {window(editorID)};
    // A window too small or translucent does not count.
    onScreenWindows.push_back(window(notesID, Rect{0, 0, 20, 400}));
    EXPECT_EQ(manager->classifyAllowedWindowSpaceState(notesID).state, AllowedWindowSpaceState::onOtherSpace);
    windowManager->counts[notesID] = {2, 2};
    EXPECT_EQ(manager->classifyAllowedWindowSpaceState(notesID).state, AllowedWindowSpaceState::minimized);
    EXPECT_EQ(manager->classifyAllowedWindowSpaceState(notesID).description(),
              "spaceState=minimized, onScreenWindows=0, allWindows=1, minimized=2, axTotal=2");
    EXPECT_EQ(manager->classifyAllowedWindowSpaceState("com.example.gone").state, AllowedWindowSpaceState::notRunning);

    EXPECT_EQ(manager->allowedAppVisibilitySnapshots(), (std::vector<AllowedAppVisibilitySnapshot>{
                                                            {editorID, AllowedAppVisibility::visible},
                                                            {"com.example.gone", AllowedAppVisibility::notRunning},
                                                            {notesID, AllowedAppVisibility::minimized},
                                                        }));
}

TEST_F(SessionManagerInSessionTest, FinderDesktopWindowsDoNotCount)
{
    workspace->install("com.apple.finder", "Finder");
    workspace->run("com.apple.finder");
    detector->visible = {notesID};
    manager->startSession(60, {notesID, "com.apple.finder"}, {}, std::nullopt, false, 0);
    onScreenWindows = {window("com.apple.finder", Rect{0, 0, 1440, 900})};
    EXPECT_EQ(manager->classifyAllowedWindowSpaceState("com.apple.finder").state, AllowedWindowSpaceState::noWindows);
    onScreenWindows.push_back(window("com.apple.finder", Rect{50, 50, 600, 400}));
    EXPECT_EQ(manager->classifyAllowedWindowSpaceState("com.apple.finder").onScreenWindows, 1);
}

TEST_F(SessionManagerInSessionTest, CallbacksOfAnEndedSessionOnlyLogTheirStaleMessage)
{
    startActive();
    const QUuid oldLifecycle = *manager->activeLifecycleID();
    // What the services still hold from the first session.
    const auto occluded = overlay->allowedWindowsOccludedHandler;
    const auto temporarilyMissing = overlay->onAllowedWindowsTemporarilyMissing;
    const auto missing = overlay->onAllowedWindowsMissing;
    const auto motion = overlay->allowedWindowMotionHandler;
    const auto seamHandoff = overlay->seamDragHandoffHandler;
    const auto controlClick = mouseBlocker->controlClickHandler;
    const auto disallowedHidden = appMonitor->disallowedAppHiddenHandler;
    const auto launchDecision = appMonitor->appLaunchNeedingDecisionHandler;
    const auto fullyClosed = stage->onAppFullyClosed;
    const auto spaceChange = spaceMonitor->onSpaceChange;
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    // A new session runs when the old callbacks arrive.
    startActive();
    scheduler.advance(1);
    const qsizetype mark = trace.calls.size();
    OverlayWindowMotionEvent event;
    event.bundleID = editorID;

    const struct {
        std::function<void()> call;
        QString message;
    } cases[] = {
        {[&] { occluded({editorID}); }, "Ignoring stale occlusion callback for lifecycle="},
        {[&] { temporarilyMissing(); }, "Ignoring stale temporary-missing callback for lifecycle="},
        {[&] { missing(); }, "Ignoring stale missing-window callback for lifecycle="},
        {[&] { motion({event}); }, "Ignoring stale allowed-window motion callback for lifecycle="},
        {[&] {
             seamHandoff(editorID, Point{1, 1});
         },
         "Ignoring stale seam-drag handoff callback for lifecycle="},
        {[&] {
             controlClick(editorID, MouseBlockerControlAction::close, Point{1, 1});
         },
         "Ignoring stale window-control click callback for lifecycle="},
        {[&] { disallowedHidden("com.example.game"); }, "Ignoring stale disallowed-app callback for lifecycle="},
        {[&] { launchDecision("com.example.game"); }, "Ignoring stale app-launch-decision callback for lifecycle="},
        {[&] { fullyClosed(editorID); }, "Ignoring stale app-fully-closed callback for lifecycle="},
        {[&] { spaceChange(SpaceChangeContext{}); }, "Ignoring stale space-change callback for lifecycle="},
    };
    for (const auto& c : cases) {
        logs.clear();
        c.call();
        scheduler.advance(1);
        const QString expected = c.message + uuidText(oldLifecycle);
        EXPECT_EQ(logs.count(expected), 1) << expected.toStdString();
        for (const auto& entry : logs.entries()) {
            if (entry.message == expected) {
                EXPECT_EQ(entry.type, QtDebugMsg) << expected.toStdString();
            }
        }
        EXPECT_FALSE(logs.contains("Scheduled allowed-app recovery")) << expected.toStdString();
    }
    EXPECT_TRUE(trace.since(mark).isEmpty()) << trace.since(mark).join("; ").toStdString();
    EXPECT_FALSE(manager->pendingAppLaunchPrompt());
    EXPECT_TRUE(manager->isSessionActive());
}
