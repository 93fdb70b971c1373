#include "SessionLogCapture.h"
#include "SessionTestDoubles.h"

#include "enforcement/SystemWorkspace.h"
#include "overlay/WindowSnapshotReader.h"
#include "platform/DesktopScenario.h"
#include "platform/DesktopScreenProvider.h"
#include "platform/DesktopWindowListProvider.h"
#include "platform/DesktopWorkspace.h"
#include "platform/SimulatedDesktop.h"
#include "session/SystemAllowedWindowDetector.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <mutex>

using namespace vesk;
using namespace vesk::test;
namespace p = vesk::platform;

namespace {

const QString editor = "com.example.editor";
const QString notes = "com.example.notes";

// The desktop's workspace, with its completions handed back on the main
// thread when the test drains them: the virtual-time scheduler is not to be
// touched from the workspace's own thread.
class MainThreadWorkspace final : public WorkspaceControlling {
public:
    MainThreadWorkspace(p::DesktopWorkspace& desktopWorkspace) : desktop_(desktopWorkspace), inner_(desktopWorkspace) {}

    std::vector<std::shared_ptr<RunningApplicationControlling>> runningApplications() const override
    {
        return inner_.runningApplications();
    }
    std::optional<QUrl> urlForApplication(const QString& bundleID) const override
    {
        return inner_.urlForApplication(bundleID);
    }
    void openApplication(const QUrl& url, const WorkspaceOpenConfiguration& configuration,
                         OpenCompletion completion) override
    {
        inner_.openApplication(url, configuration, deferred(std::move(completion)));
    }
    void open(const std::vector<QUrl>& urls, const QUrl& url, const WorkspaceOpenConfiguration& configuration,
              OpenCompletion completion) override
    {
        inner_.open(urls, url, configuration, deferred(std::move(completion)));
    }

    void drain()
    {
        desktop_.waitForCompletions();
        std::vector<std::function<void()>> ready;
        {
            std::lock_guard lock(mutex_);
            ready.swap(ready_);
        }
        for (auto& completion : ready)
            completion();
    }

private:
    OpenCompletion deferred(OpenCompletion completion)
    {
        return [this, completion](std::shared_ptr<RunningApplicationControlling> app, std::optional<QString> error) {
            std::lock_guard lock(mutex_);
            ready_.push_back([completion, app, error] { completion(app, error); });
        };
    }

    p::DesktopWorkspace& desktop_;
    SystemWorkspace inner_;
    std::mutex mutex_;
    std::vector<std::function<void()>> ready_;
};

p::ApplicationSpec application(const QString& bundleID, QRectF quartzBounds)
{
    p::ApplicationSpec spec;
    spec.bundleIdentifier = bundleID;
    spec.name = bundleID.section('.', -1);
    p::WindowSpec window;
    window.bounds = quartzBounds;
    spec.windows = {window};
    return spec;
}

// A session over the simulated desktop: its workspace, window list and
// screens, with the real allowed-window detector and waiter; the enforcement
// services, overlay, panels and stage are recording doubles.
class SessionManagerScenarioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        p::DesktopScenario scenario;
        p::DisplaySpec display;
        display.displayID = 1;
        display.bounds = QRectF(0, 0, 1440, 900);
        scenario.displays = {display};
        scenario.applications = {application(editor, QRectF(100, 100, 600, 500)),
                                 application(notes, QRectF(800, 100, 500, 500))};
        desktop = std::make_unique<p::SimulatedDesktop>(scheduler, root.path());
        ASSERT_TRUE(desktop->applyScenario(scenario).isEmpty());

        windowList = std::make_unique<p::DesktopWindowListProvider>(*desktop);
        screens = std::make_shared<p::DesktopScreenProvider>(*desktop);
        reader = std::make_unique<WindowSnapshotReader>(*windowList, [this](qint32 pid) -> std::optional<QString> {
            const p::DesktopApplication* app = desktop->application(pid);
            if (!app || app->terminated)
                return std::nullopt;
            return app->bundleIdentifier;
        });
        detector = std::make_shared<SystemAllowedWindowDetector>(*reader, *screens, "com.vesk.app");
        workspace = std::make_shared<MainThreadWorkspace>(desktop->workspace());

