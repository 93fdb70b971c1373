#include "SessionManagerFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>

using namespace vesk;
using namespace vesk::test;

namespace {

const QString browserID = QStringLiteral("com.example.browser");
const QString gameID = QStringLiteral("com.example.game");

} // namespace

class SessionManagerAllowlistTest : public SessionManagerFixture {
protected:
    // Starts a session and adds a running browser whose only window is on
    // another Space; the materializer takes the request of attempt 0.
    void startAndAddBrowserFromAnotherSpace()
    {
        workspace->install(browserID, "Browser");
        workspace->run(browserID);
        allWindows = {window(browserID)};
        materializer->outcome = WindowMaterializationOutcome::requested();
        startActive();
        manager->addApp(browserID, std::nullopt, std::nullopt);
        EXPECT_TRUE(trace.calls.contains("materializer.materialize(com.example.browser, dynamicReveal:0)"));
    }
};

TEST_F(SessionManagerAllowlistTest, AddingANotRunningAppSynchronizesStoresAndRevealsIt)
{
    workspace->install(browserID, "Browser");
    capabilities->webApplications = {"Browser.app"};
    startActive();
    scheduler.advance(1);
    const qsizetype mark = trace.calls.size();
    const double addedAt = scheduler.uptime();

    manager->addApp(browserID, std::nullopt, StageVeskScreenID{1});

    EXPECT_EQ(trace.since(mark), allowlistFanOut()
                                     + QStringList({
                                         "stage.requestStagePlacement(com.example.browser)",
                                         "spaceProbe.startBurst(reveal:com.example.browser)",
                                         "workspace.openApplication(Browser.app)",
                                     }));
    EXPECT_EQ(store->updatedAllowed, QStringList({browserID, editorID, notesID}));
    EXPECT_EQ(store->updatedAllAllowed, QStringList({browserID, editorID, notesID}));
    EXPECT_TRUE(logs.contains("Dynamic reveal app-open fallback — bundleID=com.example.browser, attempt=0"));
    EXPECT_TRUE(manager->veskStartedBundleIDs().contains(browserID));

    // Attempt 1, 0.25 s later: running without a window, so a blank page is opened with it.
    scheduler.advance(0.25);
    EXPECT_TRUE(trace.calls.contains("workspace.open(Browser.app)"));
    QFile blank(temporaryDirectory.path() + "/VESKBlankDocuments/com.example.browser.html");
    ASSERT_TRUE(blank.open(QIODevice::ReadOnly));
    EXPECT_EQ(blank.size(), 99);

    // The retries follow at 0.75, 1.5 and 3.0 s after attempt 0, then the reveal ends.
    const struct {
        double offset;
        int attempt;
    } retries[] = {{0.75, 2}, {1.5, 3}, {3.0, 4}};
    for (const auto& retry : retries) {
        const QString line =
            QStringLiteral("Dynamic reveal attempt — bundleID=com.example.browser, attempt=%1").arg(retry.attempt);
        scheduler.advance(addedAt + retry.offset - 0.01 - scheduler.uptime());
        EXPECT_FALSE(logs.contains(line)) << retry.attempt;
        scheduler.advance(0.02);
        EXPECT_TRUE(logs.contains(line)) << retry.attempt;
    }
    EXPECT_TRUE(
        logs.contains("Dynamic reveal finished without visible window — bundleID=com.example.browser, attempts=5, "
                      "appOpenFallback=true, blankFallback=true"));
}

TEST_F(SessionManagerAllowlistTest, AnAppWithoutBundleEndsAfterFiveAttempts)
{
    startActive();
    manager->addApp("com.example.ghost", std::nullopt, std::nullopt);
    EXPECT_FALSE(trace.calls.contains("stage.requestStagePlacement(com.example.ghost)"));
    scheduler.advance(3.0);
    EXPECT_EQ(logs.count(
                  "Dynamic reveal app-open fallback failed — could not resolve app URL, bundleID=com.example.ghost"),
              5);
    EXPECT_TRUE(
        logs.contains("Dynamic reveal finished without visible window — bundleID=com.example.ghost, attempts=5, "
                      "appOpenFallback=false, blankFallback=false"));
}

