#include "DesktopTestScene.h"

#include "core/MainThread.h"
#include "platform/simulated/DesktopWorkspace.h"

#include <QSignalSpy>

#include <atomic>
#include <mutex>

using namespace vesk;
using namespace vesk::platform;
using vesk::platform::testing::DesktopTestScene;

namespace {

// Collects a completion that arrives on the workspace's thread.
struct CompletionProbe {
    std::mutex mutex;
    int calls = 0;
    bool onMainThread = true;
    std::optional<ProcessID> pid;
    std::optional<QString> bundleID;
    std::optional<QString> error;

    OpenCompletion completion()
    {
        return [this](std::shared_ptr<RunningApplication> app, std::optional<QString> failure) {
            std::lock_guard lock(mutex);
            ++calls;
            onMainThread = isMainThread();
            if (app) {
                pid = app->processIdentifier();
                bundleID = app->bundleIdentifier();
            }
            error = failure;
        };
    }
};

class DesktopWorkspaceTest : public DesktopTestScene {
protected:
    void SetUp() override
    {
        DesktopScenario scenario = twoDisplayScenario();
        BundleSpec terminal = bundle("/Applications/Terminal.app", "com.example.terminal", "Terminal");
        terminal.launch.launchDelay = 0.2;
        terminal.launch.windowDelay = 1.5;
        terminal.launch.windows = {window("shell", QRectF(200, 200, 640, 400))};
        BundleSpec silent = bundle("/Applications/Silent.app", "com.example.silent", "Silent");
        silent.launch.appearance = WindowAppearance::never;
        BundleSpec chat = bundle("/Applications/Chat.app", "com.example.chat", "Chat");
        chat.launch.appearance = WindowAppearance::onOtherSpace;
        chat.launch.windows = {window("Chat", QRectF(100, 100, 500, 500))};
        BundleSpec broken = bundle("/System/Applications/Broken.app", "com.example.broken", "Broken");
        broken.launch.launchError = "The application is damaged.";
        scenario.bundles.insert(scenario.bundles.end(), {terminal, silent, chat, broken});
        build(scenario);
    }

    DesktopWorkspace& workspace() { return desktop->workspace(); }

