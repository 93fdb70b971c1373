#include "SystemSettingsScene.h"

#include "enforcement/EmergencyHotkeyService.h"
#include "enforcement/GestureBlockerService.h"
#include "enforcement/SpaceBlockerService.h"
#include "platform/simulated/DesktopEventSystem.h"

using namespace vesk;
using namespace vesk::platform;

namespace {

constexpr std::uint64_t cmd = EventFlag::command;
constexpr std::uint64_t shift = EventFlag::shift;
constexpr std::uint64_t ctrl = EventFlag::control;
constexpr std::uint64_t opt = EventFlag::option;

// The Space blocker with the application's Dock fallback and gesture blocker,
// and the emergency hotkey switched on before it, as a session starts them.
class SpaceBlockerServiceTest : public test::SystemSettingsScene {
protected:
    void SetUp() override
    {
        SystemSettingsScene::SetUp();
        const PlatformInterfaces platform = desktop->interfaces();
        dockFallback = makeDockFallback();
        gestureBlocker = std::make_unique<GestureBlockerService>(scheduler, platform.eventTaps, platform.permissions,
                                                                 platform.workspace, "com.vesk.app");
        hotkey =
            std::make_unique<EmergencyHotkeyService>(scheduler, scheduler, platform.eventTaps, platform.permissions);
        spaceBlocker = std::make_unique<SpaceBlockerService>(scheduler, platform.eventTaps, platform.permissions,
                                                             *dockFallback, *gestureBlocker);
    }

    void startSession(bool hardcore)
    {
        hotkey->activate([this] { ++hotkeyTriggers; });
        spaceBlocker->activate({"com.example.editor"}, hardcore);
    }

    EventOutcome press(std::int64_t keyCode, std::uint64_t flags) { return desktop->events().keyPress(keyCode, flags); }
    bool droppedBySpaceBlocker(const EventOutcome& outcome) const
    {
        return !outcome.delivered && outcome.swallowedByTap == spaceBlocker->keyboardTapID();
    }
    QStringList blockerLog() const { return logs.messages(QStringLiteral("SpaceBlockerService")); }