TEST_F(SessionManagerAllowlistTest, RevealingTheFinderOpensTheHomeFolderOnce)
{
    workspace->install("com.apple.finder", "Finder");
    startActive();
    manager->addApp("com.apple.finder", std::nullopt, std::nullopt);
    scheduler.advance(5);
    EXPECT_EQ(trace.calls.count("workspace.open(Finder.app)"), 1);
    EXPECT_TRUE(logs.contains("Dynamic reveal Finder fallback — attempt=0"));
    EXPECT_TRUE(logs.contains("homeURL=/Users/tester"));
    EXPECT_TRUE(logs.contains("Dynamic reveal Finder fallback opened — homeURL=/Users/tester"));
    EXPECT_FALSE(logs.contains("Scheduled dynamic reveal retry — bundleID=com.apple.finder"));
}

TEST_F(SessionManagerAllowlistTest, AnAppOnAnotherSpaceGetsOneMaterialization)
{
    startAndAddBrowserFromAnotherSpace();
    // The general recovery that follows the add asks again, but the flight is in progress.
    scheduler.advance(0.15);
    EXPECT_EQ(trace.calls.filter("materializer.materialize").size(), 1);
    EXPECT_TRUE(logs.contains("Window materialization skipped — already in flight, bundleID=com.example.browser"));

    scheduler.advance(0.1);
    EXPECT_TRUE(logs.contains("Dynamic reveal stopped before LaunchServices fallback for other-Space app — "
                              "bundleID=com.example.browser, attempt=1, materializationAttempted=true"));
    EXPECT_TRUE(
        logs.contains("Dynamic reveal ended with other-Space app state — bundleID=com.example.browser, attempt=1"));

    // The flight lasts 4.0 s: until then a restore asks the materializer nothing new.
    scheduler.advance(3.7);
    manager->restoreAllowedApp(browserID);
    EXPECT_EQ(trace.calls.filter("materializer.materialize").size(), 1);
    EXPECT_FALSE(logs.contains("Window materialization flight timed out"));
    scheduler.advance(0.06);
    EXPECT_EQ(logs.count("Window materialization flight timed out — bundleID=com.example.browser, "
                         "reason=dynamicReveal:0, timeout=4.0s"),
              1);
}

TEST_F(SessionManagerAllowlistTest, AFlightInProgressEndsWithItsSession)
{
    startAndAddBrowserFromAnotherSpace();

    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    scheduler.advance(5);
    EXPECT_FALSE(logs.contains("Window materialization flight timed out"));
}

TEST_F(SessionManagerAllowlistTest, AWindowThatAppearsSettlesTheFlight)
{
    startAndAddBrowserFromAnotherSpace();

    onScreenWindows = {window(browserID)};
    scheduler.advance(0.25);
    EXPECT_TRUE(logs.contains("Window materialization flight settled — bundleID=com.example.browser"));
    EXPECT_TRUE(logs.contains("Dynamic reveal complete — bundleID=com.example.browser, attempt=1, visible=true"));
    scheduler.advance(5);
    EXPECT_FALSE(logs.contains("Window materialization flight timed out"));
}

TEST_F(SessionManagerAllowlistTest, AddRemoveRulesAndTheAlreadyAllowedCase)
{
    workspace->install(browserID, "Browser");
    detector->visible = {notesID};
    manager->startSession(60, {notesID}, {}, std::nullopt, false, 0);

    manager->addApp(notesID, std::nullopt, std::nullopt);
    EXPECT_TRUE(logs.contains("Ignoring addApp for already-allowed bundleID=com.example.notes"));
    EXPECT_FALSE(manager->canRemoveAppAtRuntime(notesID));

    manager->addApp(browserID, std::nullopt, std::nullopt);
    // The original application has a visible window, so the added one may go.
    EXPECT_TRUE(manager->canRemoveAppAtRuntime(browserID));
    detector->visible.clear();
    workspace->apps.front()->terminated = true; // notes quits
    EXPECT_FALSE(manager->canRemoveAppAtRuntime(browserID));
    manager->removeApp(browserID);
    EXPECT_TRUE(
        logs.contains("Ignoring removeApp because no other allowed app has visible windows or bundle is protected"));

    workspace->run(notesID);
    manager->removeApp(browserID);
    EXPECT_TRUE(logs.contains("Removed app from dynamic allowlist — bundleID=com.example.browser"));
    EXPECT_EQ(manager->currentAllowlist(), std::set<QString>{notesID});
    EXPECT_EQ(manager->allPersistedAllowedBundleIDs(), (std::set<QString>{browserID, notesID}));
    EXPECT_TRUE(trace.calls.contains("app.hide(com.example.browser)"));

    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    manager->addApp(browserID, std::nullopt, std::nullopt);
    EXPECT_TRUE(logs.contains("Ignoring addApp because no session is active — bundleID=com.example.browser"));
}

