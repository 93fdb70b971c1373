#include "InputEnforcementScene.h"

#include "enforcement/MouseBlockerService.h"
#include "enforcement/SystemAXWindowControlResolver.h"
#include "enforcement/SystemMouseBlockerEventTapInstaller.h"

using namespace vesk;
using namespace vesk::platform;

namespace {

struct ControlClick {
    QString bundleID;
    MouseBlockerControlAction action;
    Point quartzPoint;

    bool operator==(const ControlClick&) const = default;
};

// The platform's installer, keeping the callback it gives the tap so that a
// test can call it as the system does.
class CallbackKeepingInstaller final : public MouseBlockerEventTapInstalling {
public:
    CallbackKeepingInstaller(EventTapping& eventTaps, EventTapCallback& kept) : inner_(eventTaps), kept_(kept) { }

    std::optional<MouseBlockerInstalledTap> install(EventTapCallback callback, std::uint64_t eventMask) override
    {
        kept_ = callback;
        return inner_.install(std::move(callback), eventMask);
    }
    void remove(const MouseBlockerInstalledTap& tap) override { inner_.remove(tap); }
    void enable(const MouseBlockerInstalledTap& tap) override { inner_.enable(tap); }
    bool isEnabled(const MouseBlockerInstalledTap& tap) const override { return inner_.isEnabled(tap); }

private:
    SystemMouseBlockerEventTapInstaller inner_;
    EventTapCallback& kept_;
};

class MouseBlockerServiceTest : public test::InputEnforcementScene {
protected:
    void SetUp() override
    {
        InputEnforcementScene::SetUp();
        const PlatformInterfaces platform = desktop->interfaces();
        blocker = std::make_unique<MouseBlockerService>(
            scheduler, scheduler, platform.screens, *snapshots, veskID,
            std::make_unique<SystemAXWindowControlResolver>(platform.workspace, platform.accessibility),
            MouseBlockerService::defaultInputMonitoringCheck(platform.permissions, platform.eventTaps),
            std::make_unique<CallbackKeepingInstaller>(platform.eventTaps, tapCallback));
        blocker->setAllowedWindowControlClickHandler(
            [this](const QString& bundleID, MouseBlockerControlAction action, Point point) {
                controlClicks.push_back({bundleID, action, point});
            });
        blocker->setClickObserver([this](Point point) { observedClicks.push_back(point); });
        blocker->setVisiblePassthroughRects(editorHoles);
        blocker->updateVeskControlRects({rectFromQRectF(veskPanelFrame)});
    }

    QStringList blockerLog() const { return logs.messages(QStringLiteral("MouseBlockerService")); }