    QUrl appURL(const QString& bundleID) { return workspace().urlForApplication(bundleID).value_or(QUrl()); }
};

TEST_F(DesktopWorkspaceTest, LaunchedApplicationShowsItsWindowAfterItsDelay)
{
    QSignalSpy launched(desktop.get(), &SimulatedDesktop::applicationLaunched);
    CompletionProbe probe;
    workspace().openApplication(appURL("com.example.terminal"), OpenConfiguration{}, probe.completion());
    EXPECT_FALSE(desktop->runningApplication("com.example.terminal"));

    scheduler.advance(0.2); // the process starts
    const DesktopApplication* terminal = desktop->runningApplication("com.example.terminal");
    ASSERT_TRUE(terminal);
    EXPECT_EQ(launched.count(), 1);
    EXPECT_EQ(desktop->frontmostPID(), terminal->pid);
    EXPECT_FALSE(listedTitles(onScreen).contains("shell"));

    scheduler.advance(1.49);
    EXPECT_FALSE(listedTitles(onScreen).contains("shell"));
    scheduler.advance(0.01);
    EXPECT_EQ(listedTitles(onScreen).value(0), "shell");

    workspace().waitForCompletions();
    std::lock_guard lock(probe.mutex);
    EXPECT_EQ(probe.calls, 1);
    EXPECT_FALSE(probe.onMainThread);
    EXPECT_EQ(probe.pid, terminal->pid);
    EXPECT_EQ(probe.bundleID, "com.example.terminal");
    EXPECT_FALSE(probe.error);
}

TEST_F(DesktopWorkspaceTest, ScriptedAppearanceNeverOrOnAnotherSpace)
{
    workspace().openApplication(appURL("com.example.silent"), OpenConfiguration{}, nullptr);
    workspace().openApplication(appURL("com.example.chat"), OpenConfiguration{}, nullptr);
    scheduler.advance(10);
    const ProcessID silent = pidOf("com.example.silent");
    const ProcessID chat = pidOf("com.example.chat");
    ASSERT_NE(silent, 0);
    ASSERT_NE(chat, 0);
    EXPECT_TRUE(desktop->windowsOf(silent).empty());
    ASSERT_EQ(desktop->windowsOf(chat).size(), 1u);
    const WindowNumber chatWindow = desktop->windowsOf(chat).front()->number;
    EXPECT_FALSE(listed(chatWindow, onScreen));
    EXPECT_TRUE(listed(chatWindow, allWindows));
}

TEST_F(DesktopWorkspaceTest, FailedOpensCompleteWithAnErrorOffTheMainThread)
{
    CompletionProbe missing;
    CompletionProbe damaged;
    workspace().openApplication(QUrl::fromLocalFile(root.path() + "/Applications/Nothing.app"), OpenConfiguration{},
                                missing.completion());
    workspace().openApplication(appURL("com.example.broken"), OpenConfiguration{}, damaged.completion());
    scheduler.advance(5);
    workspace().waitForCompletions();
    EXPECT_EQ(missing.calls, 1);
    EXPECT_FALSE(missing.pid);
    ASSERT_TRUE(missing.error);
    EXPECT_TRUE(missing.error->contains("Nothing"));
    EXPECT_FALSE(missing.onMainThread);
    EXPECT_EQ(damaged.error, "The application is damaged.");
    EXPECT_FALSE(desktop->runningApplication("com.example.broken"));
}

TEST_F(DesktopWorkspaceTest, OpeningARunningApplicationActivatesItWithoutASecondProcess)
{
    const ProcessID editor = pidOf("com.example.editor");
    const size_t applications = desktop->applications().size();
    CompletionProbe probe;
    workspace().openApplication(appURL("com.example.editor"), OpenConfiguration{}, probe.completion());
    scheduler.runPending();
    workspace().waitForCompletions();
    EXPECT_EQ(desktop->applications().size(), applications);
    EXPECT_EQ(desktop->frontmostPID(), editor);
    EXPECT_EQ(probe.pid, editor);
    EXPECT_EQ(desktop->windowsOf(editor).size(), 1u); // it has a window: no new one
}

TEST_F(DesktopWorkspaceTest, OpeningDocumentsAndNewWindowRequestsAddWindows)
{
    const ProcessID browser = pidOf("com.example.browser");
    workspace().open({QUrl::fromLocalFile("/tmp/VESKBlankDocuments/com.example.browser.html")},
                     appURL("com.example.browser"), OpenConfiguration{}, nullptr);
    OpenConfiguration newWindow;
    newWindow.createsNewApplicationInstance = true;
    newWindow.arguments = {"--new-window", "about:blank"};
    workspace().openApplication(appURL("com.example.browser"), newWindow, nullptr);
    scheduler.advance(5);
    EXPECT_EQ(desktop->windowsOf(browser).size(), 3u);
    EXPECT_TRUE(listedTitles(onScreen).contains("com.example.browser.html"));
    ASSERT_EQ(workspace().openRequests().size(), 2u);
    EXPECT_EQ(workspace().openRequests()[1].configuration.arguments, newWindow.arguments);
}

TEST_F(DesktopWorkspaceTest, RunningApplicationsKeepLaunchOrderAndReadTheModel)
{
    const auto running = workspace().runningApplications();
    QStringList identifiers;
    for (const auto& app : running)
        identifiers.append(app->bundleIdentifier().value_or("-"));
    EXPECT_EQ(identifiers, (QStringList{"com.vesk.app", "com.apple.finder", "com.apple.dock", "com.example.editor",
                                        "com.example.browser"}));
    const RunningApplication& browser = *running.back();
    EXPECT_TRUE(browser.isActive());
    EXPECT_EQ(browser.activationPolicy(), ActivationPolicy::regular);
    EXPECT_EQ(browser.bundleURL(), appURL("com.example.browser"));
    EXPECT_TRUE(browser.hide());
    EXPECT_TRUE(browser.isHidden());
    EXPECT_TRUE(browser.terminate());
    EXPECT_TRUE(browser.isTerminated());
    EXPECT_FALSE(workspace().runningApplication(browser.processIdentifier()));
    EXPECT_EQ(workspace().urlForApplication("com.example.none"), std::nullopt);
    EXPECT_EQ(appURL("com.example.editor").toLocalFile(), root.path() + "/Applications/Editor.app");
}

TEST_F(DesktopWorkspaceTest, NotificationsReachTheirObserversLaterOnTheMainQueue)
{
    std::vector<std::pair<QString, QString>> received;
    auto observe = [&](WorkspaceNotification name, QString label) {
        return workspace().addObserver(name, [&received, label](std::shared_ptr<RunningApplication> app) {
            received.emplace_back(label, app ? app->bundleIdentifier().value_or("?") : QString("-"));
        });
    };
    observe(WorkspaceNotification::didLaunchApplication, "launch");
    const WorkspaceObserverToken activation = observe(WorkspaceNotification::didActivateApplication, "activate");
    observe(WorkspaceNotification::activeSpaceDidChange, "space");

    workspace().openApplication(appURL("com.example.terminal"), OpenConfiguration{}, nullptr);
    scheduler.advance(0.3);
    desktop->switchToSpace(desktop->displays()[0].spaceIDs[1]);
    EXPECT_EQ(received.size(), 2u) << "the Space change is only queued so far";
    scheduler.advance(0);
    EXPECT_EQ(received, (std::vector<std::pair<QString, QString>>{{"launch", "com.example.terminal"},
                                                                  {"activate", "com.example.terminal"},
                                                                  {"space", "-"}}));

    // Removed before a queued activation is delivered: it never arrives.
    desktop->activate(pidOf("com.example.editor"), 0);
    workspace().removeObserver(activation);
    scheduler.advance(0);
    EXPECT_EQ(std::count(received.begin(), received.end(),
                         std::pair<QString, QString>{"activate", "com.example.editor"}),
              0);
}

TEST_F(DesktopWorkspaceTest, AnObserverMayRemoveItselfAndQueuedNotificationsOutliveNoWorkspace)
{
    int calls = 0;
    WorkspaceObserverToken token = 0;
    token = workspace().addObserver(WorkspaceNotification::didActivateApplication, [&](auto) {
        ++calls;
        workspace().removeObserver(token);
    });
    desktop->activate(pidOf("com.example.editor"), 0);
    desktop->activate(pidOf("com.example.browser"), 0);
    scheduler.advance(0);
    EXPECT_EQ(calls, 1);

    workspace().addObserver(WorkspaceNotification::didActivateApplication, [&](auto) { ++calls; });
    desktop->activate(pidOf("com.example.editor"), 0);
    desktop.reset();
    scheduler.advance(0); // must not touch the destroyed workspace
    EXPECT_EQ(calls, 1);
}

TEST_F(DesktopWorkspaceTest, HideFailsWhileTheApplicationRefusesIt)
{
    const auto editor = workspace().runningApplication(pidOf("com.example.editor"));
    desktop->setRefusesHide(editor->processIdentifier(), true);
    EXPECT_FALSE(editor->hide());
    EXPECT_FALSE(editor->isHidden());
    desktop->setRefusesHide(editor->processIdentifier(), false);
    EXPECT_TRUE(editor->hide());
}

TEST_F(DesktopWorkspaceTest, HandleOutlivingTheDesktopReadsAsTerminated)
{
    std::shared_ptr<RunningApplication> editor = workspace().runningApplication(pidOf("com.example.editor"));
    ASSERT_TRUE(editor);
    desktop.reset();
    EXPECT_TRUE(editor->isTerminated());
    EXPECT_FALSE(editor->activate(0));
    EXPECT_EQ(editor->bundleIdentifier(), "com.example.editor");
}

TEST_F(DesktopWorkspaceTest, PendingLaunchAfterTheDesktopIsGoneDoesNothing)
{
    workspace().openApplication(appURL("com.example.terminal"), OpenConfiguration{}, nullptr);
    desktop.reset();
    scheduler.advance(5); // must not touch the destroyed desktop
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

} // namespace

namespace {

TEST_F(DesktopWorkspaceTest, OpeningDocumentsWithAStoppedApplicationLaunchesItWithOneWindowEach)
{
    CompletionProbe probe;
    workspace().open({QUrl::fromLocalFile("/home/user/report.txt"), QUrl::fromLocalFile("/home/user/todo.txt")},
                     appURL("com.example.terminal"), OpenConfiguration{}, probe.completion());
    scheduler.advance(0.2);
    const ProcessID terminal = pidOf("com.example.terminal");
    ASSERT_NE(terminal, 0);
    EXPECT_TRUE(desktop->windowsOf(terminal).empty());
    scheduler.advance(1.5);
    QStringList titles;
    for (const DesktopWindow* window : desktop->windowsOf(terminal))
        titles.append(window->title);
    titles.sort();
    EXPECT_EQ(titles, (QStringList{"report.txt", "todo.txt"}));
    workspace().waitForCompletions();
    EXPECT_EQ(probe.pid, terminal);
}

TEST_F(DesktopWorkspaceTest, SystemURLsAreRecorded)
{
    const QUrl pane("x-apple.systempreferences:com.apple.preference.security?Privacy_ListenEvent");
    EXPECT_TRUE(workspace().openURL(pane));
    EXPECT_EQ(workspace().openedURLs(), QList<QUrl>{pane});
}

} // namespace

TEST_F(DesktopWorkspaceTest, AWaitReturnsAtOnceWhenNothingWasHandedOver)
{
    EXPECT_FALSE(workspace().waitForCompletions());
    std::atomic<bool> ran{false};
    workspace().runOnSystemThread([&ran] { ran = true; });
    EXPECT_TRUE(workspace().waitForCompletions());
    EXPECT_TRUE(ran);
    EXPECT_FALSE(workspace().waitForCompletions()) << "everything handed over was waited for already";
}
