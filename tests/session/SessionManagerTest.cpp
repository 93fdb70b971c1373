#include "SessionManagerFixture.h"

#include <QSignalSpy>

using namespace vesk;
using namespace vesk::test;

namespace {

const QStringList firstHalf = {
    "transition.show",
    "log.sessionStart(60)",
    "analytics.track(session.started)",
    "store.closeActiveSessions(crash)",
    "store.createSessionRecord",
    "hotkey.activate",
    "thumbnail.activate",
    "spaceBlocker.activate(hardcore=false)",
    "spaceProbe.activate",
    "spaceMonitor.activate",
    "desktopIsolation.activate",
    "ui.hideMainWindow",
    "workspace.openApplication(Editor.app)",
    "workspace.openApplication(Notes.app)",
    "waiter.wait",
};

const QStringList secondHalf = {
    "waiter.completion",
    "overlay.activate",
    "overlay.prepareBacking(sessionStart)",
    "mouseBlocker.setControlClickHandler",
    "mouseBlocker.setClickObserver",
    "mouseBlocker.activate",
    "kiosk.activate",
    "appMonitor.setDisallowedAppHiddenHandler",
    "appMonitor.setAppLaunchNeedingDecisionHandler",
    "appMonitor.activate",
    "stage.setOnAppFullyClosed",
    "stage.activate",
    "ui.showStageVeskPanel",
    "ui.showHUD",
    "transition.dismiss(animated=false)",
    "timer.make(1)",
};

const QStringList firstRecovery = {
    "appMonitor.enforceAllowlist(allowedAppRecovery:sessionStart)",
    "overlay.prepareBacking(allowedAppRecovery:sessionStart)",
};

const QStringList teardown = {
    "analytics.track(session.ended)",
    "waiter.cancel",
    "mouseBlocker.clearControlClickHandler",
    "mouseBlocker.deactivate",
    "spaceProbe.deactivate",
    "spaceMonitor.deactivate",
    "spaceBlocker.deactivate",
    "thumbnail.deactivate",
    "timer.cancel",
    "ui.dismissQuickAccessPanel",
    "ui.dismissBugReportPanel",
    "ui.dismissStageVeskPanel",
    "ui.dismissHUD",
    "stage.clearOnAppFullyClosed",
    "stage.deactivate",
    "appMonitor.clearDisallowedAppHiddenHandler",
    "appMonitor.clearAppLaunchNeedingDecisionHandler",
    "appMonitor.deactivate",
    "ui.dismissAppLaunchPrompt",
    "overlay.deactivate",
    "kiosk.deactivate",
    "desktopIsolation.deactivate",
    "hotkey.deactivate",
    "transition.dismiss(animated=false)",
};

QStringList withStoreAndWindow(QStringList calls, const QString& reason)
{
    calls << "store.stopSessionRecord(" + reason + ")" << "ui.showMainWindow";
    return calls;
}

} // namespace

using SessionManagerTest = SessionManagerFixture;

TEST_F(SessionManagerTest, StartRunsBothHalvesInOrderAndTheCountdownEndsTheSession)
{
    start();

    EXPECT_EQ(trace.calls, firstHalf);
    EXPECT_TRUE(manager->isSessionActive());
    EXPECT_TRUE(manager->isStartingSession());
    EXPECT_TRUE(overlay->onAllowedWindowsMissing);
    EXPECT_TRUE(overlay->onAllowedWindowsTemporarilyMissing);
    EXPECT_TRUE(overlay->allowedWindowsOccludedHandler);
    EXPECT_FALSE(overlay->passthroughRectsChangedHandler);

    // The editor's window appears at the second poll.
    detector->visible = {editorID};
    qsizetype mark = trace.calls.size();
    scheduler.advance(0.25);
    EXPECT_EQ(trace.since(mark), secondHalf);
    EXPECT_FALSE(manager->isStartingSession());
    EXPECT_TRUE(logs.contains("Session started successfully"));
    EXPECT_EQ(stage->activatedWith, (std::set<QString>{editorID, notesID}));
    EXPECT_EQ(stage->displayNames.at(editorID), "Editor");

    mark = trace.calls.size();
    scheduler.advance(0.15);
    EXPECT_EQ(trace.since(mark), firstRecovery);

    mark = trace.calls.size();
    scheduler.advance(59.0);
    EXPECT_EQ(manager->remainingSeconds(), 1);
    EXPECT_TRUE(manager->isSessionActive());
    scheduler.advance(1.0);

    EXPECT_EQ(trace.since(mark), withStoreAndWindow(teardown, "timerExpired"));
    EXPECT_FALSE(manager->isSessionActive());
    EXPECT_FALSE(manager->activeLifecycleID());
    EXPECT_EQ(manager->remainingSeconds(), 0);
    ASSERT_TRUE(store->stopped);
    EXPECT_EQ(store->stopped->endReason, SessionEndReason::timerExpired);
    EXPECT_EQ(store->stopped->id, store->created->id);
    EXPECT_EQ(store->stopped->allowed, QStringList({editorID, notesID}));

    const auto& prompt = manager->pendingReflection();
    ASSERT_TRUE(prompt);
    EXPECT_EQ(prompt->id, store->created->id);
    EXPECT_EQ(prompt->startedAt, store->created->startedAt);
    EXPECT_EQ(prompt->startedAt.secsTo(prompt->endedAt), 60);
    EXPECT_EQ(prompt->durationSeconds, 60);
    EXPECT_EQ(prompt->endReason, SessionEndReason::timerExpired);
    EXPECT_EQ(prompt->goalText, QStringLiteral("Write the chapter"));
}

