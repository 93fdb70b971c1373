#include "DesktopSpecs.h"
#include "SessionLogCapture.h"
#include "SessionTestDoubles.h"

#include "enforcement/SystemWorkspace.h"
#include "overlay/OverlayService.h"
#include "overlay/SystemMouseInteractionDetector.h"
#include "overlay/WindowSnapshotReader.h"
#include "platform/simulated/DesktopScenario.h"
#include "platform/simulated/DesktopScreenProvider.h"
#include "platform/simulated/DesktopWindowListProvider.h"
#include "platform/simulated/DesktopWorkspace.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "session/BundleApplicationCapabilityDetector.h"
#include "session/SystemAllowedWindowDetector.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vesk;
using namespace vesk::test;
namespace p = vesk::platform;

namespace {

const QString editor = "com.example.editor";
const QString notes = "com.example.notes";
const QString browser = "com.example.browser";
const QString game = "com.example.game";
const QString chat = "com.example.chat";
const QString other = "com.example.other";

// The real overlay, with its calls put into the trace. The session core sets
// its handlers on this object; the overlay's own handlers forward to them, and
// are put back after the overlay's deactivation clears them.
class TracingOverlay final : public OverlayControlling {
public:
    TracingOverlay(CallTrace& trace, OverlayService& inner) : trace_(trace), inner_(inner) { forwardHandlers(); }

    void activate(const std::set<QString>& allowed) override
    {
        trace_.record("overlay.activate");
        inner_.activate(allowed);
    }
    void updateAllowlist(const std::set<QString>& allowed) override
    {
        trace_.record("overlay.updateAllowlist");
        inner_.updateAllowlist(allowed);
    }
    void deactivate() override
    {
        trace_.record("overlay.deactivate");
        inner_.deactivate();
        missing_ = {};
        temporarilyMissing_ = {};
        occluded_ = {};
        passthroughRects_ = {};
        motion_ = {};
        seamDragHandoff_ = {};
        forwardHandlers();
    }
    AllowedWindowDragState allowedWindowDragState(const QDateTime& now) const override
    {
        return inner_.allowedWindowDragState(now);
    }
    void prepareBackingForAllowedAppActivation(const QString& reason) override
    {
        trace_.record("overlay.prepareBacking(" + reason + ")");
        inner_.prepareBackingForAllowedAppActivation(reason);
    }
    void suppressPassthroughImmediately(const QString& bundleID, const QString& reason) override
    {
        trace_.record("overlay.suppressPassthrough(" + bundleID + ")");
        inner_.suppressPassthroughImmediately(bundleID, reason);
    }
    void setAllowedWindowsMissingHandler(MissingHandler handler) override { missing_ = std::move(handler); }
    void setAllowedWindowsTemporarilyMissingHandler(MissingHandler handler) override
    {
        temporarilyMissing_ = std::move(handler);
    }
    void setAllowedWindowsOccludedHandler(OccludedHandler handler) override { occluded_ = std::move(handler); }
    void setPassthroughRectsChangedHandler(PassthroughRectsHandler handler) override
    {
        passthroughRects_ = std::move(handler);
    }
    void setAllowedWindowMotionHandler(MotionHandler handler) override { motion_ = std::move(handler); }
    void setSeamDragHandoffHandler(SeamDragHandoffHandler handler) override { seamDragHandoff_ = std::move(handler); }

    // Frames the overlay has run; every frame ends with the hole report.
    int frames = 0;

private:
    template <typename Handler, typename... Args>
    static void call(const Handler& slot, Args&&... args)
    {
        if (const Handler handler = slot)
            handler(std::forward<Args>(args)...);
    }

    void forwardHandlers()
    {
        inner_.setAllowedWindowsMissingHandler([this] { call(missing_); });
        inner_.setAllowedWindowsTemporarilyMissingHandler([this] { call(temporarilyMissing_); });
        inner_.setAllowedWindowsOccludedHandler([this](const std::set<QString>& ids) { call(occluded_, ids); });
        inner_.setPassthroughRectsChangedHandler([this](const std::vector<Rect>& rects) {
            ++frames;
            call(passthroughRects_, rects);
        });
        inner_.setAllowedWindowMotionHandler(
            [this](const std::vector<OverlayWindowMotionEvent>& events) { call(motion_, events); });
        inner_.setSeamDragHandoffHandler([this](const QString& id, Point point) { call(seamDragHandoff_, id, point); });
    }

