#include "DesktopTestScene.h"

#include "platform/WindowLevel.h"
#include "platform/simulated/DefaultsDomains.h"
#include "platform/simulated/DesktopCommandRunner.h"
#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/DesktopScreenProvider.h"
#include "platform/simulated/DesktopWindowListProvider.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>

using namespace vesk;
using namespace vesk::platform;
using vesk::platform::testing::DesktopTestScene;

namespace {

class SimulatedDesktopTest : public DesktopTestScene { };

TEST_F(SimulatedDesktopTest, WindowListIsFrontToBackWithThePlatformKeys)
{
    const QList<QVariantMap> list = DesktopWindowListProvider(*desktop).copyWindowInfo(onScreen);
    ASSERT_EQ(listedTitles(onScreen), (QStringList{"Start Page", "notes.txt"}));
    const QVariantMap& front = list.front();
    EXPECT_EQ(front.value(kWindowOwnerPID).toInt(), pidOf("com.example.browser"));
    EXPECT_EQ(front.value(kWindowOwnerName).toString(), "Browser");
    EXPECT_EQ(front.value(kWindowLayer).toInt(), 0);
    EXPECT_DOUBLE_EQ(front.value(kWindowAlpha).toDouble(), 1.0);
    EXPECT_TRUE(front.value(kWindowIsOnscreen).toBool());
    const QVariantMap bounds = front.value(kWindowBounds).toMap();
    EXPECT_EQ(QRectF(bounds["X"].toDouble(), bounds["Y"].toDouble(), bounds["Width"].toDouble(),
                     bounds["Height"].toDouble()),
              QRectF(300, 200, 800, 500));
    EXPECT_EQ(front.value(kWindowNumber).toUInt(), firstWindowOf("com.example.browser"));
}

TEST_F(SimulatedDesktopTest, DesktopElementsAreListedOnlyWithoutTheExcludeOption)
{
    int desktopWindows = 0;
    for (const QVariantMap& entry : desktop->copyWindowInfo(WindowListOnScreenOnly)) {
        if (entry.value(kWindowLayer).toInt() == WindowLevel::desktopIcon) {
            ++desktopWindows;
            EXPECT_EQ(entry.value(kWindowOwnerName).toString(), "Finder");
        }
    }
    EXPECT_EQ(desktopWindows, 2); // one per display
    for (const QVariantMap& entry : desktop->copyWindowInfo(onScreen))
        EXPECT_NE(entry.value(kWindowLayer).toInt(), WindowLevel::desktopIcon);
}

TEST_F(SimulatedDesktopTest, WindowLevelsFollowThePlatformOrder)
{
    const std::vector<WindowLevelKey> ascending = {WindowLevelKey::desktop,    WindowLevelKey::desktopIcon,
                                                   WindowLevelKey::backstop,   WindowLevelKey::normal,
                                                   WindowLevelKey::floating,   WindowLevelKey::modalPanel,
                                                   WindowLevelKey::dock,       WindowLevelKey::mainMenu,
                                                   WindowLevelKey::status,     WindowLevelKey::popUpMenu,
                                                   WindowLevelKey::screenSaver};
    for (size_t i = 1; i < ascending.size(); ++i)
        EXPECT_LT(windowLevelForKey(ascending[i - 1]), windowLevelForKey(ascending[i])) << i;
    EXPECT_EQ(windowLevelForKey(WindowLevelKey::normal), 0);
    EXPECT_EQ(static_cast<int>(WindowLevelKey::desktopIcon), 18);
    EXPECT_LT(windowLevelForKey(WindowLevelKey::screenSaver), shieldingWindowLevel());
    EXPECT_LT(shieldingWindowLevel() + 1, windowLevelForKey(WindowLevelKey::cursor));
}

TEST_F(SimulatedDesktopTest, VeskPanelAppearsInTheListWithVeskPidAtItsLevel)
{
    OwnWindowSpec overlay;
    overlay.title = "Overlay";
    overlay.level = shieldingWindowLevel() + 1;
    overlay.frame = QRectF(0, 0, 1440, 900); // the whole primary display, bottom-left system
    overlay.ignoresMouseEvents = true;
    OwnWindowSpec hud;
    hud.title = "HUD";
    hud.level = WindowLevel::status;
    hud.frame = QRectF(20, 780, 300, 100);
    const WindowNumber overlayNumber = desktop->addOwnWindow(overlay);
    const WindowNumber hudNumber = desktop->addOwnWindow(hud);

    const QList<QVariantMap> list = desktop->copyWindowInfo(onScreen);
    ASSERT_GE(list.size(), 4);
    EXPECT_EQ(list[0].value(kWindowNumber).toUInt(), overlayNumber);
    EXPECT_EQ(list[0].value(kWindowLayer).toInt(), shieldingWindowLevel() + 1);
    EXPECT_EQ(list[0].value(kWindowOwnerPID).toInt(), desktop->ownPID());
    EXPECT_EQ(list[1].value(kWindowNumber).toUInt(), hudNumber);
    EXPECT_EQ(list[1].value(kWindowOwnerName).toString(), "Vesk");
    // 780 + 100 from the bottom of a 900-point display is 20 from the top.
    const QVariantMap bounds = list[1].value(kWindowBounds).toMap();
    EXPECT_EQ(QPointF(bounds["X"].toDouble(), bounds["Y"].toDouble()), QPointF(20, 20));

    // Ordered out, the panel leaves the on-screen list but stays in the full one.
    hud.visible = false;
    ASSERT_TRUE(desktop->updateOwnWindow(hudNumber, hud));
    EXPECT_FALSE(listed(hudNumber, onScreen));
    EXPECT_TRUE(listed(hudNumber, allWindows));
    desktop->removeOwnWindow(hudNumber);
    EXPECT_FALSE(listed(hudNumber, allWindows));
    // Panels are not windows of other applications: the call refuses them.
    EXPECT_FALSE(desktop->updateOwnWindow(firstWindowOf("com.example.editor"), hud));
}

TEST_F(SimulatedDesktopTest, OwnWindowsReportPanelFlagAndDisplayInPlatformOrder)
{
    OwnWindowSpec main;
    main.title = "Vesk";
    main.isPanel = false;
    main.canBecomeKey = true;
    main.frame = QRectF(1600, 200, 360, 440); // on the second display
    OwnWindowSpec panel;
    panel.frame = QRectF(10, 10, 100, 100);
    desktop->addOwnWindow(main);
    desktop->addOwnWindow(panel);
    const auto windows = desktop->ownWindows();
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_TRUE(windows[0].isPanel);
    EXPECT_EQ(windows[0].displayIndex, 0);
    EXPECT_FALSE(windows[1].isPanel);
    EXPECT_EQ(windows[1].displayIndex, 1);
    EXPECT_EQ(windows[1].frame, QRectF(1600, 200, 360, 440));

    // The main screen is the display with Vesk's key window.
    const auto mainScreen = DesktopScreenProvider(*desktop).mainScreen();
    ASSERT_TRUE(mainScreen);
    EXPECT_EQ(mainScreen->displayID, 2u);
}

TEST_F(SimulatedDesktopTest, ScreensCarryBothCoordinateSystems)
{
    const DesktopScreenProvider screens(*desktop);
    const auto list = screens.screens();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].frame, QRectF(0, 0, 1440, 900));
    EXPECT_EQ(list[0].visibleFrame, QRectF(0, 0, 1440, 900 - kMenuBarHeight));
    // The second display is taller and hangs below the primary one's bottom edge.
    EXPECT_EQ(list[1].frame, QRectF(1440, -180, 1920, 1080));
    EXPECT_EQ(screens.displayBounds(2), QRectF(1440, 0, 1920, 1080));
    EXPECT_FALSE(screens.displayBounds(99));
    EXPECT_EQ(desktop->cocoaPoint(QPointF(1500, 100)), QPointF(1500, 800));
    EXPECT_EQ(desktop->quartzPoint(QPointF(1500, 800)), QPointF(1500, 100));
    EXPECT_EQ(desktop->cocoaRect(QRectF(1500, 100, 200, 100)), QRectF(1500, 700, 200, 100));
}