TEST_F(SessionManagerTest, StartProceedsAfterFiveSecondsWithoutAnyAllowedWindow)
{
    start();
    const qsizetype mark = trace.calls.size();

    scheduler.advance(4.75);
    EXPECT_TRUE(trace.since(mark).isEmpty());
    EXPECT_TRUE(manager->isStartingSession());

    scheduler.advance(0.25);
    EXPECT_EQ(trace.since(mark), secondHalf);
    EXPECT_TRUE(logs.contains("Timeout waiting for allowed app windows — proceeding anyway", "AllowedWindowWaiter"));
    EXPECT_TRUE(manager->isSessionActive());
    EXPECT_FALSE(manager->isStartingSession());
}

TEST_F(SessionManagerTest, StartRecordsTheSessionAndTracksWhatItLaunched)
{
    store->staleActiveCount = 2;
    start(1800, false, QStringLiteral("   "), 29);

    ASSERT_TRUE(store->created);
    EXPECT_EQ(store->created->id, *manager->activeFocusSessionID());
    EXPECT_NE(store->created->id, *manager->activeLifecycleID());
    EXPECT_EQ(store->created->durationSeconds, 1800);
    EXPECT_FALSE(store->created->goal);
    EXPECT_FALSE(manager->currentGoal());
    EXPECT_EQ(store->created->allowed, QStringList({editorID, notesID}));
    EXPECT_TRUE(logs.contains("Closed 2 stale active FocusSession records before starting a new session"));
    EXPECT_TRUE(logs.contains("Persisted session start — focusSessionID="));

    // Only the editor was started by the session; the notes application ran before.
    EXPECT_EQ(manager->initiallyRunningAllowedBundleIDs(), std::set<QString>{notesID});
    EXPECT_EQ(manager->veskStartedBundleIDs(), std::set<QString>{editorID});

    ASSERT_EQ(analytics->events.size(), 1u);
    const auto parameters = analytics->events.front().parameters();
    EXPECT_EQ(parameters.at("plannedDurationBucket"), "30-60m");
    EXPECT_EQ(parameters.at("allowedAppCount"), "2");
    EXPECT_EQ(parameters.at("hardcore"), "false");
    EXPECT_EQ(parameters.at("setupDurationBucket"), "10-30s");
    EXPECT_EQ(parameters.at("monitorCountBucket"), "1");
    EXPECT_EQ(parameters.at("stageMode"), "freestyle");
    EXPECT_EQ(parameters.at("hasGoal"), "false");
}

TEST_F(SessionManagerTest, StoreFailuresAreLoggedAndTheSessionGoesOn)
{
    store->failure = QStringLiteral("disk full");
    startActive();
    EXPECT_TRUE(logs.contains("Failed to persist session start: disk full"));
    EXPECT_FALSE(store->created);

    manager->stopSession("manualStop", SessionExitAppDisposition::leaveOpen);
    EXPECT_TRUE(logs.contains("Failed to persist session stop: disk full"));
    EXPECT_FALSE(manager->isSessionActive());
    // The identity and the start date are known, so the card still comes.
    EXPECT_TRUE(manager->pendingReflection());
}