    CallTrace& trace_;
    OverlayService& inner_;
    MissingHandler missing_;
    MissingHandler temporarilyMissing_;
    OccludedHandler occluded_;
    PassthroughRectsHandler passthroughRects_;
    MotionHandler motion_;
    SeamDragHandoffHandler seamDragHandoff_;
};

p::BundleSpec bundle(const QString& bundleID, const QString& name)
{
    p::BundleSpec spec;
    spec.path = "/Applications/" + name + ".app";
    spec.bundleIdentifier = bundleID;
    spec.name = name;
    return spec;
}

p::ApplicationSpec runningApplication(const p::BundleSpec& bundle, QRectF quartzBounds)
{
    p::ApplicationSpec spec;
    spec.bundleIdentifier = bundle.bundleIdentifier;
    spec.name = bundle.name;
    spec.bundlePath = bundle.path;
    p::WindowSpec window;
    window.title = bundle.name;
    window.bounds = quartzBounds;
    spec.windows = {window};
    return spec;
}

// A session over the simulated desktop (one 1440 × 900 display): its
// workspace with launch completions on the workspace's own thread, its window
// list and screens, the real overlay, allowed-window detector, waiter and
// capability detector. The editor and the notes application run, each with one
// window; a web browser whose windows never show up on their own and two
// other applications are installed. The remaining services are recording doubles.
class SessionManagerScenarioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(temporary.isValid());
        p::DesktopScenario scenario;
        p::DisplaySpec display;
        display.displayID = 1;
        display.bounds = QRectF(0, 0, 1440, 900);
        scenario.displays = {display};
        const p::BundleSpec editorBundle = bundle(editor, "Editor");
        const p::BundleSpec notesBundle = bundle(notes, "Notes");
        const p::BundleSpec otherBundle = bundle(other, "Other");
        p::BundleSpec browserBundle = bundle(browser, "Browser");
        browserBundle.urlSchemes = {"http", "https"};
        browserBundle.launch.appearance = p::WindowAppearance::never;
        scenario.bundles = {editorBundle,         notesBundle,          browserBundle,
                            bundle(game, "Game"), bundle(chat, "Chat"), otherBundle};
        scenario.applications = {runningApplication(otherBundle, QRectF(1300, 800, 100, 60)),
                                 runningApplication(editorBundle, QRectF(100, 100, 600, 500)),
                                 runningApplication(notesBundle, QRectF(800, 100, 500, 500))};
        scenario.frontmost = notes;
        desktop = std::make_unique<p::SimulatedDesktop>(scheduler, root.path());
        ASSERT_TRUE(desktop->applyScenario(scenario).isEmpty());

        windowList = std::make_unique<p::DesktopWindowListProvider>(*desktop);
        screens = std::make_shared<p::DesktopScreenProvider>(*desktop);
        reader = std::make_unique<WindowSnapshotReader>(*windowList, bundleIdentifierLookup(*desktop));
        mouseInteraction = std::make_unique<SystemMouseInteractionDetector>(desktop->pointer());
        realOverlay = std::make_unique<OverlayService>(
            scheduler, scheduler,
            OverlayService::DesktopParts{*screens, *screens, *desktop, desktop->pointer(),
                                         desktop->ownApplication().bundleIdentifier.value_or(QString())},
            *reader, *mouseInteraction);
        overlay = std::make_shared<TracingOverlay>(trace, *realOverlay);
        detector = std::make_shared<SystemAllowedWindowDetector>(*reader, *screens, "com.vesk.app");