TEST_F(SessionManagerAllowlistTest, ThePanelsHearOfEveryAllowlistChangeAndOnlyOfThose)
{
    workspace->install(browserID, "Browser");
    detector->visible = {notesID};
    manager->startSession(60, {notesID}, {}, std::nullopt, false, 0);
    QSignalSpy allowlistChanged(manager.get(), &SessionManager::dynamicAllowlistChanged);
    QSignalSpy panelsNotified(manager.get(), &SessionControlling::changed);

    manager->addApp(notesID, std::nullopt, std::nullopt); // already allowed: nothing changes
    EXPECT_EQ(allowlistChanged.count(), 0);
    manager->addApp(browserID, std::nullopt, std::nullopt);
    EXPECT_EQ(allowlistChanged.count(), 1);
    manager->removeApp(browserID);
    EXPECT_EQ(allowlistChanged.count(), 2);
    EXPECT_EQ(panelsNotified.count(), 2);

    // Every observed value reaches the panels, the goal included.
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    EXPECT_GT(panelsNotified.count(), 3);
}

TEST_F(SessionManagerAllowlistTest, BackingOutOfTheExitConfirmationIsLoggedWithTheDiagnostics)
{
    startActive();
    manager->logManualExitConfirmationCanceled();
    EXPECT_TRUE(logs.contains("HUD manual exit confirmation canceled — active=true, starting=false, stopping=false"));
    EXPECT_TRUE(manager->isSessionActive());
}

TEST_F(SessionManagerAllowlistTest, OneAppLaunchPromptAtATime)
{
    workspace->install(gameID, "Game");
    startActive();
    const auto game = workspace->run(gameID);

    appMonitor->appLaunchNeedingDecisionHandler(gameID);
    ASSERT_TRUE(manager->pendingAppLaunchPrompt());
    EXPECT_EQ(manager->pendingAppLaunchPrompt()->appName, "Game");
    EXPECT_TRUE(trace.calls.contains("ui.showAppLaunchPrompt"));

    appMonitor->appLaunchNeedingDecisionHandler("com.example.chat");
    EXPECT_TRUE(logs.contains("Skipping app-launch prompt — another prompt is open, bundleID=com.example.chat"));
    EXPECT_EQ(manager->pendingAppLaunchPrompt()->bundleID, gameID);

    manager->confirmAppLaunchPrompt(false);
    EXPECT_FALSE(manager->pendingAppLaunchPrompt());
    EXPECT_TRUE(trace.calls.contains("appMonitor.removePendingDecision(com.example.game)"));
    EXPECT_TRUE(trace.calls.contains("app.terminate(com.example.game)"));
    // Answering the first prompt does not bring up the second.
    EXPECT_EQ(trace.calls.count("ui.showAppLaunchPrompt"), 1);

    const auto chat = workspace->run("com.example.chat");
    appMonitor->appLaunchNeedingDecisionHandler("com.example.chat");
    EXPECT_EQ(manager->pendingAppLaunchPrompt()->appName, "com.example.chat");
    manager->confirmAppLaunchPrompt(true);
    EXPECT_TRUE(manager->currentAllowlist().contains("com.example.chat"));
    EXPECT_TRUE(logs.contains("Added app to dynamic allowlist — bundleID=com.example.chat, targetScreenID=1"));

    manager->confirmAppLaunchPrompt(true);
    EXPECT_TRUE(logs.contains("Ignoring confirmAppLaunchPrompt — no pending prompt"));
}

