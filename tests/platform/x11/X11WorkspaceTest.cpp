#include "platform/x11/X11Workspace.h"
#include "X11DesktopScene.h"
#include "XdgTestFolders.h"
#include "platform/x11/X11ApplicationActivity.h"
#include "platform/x11/X11ApplicationRegistry.h"
#include "platform/x11/X11WindowControl.h"
#include "platform/x11/XdgBundleLocation.h"
#include "platform/x11/XdgInstalledApplications.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QThread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <mutex>

namespace vesk::platform::testing {
namespace {

// The workspace over the test's X server. The test client's windows (class
// "VeskTestClient") belong to the installed entry "org.vesk.TestClient";
// "org.vesk.Launched" starts the test client on the test's display.
class X11WorkspaceTest : public X11DesktopScene {
protected:
    void SetUp() override
    {
        X11DesktopScene::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        folders.entry("system", "org.vesk.TestClient.desktop",
                      "Type=Application\nName=Test Client\nExec=vesk-test-client\nStartupWMClass=VeskTestClient\n");
        folders.entry(
            "system", "org.vesk.Launched.desktop",
            "Type=Application\nName=Launched Client\nStartupWMClass=LaunchedClient\nExec=/usr/bin/env DISPLAY="
                + server.display().toUtf8() + " " + QByteArray(VESK_X11_TEST_CLIENT)
                + " --class launched,LaunchedClient --title Launched\n");
        applications = std::make_unique<XdgInstalledApplications>(folders.environment());
        control = std::make_unique<X11WindowControl>(*connection, *cache);
        workspace = std::make_unique<X11Workspace>(*cache, *control, *applications, XdgLauncher(folders.environment()),
                                                   ProcessID(QCoreApplication::applicationPid()));
    }

    void TearDown() override
    {
        for (const ProcessID pid : launched)
            ::kill(pid, SIGKILL);
        workspace.reset();
        control.reset();
        applications.reset();
        X11DesktopScene::TearDown();
    }

    // Opens a client window and waits until the workspace lists its process.
    ProcessID openApplicationWindow(QStringList arguments)
    {
        const xcb_window_t id = openWindow(std::move(arguments));
        // The owner's pid may come in a later read of the window's properties.
        if (id == XCB_WINDOW_NONE || !waitFor([&] { return windowOf(id).pid.has_value(); }))
            return 0;
        const ProcessID pid = *windowOf(id).pid;
        return waitFor([&] { return workspace->runningApplication(pid) != nullptr; }) ? pid : 0;
    }

    std::vector<xcb_window_t> windowsOfProcess(ProcessID pid) const
    {
        std::vector<xcb_window_t> ids;
        for (const X11ManagedWindow& window : cache->windows()) {
            if (window.pid == pid)
                ids.push_back(window.id);
        }
        return ids;
    }

    std::optional<ProcessID> activePID() const
    {
        const X11ManagedWindow* window = cache->window(cache->activeWindow());
        return window ? window->pid : std::nullopt;
    }

    // Collects the notifications of that name, as they reach the main queue.
    std::shared_ptr<std::vector<ProcessID>> observe(WorkspaceNotification name)
    {
        auto seen = std::make_shared<std::vector<ProcessID>>();
        workspace->addObserver(name, [seen](std::shared_ptr<RunningApplication> application) {
            EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
            seen->push_back(application ? application->processIdentifier() : 0);
        });
        return seen;
    }

    static bool contains(const std::vector<ProcessID>& pids, ProcessID pid)
    {
        return std::find(pids.begin(), pids.end(), pid) != pids.end();
    }