TEST_F(SimulatedDesktopTest, DisplayChangesPostScreenParameters)
{
    QSignalSpy changed(desktop.get(), &SimulatedDesktop::screenParametersChanged);
    DisplaySpec moved = display(2, QRectF(1441, 0, 1920, 1080));
    desktop->updateDisplay(1, moved);
    DisplaySpec unreported = display(3, QRectF(-1280, 0, 1280, 800));
    unreported.displayID.reset();
    unreported.reportsBounds = false;
    desktop->addDisplay(unreported);
    EXPECT_EQ(changed.count(), 2);
    const auto screens = DesktopScreenProvider(*desktop).screens();
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_FALSE(screens[2].displayID);
    EXPECT_EQ(screens[1].frame.x(), 1441);
}

TEST_F(SimulatedDesktopTest, HidingAnApplicationTakesAllItsWindowsOffScreen)
{
    const ProcessID browser = pidOf("com.example.browser");
    desktop->addWindow(browser, window("Second Tab", QRectF(1500, 100, 700, 500)));
    QSignalSpy hidden(desktop.get(), &SimulatedDesktop::applicationHidden);
    QSignalSpy activated(desktop.get(), &SimulatedDesktop::applicationActivated);

    ASSERT_TRUE(desktop->hide(browser));
    EXPECT_EQ(listedTitles(onScreen), QStringList{"notes.txt"});
    EXPECT_EQ(listedTitles(allWindows).size(), 3);
    EXPECT_EQ(hidden.count(), 1);
    // The next application with a window on screen comes forward.
    EXPECT_EQ(desktop->frontmostPID(), pidOf("com.example.editor"));
    EXPECT_EQ(activated.count(), 1);

    ASSERT_TRUE(desktop->unhide(browser));
    EXPECT_EQ(listedTitles(onScreen).size(), 3);
}

