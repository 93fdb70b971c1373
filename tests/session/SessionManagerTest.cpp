#include "SessionManagerFixture.h"

#include "core/MainThread.h"

#include <QSignalSpy>

#include <thread>

using namespace vesk;
using namespace vesk::test;

namespace {

QString levelName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return QStringLiteral("debug");
    case QtInfoMsg:
        return QStringLiteral("info");
    case QtWarningMsg:
        return QStringLiteral("warning");
    default:
        return QStringLiteral("error");
    }
}

// One list of everything a start or a stop does, in order: the service calls,
// the manager's and the waiter's log lines with their level, and the
// notifications of the observable properties.
class SessionTimelineTest : public SessionManagerFixture {
protected:
    void SetUp() override
    {
        SessionManagerFixture::SetUp();
        recording() = this;
        previousHandler_ = qInstallMessageHandler(&SessionTimelineTest::recordLog);
        SessionManager* m = manager.get();
        const auto notify = [this, m](auto signal, const QString& name, auto value) {
            QObject::connect(m, signal, m, [this, name, value] { trace.record("notify " + name + "=" + value()); });
        };
        notify(&SessionManager::isSessionActiveChanged, "isSessionActive",
               [m] { return boolText(m->isSessionActive()); });
        notify(&SessionManager::isStartingSessionChanged, "isStartingSession",
               [m] { return boolText(m->isStartingSession()); });
        notify(&SessionManager::isHardcoreSessionChanged, "isHardcoreSession",
               [m] { return boolText(m->isHardcoreSession()); });
        notify(&SessionManager::remainingSecondsChanged, "remainingSeconds",
               [m] { return QString::number(m->remainingSeconds()); });
        notify(&SessionManager::currentGoalChanged, "currentGoal",
               [m] { return m->currentGoal().value_or(QStringLiteral("none")); });
        notify(&SessionManager::pendingReflectionChanged, "pendingReflection",
               [m] { return m->pendingReflection() ? QStringLiteral("set") : QStringLiteral("none"); });
        notify(&SessionManager::screenshotFeedbackChanged, "screenshotFeedback",
               [m] { return m->screenshotFeedback() ? QStringLiteral("set") : QStringLiteral("none"); });
        notify(&SessionManager::sessionStatusFeedbackChanged, "sessionStatusFeedback",
               [m] { return m->sessionStatusFeedback() ? QStringLiteral("set") : QStringLiteral("none"); });
        notify(&SessionManager::pendingAppLaunchPromptChanged, "pendingAppLaunchPrompt",
               [m] { return m->pendingAppLaunchPrompt() ? QStringLiteral("set") : QStringLiteral("none"); });
    }

    void TearDown() override
    {
        SessionManagerFixture::TearDown();
        qInstallMessageHandler(previousHandler_);
        recording() = nullptr;
    }

    // Puts the line into the trace, then hands it on to the log capture.
    static void recordLog(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (SessionTimelineTest* test = recording(); test && isMainThread()) {
            const auto component = VeskLogger::componentOfCategory(QString::fromUtf8(context.category));
            if (component == QStringLiteral("SessionManager"))
                test->trace.record(levelName(type) + ": " + message);
            else if (component == QStringLiteral("AllowedWindowWaiter"))
                test->trace.record("waiter " + levelName(type) + ": " + message);
        }
        if (QtMessageHandler previous = recording() ? recording()->previousHandler_ : nullptr)
            previous(type, context, message);
    }
    static SessionTimelineTest*& recording()
    {
        static SessionTimelineTest* test = nullptr;
        return test;
    }

    QtMessageHandler previousHandler_ = nullptr;

    // Starts and remembers the session's two identifiers, which the timeline
    // shows as <lifecycle> and <record>.
    void startSession(int durationSeconds = 60, bool hardcore = false)
    {
        start(durationSeconds, hardcore);
        lifecycle = uuidText(*manager->activeLifecycleID());
        record = uuidText(*manager->activeFocusSessionID());
    }