        SessionServices s;
        s.overlay = overlay;
        s.kiosk = std::make_shared<TraceKiosk>(trace);
        s.appMonitor = appMonitor;
        s.mouseBlocker = mouseBlocker;
        s.spaceBlocker = std::make_shared<TraceSpaceBlocker>(trace);
        s.spaceMonitor = spaceMonitor;
        s.spaceTransitionProbe = std::make_shared<TraceSpaceProbe>(trace);
        s.desktopIsolation = std::make_shared<TraceDesktopIsolation>(trace);
        s.emergencyHotkey = std::make_shared<TraceHotkey>(trace);
        s.uiController = std::make_shared<TraceUI>(trace);
        s.allowedWindowWaiter = std::make_shared<AllowedWindowWaiter>(detector, scheduler);
        s.allowedWindowDetector = detector;
        s.timerFactory = std::make_shared<ManualTimerFactory>(trace, scheduler);
        s.workspace = std::make_shared<SystemWorkspace>(desktop->workspace());
        s.applicationCapabilityDetector =
            std::make_shared<BundleApplicationCapabilityDetector>(desktop->interfaces().bundles);
        s.screenshotService = std::make_shared<FakeScreenshots>();
        s.screenshotThumbnailSuppression = std::make_shared<TraceThumbnailSuppression>(trace);
        s.transitionPresenter = std::make_shared<TraceTransition>(trace);
        s.windowManager = windowManager;
        s.windowMaterializer = std::make_shared<TraceMaterializer>(trace);
        s.stage = std::make_shared<TraceStage>(trace);
        s.screens = screens;
        s.sessionStore = store;
        s.analytics = analytics;
        s.onScreenWindowSnapshots = [this] { return reader->copyOnScreenWindowSnapshots(); };
        s.allWindowSnapshots = [this] { return reader->copyAllWindowSnapshots(); };
        s.temporaryDirectory = [this] { return temporary.path(); };
        s.installedAppName = [this](const QString& bundleID) -> std::optional<QString> {
            const p::BundleSpec* installed = desktop->bundleForIdentifier(bundleID);
            return installed ? std::optional(installed->name) : std::nullopt;
        };
        manager = std::make_unique<SessionManager>(s, scheduler, scheduler);
    }

    void TearDown() override
    {
        manager.reset();
        desktop->workspace().waitForCompletions();
    }

    // Lets virtual time pass in short slices; after each slice the completions
    // that the workspace's thread handed to the main queue run.
    void advance(double seconds)
    {
        const double target = scheduler.uptime() + seconds;
        while (scheduler.uptime() < target - 1e-9) {
            scheduler.advance(std::min(0.01, target - scheduler.uptime()));
            settle();
        }
        settle();
    }

    void settle()
    {
        desktop->workspace().waitForCompletions();
        scheduler.runPending();
    }

    // Moves time on until a line of the session core contains the text; false
    // when none did within the limit.
    bool advanceUntilLogged(const QString& text, double limit)
    {
        const double end = scheduler.uptime() + limit;
        while (!logs.contains(text)) {
            if (scheduler.uptime() >= end)
                return false;
            advance(0.01);
        }
        return true;
    }

    // Runs until the overlay has drawn `count` more frames.
    void advanceFrames(int count)
    {
        const int target = overlay->frames + count;
        while (overlay->frames < target)
            scheduler.advance(0.001);
    }

    void startSession(const std::set<QString>& allowed)
    {
        manager->startSession(600, allowed, {}, std::nullopt, false, 5);
        advance(1);
        ASSERT_TRUE(manager->isSessionActive());
        ASSERT_FALSE(manager->isStartingSession());
        ASSERT_TRUE(realOverlay->isActive());
    }

    p::WindowNumber windowOf(const QString& bundleID) const
    {
        return desktop->windowsOf(desktop->runningApplication(bundleID)->pid).front()->number;
    }

    QUrl bundleURL(const QString& bundleID) const { return *desktop->workspace().urlForApplication(bundleID); }

    CallTrace trace;
    ManualScheduler scheduler;
    SessionLogCapture logs;
    QTemporaryDir root;
    QTemporaryDir temporary;
    std::unique_ptr<p::SimulatedDesktop> desktop;
    std::unique_ptr<p::DesktopWindowListProvider> windowList;
    std::shared_ptr<p::DesktopScreenProvider> screens;
    std::unique_ptr<WindowSnapshotReader> reader;
    std::unique_ptr<SystemMouseInteractionDetector> mouseInteraction;
    std::unique_ptr<OverlayService> realOverlay;
    std::shared_ptr<TracingOverlay> overlay;
    std::shared_ptr<SystemAllowedWindowDetector> detector;
    std::shared_ptr<TraceAppMonitor> appMonitor = std::make_shared<TraceAppMonitor>(trace);
    std::shared_ptr<TraceMouseBlocker> mouseBlocker = std::make_shared<TraceMouseBlocker>(trace);
    std::shared_ptr<TraceSpaceMonitor> spaceMonitor = std::make_shared<TraceSpaceMonitor>(trace);
    std::shared_ptr<TraceAXWindowManager> windowManager = std::make_shared<TraceAXWindowManager>(trace);
    std::shared_ptr<TraceStore> store = std::make_shared<TraceStore>(trace);
    std::shared_ptr<TraceAnalytics> analytics = std::make_shared<TraceAnalytics>(trace);
    std::unique_ptr<SessionManager> manager;
};

} // namespace