    EventTapCallback tapCallback;
    std::unique_ptr<MouseBlockerService> blocker;
    std::vector<ControlClick> controlClicks;
    std::vector<Point> observedClicks;
};

TEST_F(MouseBlockerServiceTest, ClicksOutsideTheHolesAreDroppedAndInHolesAndOnVeskPanelsPass)
{
    blocker->activate({editorID});
    ASSERT_EQ(taps().size(), 1u);

    const EventOutcome outside = click(onBrowser);
    EXPECT_EQ(outside.swallowedByTap, taps().front());
    EXPECT_EQ(desktop->frontmostPID(), pidOf(browserID));

    const EventOutcome onPanel = click(onVeskPanel);
    EXPECT_TRUE(onPanel.delivered);
    EXPECT_EQ(onPanel.targetPID, desktop->ownPID());

    const EventOutcome inHole = click(inEditorHole);
    EXPECT_TRUE(inHole.delivered);
    EXPECT_EQ(inHole.targetPID, pidOf(editorID));
    EXPECT_EQ(desktop->frontmostPID(), pidOf(editorID)); // the click reached the editor

    // Every mouse-down is observed, bottom-left, whether it passed or not.
    EXPECT_EQ(observedClicks, (std::vector<Point>{{800, 500}, {700, 40}, {150, 600}}));
    EXPECT_TRUE(controlClicks.empty());
}

// A click reads the window list the overlay's frame read while it has not
// changed since, and the list as it is once it has.
TEST_F(MouseBlockerServiceTest, AClickParsesTheWindowListOnlyWhenItChanged)
{
    blocker->activate({editorID});
    EXPECT_TRUE(swallowed(click(onBrowser)));
    const int lookups = ownerLookups;
    ASSERT_GT(lookups, 0);
    EXPECT_TRUE(swallowed(click(onBrowser)));
    EXPECT_EQ(ownerLookups, lookups);

    // The browser moves over the editor's hole: the next click sees it there.
    desktop->setWindowBounds(firstWindowOf(browserID), QRectF(100, 250, 300, 200));
    EXPECT_TRUE(swallowed(click(inEditorHole)));
    EXPECT_GT(ownerLookups, lookups);
}

TEST_F(MouseBlockerServiceTest, LeftClickOnATitleBarButtonBecomesAControlActionAndARightClickIsDropped)
{
    blocker->activate({editorID});
    const WindowNumber editorWindow = firstWindowOf(editorID);

    EXPECT_TRUE(swallowed(click(editorCloseButton)));
    EXPECT_TRUE(swallowed(click(editorMinimizeButton)));
    EXPECT_TRUE(swallowed(click(editorZoomButton)));
    EXPECT_TRUE(swallowed(click(editorCloseButton, 1)));
    EXPECT_TRUE(swallowed(click(editorCloseButton, 2)));

    EXPECT_EQ(controlClicks, (std::vector<ControlClick>{{editorID, MouseBlockerControlAction::close, {110, 110}},
                                                        {editorID, MouseBlockerControlAction::minimize, {130, 110}},
                                                        {editorID, MouseBlockerControlAction::zoom, {150, 110}}}));
    // The window itself was never clicked: Vesk carries the action out.
    ASSERT_NE(desktop->window(editorWindow), nullptr);
    EXPECT_FALSE(desktop->window(editorWindow)->minimized);
    EXPECT_TRUE(logs.contains(
        "Allowed window control-zone click mapped to Vesk action — bundleID=com.example.editor, action=close, "
        "point=(110.0, 110.0)"));
}

TEST_F(MouseBlockerServiceTest, UnresolvedControlZoneClickIsDroppedWithAWarning)
{
    blocker->activate({editorID});
    EXPECT_TRUE(swallowed(click(QPointF(170, 125)))); // in the zone, beside the buttons
    EXPECT_TRUE(controlClicks.empty());
    EXPECT_TRUE(logs.contains("Allowed window control-zone click blocked because AX action was unresolved — "
                              "bundleID=com.example.editor, point=(170.0, 125.0)"));
    EXPECT_TRUE(logs.contains("Traffic-light AX resolve returned unknown control — bundleID=com.example.editor, "
                              "quartzPoint=(170.0, 125.0), cocoaPoint=(170.0, 775.0)"));
}

TEST_F(MouseBlockerServiceTest, TapSwitchedOffIsReEnabledByItsCallbackAndByTheHealthTimerWhenThatFails)
{
    blocker->activate({editorID});
    const EventTapID tap = taps().front();

    events().disableTapByTimeout(tap);
    EXPECT_TRUE(events().isTapEnabled(tap));
    EXPECT_TRUE(swallowed(click(onBrowser)));
    EXPECT_TRUE(logs.contains("Mouse blocker tap disabled by system — re-enabling (fail-open until re-enabled)"));

    // The system keeps the tap off: clicks pass until the next check.
    events().setRefusesTapEnabling(true);
    events().disableTapByUserInput(tap);
    EXPECT_FALSE(events().isTapEnabled(tap));
    EXPECT_TRUE(click(onBrowser).delivered);
    events().setRefusesTapEnabling(false);
    advance(2.0);
    EXPECT_TRUE(events().isTapEnabled(tap));
    EXPECT_TRUE(logs.contains("Mouse blocker health: tap disabled — re-enabling"));
    desktop->activate(pidOf(browserID), 0);
    EXPECT_TRUE(swallowed(click(onBrowser)));

    // Still refused at the check: the tap is put in anew.
    events().setRefusesTapEnabling(true);
    events().disableTapByTimeout(tap);
    advance(2.0);
    EXPECT_TRUE(logs.contains("Mouse blocker health: re-enable failed — re-installing"));
    ASSERT_EQ(taps().size(), 1u);
    EXPECT_NE(taps().front(), tap);
    EXPECT_TRUE(swallowed(click(onBrowser)));
}

// The system's notice that it switched the tap off is no click: it is
// answered with the event as it came, whatever lies under its location.
TEST_F(MouseBlockerServiceTest, TheTapDisabledNoticeIsAnsweredWithItsEvent)
{
    blocker->activate({editorID});
    ASSERT_TRUE(tapCallback);
    for (const int notice : {EventType::tapDisabledByTimeout, EventType::tapDisabledByUserInput}) {
        InputEvent event;
        event.type = notice;
        event.location = onBrowser;
        const std::optional<InputEvent> answer = tapCallback(notice, event);
        ASSERT_TRUE(answer.has_value()) << notice;
        EXPECT_EQ(*answer, event);
    }
    EXPECT_TRUE(observedClicks.empty()) << "no click was decided";
}

TEST_F(MouseBlockerServiceTest, InputMonitoringGrantedLateInstallsTheTapAtTheNextCheck)
{
    desktop->setInputMonitoringGranted(false);
    blocker->activate({editorID});
    EXPECT_TRUE(taps().empty());
    EXPECT_TRUE(logs.contains(
        "Input Monitoring permission not granted — mouse blocker waiting for permission, tap not installed"));
    EXPECT_TRUE(click(onBrowser).delivered); // fail-open
    desktop->activate(pidOf(browserID), 0);

    advance(4.0);
    EXPECT_EQ(logs.count("Mouse blocker health: Input Monitoring still missing — waiting"), 2);
    desktop->setInputMonitoringGranted(true);
    advance(1.9);
    EXPECT_TRUE(taps().empty());
    advance(0.1);
    EXPECT_EQ(taps().size(), 1u);
    EXPECT_TRUE(logs.contains("Mouse blocker health: Input Monitoring available — installing late CGEventTap"));
    EXPECT_TRUE(swallowed(click(onBrowser)));
}

TEST_F(MouseBlockerServiceTest, IdenticalDecisionsAreLoggedOnceASecond)
{
    blocker->activate({editorID});
    const auto blockedLines = [this] {
        return int(blockerLog()
                       .filter(QStringLiteral("Mouse click blocked — reason=blockedOutsideVisiblePassthrough"))
                       .size());
    };
    click(onBrowser);
    click(onBrowser);
    advance(0.9);
    click(onBrowser);
    EXPECT_EQ(blockedLines(), 1);
    click(onVeskPanel); // another decision is logged at once
    EXPECT_TRUE(logs.contains("Mouse click allowed — reason=registeredVeskControlRect"));
    click(onBrowser);
    EXPECT_EQ(blockedLines(), 2);
    EXPECT_TRUE(logs.contains(
        "Mouse click blocked — reason=blockedOutsideVisiblePassthrough, quartzPoint=(800.0, 400.0), "
        "cocoaPoint=(800.0, 500.0), passthroughBundleID=none, topWindowBundleID=com.example.browser, "
        "topWindowLayer=0, controlZone=false, controlAction=none, rawAllowed=1, passthrough=2, blockers=1, "
        "ignoredBlockers=0, registeredVeskControls=1, registeredVeskControlRects=[{{600, 20}, {240, 40}}]"));
}

TEST_F(MouseBlockerServiceTest, SecondActivationKeepsTheFirstAllowlist)
{
    blocker->activate({editorID});
    blocker->activate({});
    EXPECT_TRUE(logs.contains("activate called while mouse blocker is already active"));
    EXPECT_EQ(taps().size(), 1u);
    EXPECT_TRUE(click(inEditorHole).delivered);
}

TEST_F(MouseBlockerServiceTest, DeactivateRemovesTheTapAndForgetsTheCallbacks)
{
    blocker->activate({editorID});
    blocker->deactivate();
    EXPECT_TRUE(taps().empty());
    EXPECT_TRUE(click(onBrowser).delivered);

    desktop->activate(pidOf(browserID), 0);
    blocker->activate({editorID});
    click(editorCloseButton);
    click(onBrowser);
    EXPECT_TRUE(controlClicks.empty());
    EXPECT_TRUE(observedClicks.empty());
    // Without the holes of before, the editor's inside is no longer open.
    EXPECT_TRUE(swallowed(click(inEditorHole)));

    blocker.reset(); // going away takes the tap with it
    EXPECT_TRUE(taps().empty());
}

TEST_F(MouseBlockerServiceTest, WithoutAnyScreenEveryClickIsDropped)
{
    blocker->activate({editorID});
    desktop->removeDisplay(1);
    desktop->removeDisplay(0);
    EXPECT_TRUE(swallowed(click(onBrowser)));
    EXPECT_TRUE(logs.contains(
        "Mouse click blocked — no primary screen available for coordinate conversion, point=(800.0, 400.0)"));
    EXPECT_TRUE(observedClicks.empty());
}

} // namespace