TEST_F(SimulatedDesktopTest, HidingTheFinderLeavesTheDesktopInPlace)
{
    const ProcessID finder = pidOf("com.apple.finder");
    const WindowNumber folder = desktop->addWindow(finder, window("Documents", QRectF(200, 200, 600, 400)));
    ASSERT_TRUE(desktop->hide(finder));
    EXPECT_FALSE(listed(folder, WindowListOnScreenOnly));
    int desktopWindows = 0;
    for (const DesktopWindow* window : desktop->windowsOf(finder))
        desktopWindows += window->desktopElement && listed(window->number, WindowListOnScreenOnly);
    EXPECT_EQ(desktopWindows, 2) << "one per display";
}

TEST_F(SimulatedDesktopTest, SpaceSwitchTakesWindowsOffScreenAndPostsTheChange)
{
    const ProcessID editor = pidOf("com.example.editor");
    const int otherSpace = desktop->displays()[0].spaceIDs[1];
    WindowSpec elsewhere = window("other.txt", QRectF(50, 50, 500, 300));
    elsewhere.space = 1;
    const WindowNumber other = desktop->addWindow(editor, elsewhere);
    const WindowNumber secondDisplay = desktop->addWindow(editor, window("side.txt", QRectF(1500, 50, 500, 300)));
    EXPECT_FALSE(listed(other, onScreen));
    EXPECT_TRUE(listed(other, allWindows));

    QSignalSpy spaceChanged(desktop.get(), &SimulatedDesktop::activeSpaceChanged);
    ASSERT_TRUE(desktop->switchToSpace(otherSpace));
    EXPECT_EQ(spaceChanged.count(), 1);
    EXPECT_TRUE(listed(other, onScreen));
    EXPECT_FALSE(listed(firstWindowOf("com.example.browser"), onScreen));
    // The second display keeps its own Space.
    EXPECT_TRUE(listed(secondDisplay, onScreen));
    // Switching to the Space already active posts nothing.
    desktop->switchToSpace(otherSpace);
    EXPECT_EQ(spaceChanged.count(), 1);
}