TEST_F(SessionManagerScenarioTest, AWindowBackWithinTheConfirmationDelayOnlyCancelsTheConfirmation)
{
    startSession({editor});
    EXPECT_TRUE(
        logs.contains("Allowed app window detected — proceeding with overlay activation", "AllowedWindowWaiter"));
    EXPECT_FALSE(mouseBlocker->passthroughRects.empty());
    // The minimised window still has its Accessibility window.
    windowManager->counts[editor] = {1, 1};
    logs.clear();

    const double vanishedAt = scheduler.uptime();
    desktop->setWindowMinimized(windowOf(editor), true);
    ASSERT_TRUE(advanceUntilLogged("No allowed windows detected — confirming empty-session state in 0.25s", 3.0));
    // The overlay waited out its grace period; meanwhile a recovery left the minimised window alone.
    EXPECT_GE(scheduler.uptime() - vanishedAt, 1.5);
    EXPECT_TRUE(logs.contains("Allowed windows temporarily missing, but allowed apps are still running — treating as "
                              "possible minimized state"));
    EXPECT_TRUE(logs.contains("Recovery skipped blind activation for minimized app — bundleID=com.example.editor, "
                              "reason=allowedWindowsTemporarilyMissing"));
    EXPECT_TRUE(desktop->window(windowOf(editor))->minimized);

    logs.clear();
    const qsizetype mark = trace.calls.size();
    desktop->setWindowMinimized(windowOf(editor), false);
    advance(0.25);

    EXPECT_EQ(logs.count("Fail-open confirmation cancelled — allowed windows visible again"), 1);
    EXPECT_FALSE(logs.contains("No allowed windows confirmed"));
    EXPECT_FALSE(logs.contains("Scheduled allowed-app recovery"));
    EXPECT_TRUE(trace.since(mark).isEmpty()) << trace.since(mark).join("; ").toStdString();
    EXPECT_TRUE(manager->isSessionActive());
    // Once the overlay's wait for the restore animation is over, the hole reaches the mouse blocker again.
    advance(1.5);
    EXPECT_FALSE(mouseBlocker->passthroughRects.empty());
}

TEST_F(SessionManagerScenarioTest, TheSessionStaysActiveWhenEveryAllowedAppQuits)
{
    startSession({editor, notes});

    desktop->forceTerminate(desktop->runningApplication(editor)->pid);
    desktop->forceTerminate(desktop->runningApplication(notes)->pid);
    ASSERT_TRUE(advanceUntilLogged("No allowed windows confirmed and no allowed apps are running — keeping empty VESK "
                                   "session active",
                                   3.0));
    EXPECT_TRUE(
        logs.contains("Allowed windows temporarily missing and no allowed apps are running — keeping empty VESK "
                      "session active"));

    advance(60);
    EXPECT_TRUE(manager->isSessionActive());
    EXPECT_FALSE(store->stopped);
    EXPECT_TRUE(realOverlay->isActive());
    EXPECT_TRUE(mouseBlocker->passthroughRects.empty());
    EXPECT_EQ(manager->allowedAppVisibilitySnapshots(),
              (std::vector<AllowedAppVisibilitySnapshot>{{editor, AllowedAppVisibility::notRunning},
                                                         {notes, AllowedAppVisibility::notRunning}}));
}