        SessionServices s;
        s.overlay = overlay;
        s.kiosk = std::make_shared<TraceKiosk>(trace);
        s.appMonitor = std::make_shared<TraceAppMonitor>(trace);
        s.mouseBlocker = std::make_shared<TraceMouseBlocker>(trace);
        s.spaceBlocker = std::make_shared<TraceSpaceBlocker>(trace);
        s.spaceMonitor = std::make_shared<TraceSpaceMonitor>(trace);
        s.spaceTransitionProbe = std::make_shared<TraceSpaceProbe>(trace);
        s.desktopIsolation = std::make_shared<TraceDesktopIsolation>(trace);
        s.emergencyHotkey = std::make_shared<TraceHotkey>(trace);
        s.uiController = std::make_shared<TraceUI>(trace);
        s.allowedWindowWaiter = std::make_shared<AllowedWindowWaiter>(detector, scheduler);
        s.allowedWindowDetector = detector;
        s.timerFactory = std::make_shared<ManualTimerFactory>(trace, scheduler);
        s.workspace = workspace;
        s.applicationCapabilityDetector = std::make_shared<FakeCapabilityDetector>();
        s.screenshotService = std::make_shared<FakeScreenshots>();
        s.screenshotThumbnailSuppression = std::make_shared<TraceThumbnailSuppression>(trace);
        s.transitionPresenter = std::make_shared<TraceTransition>(trace);
        s.windowManager = std::make_shared<TraceAXWindowManager>(trace);
        s.windowMaterializer = std::make_shared<TraceMaterializer>(trace);
        s.stage = std::make_shared<TraceStage>(trace);
        s.screens = screens;
        s.onScreenWindowSnapshots = [this] { return reader->copyOnScreenWindowSnapshots(); };
        s.allWindowSnapshots = [this] { return reader->copyAllWindowSnapshots(); };
        manager = std::make_unique<SessionManager>(s, scheduler, scheduler);
    }

    void TearDown() override
    {
        manager.reset();
        workspace->drain();
    }

    void advance(double seconds)
    {
        scheduler.advance(seconds);
        workspace->drain();
        scheduler.runPending();
    }

    p::WindowNumber windowOf(const QString& bundleID) const
    {
        return desktop->windowsOf(desktop->runningApplication(bundleID)->pid).front()->number;
    }

    CallTrace trace;
    ManualScheduler scheduler;
    SessionLogCapture logs;
    QTemporaryDir root;
    std::unique_ptr<p::SimulatedDesktop> desktop;
    std::unique_ptr<p::DesktopWindowListProvider> windowList;
    std::shared_ptr<p::DesktopScreenProvider> screens;
    std::unique_ptr<WindowSnapshotReader> reader;
    std::shared_ptr<SystemAllowedWindowDetector> detector;
    std::shared_ptr<MainThreadWorkspace> workspace;
    std::shared_ptr<TraceOverlay> overlay = std::make_shared<TraceOverlay>(trace);
    std::unique_ptr<SessionManager> manager;
};

} // namespace

TEST_F(SessionManagerScenarioTest, AWindowThatComesBackWithinTheConfirmationDelayOnlyCancelsIt)
{
    manager->startSession(600, {editor}, {}, std::nullopt, false, 5);
    advance(1);
    ASSERT_TRUE(manager->isSessionActive());
    ASSERT_FALSE(manager->isStartingSession());
    EXPECT_TRUE(logs.contains("Allowed app window detected — proceeding with overlay activation", "AllowedWindowWaiter"));
    const qsizetype mark = trace.calls.size();
    logs.clear();

    desktop->setWindowMinimized(windowOf(editor), true);
    overlay->onAllowedWindowsMissing();
    desktop->setWindowMinimized(windowOf(editor), false);
    advance(0.25);

    EXPECT_TRUE(logs.contains("Fail-open confirmation cancelled — allowed windows visible again"));
    EXPECT_FALSE(logs.contains("Scheduled allowed-app recovery"));
    EXPECT_TRUE(trace.since(mark).isEmpty());
}

TEST_F(SessionManagerScenarioTest, TheSessionStaysActiveWhenEveryAllowedAppQuits)
{
    manager->startSession(600, {editor, notes}, {}, std::nullopt, false, 5);
    advance(1);
    ASSERT_TRUE(manager->isSessionActive());

    desktop->forceTerminate(desktop->runningApplication(editor)->pid);
    desktop->forceTerminate(desktop->runningApplication(notes)->pid);
    overlay->onAllowedWindowsTemporarilyMissing();
    overlay->onAllowedWindowsMissing();
    advance(0.25);

    EXPECT_TRUE(logs.contains("No allowed windows confirmed and no allowed apps are running — keeping empty VESK session "
                              "active"));
    advance(60);
    EXPECT_TRUE(manager->isSessionActive());
    EXPECT_EQ(manager->allowedAppVisibilitySnapshots(),
              (std::vector<AllowedAppVisibilitySnapshot>{{editor, AllowedAppVisibility::notRunning},
                                                         {notes, AllowedAppVisibility::notRunning}}));
}

TEST_F(SessionManagerScenarioTest, WindowsOffScreenWithoutAccessibilityWindowsReadAsAnotherSpace)
{
    manager->startSession(600, {editor, notes}, {}, std::nullopt, false, 5);
    advance(1);
    desktop->setWindowMinimized(windowOf(notes), true);

    const auto snapshots = manager->allowedAppVisibilitySnapshots();
    ASSERT_EQ(snapshots.size(), 2u);
    EXPECT_EQ(snapshots[0].visibility, AllowedAppVisibility::visible);
    // The window manager double reports no Accessibility window, so the
    // off-screen window cannot count as minimised.
    EXPECT_EQ(snapshots[1].visibility, AllowedAppVisibility::onOtherSpace);
}