TEST_F(SessionManagerAllowlistTest, TheStopTakesAnOpenPromptAwayAndALateAnswerDoesNothing)
{
    workspace->install(gameID, "Game");
    startActive();
    workspace->run(gameID);
    appMonitor->appLaunchNeedingDecisionHandler(gameID);
    ASSERT_TRUE(manager->pendingAppLaunchPrompt());
    QSignalSpy promptChanged(manager.get(), &SessionManager::pendingAppLaunchPromptChanged);

    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    EXPECT_FALSE(manager->pendingAppLaunchPrompt());
    EXPECT_EQ(promptChanged.count(), 1);

    manager->confirmAppLaunchPrompt(false);
    EXPECT_TRUE(logs.contains("Ignoring confirmAppLaunchPrompt — no pending prompt"));
    EXPECT_FALSE(trace.calls.contains("app.terminate(com.example.game)"));
}

TEST_F(SessionManagerAllowlistTest, AStageClosedDynamicAppIsAskedToQuitEvenWhenItStays)
{
    workspace->install(browserID, "Browser");
    detector->visible = {notesID};
    manager->startSession(60, {notesID}, {}, std::nullopt, false, 0);
    manager->addApp(browserID, std::nullopt, std::nullopt);
    detector->visible.clear();
    workspace->apps.front()->terminated = true; // notes is gone: the browser is the only usable one

    stage->onAppFullyClosed(browserID);
    scheduler.runPending();
    EXPECT_TRUE(
        logs.contains("[SessionManager] App fully closed via Vesk — bundleID=com.example.browser, dynamic=true, "
                      "removing=false, terminating=true"));
    EXPECT_TRUE(logs.contains("Dynamic app fully closed but removal was refused — bundleID=com.example.browser"));
    EXPECT_TRUE(trace.calls.contains("app.terminate(com.example.browser)"));
    EXPECT_TRUE(manager->currentAllowlist().contains(browserID));
}

TEST_F(SessionManagerAllowlistTest, BlankDocumentNameAndContent)
{
    QString error;
    const auto path = AllowedAppReveal::writeBlankRevealDocument(temporaryDirectory.path(), "Studio.My App", &error);
    ASSERT_TRUE(path) << error.toStdString();
    EXPECT_EQ(QFileInfo(*path).fileName(), "Studio.My-App.html");
    EXPECT_EQ(QFileInfo(*path).dir().dirName(), "VESKBlankDocuments");
    QFile file(*path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
              QByteArray("<!doctype html>\n<html>\n<head><meta charset=\"utf-8\"><title>VESK</title></head>\n"
                         "<body></body>\n</html>"));
    // Written again, the same file is replaced.
    EXPECT_EQ(AllowedAppReveal::writeBlankRevealDocument(temporaryDirectory.path(), "Studio.My App", &error), path);
}

TEST_F(SessionManagerAllowlistTest, ReflectionSaveDismissAndStoreFailure)
{
    startActive();
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    const QUuid id = manager->pendingReflection()->id;
    analytics->events.clear();

    store->failure = QStringLiteral("read-only");
    manager->saveReflection(GoalStatus::done, VeskHelpful::yes, QStringLiteral("note"), std::nullopt, scheduler.now());
    EXPECT_TRUE(logs.contains("Failed to save post-session reflection: read-only"));
    EXPECT_TRUE(manager->pendingReflection());
    EXPECT_TRUE(analytics->events.empty());

    store->failure.reset();
    manager->saveReflection(std::nullopt, std::nullopt, QStringLiteral("   "), std::nullopt, scheduler.now());
    ASSERT_TRUE(store->reflection);
    EXPECT_EQ(store->reflection->id, id);
    EXPECT_FALSE(store->reflection->goalStatus);
    EXPECT_FALSE(store->reflection->helpful);
    EXPECT_FALSE(store->reflection->note);
    EXPECT_TRUE(logs.contains("goalStatus=nil, veskHelpful=nil, hasNote=false"));
    ASSERT_EQ(analytics->events.size(), 1u);
    EXPECT_EQ(analytics->events[0].signalName(), "reflection.answered");
    EXPECT_TRUE(analytics->events[0].parameters().empty());
    EXPECT_FALSE(manager->pendingReflection());

    manager->dismissReflection();
    EXPECT_TRUE(logs.contains("Ignoring reflection dismissal because no pending reflection is available"));
    EXPECT_EQ(analytics->events.size(), 1u);
}