    // One entry per line, so that a failure shows the lines that differ.
    std::string timeline(qsizetype mark = 0) const
    {
        QStringList entries = trace.since(mark);
        for (QString& entry : entries)
            entry.replace(lifecycle, "<lifecycle>").replace(record, "<record>");
        return lines(entries);
    }

    static std::string lines(const QStringList& entries) { return entries.join('\n').toStdString() + '\n'; }

    QString lifecycle;
    QString record;
};

const QString allowedText = R"(["com.example.editor", "com.example.notes"])";

const QStringList firstHalf = {
    "transition.show",
    "log.sessionStart(60)",
    "notify remainingSeconds=60",
    "notify currentGoal=Write the chapter",
    "notify isSessionActive=true",
    "notify isStartingSession=true",
    "info: Session anchor screen captured — screenID=1, source=fallback",
    "info: Starting session — lifecycle=<lifecycle>, duration=60s, apps=" + allowedText
        + ", hasGoal=true, hardcore=false",
    "analytics.track(session.started)",
    "info: Post-session app restoration offer disabled — disallowed apps are hidden during VESK, not relaunched "
    "afterward",
    R"(info: Captured initially running allowed apps — bundleIDs=["com.example.notes"])",
    "store.closeActiveSessions(crash)",
    "store.createSessionRecord",
    "info: Persisted session start — focusSessionID=<record>, hasGoal=true",
    "hotkey.activate",
    "thumbnail.activate",
    "spaceBlocker.activate(hardcore=false)",
    "spaceProbe.activate",
    "spaceMonitor.activate",
    "desktopIsolation.activate",
    "ui.hideMainWindow",
    "workspace.openApplication(Editor.app)",
    "info: Launched allowed app: com.example.editor, source=initialAllowlist, trackAsVeskStarted=true",
    "info: Tracked VESK-started app — bundleID=com.example.editor, source=initialAllowlist",
    "workspace.openApplication(Notes.app)",
    "info: Launched allowed app: com.example.notes, source=initialAllowlist, trackAsVeskStarted=false",
    "waiter.wait",
};

QStringList secondHalf(const QString& waiterLine)
{
    return {
        waiterLine,
        "waiter.completion",
        "info: Session start display context — lifecycle=<lifecycle>, main=[1]Display 1{frame={{0, 0}, {1440, 900}},"
        "visible={{0, 0}, {1440, 900}},scale=1.0}, pointer={-5000, -5000}, pointerScreen=none, frontmost=none, "
        "screens=[[1]Display 1{frame={{0, 0}, {1440, 900}},visible={{0, 0}, {1440, 900}},scale=1.0}], "
        "allowed=[com.example.editor{running=true,hidden=false,pid=501}; "
        "com.example.notes{running=true,hidden=false,pid=500}]",
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
        "debug: Session timer started — 60s remaining",
        "notify isStartingSession=false",
        "debug: Scheduled allowed-app recovery — reason=sessionStart, delay=0.15s, dragDeferrable=false",
        "info: Session started successfully",
    };
}

struct Teardown {
    explicit Teardown(QString stopReason) : reason(std::move(stopReason)) { }
    QString reason;
    QString disposition = QStringLiteral("leaveOpen");
    bool countdownRuns = true;
    bool recoveryPending = false;
    // Seconds were left on the countdown, or it never ran.
    bool remainingLeft = false;
    // What quitting the allowed applications adds before the store write.
    QStringList quitting;
};