TEST_F(SessionManagerScenarioTest, AddingANotRunningWebAppLaunchesItThenOpensABlankPageWithIt)
{
    startSession({editor, notes});
    const qsizetype mark = trace.calls.size();
    const auto requestsBefore = desktop->workspace().openRequests().size();
    const double addedAt = scheduler.uptime();

    manager->addApp(browser, std::nullopt, StageVeskScreenID{1});

    EXPECT_EQ(trace.since(mark).mid(0, 9), allowlistFanOut()
                                               + QStringList({
                                                   "stage.requestStagePlacement(com.example.browser)",
                                                   "spaceProbe.startBurst(reveal:com.example.browser)",
                                               }));
    EXPECT_EQ(store->updatedAllowed, QStringList({browser, editor, notes}));
    EXPECT_EQ(store->updatedAllAllowed, QStringList({browser, editor, notes}));
    EXPECT_TRUE(realOverlay->allowedBundleIDs().contains(browser));

    // Attempt 0 launches it.
    const auto& requests = desktop->workspace().openRequests();
    ASSERT_EQ(requests.size(), requestsBefore + 1);
    EXPECT_EQ(requests.back().applicationURL, bundleURL(browser));
    EXPECT_TRUE(requests.back().urls.isEmpty());
    EXPECT_TRUE(logs.contains("Dynamic reveal app-open fallback — bundleID=com.example.browser, attempt=0, url="
                              + bundleURL(browser).toLocalFile()));
    // The completion comes from the workspace's thread through the main queue.
    advance(0.2);
    EXPECT_TRUE(
        logs.contains("Launched allowed app: com.example.browser, source=dynamicReveal, trackAsVeskStarted=true"));
    EXPECT_TRUE(manager->veskStartedBundleIDs().contains(browser));
    ASSERT_NE(desktop->runningApplication(browser), nullptr);

    // Attempt 1, 0.25 s after the add: running without a window, so a blank page is opened with it.
    const QString blankPath = QDir(temporary.path()).filePath("VESKBlankDocuments/com.example.browser.html");
    EXPECT_FALSE(QFile::exists(blankPath));
    advance(addedAt + 0.26 - scheduler.uptime());
    QFile blank(blankPath);
    ASSERT_TRUE(blank.open(QIODevice::ReadOnly));
    EXPECT_EQ(blank.size(), 99);
    ASSERT_EQ(requests.size(), requestsBefore + 2);
    EXPECT_EQ(requests.back().applicationURL, bundleURL(browser));
    EXPECT_EQ(requests.back().urls, QList<QUrl>({QUrl::fromLocalFile(blankPath)}));
    EXPECT_TRUE(logs.contains("Dynamic reveal blank fallback — bundleID=com.example.browser, attempt=1"));
    EXPECT_TRUE(
        logs.contains("Dynamic reveal blank fallback opened — bundleID=com.example.browser, blankURL=" + blankPath));

    // The retries run 0.75, 1.5 and 3.0 s after the add, then the reveal ends.
    const struct {
        double offset;
        int attempt;
        const char* scheduled;
    } retries[] = {
        {0.75, 2, "nextAttempt=2, delay=0.50s, offset=0.75s"},
        {1.5, 3, "nextAttempt=3, delay=0.75s, offset=1.50s"},
        {3.0, 4, "nextAttempt=4, delay=1.50s, offset=3.00s"},
    };
    EXPECT_TRUE(logs.contains("Scheduled dynamic reveal retry — bundleID=com.example.browser, nextAttempt=1, "
                              "delay=0.25s, offset=0.25s"));
    for (const auto& retry : retries) {
        const QString line =
            QStringLiteral("Dynamic reveal attempt — bundleID=com.example.browser, attempt=%1").arg(retry.attempt);
        EXPECT_TRUE(logs.contains(QStringLiteral("Scheduled dynamic reveal retry — bundleID=com.example.browser, ")
                                  + retry.scheduled))
            << retry.attempt;
        advance(addedAt + retry.offset - 0.01 - scheduler.uptime());
        EXPECT_FALSE(logs.contains(line)) << retry.attempt;
        advance(0.02);
        EXPECT_TRUE(logs.contains(line)) << retry.attempt;
    }
    EXPECT_TRUE(
        logs.contains("Dynamic reveal finished without visible window — bundleID=com.example.browser, attempts=5, "
                      "appOpenFallback=true, blankFallback=true"));
    // Both fallbacks are spent: nothing more is opened.
    EXPECT_EQ(requests.size(), requestsBefore + 2);
}

