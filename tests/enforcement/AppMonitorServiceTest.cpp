#include "enforcement/AppMonitorService.h"
#include "LogCapture.h"
#include "QtPrinters.h"
#include "platform/simulated/DesktopTestScene.h"
#include "platform/simulated/DesktopWorkspace.h"

using namespace vesk;
using namespace vesk::platform;

namespace {

const QString editorID = QStringLiteral("com.example.editor");
const QString browserID = QStringLiteral("com.example.browser");
const QString chatID = QStringLiteral("com.example.chat");
const QString menuID = QStringLiteral("com.example.menu");
const QString agentID = QStringLiteral("com.example.agent");

// The editor (allowed in every test) and the browser (in front) run with a
// menu-bar helper (accessory) and a background agent (prohibited); the chat
// application and a second helper are installed but not running. Virtual time.
class AppMonitorServiceTest : public platform::testing::DesktopTestScene {
protected:
    void SetUp() override
    {
        DesktopScenario scenario = twoDisplayScenario();
        BundleSpec chat = bundle("/Applications/Chat.app", chatID, "Chat");
        chat.launch.windows = {window("Chat", QRectF(200, 150, 700, 600))};
        BundleSpec helper = bundle("/Applications/Helper.app", "com.example.helper", "Helper");
        helper.launch.activationPolicy = ActivationPolicy::accessory;
        scenario.bundles.insert(scenario.bundles.end(), {chat, helper});
        ApplicationSpec menu;
        menu.bundleIdentifier = menuID;
        menu.activationPolicy = ActivationPolicy::accessory;
        ApplicationSpec agent;
        agent.bundleIdentifier = agentID;
        agent.activationPolicy = ActivationPolicy::prohibited;
        scenario.applications.insert(scenario.applications.end(), {menu, agent});
        build(scenario);

        monitor.emplace(scheduler, scheduler, desktop->workspace(), QStringLiteral("com.vesk.app"));
        monitor->setDisallowedAppHiddenHandler([this](const QString& id) { hiddenReports.append(id); });
        monitor->setAppLaunchNeedingDecisionHandler([this](const QString& id) { decisionRequests.append(id); });
    }

    bool isHidden(const QString& bundleID) const { return desktop->runningApplication(bundleID)->hidden; }
    void launch(const QString& bundleID)
    {
        desktop->workspace().openApplication(desktop->workspace().urlForApplication(bundleID).value(),
                                             OpenConfiguration{}, nullptr);
        scheduler.advance(0.2);
    }
    // Brings an application forward and lets the notification arrive.
    void bringForward(const QString& bundleID)
    {
        desktop->activate(pidOf(bundleID), 0);
        scheduler.runPending();
    }
    QStringList logLines() const { return logs.messages("AppMonitorService"); }

