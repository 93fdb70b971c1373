#include "app/SessionManagerComposition.h"
#include "app/SessionManagerSessionStarting.h"

#include "core/ManualScheduler.h"
#include "core/UserDefaults.h"
#include "platform/simulated/DesktopWorkspace.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "scripted/VirtualTimeDriver.h"
#include "session/SchedulerSessionTimerFactory.h"
#include "session/SessionManager.h"

#include "LogCapture.h"
#include "TestDesktop.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

using namespace vesk;

namespace {

const QString kBrowserBundleID = QStringLiteral("com.example.Browser");
const QString kToolBundleID = QStringLiteral("com.example.Tool");

// The application's session manager as the composition builds it, over the
// one-display desktop with the editor running, plus a web browser whose
// windows never show up by themselves and a tool installed one folder deeper
// than the installed-application scan looks.
class SessionManagerCompositionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root_.isValid());
        ASSERT_TRUE(temporary_.isValid());
        // Blank documents go to the user's own runtime folder the environment names.
        previousTemporary_ = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(temporary_.path()));

        platform::DesktopScenario scenario = test::oneDisplayScenario();
        platform::BundleSpec browser;
        browser.path = QStringLiteral("/Applications/Web Browser.app");
        browser.bundleIdentifier = kBrowserBundleID;
        browser.name = QStringLiteral("Browser");
        browser.displayName = QStringLiteral("The Browser");
        browser.urlSchemes = {QStringLiteral("http"), QStringLiteral("https")};
        browser.launch.appearance = platform::WindowAppearance::never;
        scenario.bundles.push_back(browser);
        platform::BundleSpec tool;
        tool.path = QStringLiteral("/Applications/Utilities/Tool.app");
        tool.bundleIdentifier = kToolBundleID;
        tool.name = QStringLiteral("Tool");
        scenario.bundles.push_back(tool);
        ASSERT_TRUE(desktop_.applyScenario(scenario).isEmpty());

        defaults_ = std::make_unique<UserDefaults>(QStringLiteral("composition-test"), root_.path() + "/defaults");
        composition_ =
            std::make_unique<SessionManagerComposition>(scheduler_, scheduler_, desktop_.interfaces(), *defaults_,
                                                        std::make_shared<SchedulerSessionTimerFactory>(scheduler_));
    }

    void TearDown() override
    {
        composition_.reset();
        time_.settle();
        if (previousTemporary_.isNull())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", previousTemporary_);
    }

    SessionManager& manager() const { return composition_->manager(); }

    void startEditorSession()
    {
        manager().startSession(600, {test::kEditorBundleID}, {}, std::nullopt, false, 3);
        time_.advance(2.0);
        ASSERT_TRUE(manager().isSessionActive());
        ASSERT_FALSE(manager().isStartingSession());
    }

    platform::WindowNumber editorWindow() const
    {
        return desktop_.windowsOf(desktop_.runningApplication(test::kEditorBundleID)->pid).front()->number;
    }

    bool logged(const QString& fragment) const
    {
        return logs_.messages(QStringLiteral("SessionManager")).join('\n').contains(fragment);
    }

    QTemporaryDir root_;
    QTemporaryDir temporary_;
    QByteArray previousTemporary_;
    test::LogCapture logs_;
    ManualScheduler scheduler_;
    platform::SimulatedDesktop desktop_{scheduler_, root_.path()};
    VirtualTimeDriver time_{scheduler_, desktop_};
    std::unique_ptr<UserDefaults> defaults_;
    std::unique_ptr<SessionManagerComposition> composition_;
};

} // namespace

TEST_F(SessionManagerCompositionTest, TheManagerSeesTheDesktopsWindowsForVisibilityAndRestore)
{
    startEditorSession();
    EXPECT_EQ(manager().classifyAllowedWindowSpaceState(test::kEditorBundleID).state,
              AllowedWindowSpaceState::onActiveSpace);

    // On another Space, the window is still in the list of all windows.
    const int otherSpace = desktop_.addSpace(0);
    desktop_.moveWindowToSpace(editorWindow(), otherSpace);
    const auto classification = manager().classifyAllowedWindowSpaceState(test::kEditorBundleID);
    EXPECT_EQ(classification.onScreenWindows, 0);
    EXPECT_EQ(classification.allWindows, 1);
    EXPECT_EQ(manager().allowedAppVisibilitySnapshots(),
              (std::vector<AllowedAppVisibilitySnapshot>{{test::kEditorBundleID, AllowedAppVisibility::onOtherSpace}}));

    manager().restoreAllowedApp(test::kEditorBundleID);
    EXPECT_EQ(manager().sessionStatusFeedback(), SessionStatusFeedback::appOnOtherSpace);
    EXPECT_TRUE(logged("Restore requested for other-Space app — bundleID=com.example.Editor, spaceState=onOtherSpace"));
}