TEST_F(SimulatedDesktopTest, ActivatingAnApplicationOnAnotherSpaceFollowsItUnlessTheDockForbids)
{
    const ProcessID editor = pidOf("com.example.editor");
    const int firstSpace = desktop->displays()[0].spaceIDs[0];
    const int otherSpace = desktop->displays()[0].spaceIDs[1];
    desktop->moveWindowToSpace(firstWindowOf("com.example.editor"), otherSpace);

    desktop->defaults().setValue("com.apple.dock", "workspaces-auto-swoosh", false);
    ASSERT_TRUE(desktop->restartDock());
    desktop->activate(editor, ActivateAllWindows);
    EXPECT_EQ(desktop->activeSpaceID(0), firstSpace);

    desktop->defaults().remove("com.apple.dock", "workspaces-auto-swoosh");
    desktop->restartDock();
    desktop->activate(pidOf("com.example.browser"), 0);
    desktop->activate(editor, ActivateAllWindows);
    EXPECT_EQ(desktop->activeSpaceID(0), otherSpace);
}

TEST_F(SimulatedDesktopTest, ActivationBringsWindowsForwardAndUnhides)
{
    const ProcessID editor = pidOf("com.example.editor");
    const WindowNumber second = desktop->addWindow(editor, window("draft.txt", QRectF(700, 300, 400, 300)));
    desktop->raiseWindow(firstWindowOf("com.example.browser"));
    desktop->hide(editor);
    QSignalSpy unhidden(desktop.get(), &SimulatedDesktop::applicationUnhidden);

    ASSERT_TRUE(desktop->activate(editor, ActivateAllWindows));
    EXPECT_EQ(unhidden.count(), 1);
    EXPECT_EQ(desktop->frontmostPID(), editor);
    EXPECT_EQ(listedTitles(onScreen), (QStringList{"draft.txt", "notes.txt", "Start Page"}));
    EXPECT_EQ(desktop->mainWindow(editor), second);
}

struct QuitCase {
    const char* name;
    QuitBehaviour behaviour;
    double checkAfter;
    bool terminatedAtOnce;
    bool terminatedLater;
};

class SimulatedDesktopQuitTest : public DesktopTestScene, public ::testing::WithParamInterface<QuitCase> { };

TEST_P(SimulatedDesktopQuitTest, TerminateRequestFollowsTheApplicationsBehaviour)
{
    const QuitCase& c = GetParam();
    const ProcessID editor = pidOf("com.example.editor");
    desktop->setQuitBehaviour(editor, c.behaviour, 2.0);
    QSignalSpy terminated(desktop.get(), &SimulatedDesktop::applicationTerminated);

    EXPECT_TRUE(desktop->terminate(editor)); // the request is delivered in every case
    EXPECT_EQ(desktop->application(editor)->terminated, c.terminatedAtOnce);
    scheduler.advance(c.checkAfter);
    EXPECT_EQ(desktop->application(editor)->terminated, c.terminatedLater);
    EXPECT_EQ(terminated.count(), c.terminatedLater ? 1 : 0);
    EXPECT_EQ(listed(firstWindowOf("com.example.editor"), allWindows), !c.terminatedLater);
    EXPECT_EQ(desktop->runningApplication("com.example.editor") != nullptr, !c.terminatedLater);
    if (c.terminatedLater) {
        EXPECT_FALSE(desktop->terminate(editor));
    }
}