TEST_F(SessionManagerAllowlistTest, ReflectionNoteIsCutAndDismissSendsSkipped)
{
    startActive();
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    manager->saveReflection(GoalStatus::partial, std::nullopt, QString(300, 'n'), ReflectionReasonCategory::goalUnclear,
                            scheduler.now());
    EXPECT_EQ(store->reflection->note, QString(280, 'n'));
    EXPECT_EQ(analytics->events.back().parameters(),
              (std::map<QString, QString>{{"goalStatus", "partial"}, {"reasonCategory", "goalUnclear"}}));

    startActive();
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    manager->dismissReflection();
    EXPECT_EQ(analytics->events.back().signalName(), "reflection.skipped");
    EXPECT_FALSE(manager->pendingReflection());
}

TEST_F(SessionManagerAllowlistTest, ScreenshotFeedbackLastsOneAndAHalfSecondsAfterTheLastShot)
{
    manager->requestScreenshot(scheduler.now());
    EXPECT_TRUE(logs.contains("Ignoring screenshot request because no active session is available"));

    startActive();
    manager->requestScreenshot(scheduler.now());
    EXPECT_EQ(manager->screenshotFeedback(), SessionScreenshotFeedback::saved);
    scheduler.advance(1.0);
    screenshots->fails = true;
    manager->requestScreenshot(scheduler.now());
    EXPECT_EQ(manager->screenshotFeedback(), SessionScreenshotFeedback::failed);
    EXPECT_TRUE(logs.contains("Failed to capture session screenshot: no display"));
    scheduler.advance(1.4);
    EXPECT_TRUE(manager->screenshotFeedback());
    scheduler.advance(0.1);
    EXPECT_FALSE(manager->screenshotFeedback());
}

TEST_F(SessionManagerAllowlistTest, RestoringAnOtherSpaceAppShowsTheFeedbackAndStillReveals)
{
    startActive();
    allWindows = {window(notesID)};
    manager->restoreAllowedApp(notesID);
    EXPECT_EQ(manager->sessionStatusFeedback(), SessionStatusFeedback::appOnOtherSpace);
    EXPECT_TRUE(
        logs.contains("Restore requested for other-Space app — bundleID=com.example.notes, spaceState=onOtherSpace"));
    EXPECT_TRUE(trace.calls.contains("spaceProbe.startBurst(reveal:com.example.notes)"));
    EXPECT_TRUE(logs.contains("Dynamic reveal attempt — bundleID=com.example.notes, attempt=0, running=true"));
    scheduler.advance(1.4);
    EXPECT_EQ(manager->sessionStatusFeedback(), SessionStatusFeedback::appOnOtherSpace);
    // Each restore of that kind shows it for 1.5 s again.
    manager->restoreAllowedApp(notesID);
    scheduler.advance(1.4);
    EXPECT_EQ(manager->sessionStatusFeedback(), SessionStatusFeedback::appOnOtherSpace);
    scheduler.advance(0.11);
    EXPECT_FALSE(manager->sessionStatusFeedback());

    manager->restoreAllowedApp("com.example.other");
    EXPECT_TRUE(logs.contains("Ignoring restoreAllowedApp for non-allowed bundleID=com.example.other"));
}

// A tap on an app in the quick-access panel (or the HUD) also brings it out of
// the stage queue, whose pass would hide it again; it lands on the panel's
// screen, or on the session's anchor screen.
TEST_F(SessionManagerAllowlistTest, RestoringAnAppAsksTheStageToBringItOutOfItsQueue)
{
    startActive();
    ASSERT_TRUE(stage->anchorScreen);
    manager->restoreAllowedApp(notesID);
    EXPECT_EQ(trace.calls.filter("stage.restoreIfQueued"),
              QStringList{
                  QStringLiteral("stage.restoreIfQueued(com.example.notes, %1)").arg(stage->anchorScreen->rawValue)});

    manager->toggleQuickAccessPanel(StageVeskScreenID{7});
    const qsizetype mark = trace.calls.size();
    manager->restoreAllowedApp(notesID);
    EXPECT_EQ(trace.since(mark).filter("stage.restoreIfQueued"),
              QStringList{"stage.restoreIfQueued(com.example.notes, 7)"});

    manager->restoreAllowedApp("com.example.other");
    EXPECT_EQ(trace.calls.filter("stage.restoreIfQueued").size(), 2) << "not for an app outside the allowlist";
}