TEST_F(SessionManagerCompositionTest, RevealingAnAddedWebAppWritesItsBlankPageInTheUsersPrivateFolder)
{
    startEditorSession();
    manager().addApp(kBrowserBundleID, std::nullopt, std::nullopt);
    time_.advance(0.3);

    const QString blankPath = QDir(temporary_.path()).filePath("VESKBlankDocuments/com.example.Browser.html");
    EXPECT_TRUE(QFile::exists(blankPath));
    const auto& request = desktop_.workspace().openRequests().back();
    EXPECT_EQ(request.urls, QList<QUrl>({QUrl::fromLocalFile(blankPath)}));
    EXPECT_EQ(request.applicationURL, desktop_.workspace().urlForApplication(kBrowserBundleID));
    EXPECT_TRUE(manager().veskStartedBundleIDs().contains(kBrowserBundleID));
}

TEST_F(SessionManagerCompositionTest, RevealingTheFinderOpensTheUsersHomeFolder)
{
    startEditorSession();
    manager().addApp(platform::kFinderBundleIdentifier, std::nullopt, std::nullopt);
    time_.settle();

    const passwd* account = ::getpwuid(::getuid());
    ASSERT_NE(account, nullptr);
    const auto& request = desktop_.workspace().openRequests().back();
    EXPECT_EQ(request.urls, QList<QUrl>({QUrl::fromLocalFile(QString::fromLocal8Bit(account->pw_dir))}));
    EXPECT_EQ(request.applicationURL, desktop_.workspace().urlForApplication(platform::kFinderBundleIdentifier));
    EXPECT_TRUE(logged("Dynamic reveal Finder fallback opened — homeURL="));
}

TEST_F(SessionManagerCompositionTest, TheAppLaunchPromptNamesAnAppFromTheInstalledApplicationScan)
{
    // The manager's prompt shows this name, else the identifier.
    const auto name = [this](const QString& bundleID) {
        const platform::PlatformInterfaces platform = desktop_.interfaces();
        return SessionManagerComposition::installedApplicationName(platform.files, platform.bundles, bundleID);
    };
    // The name of the bundle folder, not the bundle's own display name.
    EXPECT_EQ(name(kBrowserBundleID), "Web Browser");
    // The scan does not look into sub-folders.
    EXPECT_EQ(name(kToolBundleID), std::nullopt);
    EXPECT_EQ(name(platform::kFinderBundleIdentifier), "Finder");
}

TEST_F(SessionManagerCompositionTest, AMinimizedAllowedAppIsRestoredAndRaisedThroughAccessibility)
{
    startEditorSession();
    desktop_.setWindowMinimized(editorWindow(), true);
    EXPECT_EQ(manager().classifyAllowedWindowSpaceState(test::kEditorBundleID),
              (AllowedWindowSpaceClassification{test::kEditorBundleID, AllowedWindowSpaceState::minimized, 0, 1, 1,
                                                1}));

    manager().restoreAllowedApp(test::kEditorBundleID);
    time_.advance(1.0);
    EXPECT_FALSE(desktop_.window(editorWindow())->minimized);
    EXPECT_EQ(desktop_.frontmostPID(), desktop_.runningApplication(test::kEditorBundleID)->pid);
    EXPECT_TRUE(logs_.contains("[SpaceTransitionProbeService] burst started — reason=reveal:com.example.Editor"));
}

TEST_F(SessionManagerCompositionTest, ALaunchIsHiddenAndPromptedByItsFolderNameAndSpaceChangesReachTheManager)
{
    startEditorSession();
    desktop_.workspace().openApplication(*desktop_.workspace().urlForApplication(test::kChatBundleID),
                                         platform::OpenConfiguration{}, nullptr);
    time_.advance(1.0);
    EXPECT_TRUE(desktop_.runningApplication(test::kChatBundleID)->hidden);
    ASSERT_TRUE(manager().pendingAppLaunchPrompt());
    EXPECT_EQ(manager().pendingAppLaunchPrompt()->appName, "Chat");

    // A Space change reaches the session core through the Space monitor.
    desktop_.switchToSpace(desktop_.addSpace(0));
    time_.advance(0.1);
    EXPECT_TRUE(logs_.contains("[SpaceMonitorService] active space changed — frontmost="));
    EXPECT_TRUE(logged("Unexpected active Space change during VESK session — frontmost="));
}

TEST_F(SessionManagerCompositionTest, TheSetupScreensStartReachesTheManagerWithItsChoices)
{
    SessionManagerSessionStarting sessions(manager());
    EXPECT_FALSE(sessions.isSessionActive());
    sessions.startSession(0, {test::kEditorBundleID}, {}, QStringLiteral("Write"), true, 12);
    time_.advance(2.0);
    EXPECT_TRUE(sessions.isSessionActive());
    EXPECT_TRUE(manager().isOpenEndedSession());
    EXPECT_TRUE(manager().isHardcoreSession());
    EXPECT_EQ(manager().currentGoal(), std::optional<QString>("Write"));
}