QStringList teardown(const Teardown& t)
{
    QStringList steps = {
        "info: Stopping session — lifecycle=<lifecycle>, reason=" + t.reason + ", appDisposition=" + t.disposition
            + ", allowed=" + allowedText
            + R"(, veskStarted=["com.example.editor"], initiallyRunning=["com.example.notes"])",
        "analytics.track(session.ended)",
        "waiter.cancel",
    };
    if (t.recoveryPending)
        steps << "debug: Cancelled pending allowed-app recovery";
    steps << QStringList{
        "mouseBlocker.clearControlClickHandler",
        "mouseBlocker.deactivate",
        "spaceProbe.deactivate",
        "spaceMonitor.deactivate",
        "spaceBlocker.deactivate",
        "thumbnail.deactivate",
    };
    if (t.countdownRuns)
        steps << "timer.cancel";
    steps << QStringList{
        "debug: Session timer stopped",
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
    steps << t.quitting;
    steps << QStringList{
        "store.stopSessionRecord(" + t.reason + ")",
        "info: Persisted session stop — focusSessionID=<record>, reason=" + t.reason,
        "notify pendingReflection=set",
        "info: Prepared post-session reflection prompt — focusSessionID=<record>, hasGoal=true",
        "notify isSessionActive=false",
    };
    if (t.remainingLeft)
        steps << "notify remainingSeconds=0";
    steps << QStringList{
        "notify currentGoal=none",
        "ui.showMainWindow",
        "info: Session stopped successfully — post-session app restoration offer disabled",
    };
    return steps;
}

} // namespace

using SessionManagerTest = SessionManagerFixture;

