#include "DesktopTestScene.h"

#include "platform/simulated/DefaultsDomains.h"
#include "platform/simulated/DesktopEventSystem.h"

#include <QSignalSpy>

using namespace vesk;
using namespace vesk::platform;
using vesk::platform::testing::DesktopTestScene;

namespace {

constexpr std::uint64_t kMouseDownMask = eventMaskBit(EventType::leftMouseDown)
                                         | eventMaskBit(EventType::rightMouseDown)
                                         | eventMaskBit(EventType::otherMouseDown);
constexpr std::uint64_t kKeyDownMask = eventMaskBit(EventType::keyDown);

class DesktopEventSystemTest : public DesktopTestScene {
protected:
    DesktopEventSystem& events() { return desktop->events(); }

    // A tap that records what it sees under a name and swallows when told to.
    EventTapID recordingTap(const std::string& name, std::uint64_t mask, bool swallow = false,
                            TapOptions options = TapOptions::defaultFilter,
                            TapPlacement placement = TapPlacement::headInsert)
    {
        const auto tap =
            events().createTap(TapLocation::session, placement, options, mask,
                               [this, name, swallow](int type, const InputEvent& event) -> std::optional<InputEvent> {
                                   seen.push_back(name + ":" + std::to_string(type));
                                   if (swallow)
                                       return std::nullopt;
                                   return event;
                               });
        EXPECT_TRUE(tap);
        return tap.value_or(0);
    }

    // A point inside the editor's window that the browser does not cover.
    static QPointF editorPoint() { return QPointF(150, 150); }

    std::vector<std::string> seen;
};

TEST_F(DesktopEventSystemTest, EventsPassEnabledTapsInOrderAndASwallowKeepsThemFromTheTarget)
{
    const EventTapID first =
        recordingTap("first", kMouseDownMask, false, TapOptions::defaultFilter, TapPlacement::tailAppend);
    const EventTapID blocker =
        recordingTap("blocker", kMouseDownMask, true, TapOptions::defaultFilter, TapPlacement::tailAppend);
    recordingTap("last", kMouseDownMask, false, TapOptions::defaultFilter, TapPlacement::tailAppend);
    EXPECT_EQ(events().tapsInOrder().front(), first);

    const EventOutcome swallowed = events().click(editorPoint());
    EXPECT_FALSE(swallowed.delivered);
    EXPECT_EQ(swallowed.swallowedByTap, blocker);
    EXPECT_EQ(seen, (std::vector<std::string>{"first:1", "blocker:1"}));
    EXPECT_EQ(desktop->frontmostPID(), pidOf("com.example.browser")); // the editor was not clicked

    seen.clear();
    events().enableTap(blocker, false);
    const EventOutcome delivered = events().click(editorPoint());
    EXPECT_TRUE(delivered.delivered);
    EXPECT_EQ(delivered.targetPID, pidOf("com.example.editor"));
    EXPECT_EQ(seen, (std::vector<std::string>{"first:1", "last:1"}));
    // A click brings the clicked window's application forward.
    EXPECT_EQ(desktop->frontmostPID(), pidOf("com.example.editor"));
    EXPECT_EQ(listedTitles(onScreen).value(0), "notes.txt");
}

TEST_F(DesktopEventSystemTest, HeadInsertedTapSeesEventsBeforeEarlierTaps)
{
    recordingTap("earlier", kKeyDownMask);
    recordingTap("later", kKeyDownMask);
    events().keyPress(0, 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"later:10", "earlier:10"}));
}