TEST_F(SessionManagerTest, GoalIsTrimmedAndCutToEightyCharacters)
{
    detector->visible = {notesID};
    manager->startSession(0, {notesID}, {}, "  " + QString(100, 'g') + "\n", false, 0);
    ASSERT_TRUE(manager->currentGoal());
    EXPECT_EQ(*manager->currentGoal(), QString(80, 'g'));
}

TEST_F(SessionManagerTest, OpenEndedSessionHasNoCountdown)
{
    detector->visible = {notesID};
    start(0);
    EXPECT_FALSE(trace.calls.contains("timer.make(1)"));
    EXPECT_EQ(manager->remainingSeconds(), 0);
    EXPECT_TRUE(manager->isOpenEndedSession());
    EXPECT_EQ(analytics->events.front().parameters().at("plannedDurationBucket"), "<15m");

    scheduler.advance(3725);
    EXPECT_TRUE(manager->isSessionActive());
    EXPECT_EQ(manager->remainingTimeText(scheduler.now()), "01:02:05");

    manager->stopSession("manualStop", SessionExitAppDisposition::leaveOpen);
    ASSERT_TRUE(manager->pendingReflection());
    EXPECT_EQ(manager->pendingReflection()->durationSeconds, 0);
    EXPECT_FALSE(manager->isOpenEndedSession());
}

TEST_F(SessionManagerTest, StopDuringTheWindowWaitStartsNothingAndALateCompletionIsStale)
{
    start();
    const QUuid lifecycle = *manager->activeLifecycleID();
    manager->stopSession("manualStop", SessionExitAppDisposition::leaveOpen);

    EXPECT_FALSE(manager->isSessionActive());
    EXPECT_FALSE(manager->isStartingSession());
    EXPECT_TRUE(trace.calls.contains("transition.dismiss(animated=false)"));
    ASSERT_TRUE(store->stopped);
    EXPECT_EQ(store->stopped->endReason, SessionEndReason::manualStop);
    EXPECT_TRUE(manager->pendingReflection());

    // The waiter was cancelled: nothing of the second half ever runs.
    const qsizetype mark = trace.calls.size();
    detector->visible = {editorID};
    scheduler.advance(5.0);
    EXPECT_TRUE(trace.since(mark).isEmpty());

    // A completion that was already on its way finds the lifecycle gone.
    manager->completeSessionStart(lifecycle, 60);
    EXPECT_TRUE(logs.contains("Ignoring stale start completion for lifecycle=" + uuidText(lifecycle)));
    EXPECT_TRUE(trace.since(mark).isEmpty());
    EXPECT_FALSE(manager->isSessionActive());
}

TEST_F(SessionManagerTest, SecondStartDuringASessionIsRefused)
{
    start();
    const QUuid lifecycle = *manager->activeLifecycleID();
    const qsizetype mark = trace.calls.size();

    manager->startSession(900, {editorID}, {}, std::nullopt, true, 3);

    EXPECT_TRUE(logs.contains("startSession called during an active or transitioning session"));
    EXPECT_TRUE(trace.since(mark).isEmpty());
    EXPECT_EQ(*manager->activeLifecycleID(), lifecycle);
    EXPECT_EQ(manager->sessionDurationSeconds(), 60);
    EXPECT_FALSE(manager->isHardcoreSession());
}

TEST_F(SessionManagerTest, StopWithoutSessionAndNestedStopAreRefused)
{
    manager->stopSession("manualStop", SessionExitAppDisposition::leaveOpen);
    EXPECT_TRUE(logs.contains("stopSession called but no session is active"));
    EXPECT_TRUE(trace.calls.isEmpty());

    // An observer that asks for a stop while the first one is between its steps.
    startActive();
    int stopped = 0;
    QObject::connect(manager.get(), &SessionManager::pendingReflectionChanged, [&] {
        ++stopped;
        manager->stopSession("manualStop", SessionExitAppDisposition::leaveOpen);
    });
    manager->stopSession("timerExpired", SessionExitAppDisposition::leaveOpen);
    EXPECT_EQ(stopped, 1);
    EXPECT_TRUE(logs.contains("stopSession called while a stop is already in progress"));
    EXPECT_EQ(store->stopped->endReason, SessionEndReason::timerExpired);
}

