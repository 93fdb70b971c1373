#include "app/AppDelegate.h"
#include "app/SessionManagerComposition.h"
#include "core/ManualScheduler.h"
#include "core/UserDefaults.h"
#include "enforcement/DockMissionControlFallbackService.h"
#include "enforcement/ScreenshotThumbnailSuppressionService.h"
#include "platform/simulated/DefaultsDomains.h"
#include "platform/simulated/DesktopCommandRunner.h"
#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "scripted/VirtualTimeDriver.h"
#include "session/SchedulerSessionTimerFactory.h"
#include "session/SessionManager.h"

#include "LogCapture.h"
#include "SystemSettingsSpecs.h"
#include "TestDesktop.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace vesk;

namespace {

const QString kSuite = QStringLiteral("standard");
const QString kThumbnailRead = QStringLiteral("/usr/bin/defaults read com.apple.screencapture show-thumbnail");
const QString kThumbnailOff =
    QStringLiteral("/usr/bin/defaults write com.apple.screencapture show-thumbnail -bool false");
const QString kThumbnailBack =
    QStringLiteral("/usr/bin/defaults write com.apple.screencapture show-thumbnail -bool true");

// A session starts with the thumbnail, then the Dock; it stops with the Dock first.
const QStringList kSessionStart = QStringList{kThumbnailRead, kThumbnailOff} + test::kDockCaptureAndForce;
const QStringList kSessionStop = test::kDockRestore + QStringList{kThumbnailBack};

// One run of Vesk on the desktop: its standard user defaults (in a folder
// of its own), the session manager with every service, and the delegate.
struct VeskProcess {
    VeskProcess(ManualScheduler& scheduler, platform::SimulatedDesktop& desktop, const QString& defaultsFolder)
        : defaults(kSuite, defaultsFolder)
        , composition(scheduler, scheduler, desktop.interfaces(), defaults,
                      std::make_shared<SchedulerSessionTimerFactory>(scheduler))
        , delegate(AppDelegate::Dependencies{composition.manager(), composition.desktopIsolation(),
                                             composition.dockMissionControlFallback(),
                                             composition.screenshotThumbnailSuppression(), defaults, desktop, desktop,
                                             scheduler, [] {}})
    {
    }

    SessionManager& manager() { return composition.manager(); }

    UserDefaults defaults;
    SessionManagerComposition composition;
    AppDelegate delegate;
};

platform::DesktopScenario userDesktop()
{
    platform::DesktopScenario scenario = test::oneDisplayScenario();
    test::addUserSystemSettings(scenario.defaults);
    return scenario;
}

// A desktop on which Vesk runs, is killed at a chosen moment and launches
// again. A kill ends the process at once: the desktop forgets its windows,
// taps and presentation options and refuses whatever its remains still ask
// for, and its user defaults file stays as it was at that moment (the next
// run reads a copy taken then). The moments are numbered: before and after
// every command it runs, and the checkpoints between the steps of a session.
class SystemSettingsRecoveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(desktop.applyScenario(userDesktop()).isEmpty());
        desktop.commandRunner().setCommandObserver([this](const QStringList&, bool) { moment(); });
    }

    void TearDown() override { desktop.commandRunner().setCommandObserver({}); }

    QString newDefaultsFolder() { return root.filePath(QStringLiteral("defaults-%1").arg(++folders)); }

    // Launches Vesk; its first moment is `killAt` moments from now (none: it is not killed).
    void launch(std::optional<int> killAt = std::nullopt)
    {
        process.reset();
        desktop.relaunchOwnProcess();
        const QString folder = processFolder.isEmpty() ? newDefaultsFolder() : processFolder;
        process = std::make_unique<VeskProcess>(scheduler, desktop, folder);
        processFolder = folder;
        momentsUntilKill = killAt;
        process->delegate.applicationDidFinishLaunching();
    }

    // One moment of the running process; the kill when it is due.
    void moment()
    {
        if (!process || killed || !momentsUntilKill)
            return;
        if ((*momentsUntilKill)-- > 0)
            return;
        momentsUntilKill.reset();
        killed = true;
        desktop.crashOwnProcess();
        // What the file held when the process died is what the next run finds.
        const QString next = newDefaultsFolder();
        QDir().mkpath(next);
        QFile::copy(QDir(processFolder).filePath(kSuite + ".json"), QDir(next).filePath(kSuite + ".json"));
        processFolder = next;
    }

    // Drops what is left of a killed process: its teardown reaches nothing.
    void buryKilledProcess()
    {
        process.reset();
        killed = false;
    }

    // A whole session; stops early once the process is killed.
    void runSession()
    {
        process->manager().startSession(600, {test::kEditorBundleID}, {}, std::nullopt, false, 3);
        moment();
        if (killed)
            return;
        time.advance(2.0);
        EXPECT_TRUE(process->manager().isSessionActive());
        EXPECT_FALSE(process->manager().isStartingSession());
        moment();
        if (killed)
            return;
        process->manager().stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
        moment();
    }

    // How many moments a whole session has.
    int momentsOfASession()
    {
        int count = 0;
        desktop.commandRunner().setCommandObserver([&count](const QStringList&, bool) { ++count; });
        launch();
        count = 0;
        runSession();
        desktop.commandRunner().setCommandObserver([this](const QStringList&, bool) { moment(); });
        process.reset();
        return count + 3;
    }

    QStringList settings() { return test::systemSettingsReadBack(desktop); }
    QStringList takeCommandLines() { return test::takeCommandLines(desktop); }

    // Vesk is killed at that moment of a session; its remains are dropped.
    void killDuringASession(int moment)
    {
        launch(moment);
        runSession();
        ASSERT_TRUE(killed);
        buryKilledProcess();
        takeCommandLines();
    }

    // Everything the user had before any session is back, and the running
    // Dock has read it; nothing of a session is left on the desktop or in
    // the user defaults.
    void expectUntouchedSystem()
    {
        EXPECT_EQ(desktop.appliedDockPreferences(), desktop.defaults().domain(test::kDockDomain));
        EXPECT_EQ(settings(), test::kUserSystemSettings);
        EXPECT_EQ(desktop.presentationOptions(), 0);
        EXPECT_TRUE(desktop.ownWindows().empty());
        EXPECT_TRUE(desktop.events().tapsInOrder().empty());
        EXPECT_TRUE(desktop.isDockShown());
        EXPECT_FALSE(process->defaults.objectExists(DockMissionControlFallbackService::backupDefaultsKey));
        EXPECT_FALSE(process->defaults.objectExists(ScreenshotThumbnailSuppressionService::backupDefaultsKey));
    }

    QTemporaryDir root;
    test::LogCapture logs;
    ManualScheduler scheduler;
    platform::SimulatedDesktop desktop{scheduler, root.filePath("desktop")};
    VirtualTimeDriver time{scheduler, desktop};
    std::unique_ptr<VeskProcess> process;
    QString processFolder;
    int folders = 0;
    std::optional<int> momentsUntilKill;
    bool killed = false;
};