TEST_F(DesktopEventSystemTest, ListenOnlyTapCannotSwallow)
{
    recordingTap("listener", kMouseDownMask, true, TapOptions::listenOnly);
    EXPECT_TRUE(events().click(editorPoint()).delivered);
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(DesktopEventSystemTest, TapsNeedInputMonitoringOrTheSystemRefuses)
{
    desktop->setInputMonitoringGranted(false);
    EXPECT_FALSE(events().createTap(TapLocation::session, TapPlacement::headInsert, TapOptions::listenOnly,
                                    kKeyDownMask, [](int, const InputEvent& e) { return e; }));
    desktop->setInputMonitoringGranted(true);
    events().setRefusesTapCreation(true);
    EXPECT_FALSE(events().createTap(TapLocation::session, TapPlacement::headInsert, TapOptions::defaultFilter,
                                    kKeyDownMask, [](int, const InputEvent& e) { return e; }));
}

TEST_F(DesktopEventSystemTest, SystemSwitchingATapOffTellsItAndLetsEventsThrough)
{
    const EventTapID tap = recordingTap("blocker", kMouseDownMask, true);
    events().disableTapByTimeout(tap);
    EXPECT_FALSE(events().isTapEnabled(tap));
    EXPECT_EQ(seen, (std::vector<std::string>{"blocker:" + std::to_string(EventType::tapDisabledByTimeout)}));
    EXPECT_TRUE(events().click(editorPoint()).delivered); // fail-open until re-enabled
    events().enableTap(tap, true);
    EXPECT_FALSE(events().click(editorPoint()).delivered);
    events().invalidateTap(tap);
    EXPECT_FALSE(events().isTapValid(tap));
    EXPECT_TRUE(events().click(editorPoint()).delivered);
}

TEST_F(DesktopEventSystemTest, SystemCanKeepASwitchedOffTapOff)
{
    const EventTapID tap = recordingTap("blocker", kMouseDownMask, true);
    events().setRefusesTapEnabling(true);
    events().disableTapByUserInput(tap);
    events().enableTap(tap, true);
    EXPECT_FALSE(events().isTapEnabled(tap));
    EXPECT_TRUE(events().click(editorPoint()).delivered);
    // A tap created meanwhile starts enabled.
    const EventTapID fresh = recordingTap("fresh", kMouseDownMask, true);
    EXPECT_TRUE(events().isTapEnabled(fresh));
    events().setRefusesTapEnabling(false);
    events().enableTap(tap, true);
    EXPECT_TRUE(events().isTapEnabled(tap));
}

TEST_F(DesktopEventSystemTest, TapMayRemoveItselfAndPutInAnotherFromItsOwnCallback)
{
    std::optional<EventTapID> replacement;
    std::optional<EventTapID> tap;
    tap =
        events().createTap(TapLocation::session, TapPlacement::headInsert, TapOptions::defaultFilter, kMouseDownMask,
                           [&](int type, const InputEvent&) -> std::optional<InputEvent> {
                               seen.push_back("first:" + std::to_string(type));
                               events().invalidateTap(*tap);
                               replacement =
                                   events().createTap(TapLocation::session, TapPlacement::headInsert,
                                                      TapOptions::defaultFilter, kMouseDownMask,
                                                      [this](int t, const InputEvent& e) -> std::optional<InputEvent> {
                                                          seen.push_back("second:" + std::to_string(t));
                                                          return e;
                                                      });
                               return std::nullopt;
                           });
    ASSERT_TRUE(tap);
    // The event the first tap swallowed stays swallowed; the new tap sees the next one.
    EXPECT_FALSE(events().click(editorPoint()).delivered);
    EXPECT_FALSE(events().isTapValid(*tap));
    ASSERT_TRUE(replacement);
    EXPECT_TRUE(events().click(editorPoint()).delivered);
    EXPECT_EQ(seen, (std::vector<std::string>{"first:1", "second:1"}));
}

TEST_F(DesktopEventSystemTest, GestureAndSystemDefinedEventsCarryTheirFieldsThroughTheTaps)
{
    std::vector<InputEvent> tapped;
    events().createTap(TapLocation::session, TapPlacement::headInsert, TapOptions::listenOnly, ~std::uint64_t(0),
                       [&](int, const InputEvent& event) {
                           tapped.push_back(event);
                           return event;
                       });
    events().post(InputEvent::gesture(EventType::magnify, 23, 4));
    events().post(InputEvent::gesture(EventType::rotate));
    events().post(InputEvent::systemDefined(16));
    events().post(InputEvent::systemDefined(std::nullopt));
    ASSERT_EQ(tapped.size(), 4u);
    EXPECT_EQ(tapped[0].type, EventType::magnify);
    EXPECT_EQ(tapped[0].integerField(EventField::gestureHIDType), 23);
    EXPECT_EQ(tapped[0].integerField(EventField::gesturePhase), 4);
    EXPECT_EQ(tapped[1].integerField(EventField::gestureHIDType), 0);
    EXPECT_EQ(tapped[2].type, EventType::systemDefined);
    EXPECT_EQ(tapped[2].subtype, 16);
    EXPECT_EQ(tapped[3].subtype, std::nullopt);
}

TEST_F(DesktopEventSystemTest, PreflightAnswerMayLagBehindTheGrant)
{
    desktop->setInputMonitoringPreflightLags(true);
    EXPECT_FALSE(desktop->isInputMonitoringGranted());
    EXPECT_TRUE(recordingTap("listener", kKeyDownMask, false, TapOptions::listenOnly));
    desktop->setInputMonitoringGranted(false);
    EXPECT_FALSE(events().createTap(TapLocation::session, TapPlacement::headInsert, TapOptions::listenOnly,
                                    kKeyDownMask, [](int, const InputEvent& e) { return e; }));
}

TEST_F(DesktopEventSystemTest, ButtonStateAndPointerFollowTheHardwareEvenWhenSwallowed)
{
    recordingTap("blocker", ~std::uint64_t(0), true);
    events().post(InputEvent::mouse(EventType::rightMouseDown, QPointF(1500, 100), 1));
    EXPECT_TRUE(desktop->isMouseButtonDown(1));
    EXPECT_FALSE(desktop->isMouseButtonDown(0));
    EXPECT_EQ(desktop->mouseLocation(), QPointF(1500, 800));
    events().post(InputEvent::mouse(EventType::rightMouseUp, QPointF(1500, 100), 1));
    EXPECT_FALSE(desktop->isMouseButtonDown(1));
    events().post(InputEvent::mouse(EventType::otherMouseDown, QPointF(10, 10), 2));
    EXPECT_TRUE(desktop->isMouseButtonDown(2));
}

TEST_F(DesktopEventSystemTest, MonitorsSeeEventsForVeskLocallyAndForOthersGlobally)
{
    OwnWindowSpec hud;
    hud.frame = QRectF(1000, 700, 300, 100); // top-left (1000, 100)
    desktop->addOwnWindow(hud);
    int local = 0;
    int global = 0;
    events().addLocalMonitor(kMouseDownMask, [&](const InputEvent&) -> std::optional<InputEvent> {
        ++local;
        return std::nullopt; // swallowed by Vesk
    });
    const EventMonitorID globalMonitor =
        events().addGlobalMonitor(kMouseDownMask | kKeyDownMask, [&](const InputEvent&) { ++global; });

    const EventOutcome onHud = events().click(QPointF(1100, 150));
    EXPECT_EQ(onHud.targetPID, desktop->ownPID());
    EXPECT_TRUE(onHud.swallowedByMonitor);
    EXPECT_EQ(local, 1);
    EXPECT_EQ(global, 0);

    events().click(editorPoint());
    EXPECT_EQ(global, 1);
    events().keyPress(53, EventFlag::command | EventFlag::shift);
    EXPECT_EQ(global, 2);
    // Keys of other applications reach global monitors only for a trusted process.
    desktop->setAccessibilityTrusted(false);
    events().keyPress(53, EventFlag::command | EventFlag::shift);
    EXPECT_EQ(global, 2);
    events().removeMonitor(globalMonitor);
    events().click(editorPoint());
    EXPECT_EQ(global, 2);
}

TEST_F(DesktopEventSystemTest, SpaceShortcutsAndDockSwipesSwitchSpacesUnlessSwallowed)
{
    QSignalSpy spaceChanged(desktop.get(), &SimulatedDesktop::activeSpaceChanged);
    desktop->setMouseLocation(QPointF(100, 100)); // on the display with two Spaces
    events().keyPress(124, EventFlag::control | EventFlag::secondaryFn);
    EXPECT_EQ(spaceChanged.count(), 1);
    EXPECT_EQ(desktop->activeSpaceID(0), desktop->displays()[0].spaceIDs[1]);

    events().post(InputEvent::dockSwipe(1, -1));
    EXPECT_EQ(spaceChanged.count(), 1); // only the end of the swipe switches
    events().post(InputEvent::dockSwipe(4, -1));
    EXPECT_EQ(spaceChanged.count(), 2);
    EXPECT_EQ(desktop->activeSpaceID(0), desktop->displays()[0].spaceIDs[0]);

    recordingTap("keys", kKeyDownMask, true);
    events().keyPress(124, EventFlag::control);
    EXPECT_EQ(spaceChanged.count(), 2);
}

TEST_F(DesktopEventSystemTest, MissionControlFollowsTheDockSettingsItLastRead)
{
    events().keyPress(126, EventFlag::control);
    EXPECT_EQ(events().missionControlInvocations(), 1);
    desktop->defaults().setValue("com.apple.dock", "mcx-expose-disabled", true);
    events().keyPress(99, 0);
    EXPECT_EQ(events().missionControlInvocations(), 2); // the Dock has not restarted yet
    desktop->restartDock();
    events().keyPress(99, 0);
    EXPECT_EQ(events().missionControlInvocations(), 2);
}

TEST_F(DesktopEventSystemTest, DockSwipesUpAndDownOpenMissionControlAndAppExposeUnlessTheDockStartedWithoutThem)
{
    events().post(InputEvent::dockSwipe(4, 2));
    events().post(InputEvent::dockSwipe(4, -2));
    EXPECT_EQ(events().missionControlInvocations(), 1);
    EXPECT_EQ(events().appExposeInvocations(), 1);

    desktop->defaults().setValue("com.apple.dock", "showMissionControlGestureEnabled", false);
    desktop->restartDock();
    events().post(InputEvent::dockSwipe(8, 2));
    events().post(InputEvent::dockSwipe(8, -2));
    EXPECT_EQ(events().missionControlInvocations(), 1);
    EXPECT_EQ(events().appExposeInvocations(), 2);

    desktop->defaults().setValue("com.apple.dock", "mcx-expose-disabled", true);
    desktop->restartDock();
    events().post(InputEvent::dockSwipe(8, -2));
    EXPECT_EQ(events().appExposeInvocations(), 2);
}

TEST_F(DesktopEventSystemTest, ScreenshotsShowTheFloatingThumbnailUnlessItIsSwitchedOff)
{
    constexpr std::uint64_t commandShift = EventFlag::command | EventFlag::shift;
    events().keyPress(20, commandShift);
    events().keyPress(21, commandShift);
    EXPECT_EQ(events().screenshotsTaken(), 2);
    EXPECT_EQ(events().screenshotThumbnailsShown(), 2);

    // The screenshot tool reads its setting at every capture.
    desktop->defaults().setValue("com.apple.screencapture", "show-thumbnail", false);
    events().keyPress(23, commandShift);
    EXPECT_EQ(events().screenshotsTaken(), 3);
    EXPECT_EQ(events().screenshotThumbnailsShown(), 2);
    events().keyPress(20, EventFlag::command);
    EXPECT_EQ(events().screenshotsTaken(), 3);
}

TEST_F(DesktopEventSystemTest, CommandSpaceOpensSpotlightUnlessSwallowed)
{
    events().keyPress(49, EventFlag::command);
    EXPECT_EQ(events().spotlightInvocations(), 1);
    recordingTap("keys", kKeyDownMask, true);
    events().keyPress(49, EventFlag::command);
    EXPECT_EQ(events().spotlightInvocations(), 1);
}

} // namespace
