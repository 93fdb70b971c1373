#include "SessionManagerFixture.h"

using namespace vesk;
using namespace vesk::test;

using SessionManagerExitTest = SessionManagerFixture;

TEST_F(SessionManagerExitTest, StopReasonTextsResolveToEndReasons)
{
    // A text that names no stop reason cannot be asked for at all, so no
    // slip of the pen ends a session as a crash.
    const struct {
        QString text;
        std::optional<SessionEndReason> reason;
    } cases[] = {
        {"timerExpired", SessionEndReason::timerExpired},
        {"manualStop", SessionEndReason::manualStop},
        {"emergencyExit", SessionEndReason::emergencyExit},
        {"noAllowedWindows", SessionEndReason::noAllowedWindows},
        {"appTerminate", SessionEndReason::appTerminate},
        {"crash", SessionEndReason::crash},
        {"emergencyHotkey", SessionEndReason::emergencyExit},
        {"deinit", SessionEndReason::appTerminate},
        {"", std::nullopt},
        {"ManualStop", std::nullopt},
        {"userQuit", std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<SessionStopReason> request = fromRaw<SessionStopReason>(c.text);
        ASSERT_EQ(request.has_value(), c.reason.has_value()) << c.text.toStdString();
        if (request) {
            EXPECT_EQ(endReason(*request), *c.reason) << c.text.toStdString();
            EXPECT_EQ(toRaw(*request), c.text);
        }
    }
    EXPECT_EQ(std::size(cases) - 3, allCases<SessionStopReason>().size());
}

TEST_F(SessionManagerExitTest, EveryStopReasonEndsTheSessionWithItsRecordAndPrompt)
{
    for (const SessionStopReason request : allCases<SessionStopReason>()) {
        startActive();
        logs.clear();
        manager->stopSession(request, SessionExitAppDisposition::leaveOpen);
        EXPECT_TRUE(logs.contains(", reason=" + toRaw(request) + ", appDisposition=leaveOpen"))
            << toRaw(request).toStdString();
        EXPECT_EQ(store->stopped->endReason, endReason(request)) << toRaw(request).toStdString();
        EXPECT_EQ(manager->pendingReflection()->endReason, endReason(request)) << toRaw(request).toStdString();
        EXPECT_EQ(analytics->events.back().parameters().at("endReason"), toRaw(endReason(request)));
    }
}

TEST_F(SessionManagerExitTest, RemainingTimeTextCountsDownOrShowsElapsedTime)
{
    EXPECT_EQ(manager->remainingTimeText(scheduler.now()), "00:00");

    const struct {
        int duration;
        double elapsed;
        QString text;
    } cases[] = {
        {7200, 0, "120:00"},   {7200, 1, "119:59"},  {90, 28, "01:02"},      {60, 59, "00:01"},
        {0, 3725, "01:02:05"}, {0, 0.4, "00:00:00"}, {0, 36000, "10:00:00"},
    };
    for (const auto& c : cases) {
        detector->visible = {notesID};
        manager->startSession(c.duration, {notesID}, {}, std::nullopt, false, 0);
        scheduler.advance(c.elapsed);
        EXPECT_EQ(manager->remainingTimeText(scheduler.now()), c.text) << c.duration << " " << c.elapsed;
        manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    }
}

TEST_F(SessionManagerExitTest, EachTickCountsDownOneSecond)
{
    startActive(3);
    std::vector<int> seen;
    QObject::connect(manager.get(), &SessionManager::remainingSecondsChanged,
                     [&] { seen.push_back(manager->remainingSeconds()); });
    scheduler.advance(3);
    EXPECT_EQ(seen, (std::vector<int>{2, 1, 0}));
    EXPECT_FALSE(manager->isSessionActive());
    EXPECT_TRUE(logs.contains("Session timer expired"));
    EXPECT_EQ(store->stopped->endReason, SessionEndReason::timerExpired);
}

TEST_F(SessionManagerExitTest, TicksOfAStoppedOrEarlierSessionChangeNothing)
{
    startActive(600);
    const auto oldTick = timerFactory->lastHandler;
    const QUuid oldLifecycle = *manager->activeLifecycleID();
    scheduler.advance(2);
    EXPECT_EQ(manager->remainingSeconds(), 598);

    // A tick already on its way to the main queue when the session stops.
    oldTick();
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    scheduler.runPending();
    EXPECT_EQ(logs.count("Ignoring timer tick for stale lifecycle=" + uuidText(oldLifecycle)), 1);
    EXPECT_EQ(manager->remainingSeconds(), 0);

    // A late tick of the earlier session's timer during the next session.
    startActive(30);
    oldTick();
    scheduler.runPending();
    EXPECT_EQ(logs.count("Ignoring timer tick for stale lifecycle=" + uuidText(oldLifecycle)), 2);
    EXPECT_EQ(manager->remainingSeconds(), 30);
    EXPECT_TRUE(manager->isSessionActive());
}

TEST_F(SessionManagerExitTest, QuittingFindsNothingToQuitWhenNoAllowedAppRuns)
{
    const QString ghostID = QStringLiteral("com.example.ghost");
    manager->startSession(600, {ghostID}, {}, std::nullopt, false, 0);
    EXPECT_TRUE(logs.contains("Could not find URL for app: com.example.ghost"));
    EXPECT_FALSE(trace.calls.filter("workspace.openApplication").size());
    EXPECT_TRUE(manager->isSessionActive());

    manager->confirmManualExit(SessionExitAppDisposition::terminateAllowedApps);
    EXPECT_TRUE(logs.contains(
        R"(No running allowed VESK apps found for explicit termination — allowed=["com.example.ghost"])"));
    EXPECT_FALSE(logs.contains("Scheduled allowed VESK app termination verification"));
    EXPECT_EQ(store->stopped->endReason, SessionEndReason::manualStop);

    manager->startSession(600, {}, {}, std::nullopt, false, 0);
    manager->confirmManualExit(SessionExitAppDisposition::terminateAllowedApps);
    EXPECT_TRUE(logs.contains("No allowed VESK apps to terminate"));
    EXPECT_FALSE(trace.calls.filter("app.terminate").size());
}

TEST_F(SessionManagerExitTest, HardcoreSessionIgnoresManualExitAndHotkeyButNotTheForcedStop)
{
    startActive(600, true);
    EXPECT_TRUE(manager->isHardcoreSession());
    EXPECT_TRUE(trace.calls.contains("spaceBlocker.activate(hardcore=true)"));
    const qsizetype mark = trace.calls.size();

    manager->requestManualExitConfirmation();
    manager->confirmManualExit(SessionExitAppDisposition::terminateAllowedApps);
    ASSERT_TRUE(hotkey->onTrigger);
    hotkey->onTrigger();

    EXPECT_TRUE(trace.since(mark).isEmpty());
    EXPECT_TRUE(manager->isSessionActive());
    EXPECT_TRUE(logs.contains(
        "Ignoring manual stop confirmation request — hardcore session (only timer/restart end the session)"));
    EXPECT_TRUE(
        logs.contains("Ignoring manual stop confirmation — hardcore session (only timer/restart end the session)"));
    EXPECT_TRUE(
        logs.contains("Emergency hotkey trigger IGNORED — hardcore session (only timer/restart end the session)"));

    manager->debugForceStop();
    EXPECT_TRUE(logs.contains("DEBUG force stop invoked — bypassing hardcore guard, hardcore=true"));
    EXPECT_FALSE(manager->isSessionActive());
    EXPECT_FALSE(manager->isHardcoreSession());
    EXPECT_EQ(store->stopped->endReason, SessionEndReason::manualStop);
    EXPECT_FALSE(trace.calls.contains("app.terminate(com.example.editor)"));
}

TEST_F(SessionManagerExitTest, HotkeyEndsANormalSessionWithEmergencyExit)
{
    startActive();
    hotkey->onTrigger();
    EXPECT_FALSE(manager->isSessionActive());
    EXPECT_EQ(store->stopped->endReason, SessionEndReason::emergencyExit);
    EXPECT_EQ(manager->pendingReflection()->endReason, SessionEndReason::emergencyExit);
    EXPECT_TRUE(logs.contains("reason=emergencyExit, appDisposition=leaveOpen"));
    const auto ended = analytics->events.back().parameters();
    EXPECT_EQ(ended.at("endReason"), "emergencyExit");
    EXPECT_EQ(ended.at("actualDurationBucket"), "<15m");
    EXPECT_EQ(ended.at("dynamicallyAddedCount"), "0");
}

TEST_F(SessionManagerExitTest, HotkeyDuringTheWindowWaitEndsTheStart)
{
    start();
    hotkey->onTrigger();
    EXPECT_FALSE(manager->isSessionActive());
    EXPECT_EQ(store->stopped->endReason, SessionEndReason::emergencyExit);
}

TEST_F(SessionManagerExitTest, HotkeyOfAnEarlierSessionIsStale)
{
    startActive();
    const auto oldTrigger = hotkey->onTrigger;
    const QUuid oldLifecycle = *manager->activeLifecycleID();
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    startActive();

    oldTrigger();
    EXPECT_TRUE(manager->isSessionActive());
    EXPECT_TRUE(logs.contains("Ignoring stale emergency hotkey callback for lifecycle=" + uuidText(oldLifecycle)));
}

TEST_F(SessionManagerExitTest, ConfirmedManualExitCanQuitTheAllowedAppsButNeverTheFinder)
{
    workspace->install("com.apple.finder", "Finder");
    const auto finder = workspace->run("com.apple.finder");
    const auto stubborn = workspace->run("com.example.stubborn");
    stubborn->quitsOnRequest = false;
    detector->visible = {notesID};
    manager->startSession(600, {editorID, notesID, "com.apple.finder", "com.example.stubborn"}, {}, std::nullopt, false,
                          0);

    manager->requestManualExitConfirmation();
    EXPECT_TRUE(logs.contains("HUD manual exit confirmation shown — active=true"));
    manager->confirmManualExit(SessionExitAppDisposition::terminateAllowedApps);

    EXPECT_TRUE(logs.contains("HUD manual exit confirmed — appDisposition=terminateAllowedApps, active=true"));
    EXPECT_EQ(store->stopped->endReason, SessionEndReason::manualStop);
    EXPECT_TRUE(trace.calls.contains("app.terminate(com.example.editor)"));
    EXPECT_TRUE(trace.calls.contains("app.terminate(com.example.notes)"));
    EXPECT_TRUE(trace.calls.contains("app.terminate(com.example.stubborn)"));
    EXPECT_FALSE(trace.calls.contains("app.terminate(com.apple.finder)"));
    EXPECT_TRUE(logs.contains("terminateReturnedTrue=3"));

    scheduler.advance(1.4);
    EXPECT_FALSE(logs.contains("Allowed VESK app termination incomplete"));
    scheduler.advance(0.1);
    const QString incomplete =
        logs.find("Allowed VESK app termination incomplete after graceful quit delay — stillRunning=");
    EXPECT_TRUE(incomplete.contains("bundleID=com.example.stubborn"));
    EXPECT_FALSE(incomplete.contains("com.example.notes"));
}

TEST_F(SessionManagerExitTest, ExitRequestsWithoutSessionOnlyLog)
{
    manager->requestManualExitConfirmation();
    manager->debugForceStop();
    manager->toggleQuickAccessPanel(std::nullopt);
    manager->toggleBugReportPanel();
    manager->confirmManualExit(SessionExitAppDisposition::leaveOpen);

    EXPECT_TRUE(logs.contains(
        "Ignoring manual stop confirmation request because no active session is available — active=false"));
    EXPECT_TRUE(logs.contains("Ignoring debug force stop — no active session — active=false"));
    EXPECT_TRUE(logs.contains("Ignoring quick access panel toggle because no active session is available"));
    EXPECT_TRUE(logs.contains("Ignoring bug report panel toggle because no active session is available"));
    EXPECT_TRUE(logs.contains("stopSession called but no session is active"));
    EXPECT_TRUE(trace.calls.isEmpty());
    EXPECT_FALSE(store->stopped);
}

TEST_F(SessionManagerExitTest, QuickAccessToggleTargetsTheGivenOrThePointerScreen)
{
    screens->add(2, QRectF(1440, 0, 1920, 1080));
    startActive();

    manager->toggleQuickAccessPanel(StageVeskScreenID{7});
    EXPECT_EQ(manager->quickAccessTargetScreenID(), StageVeskScreenID{7});
    mouseLocation = Point{2000, 500};
    manager->toggleQuickAccessPanel(std::nullopt);
    EXPECT_EQ(manager->quickAccessTargetScreenID(), StageVeskScreenID{2});
    EXPECT_TRUE(logs.contains("Quick access panel toggled — targetScreenID=none, resolvedTargetScreenID=2"));
    mouseLocation = Point{-10, -10};
    manager->toggleQuickAccessPanel(std::nullopt);
    EXPECT_FALSE(manager->quickAccessTargetScreenID());
    EXPECT_EQ(trace.calls.count("ui.toggleQuickAccessPanel"), 3);

    manager->toggleBugReportPanel();
    EXPECT_TRUE(trace.calls.contains("ui.toggleBugReportPanel"));
}

TEST_F(SessionManagerExitTest, AnchorScreenComesFromTheMainWindowThenThePointerThenTheMainScreen)
{
    screens->add(2, QRectF(1440, 0, 1920, 1080));
    mouseLocation = Point{1500, 10};
    detector->visible = {notesID};
    start();
    EXPECT_EQ(manager->sessionAnchorScreenID(), StageVeskScreenID{2});
    EXPECT_TRUE(logs.contains("Session anchor screen captured — screenID=2, source=pointer"));
    EXPECT_EQ(stage->anchorScreen, StageVeskScreenID{2});
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    EXPECT_EQ(manager->sessionAnchorScreenID(), StageVeskScreenID{});

    mouseLocation = Point{-10, -10};
    start();
    EXPECT_TRUE(logs.contains("Session anchor screen captured — screenID=1, source=fallback"));
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);

    SessionServices s = services();
    s.mainWindowScreenID = [] { return std::optional<StageVeskScreenID>(StageVeskScreenID{9}); };
    SessionManager other(s, scheduler, scheduler);
    other.startSession(60, {notesID}, {}, std::nullopt, false, 0);
    EXPECT_EQ(other.sessionAnchorScreenID(), StageVeskScreenID{9});
    EXPECT_TRUE(logs.contains("Session anchor screen captured — screenID=9, source=mainWindow"));
}