TEST_F(SessionManagerAllowlistTest, ALaunchCompletingAfterTheSessionIsNotTrackedAsStartedByIt)
{
    workspace->holdCompletions = true;
    detector->visible = {notesID};
    start();
    ASSERT_EQ(workspace->heldCompletions.size(), 2u);
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    detector->visible = {notesID};
    manager->startSession(60, {notesID}, {}, std::nullopt, false, 0);

    for (const auto& completion : workspace->heldCompletions)
        completion();
    EXPECT_TRUE(
        logs.contains("Ignoring stale VESK-started tracking — bundleID=com.example.editor, source=initialAllowlist"));
    EXPECT_FALSE(manager->veskStartedBundleIDs().contains(editorID));
}

TEST_F(SessionManagerAllowlistTest, AnAppWhoseProcessIsGoneIsNotRunningWhateverTheClassificationSays)
{
    SessionServices s = services();
    s.windowSpaceClassificationProvider = [](const QString& bundleID) {
        return AllowedWindowSpaceClassification{bundleID, AllowedWindowSpaceState::onOtherSpace, 0, 1, 0, 0};
    };
    SessionManager other(s, scheduler, scheduler);
    other.startSession(60, {editorID, notesID}, {}, std::nullopt, false, 0);
    workspace->apps.front()->terminated = true; // notes
    EXPECT_EQ(other.allowedAppVisibilitySnapshots(),
              (std::vector<AllowedAppVisibilitySnapshot>{{editorID, AllowedAppVisibility::onOtherSpace},
                                                         {notesID, AllowedAppVisibility::notRunning}}));
}

TEST_F(SessionManagerAllowlistTest, RestoringAMinimizedAppUnminimizesThenRaisesIt)
{
    startActive();
    scheduler.advance(1);
    allWindows = {window(notesID)};
    windowManager->counts[notesID] = {1, 1};
    detector->visible.clear();
    const qsizetype mark = trace.calls.size();

    manager->restoreAllowedApp(notesID);
    EXPECT_EQ(trace.since(mark).filter("windowManager"),
              QStringList(
                  {"windowManager.setMinimized(com.example.notes, false)", "windowManager.raise(com.example.notes)"}));
    EXPECT_TRUE(
        logs.contains("Minimized-window restore requested — bundleID=com.example.notes, reason=dynamicReveal:0, "
                      "restore=true, raise=true"));

    // The targeted recovery that follows restores it as well; the next reveal attempt does not again.
    scheduler.advance(0.15);
    EXPECT_TRUE(logs.contains("Recovery requested minimized-window restore — bundleID=com.example.notes, "
                              "reason=restoreAllowedApp:com.example.notes, restore=true, raise=true"));
    scheduler.advance(0.11);
    EXPECT_EQ(trace.since(mark).filter("windowManager.setMinimized").size(), 2);
    EXPECT_TRUE(
        logs.contains("Dynamic reveal attempt — bundleID=com.example.notes, attempt=1, running=true, "
                      "wasHidden=false, unhide=false, activate=false, materialization=false, minimizedRestore=false"));
}