INSTANTIATE_TEST_SUITE_P(Behaviours, SimulatedDesktopQuitTest,
                         ::testing::Values(QuitCase{"quits", QuitBehaviour::quits, 0, true, true},
                                           QuitCase{"quitsLaterNotYet", QuitBehaviour::quitsLater, 1.9, false, false},
                                           QuitCase{"quitsLater", QuitBehaviour::quitsLater, 2.0, false, true},
                                           QuitCase{"refuses", QuitBehaviour::refuses, 60, false, false}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(SimulatedDesktopTest, TerminatingTheFrontmostApplicationBringsTheNextForward)
{
    desktop->forceTerminate(pidOf("com.example.browser"));
    EXPECT_EQ(desktop->frontmostPID(), pidOf("com.example.editor"));
    desktop->forceTerminate(pidOf("com.example.editor"));
    EXPECT_EQ(desktop->frontmostPID(), pidOf("com.apple.finder"));
}

TEST_F(SimulatedDesktopTest, OwnTerminationAsksTheDelegateFirst)
{
    TerminateReply reply = TerminateReply::cancel;
    int willTerminate = 0;
    desktop->setTerminationHandlers([&] { return reply; }, [&] { ++willTerminate; });
    desktop->addOwnWindow(OwnWindowSpec{});

    EXPECT_FALSE(desktop->requestOwnTermination());
    EXPECT_FALSE(desktop->isOwnApplicationTerminated());

    reply = TerminateReply::later;
    EXPECT_FALSE(desktop->requestOwnTermination());
    EXPECT_TRUE(desktop->isOwnTerminationPending());
    desktop->replyToOwnTerminationRequest(true);
    EXPECT_EQ(willTerminate, 1);
    EXPECT_TRUE(desktop->isOwnApplicationTerminated());
    EXPECT_TRUE(desktop->ownWindows().empty());
}

TEST_F(SimulatedDesktopTest, HidingVeskIsRefusedWhilePresentationOptionsForbidIt)
{
    QSignalSpy options(desktop.get(), &SimulatedDesktop::presentationOptionsChanged);
    desktop->setPresentationOptions(PresentationHideDock | PresentationHideMenuBar | PresentationDisableAppleMenu
                                    | PresentationDisableProcessSwitching | PresentationDisableHideApplication);
    EXPECT_EQ(desktop->presentationOptions(), 314);
    EXPECT_EQ(options.count(), 1);
    EXPECT_FALSE(desktop->hide(desktop->ownPID()));
    desktop->setPresentationOptions(0);
    EXPECT_TRUE(desktop->hide(desktop->ownPID()));
}

TEST_F(SimulatedDesktopTest, TheDockAndTheMenuBarHideForVeskInFrontOrAnAutohidingDock)
{
    EXPECT_TRUE(desktop->isDockShown());
    EXPECT_TRUE(desktop->isMenuBarShown());
    desktop->setPresentationOptions(PresentationHideDock | PresentationHideMenuBar);
    // The options of an application in the background hide nothing.
    EXPECT_TRUE(desktop->isDockShown());
    EXPECT_TRUE(desktop->isMenuBarShown());
    desktop->activate(desktop->ownPID(), 0);
    EXPECT_FALSE(desktop->isDockShown());
    EXPECT_FALSE(desktop->isMenuBarShown());
    desktop->setPresentationOptions(0);
    EXPECT_TRUE(desktop->isDockShown());

    desktop->defaults().setValue("com.apple.dock", "autohide", true);
    EXPECT_TRUE(desktop->isDockShown()); // until the Dock restarts
    desktop->restartDock();
    EXPECT_FALSE(desktop->isDockShown());
    EXPECT_TRUE(desktop->isMenuBarShown());
}

TEST_F(SimulatedDesktopTest, ACrashedVeskLosesItsWindowsTapsAndOptionsAndCannotActUntilRelaunched)
{
    OwnWindowSpec panel;
    panel.frame = QRectF(0, 0, 200, 100);
    desktop->addOwnWindow(panel);
    desktop->events().addGlobalMonitor(eventMaskBit(EventType::keyDown), [](const InputEvent&) {});
    ASSERT_TRUE(desktop->events().createTap(TapLocation::session, TapPlacement::headInsert, TapOptions::defaultFilter,
                                            eventMaskBit(EventType::keyDown),
                                            [](int, const InputEvent& event) { return event; }));
    desktop->activate(desktop->ownPID(), 0);
    desktop->setPresentationOptions(314);
    desktop->defaults().setValue("com.apple.dock", "autohide", true);

    desktop->crashOwnProcess();
    EXPECT_TRUE(desktop->ownWindows().empty());
    EXPECT_TRUE(desktop->events().tapsInOrder().empty());
    EXPECT_EQ(desktop->events().monitorCount(), 0);
    EXPECT_EQ(desktop->presentationOptions(), 0);
    EXPECT_NE(desktop->frontmostPID(), desktop->ownPID());
    EXPECT_EQ(desktop->defaults().value("com.apple.dock", "autohide"), QVariant(true));

    // What is left of the process changes nothing.
    EXPECT_EQ(desktop->addOwnWindow(panel), 0u);
    EXPECT_TRUE(desktop->ownWindows().empty());
    desktop->setPresentationOptions(314);
    EXPECT_EQ(desktop->presentationOptions(), 0);
    EXPECT_FALSE(desktop->events().createTap(TapLocation::session, TapPlacement::headInsert, TapOptions::defaultFilter,
                                             eventMaskBit(EventType::keyDown),
                                             [](int, const InputEvent& event) { return event; }));
    EXPECT_EQ(desktop->commandRunner().run("/usr/bin/killall", {"Dock"}).exitStatus, 1);
    EXPECT_EQ(desktop->dockRestartCount(), 0);

    desktop->relaunchOwnProcess();
    EXPECT_NE(desktop->addOwnWindow(panel), 0u);
    desktop->setPresentationOptions(314);
    EXPECT_EQ(desktop->presentationOptions(), 314);
    EXPECT_EQ(desktop->commandRunner().run("/usr/bin/killall", {"Dock"}).exitStatus, 0);
}

TEST_F(SimulatedDesktopTest, MouseStateIsKeptPerButton)
{
    desktop->setMouseLocation(QPointF(10, 20));
    desktop->setMouseButtonDown(1, true);
    EXPECT_EQ(desktop->mouseLocation(), QPointF(10, 20));
    EXPECT_FALSE(desktop->isMouseButtonDown(0));
    EXPECT_TRUE(desktop->isMouseButtonDown(1));
    EXPECT_FALSE(desktop->isMouseButtonDown(2));
}

TEST_F(SimulatedDesktopTest, RemovingADisplayMovesItsWindowsToTheFirst)
{
    const WindowNumber side =
        desktop->addWindow(pidOf("com.example.editor"), window("side.txt", QRectF(1540, 100, 400, 300)));
    desktop->removeDisplay(1);
    ASSERT_TRUE(desktop->window(side));
    EXPECT_TRUE(listed(side, onScreen));
    EXPECT_EQ(desktop->window(side)->bounds, QRectF(100, 100, 400, 300));
}

} // namespace

namespace {

TEST_F(SimulatedDesktopTest, BundlesStayUnderTheDesktopRoot)
{
    for (const char* path : {"/Applications/../../escape.app", "/Applications/./A.app", "Applications/A.app",
                             "/Applications/A", "/Applications//A.app"}) {
        BundleSpec spec = bundle(path, "com.example.escape", "Escape");
        QString error;
        EXPECT_FALSE(desktop->installBundle(spec, &error)) << path;
        EXPECT_TRUE(error.contains(path)) << error.toStdString();
    }
    EXPECT_FALSE(QDir(root.path()).exists("../escape.app"));
    EXPECT_FALSE(desktop->bundleForIdentifier("com.example.escape"));
}

} // namespace

namespace {

// The window list is read on every frame and served from a cache while
// nothing changes: each change must show in the very next read.
TEST_F(SimulatedDesktopTest, EveryChangeShowsInTheNextWindowListRead)
{
    const ProcessID editor = pidOf("com.example.editor");
    const WindowNumber notes = firstWindowOf("com.example.editor");
    const WindowNumber page = firstWindowOf("com.example.browser");
    const WindowNumber panel = desktop->addOwnWindow(OwnWindowSpec{});

    struct Step {
        const char* name;
        std::function<void()> change;
        std::function<bool()> seen;
    };
    auto boundsOf = [&](WindowNumber number) {
        for (const QVariantMap& entry : desktop->copyWindowInfo(allWindows)) {
            if (entry.value(kWindowNumber).toUInt() == number) {
                const QVariantMap b = entry.value(kWindowBounds).toMap();
                return QRectF(b["X"].toDouble(), b["Y"].toDouble(), b["Width"].toDouble(), b["Height"].toDouble());
            }
        }
        return QRectF();
    };
    const std::vector<Step> steps = {
        {"hide", [&] { desktop->hide(editor); }, [&] { return !listed(notes, onScreen); }},
        {"unhide", [&] { desktop->unhide(editor); }, [&] { return listed(notes, onScreen); }},
        {"minimise", [&] { desktop->setWindowMinimized(notes, true); }, [&] { return !listed(notes, onScreen); }},
        {"restore", [&] { desktop->setWindowMinimized(notes, false); }, [&] { return listed(notes, onScreen); }},
        {"move", [&] { desktop->setWindowBounds(notes, QRectF(5, 6, 7, 8)); },
         [&] { return boundsOf(notes) == QRectF(5, 6, 7, 8); }},
        {"raise", [&] { desktop->raiseWindow(notes); }, [&] { return listedTitles(onScreen).value(0) == "notes.txt"; }},
        {"space", [&] { desktop->switchToSpace(desktop->displays()[0].spaceIDs[1]); },
         [&] { return !listed(page, onScreen); }},
        {"spaceBack", [&] { desktop->switchToSpace(desktop->displays()[0].spaceIDs[0]); },
         [&] { return listed(page, onScreen); }},
        {"panelHidden",
         [&] {
             OwnWindowSpec hidden;
             hidden.visible = false;
             desktop->updateOwnWindow(panel, hidden);
         },
         [&] { return !listed(panel, onScreen); }},
        {"renamedVesk",
         [&] {
             OwnApplicationSpec own = desktop->ownApplication();
             own.name = "Vesk Renamed";
             desktop->setOwnApplication(own);
         },
         [&] {
             for (const QVariantMap& entry : desktop->copyWindowInfo(allWindows)) {
                 if (entry.value(kWindowNumber).toUInt() == panel)
                     return entry.value(kWindowOwnerName).toString() == "Vesk Renamed";
             }
             return false;
         }},
        {"terminate", [&] { desktop->forceTerminate(editor); }, [&] { return !listed(notes, allWindows); }},
    };
    for (const Step& step : steps) {
        desktop->copyWindowInfo(onScreen); // fill the cache
        desktop->copyWindowInfo(allWindows);
        step.change();
        EXPECT_TRUE(step.seen()) << step.name;
    }
}

} // namespace

namespace {

TEST(SimulatedDesktopScreens, MirrorsTheMachinesScreens)
{
    QTemporaryDir root;
    ManualScheduler scheduler;
    SimulatedDesktop desktop(scheduler, root.path());
    desktop.mirrorQtScreens();
    const auto screens = QGuiApplication::screens();
    ASSERT_EQ(desktop.displays().size(), size_t(screens.size()));
    ASSERT_FALSE(screens.isEmpty());
    EXPECT_EQ(desktop.displays()[0].bounds, QRectF(screens[0]->geometry()));
    EXPECT_EQ(desktop.displays()[0].frame.size(), QSizeF(screens[0]->geometry().size()));
    EXPECT_EQ(desktop.displays()[0].displayID, 1u);
}

} // namespace