TEST_F(SessionManagerScenarioTest, AnAppWithoutABundleEndsTheRevealAfterFiveAttempts)
{
    startSession({editor});
    const auto requestsBefore = desktop->workspace().openRequests().size();
    manager->addApp("com.example.ghost", std::nullopt, std::nullopt);
    advance(3.1);

    EXPECT_EQ(logs.count(
                  "Dynamic reveal app-open fallback failed — could not resolve app URL, bundleID=com.example.ghost"),
              5);
    EXPECT_TRUE(
        logs.contains("Dynamic reveal finished without visible window — bundleID=com.example.ghost, attempts=5, "
                      "appOpenFallback=false, blankFallback=false"));
    EXPECT_EQ(desktop->workspace().openRequests().size(), requestsBefore);
    EXPECT_TRUE(manager->isSessionActive());
}

TEST_F(SessionManagerScenarioTest, OfTwoRecoveryRequestsATenthOfASecondApartOnlyTheSecondRuns)
{
    startSession({editor, notes});
    desktop->activate(desktop->runningApplication(other)->pid, 0);
    const qsizetype mark = trace.calls.size();
    logs.clear();

    manager->restoreAllowedApp(editor);
    advance(0.1);
    manager->restoreAllowedApp(notes);
    advance(1);

    EXPECT_EQ(logs.count("Allowed-app recovery completed"), 1);
    EXPECT_TRUE(logs.contains("Allowed-app recovery completed — reason=restoreAllowedApp:com.example.notes, "
                              "activatedAllowedApps=2, skippedSpaceBlocked=0, targets=[\"com.example.notes\"]"));
    EXPECT_EQ(trace.since(mark).filter("enforceAllowlist"),
              QStringList({"appMonitor.enforceAllowlist(allowedAppRecovery:restoreAllowedApp:com.example.notes)"}));
    // The pass activated the allowed applications in order, the notes application last.
    EXPECT_EQ(desktop->frontmostPID(), desktop->runningApplication(notes)->pid);
}

TEST_F(SessionManagerScenarioTest, ARecoveryRequestDuringADragWaitsForTheDragToSettle)
{
    startSession({editor, notes});
    const p::WindowNumber editorWindow = windowOf(editor);
    const p::WindowNumber cover = windowOf(other);

    // Frames after the last motion of a drag at which the overlay finds the window covered.
    const struct {
        int frames;
        const char* delay; // none: no deferral
    } cases[] = {{12, "0.60"}, {42, "0.15"}, {48, nullptr}};
    for (const auto& c : cases) {
        // Drag the editor's window a little, frame by frame, and let go.
        desktop->setMouseButtonDown(0, true);
        for (int step = 0; step < 3; ++step) {
            QRectF bounds = desktop->window(editorWindow)->bounds;
            bounds.translate(10, 0);
            desktop->setWindowBounds(editorWindow, bounds);
            advanceFrames(1);
        }
        desktop->setMouseButtonDown(0, false);
        const auto drag = overlay->allowedWindowDragState(scheduler.now());
        ASSERT_TRUE(drag.lastMotionAt) << c.frames;
        EXPECT_EQ(drag.bundleIDs, std::set<QString>{editor});
        settle();
        EXPECT_TRUE(trace.calls.contains("stage.syncUserDrag(com.example.editor)"));

        // Another application's window comes over it just before the frame.
        advanceFrames(c.frames - 1);
        logs.clear();
        desktop->setWindowBounds(cover, desktop->window(editorWindow)->bounds.adjusted(-10, -10, 10, 10));
        desktop->raiseWindow(cover);
        advanceFrames(1);

        EXPECT_TRUE(
            logs.contains("Allowed app windows occluded — scheduling recovery, bundleIDs=[\"com.example.editor\"]"))
            << c.frames;
        if (c.delay) {
            EXPECT_TRUE(logs.contains("Allowed-app recovery deferred during allowed-window drag — "
                                      "reason=allowedWindowsOccluded, bundleIDs=[\"com.example.editor\"], "
                                      "mouseInteraction=false, lastMotionAge="))
                << c.frames;
            EXPECT_TRUE(logs.contains(QStringLiteral("delay=%1s").arg(c.delay))) << c.frames;
        } else {
            EXPECT_FALSE(logs.contains("Allowed-app recovery deferred")) << c.frames;
            EXPECT_TRUE(logs.contains("Scheduled allowed-app recovery — reason=allowedWindowsOccluded, delay=0.15s, "
                                      "dragDeferrable=true"));
        }

        // The recovery brings the editor forward again; the covering window goes away.
        advance(1.5);
        desktop->setWindowBounds(cover, QRectF(1300, 800, 100, 60));
        advance(1.0);
    }
}