    std::optional<AppMonitorService> monitor;
    QStringList hiddenReports;
    QStringList decisionRequests;
    test::LogCapture logs;
};

TEST_F(AppMonitorServiceTest, ActivationHidesRegularAndAccessoryAppsButNeverAllowedOwnOrBackgroundOnes)
{
    desktop->setRefusesHide(pidOf(menuID), true);
    monitor->activate({editorID});

    EXPECT_TRUE(isHidden(browserID));
    EXPECT_TRUE(isHidden("com.apple.finder"));
    EXPECT_FALSE(isHidden(menuID)) << "it refused";
    EXPECT_FALSE(isHidden(editorID));
    EXPECT_FALSE(isHidden(agentID));
    EXPECT_FALSE(isHidden("com.apple.dock"));
    EXPECT_FALSE(isHidden("com.vesk.app"));
    EXPECT_TRUE(logLines().contains("AppMonitor activated — 1 apps allowed, runningAtActivation=7"));
    EXPECT_TRUE(
        logLines().contains("Hiding running app: com.example.menu, policy=1, reason=activation, success=false"));
    EXPECT_TRUE(logLines().contains("Hidden 3 disallowed apps — reason=activation")) << "a failed hide counts too";
    EXPECT_TRUE(hiddenReports.isEmpty()) << "sweeps report nothing";
    EXPECT_TRUE(decisionRequests.isEmpty());
}

TEST_F(AppMonitorServiceTest, AnEmptyAllowlistHidesEveryVisibleApplicationButOurs)
{
    monitor->activate({});
    EXPECT_TRUE(isHidden(editorID));
    EXPECT_TRUE(isHidden(browserID));
    EXPECT_TRUE(isHidden(menuID));
    EXPECT_FALSE(isHidden(agentID));
    EXPECT_FALSE(desktop->application(desktop->ownPID())->hidden);
}

TEST_F(AppMonitorServiceTest, SweepsEverySecondAndThrottlesOtherRequestsForEightTenths)
{
    monitor->activate({editorID});
    desktop->unhide(pidOf(browserID));
    scheduler.advance(1.0);
    EXPECT_TRUE(isHidden(browserID)) << "the periodic sweep";
    EXPECT_TRUE(logLines().contains("Enforcing AppMonitor allowlist — reason=periodic"));

    scheduler.advance(0.5);
    monitor->enforceAllowlist("allowedAppRecovery:sessionStart");
    EXPECT_TRUE(logLines().contains(
        "enforceAllowlist skipped — throttled, reason=allowedAppRecovery:sessionStart, msSinceLast=500"));
    scheduler.advance(0.3);
    monitor->enforceAllowlist("allowedAppRecovery:sessionStart");
    EXPECT_TRUE(logLines().contains("Enforcing AppMonitor allowlist — reason=allowedAppRecovery:sessionStart"));

    logs.clear();
    scheduler.advance(0.2);
    EXPECT_TRUE(logLines().contains("Enforcing AppMonitor allowlist — reason=periodic")) << "never throttled";
    monitor->enforceAllowlist("again");
    EXPECT_TRUE(logLines().contains("enforceAllowlist skipped — throttled, reason=again, msSinceLast=0"));
}

TEST_F(AppMonitorServiceTest, TheFirstRequestedSweepIsNeverThrottledAndActivationDoesNotCountAsOne)
{
    monitor->activate({editorID});
    monitor->enforceAllowlist("first");
    EXPECT_TRUE(logLines().contains("Enforcing AppMonitor allowlist — reason=first"));
    monitor->updateAllowlist({editorID, browserID});
    EXPECT_TRUE(logLines().contains("AppMonitor allowlist updated — 2 apps allowed"));
    EXPECT_TRUE(logLines().contains("Hidden 2 disallowed apps — reason=allowlistUpdate")) << "not throttled";
}

TEST_F(AppMonitorServiceTest, WhileInactiveItOnlyStoresTheAllowlistAndLogs)
{
    monitor->enforceAllowlist("allowedAppRecovery:x");
    EXPECT_EQ(logLines(), QStringList{"Ignoring enforceAllowlist while inactive — reason=allowedAppRecovery:x"});
    monitor->updateAllowlist({editorID});
    EXPECT_EQ(monitor->allowedBundleIDs(), std::set<QString>{editorID});
    EXPECT_FALSE(isHidden(browserID));

    monitor->activate({editorID});
    monitor->deactivate();
    EXPECT_EQ(monitor->allowedBundleIDs(), std::set<QString>{});
    desktop->unhide(pidOf(browserID));
    bringForward(browserID);
    logs.clear();
    scheduler.advance(3);
    EXPECT_FALSE(isHidden(browserID)) << "no observer and no timer after deactivate";
    EXPECT_TRUE(logLines().isEmpty());
    EXPECT_TRUE(hiddenReports.isEmpty());
}

TEST_F(AppMonitorServiceTest, ALaunchIsHiddenAndAsksForADecisionOnceUntilTheCoreClearsIt)
{
    monitor->activate({editorID});
    launch(chatID);
    EXPECT_TRUE(isHidden(chatID));
    EXPECT_EQ(decisionRequests, QStringList{chatID});
    EXPECT_EQ(hiddenReports, (QStringList{chatID, chatID})) << "launch and activation";
    EXPECT_TRUE(logLines().contains("App launch: com.example.chat — NOT allowed, hiding, success=true"));
    EXPECT_TRUE(logLines().contains("App needs Vesk decision — bundleID=com.example.chat, event=launch, "
                                    "runningAtActivation=false, msSinceLastClick=-1, prompting user"));

    // A second launch before the core answers: hidden again, no new request.
    desktop->forceTerminate(pidOf(chatID));
    launch(chatID);
    bringForward(chatID);
    EXPECT_TRUE(isHidden(chatID));
    EXPECT_EQ(decisionRequests, QStringList{chatID});
    EXPECT_EQ(monitor->pendingDecisionBundleIDs(), std::set<QString>{chatID});

    monitor->removePendingDecision(chatID);
    bringForward(chatID);
    EXPECT_EQ(decisionRequests, (QStringList{chatID, chatID}));
}

TEST_F(AppMonitorServiceTest, AnAppRunningAtActivationAsksOnlyWithinThreeSecondsOfAClick)
{
    monitor->activate({editorID});
    bringForward(browserID);
    EXPECT_TRUE(isHidden(browserID));
    EXPECT_TRUE(decisionRequests.isEmpty());
    EXPECT_TRUE(logLines().contains("Launch decision suppressed — bundleID=com.example.browser, "
                                    "reason=ranAtActivation+noRecentClick, runningAtActivation=true, "
                                    "msSinceLastClick=-1"));

    monitor->setLastUserClickAt(scheduler.now());
    scheduler.advance(5);
    bringForward(browserID);
    EXPECT_TRUE(decisionRequests.isEmpty());
    EXPECT_TRUE(logs.contains("runningAtActivation=true, msSinceLastClick=5000"));

    monitor->setLastUserClickAt(scheduler.now());
    scheduler.advance(3);
    bringForward(browserID);
    EXPECT_EQ(decisionRequests, QStringList{browserID});
    EXPECT_TRUE(logLines().contains("App needs Vesk decision — bundleID=com.example.browser, event=activate, "
                                    "runningAtActivation=true, msSinceLastClick=3000, prompting user"));
}

TEST_F(AppMonitorServiceTest, AccessoryLaunchesAreHiddenWithoutAskingAndAllowedAppsAreNeverTouched)
{
    monitor->activate({editorID});
    launch("com.example.helper");
    EXPECT_TRUE(isHidden("com.example.helper"));
    EXPECT_EQ(hiddenReports, (QStringList{"com.example.helper", "com.example.helper"})) << "launch and activation";
    EXPECT_TRUE(decisionRequests.isEmpty());

    bringForward(editorID);
    scheduler.advance(2);
    EXPECT_FALSE(isHidden(editorID));
    EXPECT_TRUE(logLines().contains("App activate: com.example.editor — allowed"));
    EXPECT_EQ(hiddenReports.size(), 2);
}

TEST_F(AppMonitorServiceTest, WithoutADecisionHandlerNothingBecomesPending)
{
    monitor->setAppLaunchNeedingDecisionHandler({});
    monitor->activate({editorID});
    launch(chatID);
    EXPECT_TRUE(isHidden(chatID));
    EXPECT_TRUE(monitor->pendingDecisionBundleIDs().empty());
}

} // namespace