TEST_F(SessionManagerAllowlistTest, RemovingAnAddedAppThatIsNotRunning)
{
    startActive();
    scheduler.advance(1);
    manager->addApp("com.example.ghost", std::nullopt, std::nullopt);
    // A fail-open confirmation is waiting when the removal comes.
    overlay->onAllowedWindowsMissing();
    const qsizetype mark = trace.calls.size();
    logs.clear();

    manager->removeApp("com.example.ghost");

    EXPECT_EQ(trace.since(mark), allowlistFanOut());
    EXPECT_EQ(store->updatedAllowed, QStringList({editorID, notesID}));
    EXPECT_EQ(store->updatedAllAllowed, QStringList({editorID, "com.example.ghost", notesID}));
    EXPECT_TRUE(logs.contains("Cancelled pending dynamic reveal retries — bundleID=com.example.ghost, count=1"));
    EXPECT_TRUE(logs.contains("Cancelled pending fail-open confirmation"));
    EXPECT_TRUE(logs.contains("No running app to hide after dynamic removal — bundleID=com.example.ghost"));
    EXPECT_TRUE(logs.contains("Scheduled allowed-app recovery — reason=dynamicRemove:com.example.ghost, delay=0.15s, "
                              "dragDeferrable=false"));

    scheduler.advance(5);
    EXPECT_FALSE(logs.contains("Dynamic reveal attempt — bundleID=com.example.ghost"));
    EXPECT_FALSE(logs.contains("Dynamic reveal app-open fallback failed"));
    EXPECT_FALSE(logs.contains("Fail-open confirmation cancelled"));
    EXPECT_FALSE(logs.contains("No allowed windows confirmed"));
    EXPECT_TRUE(logs.contains("Allowed-app recovery completed — reason=dynamicRemove:com.example.ghost"));
}

TEST_F(SessionManagerAllowlistTest, DecliningThePromptOfAnAppThatHasQuit)
{
    workspace->install(gameID, "Game");
    startActive();
    const auto game = workspace->run(gameID);
    appMonitor->appLaunchNeedingDecisionHandler(gameID);
    ASSERT_TRUE(manager->pendingAppLaunchPrompt());
    game->terminated = true;

    manager->confirmAppLaunchPrompt(false);
    EXPECT_TRUE(logs.contains("App-launch prompt declined — terminating launched app, bundleID=com.example.game"));
    EXPECT_TRUE(logs.contains("No running app to terminate after declined prompt — bundleID=com.example.game"));
    EXPECT_FALSE(trace.calls.contains("app.terminate(com.example.game)"));
    EXPECT_TRUE(trace.calls.contains("ui.dismissAppLaunchPrompt"));
}

TEST_F(SessionManagerAllowlistTest, AMaterializedAppThatLostItsWindowsEndsTheRevealWithoutALaunch)
{
    startAndAddBrowserFromAnotherSpace();
    const qsizetype mark = trace.calls.size();

    // The browser closes its windows before the next attempt.
    allWindows.clear();
    scheduler.advance(0.25);
    EXPECT_TRUE(logs.contains("Dynamic reveal ended after materialization settle without visible window — "
                              "bundleID=com.example.browser, attempt=1, spaceState=noWindows"));
    scheduler.advance(5);
    EXPECT_TRUE(trace.since(mark).filter("workspace.").isEmpty()) << "neither a launch nor a blank page";
    EXPECT_FALSE(logs.contains("Scheduled dynamic reveal retry — bundleID=com.example.browser, nextAttempt=2"));
}

TEST_F(SessionManagerAllowlistTest, RevealingAHiddenAppUnhidesItThenTakesTheStepItsWindowsNeed)
{
    materializer->outcome = WindowMaterializationOutcome::requested();
    const struct {
        const char* name;
        std::vector<AllowedWindowSnapshot> onScreen;
        AXWindowManaging::WindowCounts counts;
        QStringList calls;
        QString attempt;
    } cases[] = {
        {"its window is on this Space",
         {window(notesID)},
         {0, 1},
         {"app.unhide(com.example.notes)", "app.activate(com.example.notes)"},
         "unhide=true, activate=true, materialization=false, minimizedRestore=false"},
        {"its windows are minimized",
         {},
         {1, 1},
         {"app.unhide(com.example.notes)", "windowManager.setMinimized(com.example.notes, false)",
          "windowManager.raise(com.example.notes)"},
         "unhide=true, activate=false, materialization=false, minimizedRestore=true"},
        {"its windows are on another Space",
         {},
         {0, 1},
         {"app.unhide(com.example.notes)", "materializer.materialize(com.example.notes, dynamicRevealHidden:0)"},
         "unhide=true, activate=false, materialization=true, minimizedRestore=false"},
    };
    const auto notes = workspace->apps.front();
    for (const auto& c : cases) {
        startActive();
        detector->visible.clear();
        onScreenWindows = c.onScreen;
        allWindows = {window(notesID)};
        windowManager->counts[notesID] = c.counts;
        notes->hidden = true;
        notes->activations.clear();
        const qsizetype mark = trace.calls.size();

        manager->restoreAllowedApp(notesID);
        QStringList calls;
        for (const QString& call : trace.since(mark)) {
            if (call.startsWith("app.") || call.startsWith("windowManager.") || call.startsWith("materializer."))
                calls << call;
        }
        EXPECT_EQ(calls, c.calls) << c.name;
        EXPECT_TRUE(logs.contains("Dynamic reveal attempt — bundleID=com.example.notes, attempt=0, running=true, "
                                  "wasHidden=true, "
                                  + c.attempt))
            << c.name;
        if (!notes->activations.empty()) {
            EXPECT_EQ(notes->activations, std::vector<ApplicationActivationOptions>{{true}}) << "with all its windows";
        }
        manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
        logs.clear();
    }
}