TEST_F(SessionTimelineTest, StartRunsBothHalvesInOrderAndTheCountdownEndsTheSession)
{
    startSession();

    EXPECT_EQ(timeline(), lines(firstHalf));
    EXPECT_TRUE(manager->isStartingSession());
    // The overlay is not active yet, but its three missing/occluded callbacks are in place.
    EXPECT_EQ(overlay->installedHandlers(),
              QStringList(
                  {"onAllowedWindowsMissing", "onAllowedWindowsTemporarilyMissing", "allowedWindowsOccludedHandler"}));

    // The editor's window appears at the second poll.
    detector->visible = {editorID};
    qsizetype mark = trace.calls.size();
    scheduler.advance(0.25);
    EXPECT_EQ(timeline(mark),
              lines(secondHalf("waiter info: Allowed app window detected — proceeding with overlay activation")));
    EXPECT_EQ(overlay->handlersAtActivate, QStringList({"onAllowedWindowsMissing", "onAllowedWindowsTemporarilyMissing",
                                                        "allowedWindowsOccludedHandler"}));
    EXPECT_EQ(overlay->installedHandlers().size(), 6);
    EXPECT_EQ(stage->activatedWith, (std::set<QString>{editorID, notesID}));
    EXPECT_EQ(stage->displayNames.at(editorID), "Editor");

    // The first recovery pass over the allowed applications comes 0.15 s later.
    mark = trace.calls.size();
    scheduler.advance(0.15);
    EXPECT_TRUE(trace.since(mark).contains("appMonitor.enforceAllowlist(allowedAppRecovery:sessionStart)"));
    scheduler.advance(58.85);
    EXPECT_EQ(manager->remainingSeconds(), 1);
    EXPECT_TRUE(manager->isSessionActive());
    mark = trace.calls.size();
    scheduler.advance(1.0);

    QStringList expected = {"notify remainingSeconds=0", "info: Session timer expired"};
    expected << teardown(Teardown("timerExpired"));
    EXPECT_EQ(timeline(mark), lines(expected));
    // The stop cleared the callbacks of missing and occluded windows and the
    // hole forwarding before it took the overlay down.
    EXPECT_EQ(overlay->handlersAtDeactivate, QStringList({"allowedWindowMotionHandler", "seamDragHandoffHandler"}));
    EXPECT_FALSE(manager->isSessionActive());
    EXPECT_FALSE(manager->activeLifecycleID());
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

TEST_F(SessionTimelineTest, StartProceedsAfterFiveSecondsWithoutAnyAllowedWindow)
{
    startSession();
    const qsizetype mark = trace.calls.size();

    scheduler.advance(4.75);
    EXPECT_TRUE(trace.since(mark).isEmpty());
    EXPECT_TRUE(manager->isStartingSession());

    scheduler.advance(0.25);
    EXPECT_EQ(timeline(mark),
              lines(secondHalf("waiter warning: Timeout waiting for allowed app windows — proceeding anyway")));
    EXPECT_TRUE(manager->isSessionActive());
    EXPECT_FALSE(manager->isStartingSession());
}

TEST_F(SessionTimelineTest, HardcoreRefusesTheExitsDuringTheWindowWaitUntilTheForcedStop)
{
    startSession(60, true);
    const std::string started = timeline();
    EXPECT_NE(started.find("notify isStartingSession=true\nnotify isHardcoreSession=true\n"), std::string::npos);
    EXPECT_NE(started.find("hasGoal=true, hardcore=true\n"), std::string::npos);
    EXPECT_NE(started.find("spaceBlocker.activate(hardcore=true)"), std::string::npos);

    qsizetype mark = trace.calls.size();
    manager->requestManualExitConfirmation();
    manager->confirmManualExit(SessionExitAppDisposition::terminateAllowedApps);
    hotkey->onTrigger();
    EXPECT_EQ(timeline(mark),
              lines({
                  "warning: Ignoring manual stop confirmation request — hardcore session (only timer/restart end the "
                  "session)",
                  "warning: Ignoring manual stop confirmation — hardcore session (only timer/restart end the session)",
                  "warning: Emergency hotkey trigger IGNORED — hardcore session (only timer/restart end the session)",
              }));

    mark = trace.calls.size();
    manager->debugForceStop();
    QStringList expected = {
        "warning: DEBUG force stop invoked — bypassing hardcore guard, hardcore=true",
        "notify isStartingSession=false",
        "notify isHardcoreSession=false",
    };
    Teardown stop("manualStop");
    stop.countdownRuns = false;
    stop.remainingLeft = true;
    expected << teardown(stop);
    EXPECT_EQ(timeline(mark), lines(expected));
    // The stop took the three start callbacks off the overlay that never became active.
    EXPECT_TRUE(overlay->handlersAtDeactivate.isEmpty());

    // The waiter was cancelled: an allowed window that shows up now starts nothing.
    mark = trace.calls.size();
    detector->visible = {editorID};
    scheduler.advance(5.0);
    EXPECT_EQ(timeline(mark), lines({}));
    // A completion that was already on its way finds the lifecycle gone.
    waiter->lastCompletion();
    EXPECT_EQ(timeline(mark), lines({"warning: Ignoring stale start completion for lifecycle=<lifecycle>"}));
}

TEST_F(SessionTimelineTest, ConfirmedExitQuitsTheAllowedAppsAfterTheTeardownAndChecksLater)
{
    detector->visible = {notesID};
    startSession();
    scheduler.advance(10);

    qsizetype mark = trace.calls.size();
    manager->confirmManualExit(SessionExitAppDisposition::terminateAllowedApps);
    QStringList expected = {
        "info: HUD manual exit confirmed — appDisposition=terminateAllowedApps, active=true, starting=false, "
        "stopping=false, allowed="
            + allowedText + ", runningAllowed=" + allowedText
            + R"(, veskStarted=["com.example.editor"], initiallyRunning=["com.example.notes"])",
    };
    Teardown stop("manualStop");
    stop.disposition = "terminateAllowedApps";
    stop.remainingLeft = true;
    stop.quitting = {
        "info: Explicit VESK app termination requested — allowed=" + allowedText
            + R"(, veskStarted=["com.example.editor"], initiallyRunning=["com.example.notes"], )"
            + R"(candidates=["com.example.notes", "com.example.editor"])",
        "app.terminate(com.example.notes)",
        "info: Requested allowed VESK app termination — bundleID=com.example.notes, pid=500, veskStarted=false, "
        "initiallyRunning=true, success=true",
        "app.terminate(com.example.editor)",
        "info: Requested allowed VESK app termination — bundleID=com.example.editor, pid=501, veskStarted=true, "
        "initiallyRunning=false, success=true",
        "info: Allowed VESK app termination requests completed — requestedBundleIDs=" + allowedText
            + ", candidateProcesses=2, terminateReturnedTrue=2",
        "debug: Scheduled allowed VESK app termination verification — delay=1.5s, "
        "requestedPIDs=[com.example.editor:[501], com.example.notes:[500]]",
    };
    expected << teardown(stop);
    EXPECT_EQ(timeline(mark), lines(expected));

    mark = trace.calls.size();
    scheduler.advance(1.49);
    EXPECT_EQ(timeline(mark), lines({}));
    scheduler.advance(0.01);
    EXPECT_EQ(timeline(mark), lines({"warning: Allowed VESK app termination verified — no matching processes still "
                                     "running, requestedPIDs=[com.example.editor:[501], com.example.notes:[500]]"}));
}

TEST_F(SessionTimelineTest, DestroyingTheManagerCancelsItsPendingWorkThenStopsTheSession)
{
    detector->visible = {notesID};
    startSession();
    // The first recovery pass is still pending.
    const qsizetype mark = trace.calls.size();
    manager.reset();

    QStringList expected = {"debug: Cancelled pending allowed-app recovery"};
    Teardown stop("appTerminate");
    stop.remainingLeft = true;
    expected << teardown(stop);
    const std::string destroyed = timeline(mark);
    EXPECT_EQ(destroyed.substr(0, lines(expected).size()), lines(expected));
    EXPECT_EQ(destroyed.find("app.terminate"), std::string::npos);
}

TEST_F(SessionManagerTest, SessionStartedEventCarriesTheScreensTheStagePhaseAndTheSetupTime)
{
    screens->add(2, QRectF(1440, 0, 1920, 1080));
    stage->phase = StageVeskPhase::split;
    detector->visible = {notesID};
    manager->startSession(7199, {editorID, notesID}, {}, QStringLiteral("Plan"), true, 60);
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);

    screens->add(3, QRectF(-1920, 0, 1920, 1080));
    stage->phase = std::nullopt;
    manager->startSession(7200, {notesID}, {}, std::nullopt, false, 30);

    ASSERT_EQ(analytics->events.size(), 3u);
    EXPECT_EQ(analytics->events[0].parameters(), (std::map<QString, QString>{
                                                     {"plannedDurationBucket", "1-2h"},
                                                     {"allowedAppCount", "2"},
                                                     {"hardcore", "true"},
                                                     {"setupDurationBucket", ">60s"},
                                                     {"monitorCountBucket", "2"},
                                                     {"stageMode", "split"},
                                                     {"hasGoal", "true"},
                                                 }));
    EXPECT_EQ(analytics->events[2].parameters(), (std::map<QString, QString>{
                                                     {"plannedDurationBucket", ">2h"},
                                                     {"allowedAppCount", "1"},
                                                     {"hardcore", "false"},
                                                     {"setupDurationBucket", "30-60s"},
                                                     {"monitorCountBucket", "3+"},
                                                     {"stageMode", "freestyle"},
                                                     {"hasGoal", "false"},
                                                 }));
}