TEST_F(SystemSettingsRecoveryTest, ASessionRunsTheseCommandsAndLeavesTheSystemAsItWas)
{
    launch();
    EXPECT_TRUE(takeCommandLines().isEmpty()); // nothing to restore at this launch
    process->manager().startSession(600, {test::kEditorBundleID}, {}, std::nullopt, false, 3);
    EXPECT_EQ(takeCommandLines(), kSessionStart);
    EXPECT_EQ(settings().join(", "), "mcx-expose-disabled=1, showMissionControlGestureEnabled=0, "
                                     "showAppExposeGestureEnabled=0, showDesktopGestureEnabled=0, "
                                     "workspaces-auto-swoosh=0, autohide=1, autohide-delay=1000, show-thumbnail=0");
    takeCommandLines();
    time.advance(2.0);
    EXPECT_EQ(desktop.presentationOptions(), 314);
    // The overlay, its backing, the black desktop panel and the stage's three bars.
    EXPECT_EQ(desktop.ownWindows().size(), 6u);

    process->manager().stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    EXPECT_EQ(takeCommandLines(), kSessionStop);
    expectUntouchedSystem();

    // Termination after the stop finds nothing to restore.
    takeCommandLines();
    process->delegate.applicationShouldTerminate();
    process->delegate.applicationWillTerminate();
    EXPECT_TRUE(takeCommandLines().isEmpty());
}

TEST_F(SystemSettingsRecoveryTest, AKillAtAnyMomentOfASessionLeavesNothingChangedAfterTheNextLaunch)
{
    const int moments = momentsOfASession();
    ASSERT_EQ(moments, 2 * (kSessionStart.size() + kSessionStop.size()) + 3);
    for (int kill = 0; kill < moments; ++kill) {
        SCOPED_TRACE(QStringLiteral("killed at moment %1").arg(kill).toStdString());
        killDuringASession(kill);

        launch();
        // The launch restores from the stored backups; it never reads the
        // values a session left, which would be taken for the user's.
        EXPECT_TRUE(takeCommandLines().filter(" read ").isEmpty());
        expectUntouchedSystem();
        process.reset();
    }
}

// The launch that restores is itself killed, at any of its moments; the
// stored backups stay until a restore has run to its end.
TEST_F(SystemSettingsRecoveryTest, AKillDuringTheLaunchRecoveryIsRecoveredByTheNextLaunch)
{
    const int sessionMoments = momentsOfASession();
    // Killed while the session runs (every setting changed) and while it stops (some restored).
    for (const int sessionKill : {2 * int(kSessionStart.size()) + 1, 2 * int(kSessionStart.size()) + 2 + 5}) {
        ASSERT_LT(sessionKill, sessionMoments);
        for (int recoveryKill = 0;; ++recoveryKill) {
            SCOPED_TRACE(QStringLiteral("killed at session moment %1, then at recovery moment %2")
                             .arg(sessionKill)
                             .arg(recoveryKill)
                             .toStdString());
            killDuringASession(sessionKill);
            launch(recoveryKill);
            const bool recoveryKilled = killed;
            buryKilledProcess();
            takeCommandLines();
            launch();
            EXPECT_TRUE(takeCommandLines().filter(" read ").isEmpty());
            expectUntouchedSystem();
            process.reset();
            if (!recoveryKilled)
                break;
        }
    }
}

// A session that starts while a backup from a killed session is still stored
// (as when the launch that would have restored it was killed before its
// restores) takes the stored values instead of reading the forced ones.
TEST_F(SystemSettingsRecoveryTest, ASessionOverAStoredBackupReusesIt)
{
    killDuringASession(2 * int(kSessionStart.size()) + 1);

    process = std::make_unique<VeskProcess>(scheduler, desktop, processFolder);
    desktop.relaunchOwnProcess();
    process->manager().startSession(600, {test::kEditorBundleID}, {}, std::nullopt, false, 3);
    EXPECT_TRUE(takeCommandLines().filter(" read ").isEmpty());
    EXPECT_TRUE(logs.contains("Existing Dock backup found — reusing pre-VESK values instead of re-capturing"));
    EXPECT_TRUE(logs.contains("Existing thumbnail backup found — reusing pre-VESK value instead of re-capturing"));
    time.advance(2.0);
    process->manager().stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    expectUntouchedSystem();
}

} // namespace