TEST_F(SessionManagerAllowlistTest, AddingAnAppCancelsAPendingRecoveryBeforeTheAllowlistChanges)
{
    workspace->install(browserID, "Browser");
    startActive();
    scheduler.advance(1);
    spaceMonitor->onSpaceChange(SpaceChangeContext{});
    scheduler.runPending();
    ASSERT_TRUE(logs.contains("Scheduled allowed-app recovery — reason=spaceChangedUnexpectedly"));
    logs.clear();
    const qsizetype mark = trace.calls.size();

    manager->addApp(browserID, std::nullopt, std::nullopt);
    QStringList lines;
    for (const auto& entry : logs.entries())
        lines << entry.message;
    const qsizetype cancelled = lines.indexOf("Cancelled pending allowed-app recovery");
    const qsizetype synchronized = lines.indexOf(QRegularExpression("Synchronized allowlist across services.*"));
    EXPECT_NE(cancelled, -1);
    EXPECT_NE(synchronized, -1);
    EXPECT_LT(cancelled, synchronized);

    scheduler.advance(1);
    EXPECT_EQ(trace.since(mark).filter("enforceAllowlist"),
              QStringList({"appMonitor.enforceAllowlist(allowedAppRecovery:dynamicAdd:com.example.browser)"}));
}

TEST_F(SessionManagerAllowlistTest, AStopCancelsTheRevealRetriesOfItsSession)
{
    startActive();
    manager->addApp("com.example.ghost", std::nullopt, std::nullopt);
    ASSERT_TRUE(logs.contains("Scheduled dynamic reveal retry — bundleID=com.example.ghost, nextAttempt=1"));

    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    EXPECT_TRUE(logs.contains("Cancelled all pending dynamic reveal retries — count=1"));
    scheduler.advance(5);
    EXPECT_FALSE(logs.contains("bundleID=com.example.ghost, attempt=1"));
}

TEST_F(SessionManagerAllowlistTest, WhatThePanelsAskForWhileTheStopTakesThemDownEndsWithTheSession)
{
    startActive();
    scheduler.advance(1);
    detector->visible.clear();
    // Closing, the quick-access panel asks for a recovery; a tap on the HUD
    // as it goes asks for a restore.
    ui->onCall = [this](const QString& call) {
        if (call == "ui.dismissQuickAccessPanel")
            manager->scheduleAllowedAppsRecovery("quickAccessPanelClosed", std::nullopt, false);
        else if (call == "ui.dismissHUD")
            manager->restoreAllowedApp(notesID);
    };
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    ui->onCall = {};
    EXPECT_TRUE(logs.contains("Allowed-app recovery skipped — no active session, reason=quickAccessPanelClosed"));
    EXPECT_TRUE(
        logs.contains("Allowed-app recovery skipped — no active session, reason=restoreAllowedApp:com.example.notes"));
    EXPECT_FALSE(logs.contains("Scheduled allowed-app recovery — reason=quickAccessPanelClosed"));
    ASSERT_TRUE(logs.contains("Scheduled dynamic reveal retry — bundleID=com.example.notes, nextAttempt=1"));

    // The next session starts before that retry was due: it never runs.
    startActive();
    EXPECT_TRUE(logs.contains("Cancelled all pending dynamic reveal retries — count=1"));
    scheduler.advance(5);
    EXPECT_FALSE(logs.contains("bundleID=com.example.notes, attempt=1"));
}