TEST_F(SessionManagerTest, DestroyingTheManagerStopsTheSessionAndLeavesNoWorkBehind)
{
    start();
    const auto spaceChange = spaceMonitor->onSpaceChange;
    detector->visible = {editorID};
    scheduler.advance(0.25);
    const auto motion = overlay->allowedWindowMotionHandler;
    const auto clickObserver = mouseBlocker->clickObserver;
    manager.reset();

    // Handlers a service still holds reach nothing.
    spaceChange(SpaceChangeContext{});
    motion({OverlayWindowMotionEvent{}});
    clickObserver(Point{1, 1});

    ASSERT_TRUE(store->stopped);
    EXPECT_EQ(store->stopped->endReason, SessionEndReason::appTerminate);
    EXPECT_FALSE(trace.calls.contains("app.terminate(com.example.editor)"));
    // The countdown and the recovery were pending.
    const qsizetype mark = trace.calls.size();
    scheduler.advance(120);
    EXPECT_TRUE(trace.since(mark).isEmpty());
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

TEST_F(SessionManagerTest, DestroyingTheManagerWhileTheTerminationCheckIsPendingIsSafe)
{
    startActive();
    manager->stopSession("manualStop", SessionExitAppDisposition::terminateAllowedApps);
    EXPECT_GT(scheduler.pendingCount(), 0);
    manager.reset();
    scheduler.advance(5);
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

TEST_F(SessionManagerTest, ObservablePropertiesNotifyOnlyOnChange)
{
    QSignalSpy active(manager.get(), &SessionManager::isSessionActiveChanged);
    QSignalSpy remaining(manager.get(), &SessionManager::remainingSecondsChanged);
    QSignalSpy target(manager.get(), &SessionManager::quickAccessTargetScreenIDChanged);

    manager->setQuickAccessTargetScreenID(std::nullopt);
    EXPECT_EQ(target.count(), 0);
    manager->setQuickAccessTargetScreenID(StageVeskScreenID{2});
    manager->setQuickAccessTargetScreenID(StageVeskScreenID{2});
    EXPECT_EQ(target.count(), 1);

    startActive();
    EXPECT_EQ(active.count(), 1);
    EXPECT_EQ(remaining.count(), 1);
    scheduler.advance(3);
    EXPECT_EQ(remaining.count(), 4);
}

TEST_F(SessionManagerTest, DiagnosticsDescribeTheIdleManager)
{
    EXPECT_EQ(manager->sessionDiagnosticsDescription(),
              "active=false, starting=false, stopping=false, allowed=[], runningAllowed=[], veskStarted=[], "
              "initiallyRunning=[]");
    startActive();
    EXPECT_EQ(manager->sessionDiagnosticsDescription(),
              "active=true, starting=false, stopping=false, allowed=[\"com.example.editor\", \"com.example.notes\"], "
              "runningAllowed=[\"com.example.editor\", \"com.example.notes\"], veskStarted=[\"com.example.editor\"], "
              "initiallyRunning=[\"com.example.notes\"]");
}

TEST_F(SessionManagerTest, OrphanRecoveryReportsWhatTheStoreClosed)
{
    manager->recoverOrphanedSessions(scheduler.now());
    EXPECT_TRUE(logs.contains("No orphaned FocusSession records required launch recovery"));
    store->orphanCount = 3;
    manager->recoverOrphanedSessions(scheduler.now());
    EXPECT_TRUE(logs.contains("Recovered 3 orphaned FocusSession records on launch"));
    store->failure = QStringLiteral("locked");
    manager->recoverOrphanedSessions(scheduler.now());
    EXPECT_TRUE(logs.contains("Failed to recover orphaned FocusSession records: locked"));
}

TEST_F(SessionManagerTest, RetryOffsetsDropNegativesAndSort)
{
    SessionManager::Timing timing;
    timing.revealRetryOffsets = {3.0, -1.0, 0.25};
    SessionManager other(services(), scheduler, scheduler, timing);
    EXPECT_EQ(other.dynamicRevealRetryOffsets(), (std::vector<double>{0.25, 3.0}));
}

TEST_F(SessionManagerTest, DestroyingTheManagerDuringTheWindowWaitStartsNothing)
{
    start();
    manager.reset();
    EXPECT_EQ(store->stopped->endReason, SessionEndReason::appTerminate);
    const qsizetype mark = trace.calls.size();
    detector->visible = {editorID};
    scheduler.advance(10);
    EXPECT_TRUE(trace.since(mark).isEmpty());
    EXPECT_EQ(scheduler.pendingCount(), 0);
}