    XdgTestFolders folders;
    std::unique_ptr<XdgInstalledApplications> applications;
    std::unique_ptr<X11WindowControl> control;
    std::unique_ptr<X11Workspace> workspace;
    std::vector<ProcessID> launched;
};

struct OpenOutcome {
    std::mutex mutex;
    bool called = false;
    bool onMainThread = true;
    std::shared_ptr<RunningApplication> application;
    std::optional<QString> error;
};

OpenCompletion recordInto(const std::shared_ptr<OpenOutcome>& outcome)
{
    return [outcome](std::shared_ptr<RunningApplication> application, std::optional<QString> error) {
        std::lock_guard lock(outcome->mutex);
        outcome->called = true;
        outcome->onMainThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        outcome->application = std::move(application);
        outcome->error = std::move(error);
    };
}

TEST_F(X11WorkspaceTest, ListsEachWindowOwnerOnceWithTheBundleIdentifierItsWindowsMatch)
{
    const ProcessID matched = openApplicationWindow({"--count", "2"});
    const ProcessID unmatched = openApplicationWindow({"--class", "other,Unknown"});
    ASSERT_NE(matched, 0);
    ASSERT_NE(unmatched, 0);

    EXPECT_EQ(workspace->bundleIdentifierOfProcess(matched), QStringLiteral("org.vesk.TestClient"));
    EXPECT_EQ(workspace->bundleIdentifierOfProcess(unmatched), std::nullopt);
    const auto application = workspace->runningApplication(matched);
    EXPECT_EQ(application->bundleIdentifier(), QStringLiteral("org.vesk.TestClient"));
    EXPECT_EQ(application->bundleURL(), XdgBundleLocation::bundleURL(QStringLiteral("org.vesk.TestClient")));
    EXPECT_EQ(application->localizedName(), QStringLiteral("Test Client"));
    EXPECT_EQ(application->activationPolicy(), ActivationPolicy::regular);
    EXPECT_EQ(workspace->runningApplication(unmatched)->localizedName(), QStringLiteral("Unknown"));

    std::vector<ProcessID> listed;
    for (const auto& running : workspace->runningApplications())
        listed.push_back(running->processIdentifier());
    EXPECT_EQ(listed, (std::vector<ProcessID>{matched, unmatched})) << "once each, in the order they appeared";
    EXPECT_EQ(workspace->runningApplication(999999), nullptr);
    EXPECT_EQ(workspace->urlForApplication(QStringLiteral("org.vesk.Launched")),
              XdgBundleLocation::bundleURL(QStringLiteral("org.vesk.Launched")));
    EXPECT_EQ(workspace->urlForApplication(QStringLiteral("org.vesk.Missing")), std::nullopt);
}

TEST_F(X11WorkspaceTest, HideIconifiesEveryWindowOfTheApplicationAndUnhideBringsThemBack)
{
    const ProcessID pid = openApplicationWindow({"--count", "2"});
    const ProcessID other = openApplicationWindow({"--class", "other,Other"});
    ASSERT_NE(pid, 0);
    ASSERT_TRUE(waitFor([&] { return windowsOfProcess(pid).size() == 2; }));
    const auto application = workspace->runningApplication(pid);
    ASSERT_FALSE(application->isHidden());

    ASSERT_TRUE(application->hide());
    EXPECT_TRUE(waitFor([&] { return application->isHidden(); }));
    for (const xcb_window_t id : windowsOfProcess(pid))
        EXPECT_TRUE(windowOf(id).hidden) << id;
    EXPECT_FALSE(windowOf(windowsOfProcess(other).front()).hidden) << "another application's window stays";

    ASSERT_TRUE(application->unhide());
    EXPECT_TRUE(waitFor([&] {
        const auto ids = windowsOfProcess(pid);
        return std::all_of(ids.begin(), ids.end(),
                           [&](xcb_window_t id) { return !windowOf(id).hidden && windowOf(id).mapped; });
    }));
    EXPECT_FALSE(application->isHidden());
}

TEST_F(X11WorkspaceTest, ActivationBringsTheApplicationToTheFrontAndIsAnnounced)
{
    const ProcessID first = openApplicationWindow({"--title", "First"});
    const ProcessID second = openApplicationWindow({"--class", "second,Second"});
    ASSERT_NE(first, 0);
    ASSERT_NE(second, 0);
    const auto activations = observe(WorkspaceNotification::didActivateApplication);
    // The window manager focuses each new window in its own time: the second
    // one must hold the focus before the first is asked for it, or that ask
    // finds the first active already and nothing changes.
    ASSERT_TRUE(workspace->runningApplication(second)->activate(ActivateIgnoringOtherApps));
    ASSERT_TRUE(waitFor([&] { return activePID() == second; }));

    for (const ProcessID pid : {first, second, first}) {
        activations->clear();
        ASSERT_TRUE(workspace->runningApplication(pid)->activate(ActivateIgnoringOtherApps));
        EXPECT_TRUE(waitFor([&] { return activePID() == pid; })) << pid;
        ASSERT_NE(workspace->frontmostApplication(), nullptr);
        EXPECT_EQ(workspace->frontmostApplication()->processIdentifier(), pid);
        EXPECT_TRUE(workspace->runningApplication(pid)->isActive());
        EXPECT_TRUE(waitFor([&] { return contains(*activations, pid); })) << "announced " << pid;
    }
    EXPECT_FALSE(workspace->runningApplication(second)->isActive());
}

TEST_F(X11WorkspaceTest, ActivatingAllWindowsBringsEveryWindowOfTheApplicationAboveTheOthers)
{
    const ProcessID pid = openApplicationWindow({"--count", "2"});
    ASSERT_NE(pid, 0);
    ASSERT_TRUE(waitFor([&] { return windowsOfProcess(pid).size() == 2; }));
    const ProcessID other = openApplicationWindow({"--class", "other,Other"});
    ASSERT_NE(other, 0);
    const auto frontIndexOf = [&](ProcessID owner) {
        std::vector<int> indices;
        for (int i = 0; i < int(cache->windows().size()); ++i) {
            if (cache->windows()[i].pid == owner)
                indices.push_back(i);
        }
        return indices;
    };
    ASSERT_TRUE(workspace->runningApplication(other)->activate(0));
    ASSERT_TRUE(waitFor([&] { return frontIndexOf(other) == std::vector<int>{0}; }));

    // Without the option only the application's frontmost window comes up.
    ASSERT_TRUE(workspace->runningApplication(pid)->activate(0));
    ASSERT_TRUE(waitFor([&] { return activePID() == pid && frontIndexOf(other) == std::vector<int>{1}; }));
    ASSERT_TRUE(workspace->runningApplication(other)->activate(0));
    ASSERT_TRUE(waitFor([&] { return frontIndexOf(other) == std::vector<int>{0}; }));

    ASSERT_TRUE(workspace->runningApplication(pid)->activate(ActivateAllWindows));
    EXPECT_TRUE(waitFor([&] {
        return activePID() == pid && frontIndexOf(pid) == (std::vector<int>{0, 1});
    })) << "the other application's window is at "
        << frontIndexOf(other).front();
}

TEST_F(X11WorkspaceTest, ActivatingAHiddenApplicationShowsIt)
{
    const ProcessID pid = openApplicationWindow({});
    ASSERT_NE(pid, 0);
    const auto application = workspace->runningApplication(pid);
    ASSERT_TRUE(application->hide());
    ASSERT_TRUE(waitFor([&] { return application->isHidden(); }));
    ASSERT_TRUE(application->activate(0));
    EXPECT_TRUE(waitFor([&] { return !application->isHidden() && activePID() == pid; }));
}

TEST_F(X11WorkspaceTest, TerminateAsksEachWindowToCloseAndTheApplicationEnds)
{
    QTemporaryDir logs;
    const QString log = logs.filePath(QStringLiteral("client.log"));
    const ProcessID pid = openApplicationWindow({"--count", "2", "--log", log});
    ASSERT_NE(pid, 0);
    ASSERT_TRUE(waitFor([&] { return windowsOfProcess(pid).size() == 2; }));
    const std::vector<xcb_window_t> windows = windowsOfProcess(pid);
    const auto application = workspace->runningApplication(pid);

    ASSERT_TRUE(application->terminate());
    EXPECT_TRUE(waitFor([&] { return application->isTerminated(); }));
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString closes = QString::fromUtf8(file.readAll());
    for (const xcb_window_t id : windows)
        EXPECT_TRUE(closes.contains(QStringLiteral("close %1").arg(id))) << closes.toStdString();
    EXPECT_EQ(workspace->runningApplication(pid), nullptr);
    EXPECT_EQ(workspace->bundleIdentifierOfProcess(pid), std::nullopt);
    EXPECT_FALSE(application->terminate()) << "nothing is left to ask";
}

TEST_F(X11WorkspaceTest, AProcessThatOutlivesItsClosedWindowsIsAskedToEndWithSigterm)
{
    // The window names a process of its own that does not end with it.
    QProcess lingering;
    lingering.start(QStringLiteral("/bin/sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(lingering.waitForStarted());
    const ProcessID pid = openApplicationWindow({"--pid", QString::number(lingering.processId())});
    ASSERT_EQ(pid, ProcessID(lingering.processId()));
    const auto application = workspace->runningApplication(pid);

    ASSERT_TRUE(application->terminate());
    EXPECT_TRUE(waitFor([&] { return lingering.state() == QProcess::NotRunning; }));
    EXPECT_EQ(lingering.exitStatus(), QProcess::CrashExit);
    EXPECT_TRUE(application->isTerminated());
    if (lingering.state() != QProcess::NotRunning) {
        lingering.kill();
        lingering.waitForFinished();
    }
}

TEST_F(X11WorkspaceTest, ForceTerminateEndsTheProcessAtOnce)
{
    const ProcessID pid = openApplicationWindow({});
    ASSERT_NE(pid, 0);
    const auto application = workspace->runningApplication(pid);
    ASSERT_TRUE(application->forceTerminate());
    EXPECT_TRUE(waitFor([&] { return application->isTerminated() && windowsOfProcess(pid).empty(); }));
    EXPECT_EQ(::kill(pid, 0) == 0 && QFile::exists(QStringLiteral("/proc/%1/exe").arg(pid)), false);
}

TEST_F(X11WorkspaceTest, LaunchingAnEntryRunsItsExecLineAndAnnouncesTheApplication)
{
    const auto launches = observe(WorkspaceNotification::didLaunchApplication);
    const auto outcome = std::make_shared<OpenOutcome>();
    workspace->openApplication(XdgBundleLocation::bundleURL(QStringLiteral("org.vesk.Launched")), {},
                               recordInto(outcome));
    workspace->waitForCompletions();
    std::shared_ptr<RunningApplication> application;
    {
        std::lock_guard lock(outcome->mutex);
        ASSERT_TRUE(outcome->called);
        EXPECT_FALSE(outcome->onMainThread);
        EXPECT_EQ(outcome->error, std::nullopt);
        application = outcome->application;
    }
    ASSERT_NE(application, nullptr);
    const ProcessID pid = application->processIdentifier();
    launched.push_back(pid);
    EXPECT_EQ(application->bundleIdentifier(), QStringLiteral("org.vesk.Launched"));
    EXPECT_EQ(workspace->bundleIdentifierOfProcess(pid), QStringLiteral("org.vesk.Launched"));
    EXPECT_TRUE(waitFor([&] { return contains(*launches, pid); })) << "the launch is announced";

    ASSERT_TRUE(waitFor([&] { return windowsOfProcess(pid).size() == 1; })) << "its window appears";
    EXPECT_EQ(windowOf(windowsOfProcess(pid).front()).title, QStringLiteral("Launched"));
    EXPECT_FALSE(application->isTerminated());
    EXPECT_EQ(std::count(launches->begin(), launches->end(), pid), 1) << "its window is no second launch";

    // Opening it again brings up the running one instead of a second process.
    const auto again = std::make_shared<OpenOutcome>();
    workspace->openApplication(XdgBundleLocation::bundleURL(QStringLiteral("org.vesk.Launched")), {},
                               recordInto(again));
    workspace->waitForCompletions();
    {
        std::lock_guard lock(again->mutex);
        ASSERT_NE(again->application, nullptr);
        EXPECT_EQ(again->application->processIdentifier(), pid);
    }
    EXPECT_TRUE(waitFor([&] { return activePID() == pid; }));

    ASSERT_TRUE(application->terminate());
    EXPECT_TRUE(waitFor([&] { return application->isTerminated(); })) << "its end is seen";
}

TEST_F(X11WorkspaceTest, ALaunchedProcessCountsAsRunningUntilItEndsEvenWithoutWindows)
{
    folders.entry("system", "org.vesk.Quiet.desktop", "Type=Application\nName=Quiet\nExec=/bin/sleep 30\n");
    applications->rescan();
    const auto outcome = std::make_shared<OpenOutcome>();
    workspace->openApplication(XdgBundleLocation::bundleURL(QStringLiteral("org.vesk.Quiet")), {}, recordInto(outcome));
    workspace->waitForCompletions();
    std::shared_ptr<RunningApplication> application;
    {
        std::lock_guard lock(outcome->mutex);
        application = outcome->application;
    }
    ASSERT_NE(application, nullptr);
    launched.push_back(application->processIdentifier());
    EXPECT_FALSE(application->isTerminated());
    EXPECT_EQ(workspace->bundleIdentifierOfProcess(application->processIdentifier()), QStringLiteral("org.vesk.Quiet"));

    ASSERT_TRUE(application->terminate()) << "without windows it gets SIGTERM";
    EXPECT_TRUE(waitFor([&] { return application->isTerminated(); }));
}

TEST_F(X11WorkspaceTest, ALaunchedProcessThatHasEndedButIsNotReapedYetIsNoLongerRunning)
{
    X11ApplicationRegistry registry(*cache, *control, *applications, ProcessID(QCoreApplication::applicationPid()));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(0);
    // Left unreaped until the end of the test: a zombie still answers kill(pid, 0).
    siginfo_t info{};
    ASSERT_EQ(::waitid(P_PID, id_t(child), &info, WEXITED | WNOWAIT), 0);
    registry.addLaunched(ProcessID(child), QStringLiteral("org.vesk.TestClient"));
    ASSERT_TRUE(registry.isRunning(ProcessID(child)));
    registry.update();
    EXPECT_FALSE(registry.isRunning(ProcessID(child)));
    ::waitpid(child, nullptr, 0);
}

TEST_F(X11WorkspaceTest, OpeningWhatIsNotInstalledOrCannotStartReportsTheError)
{
    folders.entry("system", "org.vesk.Broken.desktop", "Type=Application\nName=Broken\nExec=no-such-program\n");
    applications->rescan();
    const struct {
        QString id;
        QString error;
    } cases[] = {
        {"org.vesk.Missing", "The application \"org.vesk.Missing\" could not be found."},
        {"org.vesk.Broken",
         "The application \"Broken\" could not be launched: the program \"no-such-program\" was not found."},
    };
    for (const auto& c : cases) {
        const auto outcome = std::make_shared<OpenOutcome>();
        workspace->openApplication(XdgBundleLocation::bundleURL(c.id), {}, recordInto(outcome));
        workspace->waitForCompletions();
        std::lock_guard lock(outcome->mutex);
        EXPECT_TRUE(outcome->called) << c.id.toStdString();
        EXPECT_EQ(outcome->application, nullptr);
        EXPECT_EQ(outcome->error, c.error);
    }
}

TEST_F(X11WorkspaceTest, AHandleOutlivingTheWorkspaceReadsAsTerminated)
{
    const ProcessID pid = openApplicationWindow({});
    ASSERT_NE(pid, 0);
    const auto application = workspace->runningApplication(pid);
    workspace.reset();
    EXPECT_TRUE(application->isTerminated());
    EXPECT_FALSE(application->hide());
    EXPECT_EQ(application->bundleIdentifier(), QStringLiteral("org.vesk.TestClient"));
}

TEST_F(X11WorkspaceTest, TheOwnActivityFollowsTheActiveWindowsProcess)
{
    const ProcessID own = openApplicationWindow({});
    const ProcessID other = openApplicationWindow({"--class", "other,Other"});
    ASSERT_NE(own, 0);
    ASSERT_NE(other, 0);
    ASSERT_TRUE(workspace->runningApplication(other)->activate(0));
    ASSERT_TRUE(waitFor([&] { return activePID() == other; }));
    X11ApplicationActivity activity(*cache, own);
    QSignalSpy became(&activity, &ApplicationActivity::didBecomeActive);
    QSignalSpy resigned(&activity, &ApplicationActivity::didResignActive);
    EXPECT_FALSE(activity.isActive());

    ASSERT_TRUE(workspace->runningApplication(own)->activate(0));
    EXPECT_TRUE(waitFor([&] { return became.count() == 1; }));
    EXPECT_TRUE(activity.isActive());
    ASSERT_TRUE(workspace->runningApplication(other)->activate(0));
    EXPECT_TRUE(waitFor([&] { return resigned.count() == 1; }));
    EXPECT_FALSE(activity.isActive());
    EXPECT_EQ(became.count(), 1);
}

} // namespace
} // namespace vesk::platform::testing