    std::unique_ptr<DockMissionControlFallbackService> dockFallback;
    std::unique_ptr<GestureBlockerService> gestureBlocker;
    std::unique_ptr<EmergencyHotkeyService> hotkey;
    std::unique_ptr<SpaceBlockerService> spaceBlocker;
    int hotkeyTriggers = 0;
};

TEST_F(SpaceBlockerServiceTest, SwitchingShortcutsAreDroppedWithoutEffectWhileScreenshotsPass)
{
    startSession(false);
    const ProcessID browser = pidOf("com.example.browser");
    const int space = desktop->activeSpaceID(0);

    EXPECT_TRUE(droppedBySpaceBlocker(press(48, cmd)));   // application switcher
    EXPECT_TRUE(droppedBySpaceBlocker(press(49, cmd)));   // Spotlight
    EXPECT_TRUE(droppedBySpaceBlocker(press(124, ctrl))); // next Space
    EXPECT_TRUE(droppedBySpaceBlocker(press(126, ctrl))); // Mission Control
    EXPECT_TRUE(droppedBySpaceBlocker(press(99, 0)));     // Mission Control key
    EXPECT_EQ(desktop->frontmostPID(), browser);
    EXPECT_EQ(desktop->activeSpaceID(0), space);
    EXPECT_EQ(desktop->events().spotlightInvocations(), 0);
    EXPECT_EQ(desktop->events().missionControlInvocations(), 0);

    EXPECT_TRUE(press(20, cmd | shift).delivered);
    EXPECT_EQ(desktop->events().screenshotsTaken(), 1);
    EXPECT_TRUE(press(124, ctrl | opt).delivered);
    EXPECT_TRUE(press(48, opt).delivered);
    EXPECT_TRUE(blockerLog().contains(
        QStringLiteral("Blocked session shortcut — keyCode=48, flags=%1, hardcore=false").arg(cmd)));
}

TEST_F(SpaceBlockerServiceTest, TheEmergencyExitReachesTheHotkeyOnlyInANormalSession)
{
    startSession(false);
    EXPECT_FALSE(droppedBySpaceBlocker(press(53, cmd | shift)));
    scheduler.advance(0);
    EXPECT_EQ(hotkeyTriggers, 1);
    EXPECT_TRUE(blockerLog().contains("Emergency exit shortcut detected — passing through"));
    EXPECT_TRUE(press(53, cmd | opt).delivered);
    spaceBlocker->deactivate();

    scheduler.advance(1.0);
    spaceBlocker->activate({"com.example.editor"}, true);
    EXPECT_TRUE(droppedBySpaceBlocker(press(53, cmd | shift)));
    EXPECT_TRUE(droppedBySpaceBlocker(press(53, cmd | opt)));
    scheduler.advance(1.0);
    EXPECT_EQ(hotkeyTriggers, 1);
    EXPECT_TRUE(blockerLog().contains(
        "Emergency exit shortcut BLOCKED — hardcore session (only timer/restart end the session)"));
}

TEST_F(SpaceBlockerServiceTest, ActivationSwitchesTheDockAndGesturesOnAndDeactivationTheReverse)
{
    startSession(false);
    EXPECT_TRUE(dockFallback->isActive());
    EXPECT_TRUE(gestureBlocker->isActive());
    EXPECT_TRUE(spaceBlocker->keyboardTapID());
    // The Space blocker's keys come first, then the gestures, then the hotkey.
    const std::vector<EventTapID> taps = desktop->events().tapsInOrder();
    ASSERT_EQ(taps.size(), 3u);
    EXPECT_EQ(taps.front(), *spaceBlocker->keyboardTapID());
    EXPECT_EQ(desktop->dockRestartCount(), 1);

    spaceBlocker->activate({}, true);
    EXPECT_EQ(blockerLog().last(), "activate called while already active");
    EXPECT_FALSE(spaceBlocker->isHardcoreEnabled());

    logs.clear();
    spaceBlocker->deactivate();
    EXPECT_FALSE(dockFallback->isActive());
    EXPECT_FALSE(gestureBlocker->isActive());
    EXPECT_EQ(desktop->events().tapsInOrder().size(), 1u); // the hotkey's
    EXPECT_EQ(readBack(dock, "autohide"), "0");
    const QStringList order{"Space blocker keyboard CGEventTap removed", "Gesture blocker deactivated",
                            "Deactivating Dock Mission Control fallback", "Space blocker deactivated"};
    QStringList seen;
    for (const auto& entry : logs.entries()) {
        if (order.contains(entry.message))
            seen.append(entry.message);
    }
    EXPECT_EQ(seen, order);

    logs.clear();
    spaceBlocker->deactivate();
    EXPECT_TRUE(logs.entries().empty());
    EXPECT_TRUE(press(48, cmd).delivered);
}

TEST_F(SpaceBlockerServiceTest, TheAllowlistReachesTheGestureBlocker)
{
    startSession(false);
    // A pinch behind the browser is dropped until the browser is allowed.
    EXPECT_FALSE(desktop->events().post(InputEvent::gesture(EventType::magnify)).delivered);
    spaceBlocker->updateAllowlist({"com.example.editor", "com.example.browser"});
    EXPECT_TRUE(desktop->events().post(InputEvent::gesture(EventType::magnify)).delivered);
}

TEST_F(SpaceBlockerServiceTest, WithoutInputMonitoringShortcutsPassUntilATickAfterTheGrant)
{
    desktop->setInputMonitoringGranted(false);
    spaceBlocker->activate({"com.example.editor"}, false);
    EXPECT_FALSE(spaceBlocker->keyboardTapID());
    EXPECT_TRUE(blockerLog().contains("Input Monitoring permission not granted — keyboard shortcut blocking "
                                      "unavailable (fail-open)"));
    EXPECT_TRUE(press(48, cmd).delivered);
    // The Dock fallback still keeps Mission Control shut.
    EXPECT_TRUE(press(126, ctrl).delivered);
    EXPECT_EQ(desktop->events().missionControlInvocations(), 0);

    logs.clear();
    scheduler.advance(2.0);
    EXPECT_TRUE(blockerLog().isEmpty()); // silent while the permission is missing
    desktop->setInputMonitoringGranted(true);
    scheduler.advance(2.0);
    EXPECT_TRUE(spaceBlocker->keyboardTapID());
    EXPECT_TRUE(blockerLog().contains("Space blocker health: tap is nil — attempting re-install"));
    EXPECT_TRUE(droppedBySpaceBlocker(press(48, cmd)));
}

TEST_F(SpaceBlockerServiceTest, ATapTheSystemSwitchedOffIsSwitchedOnAgainInItsCallback)
{
    startSession(false);
    const EventTapID tap = *spaceBlocker->keyboardTapID();
    desktop->events().disableTapByTimeout(tap);
    EXPECT_TRUE(desktop->events().isTapEnabled(tap));
    EXPECT_EQ(spaceBlocker->keyboardTapID(), tap);
    EXPECT_TRUE(blockerLog().contains("Space blocker tap disabled by system — attempting recovery (fail-open until "
                                      "restored)"));
    EXPECT_TRUE(droppedBySpaceBlocker(press(48, cmd)));
}

// The callback runs inside the tap it would replace: the replacement waits for the main queue.
TEST_F(SpaceBlockerServiceTest, ATapThatStaysOffIsReplacedOnTheMainQueueNotInsideItsCallback)
{
    startSession(false);
    const EventTapID tap = *spaceBlocker->keyboardTapID();
    desktop->events().setRefusesTapEnabling(true);
    desktop->events().disableTapByUserInput(tap);
    desktop->events().disableTapByTimeout(tap);
    EXPECT_EQ(spaceBlocker->keyboardTapID(), tap);
    EXPECT_TRUE(desktop->events().isTapValid(tap));
    EXPECT_TRUE(press(48, cmd).delivered); // fail-open meanwhile

    desktop->events().setRefusesTapEnabling(false);
    scheduler.runPending();
    ASSERT_TRUE(spaceBlocker->keyboardTapID());
    EXPECT_NE(*spaceBlocker->keyboardTapID(), tap);
    EXPECT_FALSE(desktop->events().isTapValid(tap));
    EXPECT_EQ(desktop->events().tapsInOrder().front(), *spaceBlocker->keyboardTapID());
    EXPECT_EQ(blockerLog().count("Space blocker keyboard CGEventTap installed"), 2);
    EXPECT_TRUE(droppedBySpaceBlocker(press(48, cmd)));
}

TEST_F(SpaceBlockerServiceTest, AQueuedReplacementFindsTheServiceGoneOrTheSessionOver)
{
    startSession(false);
    const EventTapID tap = *spaceBlocker->keyboardTapID();
    desktop->events().setRefusesTapEnabling(true);
    desktop->events().disableTapByTimeout(tap);
    spaceBlocker->deactivate();
    scheduler.runPending();
    EXPECT_FALSE(spaceBlocker->keyboardTapID());

    spaceBlocker->activate({"com.example.editor"}, false);
    desktop->events().disableTapByTimeout(*spaceBlocker->keyboardTapID());
    spaceBlocker.reset();
    scheduler.runPending(); // must not touch the destroyed service
    EXPECT_EQ(desktop->events().tapsInOrder().size(), 1u);
}

TEST_F(SpaceBlockerServiceTest, TheHealthCheckReEnablesOrReinstallsTheTap)
{
    startSession(false);
    const EventTapID tap = *spaceBlocker->keyboardTapID();
    desktop->events().enableTap(tap, false); // switched off without a notice
    scheduler.advance(2.0);
    EXPECT_TRUE(desktop->events().isTapEnabled(tap));
    EXPECT_TRUE(blockerLog().contains("Space blocker health: tap disabled — re-enabling"));

    desktop->events().setRefusesTapEnabling(true);
    desktop->events().enableTap(tap, false);
    scheduler.advance(2.0);
    EXPECT_TRUE(blockerLog().contains("Space blocker health: re-enable failed — re-installing"));
    EXPECT_NE(spaceBlocker->keyboardTapID(), tap);
}

} // namespace