TEST_F(SessionManagerTest, SessionEndedEventRoundsTheElapsedTimeToWholeSeconds)
{
    const struct {
        double elapsed;
        QString bucket;
    } cases[] = {
        {899.4, "<15m"}, {899.5, "15-30m"}, {1799.6, "30-60m"}, {3599.4, "30-60m"}, {7199.5, ">2h"},
    };
    for (const auto& c : cases) {
        detector->visible = {notesID};
        manager->startSession(0, {notesID}, {}, std::nullopt, false, 0);
        scheduler.advance(c.elapsed);
        manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
        const auto parameters = analytics->events.back().parameters();
        EXPECT_EQ(parameters.at("actualDurationBucket"), c.bucket) << c.elapsed;
        EXPECT_EQ(parameters.at("endReason"), "manualStop");
    }
}

TEST_F(SessionManagerTest, BeforeStartUpHandsOverTheStoreASessionRunsWithoutRecords)
{
    SessionServices s = services();
    s.sessionStore = std::make_shared<NullSessionStore>();
    s.analytics = std::make_shared<NoopAnalyticsService>();
    SessionManager early(s, scheduler, scheduler);

    early.recoverOrphanedSessions(scheduler.now());
    EXPECT_TRUE(logs.contains("No orphaned FocusSession records required launch recovery"));
    detector->visible = {notesID};
    early.startSession(60, {notesID}, {}, std::nullopt, false, 0);
    EXPECT_TRUE(early.isSessionActive());
    early.stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    EXPECT_FALSE(logs.contains("Failed to persist"));
    // The reflection prompt needs only the session's identity and start date.
    EXPECT_TRUE(early.pendingReflection());
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

    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
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

    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    ASSERT_TRUE(manager->pendingReflection());
    EXPECT_EQ(manager->pendingReflection()->durationSeconds, 0);
    EXPECT_FALSE(manager->isOpenEndedSession());
}