TEST_F(SessionManagerScenarioTest, ASecondDisallowedLaunchWhileAPromptIsOpenIsSkipped)
{
    startSession({editor});
    const auto launch = [&](const QString& bundleID) {
        desktop->workspace().openApplication(bundleURL(bundleID), p::OpenConfiguration{}, {});
        advance(0.2);
        ASSERT_NE(desktop->runningApplication(bundleID), nullptr);
        // What the application monitor does for a launched application that is not allowed.
        appMonitor->appLaunchNeedingDecisionHandler(bundleID);
    };

    launch(game);
    ASSERT_TRUE(manager->pendingAppLaunchPrompt());
    EXPECT_EQ(manager->pendingAppLaunchPrompt()->bundleID, game);
    EXPECT_EQ(manager->pendingAppLaunchPrompt()->appName, "Game");

    launch(chat);
    EXPECT_TRUE(logs.contains("Skipping app-launch prompt — another prompt is open, bundleID=com.example.chat"));
    EXPECT_EQ(manager->pendingAppLaunchPrompt()->bundleID, game);
    // The skipped application keeps waiting for its decision.
    EXPECT_FALSE(trace.calls.contains("appMonitor.removePendingDecision(com.example.chat)"));

    manager->confirmAppLaunchPrompt(false);
    advance(0.1);
    EXPECT_EQ(desktop->runningApplication(game), nullptr);
    EXPECT_NE(desktop->runningApplication(chat), nullptr);
    EXPECT_FALSE(manager->pendingAppLaunchPrompt());
    EXPECT_EQ(trace.calls.count("ui.showAppLaunchPrompt"), 1);
}

TEST_F(SessionManagerScenarioTest, AReflectionWithoutAnswersStoresNonesAndAFailedSaveKeepsTheCard)
{
    startSession({editor});
    advance(5);
    manager->stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    ASSERT_TRUE(manager->pendingReflection());
    const QUuid id = manager->pendingReflection()->id;
    analytics->events.clear();

    store->failure = QStringLiteral("disk full");
    manager->saveReflection(GoalStatus::done, VeskHelpful::yes, QStringLiteral("Went well"),
                            ReflectionReasonCategory::other, scheduler.now());
    EXPECT_TRUE(logs.contains("Failed to save post-session reflection: disk full"));
    EXPECT_EQ(manager->pendingReflection()->id, id);
    EXPECT_TRUE(analytics->events.empty());
    EXPECT_FALSE(store->reflection);

    store->failure.reset();
    manager->saveReflection(std::nullopt, std::nullopt, std::nullopt, std::nullopt, scheduler.now());
    ASSERT_TRUE(store->reflection);
    EXPECT_EQ(store->reflection->id, id);
    EXPECT_FALSE(store->reflection->goalStatus);
    EXPECT_FALSE(store->reflection->helpful);
    EXPECT_FALSE(store->reflection->note);
    EXPECT_TRUE(logs.contains("Post-session reflection saved — focusSessionID=" + uuidText(id)
                              + ", goalStatus=nil, veskHelpful=nil, hasNote=false"));
    ASSERT_EQ(analytics->events.size(), 1u);
    EXPECT_EQ(analytics->events[0].signalName(), "reflection.answered");
    EXPECT_TRUE(analytics->events[0].parameters().empty());
    EXPECT_FALSE(manager->pendingReflection());
}

TEST_F(SessionManagerScenarioTest, WindowsOffScreenWithoutAccessibilityWindowsReadAsAnotherSpace)
{
    startSession({editor, notes});
    desktop->setWindowMinimized(windowOf(notes), true);

    const auto snapshots = manager->allowedAppVisibilitySnapshots();
    ASSERT_EQ(snapshots.size(), 2u);
    EXPECT_EQ(snapshots[0].visibility, AllowedAppVisibility::visible);
    // The window manager double reports no Accessibility window, so the
    // off-screen window cannot count as minimised.
    EXPECT_EQ(snapshots[1].visibility, AllowedAppVisibility::onOtherSpace);
}
