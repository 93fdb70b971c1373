#include "InputEnforcementScene.h"

#include "enforcement/GestureBlockerService.h"

using namespace vesk;
using namespace vesk::platform;

namespace {

class GestureBlockerServiceTest : public test::InputEnforcementScene {
protected:
    void SetUp() override
    {
        InputEnforcementScene::SetUp();
        const PlatformInterfaces platform = desktop->interfaces();
        blocker = std::make_unique<GestureBlockerService>(scheduler, platform.eventTaps, platform.permissions,
                                                          platform.workspace, veskID);
        // The pointer rests on the browser's window throughout.
        desktop->setMouseLocation(desktop->cocoaPoint(onBrowser));
    }

    EventOutcome post(const InputEvent& event) { return events().post(event); }
    static InputEvent pinch() { return InputEvent::gesture(EventType::magnify); }

    std::unique_ptr<GestureBlockerService> blocker;
};

TEST_F(GestureBlockerServiceTest, PinchGoesByTheFrontmostApplicationNotTheWindowUnderThePointer)
{
    blocker->activate({editorID});
    ASSERT_EQ(taps().size(), 1u);

    EXPECT_EQ(post(pinch()).swallowedByTap, taps().front()); // the browser is in front
    desktop->activate(pidOf(editorID), 0);
    const EventOutcome passed = post(pinch());
    EXPECT_TRUE(passed.delivered);
    EXPECT_EQ(passed.targetPID, pidOf(browserID));
    EXPECT_TRUE(logs.contains("Gesture event rawType=30, hidType=0, subtype=nil, focused=com.example.editor, "
                              "allowedFocused=true, dockSwipeActive=false, action=pass"));

    // Vesk itself in front counts as no allowed application, even when listed.
    blocker->updateAllowlist({editorID, veskID});
    desktop->activate(desktop->ownPID(), 0);
    EXPECT_TRUE(swallowed(post(InputEvent::gesture(EventType::rotate))));
}

TEST_F(GestureBlockerServiceTest, DockSwipeIsDroppedFromItsFirstEventToItsLast)
{
    desktop->activate(pidOf(editorID), 0);
    blocker->activate({editorID});
    const int space = desktop->activeSpaceID(0);

    EXPECT_TRUE(swallowed(post(InputEvent::dockSwipe(1, 1))));
    EXPECT_TRUE(blocker->isDockSwipeActive());
    // While the swipe runs, its other events on the swipe types go too.
    EXPECT_TRUE(swallowed(post(InputEvent::gesture(EventType::gesture, 0))));
    EXPECT_TRUE(swallowed(post(InputEvent::dockSwipe(2, 1))));
    EXPECT_TRUE(swallowed(post(InputEvent::dockSwipe(4, 1))));
    EXPECT_FALSE(blocker->isDockSwipeActive());
    EXPECT_EQ(desktop->activeSpaceID(0), space);
    EXPECT_TRUE(logs.contains("Blocked Space-switch DockSwipe — phase=4, streamEnded=true"));

    // The swipe is over: a pinch with the editor in front passes again.
    EXPECT_TRUE(post(pinch()).delivered);
}

TEST_F(GestureBlockerServiceTest, SystemDefinedSubtypes16And17AreDroppedWhateverIsInFront)
{
    desktop->activate(pidOf(editorID), 0);
    blocker->activate({editorID});
    EXPECT_TRUE(swallowed(post(InputEvent::systemDefined(16))));
    EXPECT_TRUE(swallowed(post(InputEvent::systemDefined(17))));
    EXPECT_TRUE(post(InputEvent::systemDefined(15)).delivered);
    EXPECT_TRUE(post(InputEvent::systemDefined(std::nullopt)).delivered);
    EXPECT_TRUE(post(InputEvent::gesture(EventType::scrollWheel)).delivered); // not tapped at all
}

TEST_F(GestureBlockerServiceTest, WithoutInputMonitoringAtActivationNoTapIsInstalledForTheSession)
{
    desktop->setInputMonitoringGranted(false);
    blocker->activate({editorID});
    EXPECT_TRUE(logs.contains("Input Monitoring permission not granted — gesture blocker NOT installed (fail-open)"));
    desktop->setInputMonitoringGranted(true);
    advance(10.0);
    EXPECT_TRUE(taps().empty());
    EXPECT_TRUE(post(pinch()).delivered);

    // The next session starts with the permission.
    blocker->deactivate();
    blocker->activate({editorID});
    EXPECT_EQ(taps().size(), 1u);
}

TEST_F(GestureBlockerServiceTest, DeactivateEndsASwipeInProgress)
{
    blocker->activate({editorID});
    post(InputEvent::dockSwipe(1, 1));
    blocker->deactivate();
    EXPECT_FALSE(blocker->isDockSwipeActive());
    EXPECT_TRUE(taps().empty());
    EXPECT_TRUE(post(InputEvent::dockSwipe(2, 1)).delivered);

    desktop->activate(pidOf(editorID), 0);
    blocker->activate({editorID});
    EXPECT_TRUE(post(InputEvent::gesture(EventType::magnify, 0)).delivered);
}

TEST_F(GestureBlockerServiceTest, SwitchedOffTapIsReEnabledByItsCallbackAndReInstalledWhenThatFails)
{
    blocker->activate({editorID});
    const EventTapID tap = taps().front();
    events().disableTapByTimeout(tap);
    EXPECT_TRUE(events().isTapEnabled(tap));
    EXPECT_TRUE(logs.contains("Gesture blocker tap disabled by system — re-enabling (fail-open until re-enabled)"));

    events().setRefusesTapEnabling(true);
    events().disableTapByUserInput(tap);
    EXPECT_TRUE(post(pinch()).delivered); // fail-open while it is off
    advance(2.0);
    EXPECT_TRUE(logs.contains("Gesture blocker health: re-enable failed — re-installing"));
    ASSERT_EQ(taps().size(), 1u);
    EXPECT_NE(taps().front(), tap);
    EXPECT_TRUE(swallowed(post(pinch())));
}

} // namespace