TEST_F(SessionManagerTest, StopDuringTheWindowWaitStartsNothingAndALateCompletionIsStale)
{
    start();
    const QUuid lifecycle = *manager->activeLifecycleID();
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);

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
    waiter->lastCompletion();
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

TEST_F(SessionManagerTest, StartAskedForWhileTheStopResetsIsRefused)
{
    startActive();
    int attempts = 0;
    QObject::connect(manager.get(), &SessionManager::isSessionActiveChanged, [&] {
        if (manager->isSessionActive())
            return;
        ++attempts;
        manager->startSession(900, {notesID}, {}, std::nullopt, true, 0);
    });
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);

    EXPECT_EQ(attempts, 1);
    EXPECT_TRUE(logs.contains("startSession called during an active or transitioning session"));
    EXPECT_FALSE(manager->isSessionActive());
    EXPECT_FALSE(manager->isHardcoreSession());
    EXPECT_FALSE(manager->activeLifecycleID());
    EXPECT_EQ(trace.calls.count("hotkey.activate"), 1);
}

TEST_F(SessionManagerTest, StopWithoutSessionAndNestedStopAreRefused)
{
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    EXPECT_TRUE(logs.contains("stopSession called but no session is active"));
    EXPECT_TRUE(trace.calls.isEmpty());

    // An observer that asks for a stop while the first one is between its steps.
    startActive();
    int stopped = 0;
    QObject::connect(manager.get(), &SessionManager::pendingReflectionChanged, [&] {
        ++stopped;
        manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    });
    manager->stopSession(SessionStopReason::timerExpired, SessionExitAppDisposition::leaveOpen);
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
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::terminateAllowedApps);
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

TEST_F(SessionManagerTest, EntryPointsCalledFromAnotherThreadRunOnTheMainQueue)
{
    const QString browserID = QStringLiteral("com.example.browser");
    detector->visible = {notesID};
    const struct {
        const char* name;
        std::function<void()> call;
        std::function<bool()> done;
    } cases[] = {
        {"startSession",
         [&] {
             manager->startSession(60, {editorID, notesID}, {}, std::nullopt, false, 0);
         },
         [&] { return manager->isSessionActive(); }},
        {"addApp", [&] { manager->addApp(browserID, std::nullopt, std::nullopt); },
         [&] { return manager->currentAllowlist().contains(browserID); }},
        {"removeApp", [&] { manager->removeApp(browserID); },
         [&] { return !manager->currentAllowlist().contains(browserID); }},
        {"restoreAllowedApp", [&] { manager->restoreAllowedApp(notesID); },
         [&] {
             return logs.contains(
                 "Restoring allowed app from minimized/not-visible state — bundleID=com.example.notes");
         }},
        {"scheduleAllowedAppsRecovery",
         [&] { manager->scheduleAllowedAppsRecovery("fromElsewhere", std::nullopt, false); },
         [&] { return logs.contains("Scheduled allowed-app recovery — reason=fromElsewhere"); }},
        {"requestScreenshot", [&] { manager->requestScreenshot(scheduler.now()); },
         [&] { return manager->screenshotFeedback().has_value(); }},
        {"stopSession",
         [&] { manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen); },
         [&] { return !manager->isSessionActive(); }},
    };
    for (const auto& c : cases) {
        std::thread(c.call).join();
        EXPECT_FALSE(c.done()) << c.name << " ran on the calling thread";
        scheduler.runPending();
        EXPECT_TRUE(c.done()) << c.name << " did not reach the main queue";
    }
}
