#include "InputEnforcementScene.h"

#include "enforcement/EmergencyHotkeyService.h"

using namespace vesk;
using namespace vesk::platform;

namespace {

constexpr std::int64_t escape = 53;
constexpr std::uint64_t commandShift = EventFlag::command | EventFlag::shift;

class EmergencyHotkeyServiceTest : public test::InputEnforcementScene {
protected:
    void SetUp() override
    {
        InputEnforcementScene::SetUp();
        const PlatformInterfaces platform = desktop->interfaces();
        hotkey =
            std::make_unique<EmergencyHotkeyService>(scheduler, scheduler, platform.eventTaps, platform.permissions);
    }

    void activate()
    {
        hotkey->activate([this] { ++triggers; });
    }

    EventOutcome press(std::int64_t keyCode, std::uint64_t flags) { return events().keyPress(keyCode, flags); }

    QStringList hotkeyLog() const { return logs.messages(QStringLiteral("EmergencyHotkeyService")); }

    std::unique_ptr<EmergencyHotkeyService> hotkey;
    int triggers = 0;
};

TEST_F(EmergencyHotkeyServiceTest, CommandShiftEscapeFiresOnceAndIsSwallowed)
{
    activate();
    const EventOutcome outcome = press(escape, commandShift);
    EXPECT_EQ(outcome.swallowedByTap, taps().front());
    EXPECT_EQ(triggers, 0); // delivered later, on the main queue
    advance(0);
    EXPECT_EQ(triggers, 1);
    EXPECT_TRUE(logs.contains("Emergency hotkey triggered via CGEventTap (Cmd+Shift+Escape)"));

    // Further modifiers still match; Command+Escape alone does not.
    advance(1.0);
    EXPECT_TRUE(swallowed(press(escape, commandShift | EventFlag::option)));
    EXPECT_TRUE(press(escape, EventFlag::command).delivered);
    EXPECT_TRUE(press(escape, EventFlag::shift).delivered);
    advance(0);
    EXPECT_EQ(triggers, 2);
}

TEST_F(EmergencyHotkeyServiceTest, TwoPressesWithinHalfASecondTriggerOnce)
{
    activate();
    press(escape, commandShift);
    advance(0.4);
    press(escape, commandShift);
    advance(0);
    EXPECT_EQ(triggers, 1);
    EXPECT_TRUE(logs.contains("Emergency trigger debounced — too soon after last trigger"));
    advance(0.1);
    press(escape, commandShift);
    advance(0);
    EXPECT_EQ(triggers, 2);
}

TEST_F(EmergencyHotkeyServiceTest, WithoutTheTapTheLocalMonitorSwallowsAndTheGlobalMonitorOnlyObserves)
{
    desktop->setInputMonitoringGranted(false);
    activate();
    EXPECT_TRUE(taps().empty());
    EXPECT_TRUE(logs.contains("Input Monitoring permission not granted — CGEventTap not installed"));

    // Another application in front: the keystroke reaches it, and is reported.
    const EventOutcome toBrowser = press(escape, commandShift);
    EXPECT_TRUE(toBrowser.delivered);
    EXPECT_EQ(toBrowser.targetPID, pidOf(browserID));
    advance(1.0);
    EXPECT_EQ(triggers, 1);
    EXPECT_TRUE(logs.contains("Emergency hotkey triggered via global monitor (Cmd+Shift+Escape)"));

    // Vesk in front: the local monitor swallows it.
    desktop->activate(desktop->ownPID(), 0);
    const EventOutcome toVesk = press(escape, commandShift);
    EXPECT_TRUE(toVesk.swallowedByMonitor);
    advance(0);
    EXPECT_EQ(triggers, 2);
    EXPECT_TRUE(logs.contains("Emergency hotkey triggered via local monitor (Cmd+Shift+Escape)"));
}

TEST_F(EmergencyHotkeyServiceTest, SwitchedOffTapIsReEnabledByItsCallbackAndByTheNextCheck)
{
    activate();
    const EventTapID tap = taps().front();
    events().disableTapByTimeout(tap);
    EXPECT_TRUE(events().isTapEnabled(tap));
    EXPECT_TRUE(swallowed(press(escape, commandShift)));

    events().setRefusesTapEnabling(true);
    events().disableTapByUserInput(tap);
    events().setRefusesTapEnabling(false);
    advance(2.0);
    EXPECT_TRUE(events().isTapEnabled(tap));
    EXPECT_TRUE(logs.contains("EventTap health check: tap is disabled — re-enabling"));

    events().setRefusesTapEnabling(true);
    events().disableTapByTimeout(tap);
    advance(2.0);
    EXPECT_TRUE(logs.contains("EventTap health check: re-enable failed — re-installing"));
    ASSERT_EQ(taps().size(), 1u);
    EXPECT_NE(taps().front(), tap);
    // The callback re-enables without a word.
    EXPECT_FALSE(logs.contains("re-enabling (fail-open"));
}

TEST_F(EmergencyHotkeyServiceTest, InputMonitoringGrantedLateInstallsTheTapAtTheNextCheck)
{
    desktop->setInputMonitoringGranted(false);
    activate();
    advance(4.0);
    EXPECT_EQ(logs.count("EventTap health check: tap is nil — attempting re-install"), 2);
    EXPECT_EQ(logs.count("Input Monitoring permission not granted — CGEventTap not installed"), 3);
    desktop->setInputMonitoringGranted(true);
    advance(2.0);
    ASSERT_EQ(taps().size(), 1u);
    EXPECT_TRUE(swallowed(press(escape, commandShift)));
}

TEST_F(EmergencyHotkeyServiceTest, DeactivateRemovesEveryLevelAndDropsAQueuedTrigger)
{
    activate();
    EXPECT_EQ(events().monitorCount(), 2);
    press(escape, commandShift);
    hotkey->deactivate();
    advance(1.0);
    EXPECT_EQ(triggers, 0);
    EXPECT_TRUE(taps().empty());
    EXPECT_EQ(events().monitorCount(), 0);
    EXPECT_TRUE(press(escape, commandShift).delivered);
    advance(10.0);
    EXPECT_FALSE(logs.contains("EventTap health check:"));

    activate();
    press(escape, commandShift);
    hotkey.reset(); // a trigger queued before the service went away finds it gone
    advance(1.0);
    EXPECT_EQ(triggers, 0);
    EXPECT_TRUE(taps().empty());
}

TEST_F(EmergencyHotkeyServiceTest, DeactivateWithoutActivateOnlyLogsThatItIsDeactivated)
{
    hotkey->deactivate();
    EXPECT_EQ(hotkeyLog(), QStringList{"EmergencyHotkeyService deactivated"});
}

TEST_F(EmergencyHotkeyServiceTest, ActivatingTwiceInstallsEachLevelOnce)
{
    activate();
    activate();
    EXPECT_EQ(taps().size(), 1u);
    EXPECT_EQ(events().monitorCount(), 2);
    press(escape, commandShift);
    advance(0);
    EXPECT_EQ(triggers, 1);
    hotkey->deactivate();
    EXPECT_TRUE(taps().empty());
    EXPECT_EQ(events().monitorCount(), 0);
}

} // namespace
