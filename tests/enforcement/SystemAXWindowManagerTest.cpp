#include "enforcement/SystemAXWindowManager.h"
#include "DesktopSpecs.h"
#include "LogCapture.h"
#include "QtPrinters.h"
#include "platform/simulated/DesktopAccessibility.h"
#include "platform/simulated/DesktopTestScene.h"
#include "platform/simulated/DesktopWorkspace.h"

using namespace vesk;
using namespace vesk::platform;

namespace {

const QString editorID = QStringLiteral("com.example.editor");
const QString browserID = QStringLiteral("com.example.browser");

// The primary display and a second one above it, shifted right: top-left
// bounds (200, -1080, 1920, 1080), bottom-left frame (200, 900, 1920, 1080).
// The editor's window is on the second display, the browser's on the first.
class SystemAXWindowManagerTest : public platform::testing::DesktopTestScene {
protected:
    void SetUp() override
    {
        DesktopScenario scenario = twoDisplayScenario();
        scenario.displays = {display(1, QRectF(0, 0, 1440, 900)), display(2, QRectF(200, -1080, 1920, 1080))};
        scenario.applications[0].windows = {window("notes.txt", QRectF(400, -900, 800, 500))};
        build(scenario);
        manager.emplace(desktop->workspace(), desktop->accessibility(), desktop->interfaces().screens);
    }

    DesktopAccessibility& ax() { return desktop->accessibility(); }
    AXElement windowElement(WindowNumber number)
    {
        return AXElement{AXElement::Kind::window, desktop->window(number)->ownerPID, number};
    }
    QRectF boundsOf(WindowNumber number) const { return desktop->window(number)->bounds; }
    QStringList logLines() const { return logs.messages("SystemAXWindowManager"); }

    std::optional<SystemAXWindowManager> manager;
    test::LogCapture logs;
};

TEST_F(SystemAXWindowManagerTest, FramesOnADisplayAboveThePrimaryLandAtTheirTopLeftPosition)
{
    const WindowNumber notes = firstWindowOf(editorID);
    ASSERT_TRUE(manager->setFrame(editorID, Rect{300, 1000, 800, 600}));
    EXPECT_EQ(boundsOf(notes), QRectF(300, -700, 800, 600));
    EXPECT_TRUE(logLines().contains("[SystemAXWindowManager] setFrame converted Cocoa to AX coordinates — "
                                    "bundleID=com.example.editor, cocoa={{300, 1000}, {800, 600}}, "
                                    "ax={{300, -700}, {800, 600}}"));

    ASSERT_TRUE(manager->setPosition(editorID, Rect{1000, 1500, 10, 10}));
    EXPECT_EQ(boundsOf(notes), QRectF(1000, -610, 800, 600)) << "the origin only: the size stays";

    // On the primary display the two systems share the top-left corner.
    const WindowNumber startPage = firstWindowOf(browserID);
    ASSERT_TRUE(manager->setFrame(browserID, Rect{100, 100, 600, 400}));
    EXPECT_EQ(boundsOf(startPage), QRectF(100, 400, 600, 400));
}

struct ConversionCase {
    const char* name;
    Rect cocoaFrame;
    Rect expected;
};

void PrintTo(const ConversionCase& c, std::ostream* out)
{
    *out << c.name;
}

// The second display reports a bottom-left frame that does not follow from its
// top-left bounds (it is level with the primary's top edge instead of its
// bottom edge), so the two displays convert differently and the chosen one shows.
class DisplayChoiceTable : public platform::testing::DesktopTestScene,
                           public ::testing::WithParamInterface<ConversionCase> {
protected:
    void SetUp() override
    {
        DesktopScenario scenario = twoDisplayScenario();
        DisplaySpec side = display(2, QRectF(1440, 0, 1000, 1080));
        side.frame = QRectF(1440, 0, 1000, 1080);
        scenario.displays = {display(1, QRectF(0, 0, 1440, 900)), side};
        build(scenario);
    }
};

TEST_P(DisplayChoiceTable, ConvertsThroughTheDisplayThatOverlapsMostTheEarlierOnATie)
{
    const SystemAXWindowManager manager(desktop->workspace(), desktop->accessibility(), desktop->interfaces().screens);
    EXPECT_EQ(manager.accessibilityFrame(GetParam().cocoaFrame), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Straddling, DisplayChoiceTable,
    ::testing::Values(ConversionCase{"MostlyOnThePrimary", Rect{1000, 100, 600, 300}, Rect{1000, 500, 600, 300}},
                      ConversionCase{"MostlyOnTheSecond", Rect{1300, 100, 600, 300}, Rect{1300, 680, 600, 300}},
                      ConversionCase{"EvenSplitGoesToThePrimary", Rect{1240, 100, 400, 300}, Rect{1240, 500, 400, 300}},
                      ConversionCase{"OnNoDisplayGoesToThePrimary", Rect{5000, 100, 400, 300},
                                     Rect{5000, 500, 400, 300}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(SystemAXWindowManagerTest, WithoutDisplaysTheFrameIsWrittenUnchanged)
{
    const WindowNumber startPage = firstWindowOf(browserID);
    // Without displays no window is on a Space; the one set as main is still the main window.
    desktop->setMainWindow(pidOf(browserID), startPage);
    desktop->removeDisplay(1);
    desktop->removeDisplay(0);
    ASSERT_TRUE(manager->setFrame(browserID, Rect{100, 100, 600, 400}));
    EXPECT_EQ(boundsOf(startPage), QRectF(100, 100, 600, 400));
    EXPECT_FALSE(logs.contains("converted Cocoa to AX coordinates"));
}

TEST_F(SystemAXWindowManagerTest, AFailedFinalPositionWriteFailsTheFrameAndNamesAllThreeResults)
{
    const WindowNumber startPage = firstWindowOf(browserID);
    ax().refuseSetting(windowElement(startPage), AXName::position, AXError::cannotComplete, 1);
    EXPECT_FALSE(manager->setFrame(browserID, Rect{100, 100, 600, 400}));
    EXPECT_EQ(boundsOf(startPage), QRectF(100, 400, 600, 400)) << "the first position and the size went through";
    EXPECT_TRUE(logLines().contains("[SystemAXWindowManager] setFrame partial failure — bundleID=com.example.browser, "
                                    "position=0, size=0, finalPosition=-25204"));

    EXPECT_FALSE(manager->setPosition(browserID, Rect{0, 0, 10, 10}));
    EXPECT_TRUE(logLines().contains("[SystemAXWindowManager] setPosition failed — bundleID=com.example.browser, "
                                    "result=-25204"));
}

TEST_F(SystemAXWindowManagerTest, FramesNeedARunningApplicationWithAWindowAndFiniteValues)
{
    EXPECT_FALSE(manager->setFrame("com.example.none", Rect{0, 0, 100, 100}));
    EXPECT_TRUE(
        logLines().contains("[SystemAXWindowManager] setFrame failed — no AX window, bundleID=com.example.none"));
    EXPECT_FALSE(manager->setFrame(browserID, Rect::null()));
    EXPECT_TRUE(logLines().contains(
        "[SystemAXWindowManager] setFrame failed — could not create AXValue, bundleID=com.example.browser"));
    desktop->setAccessibilityTrusted(false);
    EXPECT_FALSE(manager->setPosition(browserID, Rect{0, 0, 100, 100}));
    EXPECT_TRUE(logLines().contains("[SystemAXWindowManager] setPosition failed — no AX window, "
                                    "bundleID=com.example.browser"));
}

TEST_F(SystemAXWindowManagerTest, MinimizingFallsBackToHidingWhenNoWindowTakesTheFlag)
{
    const ProcessID browser = pidOf(browserID);
    const WindowNumber startPage = firstWindowOf(browserID);
    const WindowNumber second = desktop->addWindow(browser, window("Second", QRectF(500, 300, 400, 300)));
    for (WindowNumber number : {startPage, second})
        ax().refuseSetting(windowElement(number), AXName::minimized, AXError::cannotComplete);

    EXPECT_FALSE(manager->setMinimized(browserID, false)) << "no fallback for unminimizing";
    EXPECT_FALSE(desktop->application(browser)->hidden);
    EXPECT_TRUE(logLines().contains("[SystemAXWindowManager] setMinimized failed — bundleID=com.example.browser, "
                                    "minimized=false, failures=[-25204, -25204]"));

    desktop->setRefusesHide(browser, true);
    EXPECT_FALSE(manager->setMinimized(browserID, true)) << "the hide's own result";
    desktop->setRefusesHide(browser, false);
    EXPECT_TRUE(manager->setMinimized(browserID, true));
    EXPECT_TRUE(desktop->application(browser)->hidden);
}

TEST_F(SystemAXWindowManagerTest, MinimizingSucceedsWhenOneWindowTakesTheFlagAndCountsTheMinimizedWindows)
{
    const ProcessID browser = pidOf(browserID);
    const WindowNumber startPage = firstWindowOf(browserID);
    const WindowNumber locked = desktop->addWindow(browser, window("Locked", QRectF(500, 300, 400, 300)));
    ax().refuseSetting(windowElement(locked), AXName::minimized, AXError::cannotComplete);

    EXPECT_TRUE(manager->setMinimized(browserID, true));
    EXPECT_TRUE(desktop->window(startPage)->minimized);
    EXPECT_FALSE(desktop->window(locked)->minimized);
    EXPECT_TRUE(logLines().contains("[SystemAXWindowManager] setMinimized completed — bundleID=com.example.browser, "
                                    "minimized=true, success=1, failures=[-25204]"));
    EXPECT_EQ(manager->minimizedWindowCounts(browserID), (AXWindowManaging::WindowCounts{1, 2}));
}

TEST_F(SystemAXWindowManagerTest, AnApplicationWithoutWindowsOrNotRunning)
{
    desktop->removeWindow(firstWindowOf(browserID));
    EXPECT_FALSE(manager->setMinimized(browserID, true));
    EXPECT_TRUE(logLines().contains("[SystemAXWindowManager] setMinimized failed — no AX windows, "
                                    "bundleID=com.example.browser, minimized=true"));
    EXPECT_EQ(manager->minimizedWindowCounts(browserID), (AXWindowManaging::WindowCounts{0, 0}));
    EXPECT_FALSE(manager->closeWindow(browserID, std::nullopt));
    EXPECT_TRUE(
        logLines().contains("[SystemAXWindowManager] close failed — no AX window, bundleID=com.example.browser"));
    EXPECT_FALSE(manager->isFullScreen(browserID));
    EXPECT_FALSE(manager->exitFullScreen(browserID));

    // Not running: done for minimize, hide and close; failed for the rest.
    const QString gone = QStringLiteral("com.example.none");
    EXPECT_TRUE(manager->setMinimized(gone, true));
    EXPECT_TRUE(manager->hide(gone));
    EXPECT_TRUE(manager->closeWindow(gone, Point{1, 1}));
    EXPECT_FALSE(manager->raise(gone));
    EXPECT_TRUE(
        logLines().contains("[SystemAXWindowManager] raise failed — app not running, bundleID=com.example.none"));
    EXPECT_FALSE(manager->isFullScreen(gone));
    EXPECT_EQ(manager->minimizedWindowCounts(gone), (AXWindowManaging::WindowCounts{0, 0}));
}

TEST_F(SystemAXWindowManagerTest, HidingFallsBackToTheRunningApplication)
{
    const ProcessID browser = pidOf(browserID);
    ax().refuseSetting(ax().createApplication(browser), AXName::hidden, AXError::failure);
    EXPECT_TRUE(manager->hide(browserID));
    EXPECT_TRUE(desktop->application(browser)->hidden);
    EXPECT_TRUE(logLines().contains("[SystemAXWindowManager] AX hide returned -25200, falling back to "
                                    "NSRunningApplication.hide — bundleID=com.example.browser"));

    desktop->unhide(browser);
    desktop->setRefusesHide(browser, true);
    EXPECT_FALSE(manager->hide(browserID));
}

TEST_F(SystemAXWindowManagerTest, RaiseUnhidesActivatesAndBringsTheMainWindowForward)
{
    const ProcessID editor = pidOf(editorID);
    const WindowNumber notes = firstWindowOf(editorID);
    const WindowNumber draft = desktop->addWindow(editor, window("draft.txt", QRectF(300, 300, 400, 300)));
    desktop->setMainWindow(editor, notes);
    desktop->hide(editor);

    EXPECT_TRUE(manager->raise(editorID));
    EXPECT_FALSE(desktop->application(editor)->hidden);
    EXPECT_EQ(desktop->frontmostPID(), editor);
    const auto front = desktop->windowsOf(editor);
    EXPECT_EQ(front.front()->number, notes) << "the main window, not the newer " << draft;

    // Without windows it still unhides and activates.
    desktop->removeWindow(notes);
    desktop->removeWindow(draft);
    desktop->activate(pidOf(browserID), 0);
    desktop->hide(editor);
    EXPECT_TRUE(manager->raise(editorID));
    EXPECT_FALSE(desktop->application(editor)->hidden);
    EXPECT_EQ(desktop->frontmostPID(), editor);
}

TEST_F(SystemAXWindowManagerTest, RaiseReportsARefusedRaiseAndStillSucceeds)
{
    const WindowNumber startPage = firstWindowOf(browserID);
    desktop->setWindowMinimized(startPage, true);
    EXPECT_TRUE(manager->raise(browserID));
    EXPECT_TRUE(logLines().contains("[SystemAXWindowManager] AX raise returned -25204 — bundleID=com.example.browser"));
}

TEST_F(SystemAXWindowManagerTest, CloseTargetsTheWindowUnderThePointElseTheMainWindow)
{
    const ProcessID browser = pidOf(browserID);
    const WindowNumber startPage = firstWindowOf(browserID);
    const WindowNumber docs = desktop->addWindow(browser, window("Docs", QRectF(1150, 300, 250, 300)));
    desktop->setMainWindow(browser, startPage);

    EXPECT_TRUE(manager->closeWindow(browserID, Point{1200, 400}));
    EXPECT_FALSE(desktop->window(docs));
    EXPECT_TRUE(desktop->window(startPage));
    EXPECT_TRUE(
        logLines().contains("[SystemAXWindowManager] close targeting window at point — "
                            "bundleID=com.example.browser, point={1200, 400}, matchedWindow=true, fallback=false"));

    const WindowNumber other = desktop->addWindow(browser, window("Other", QRectF(1150, 300, 250, 300)));
    desktop->setMainWindow(browser, startPage);
    EXPECT_TRUE(manager->closeWindow(browserID, Point{5, 5}));
    EXPECT_FALSE(desktop->window(startPage)) << "the point hit no window: the main window closes";
    EXPECT_TRUE(desktop->window(other));
    EXPECT_TRUE(logLines().contains("[SystemAXWindowManager] close targeting window at point — "
                                    "bundleID=com.example.browser, point={5, 5}, matchedWindow=false, fallback=true"));
    EXPECT_TRUE(manager->closeWindow(browserID, std::nullopt));
    EXPECT_TRUE(logs.contains("point=nil, matchedWindow=false, fallback=true"));
}

TEST_F(SystemAXWindowManagerTest, CloseCancelsAWindowWithoutAButtonAndReportsRefusals)
{
    const ProcessID browser = pidOf(browserID);
    WindowSpec panel = window("Palette", QRectF(1150, 300, 250, 300));
    panel.hasTitleBarButtons = false;
    const WindowNumber palette = desktop->addWindow(browser, panel);
    EXPECT_TRUE(manager->closeWindow(browserID, Point{1200, 400}));
    EXPECT_FALSE(desktop->window(palette));

    WindowSpec lockedSpec = window("Locked", QRectF(1150, 300, 250, 300));
    lockedSpec.accessibilityWritable = false;
    const WindowNumber locked = desktop->addWindow(browser, lockedSpec);
    EXPECT_FALSE(manager->closeWindow(browserID, Point{1200, 400}));
    EXPECT_TRUE(desktop->window(locked));
    EXPECT_TRUE(logLines().contains("[SystemAXWindowManager] close button press failed — "
                                    "bundleID=com.example.browser, result=-25204"));

    lockedSpec.hasTitleBarButtons = false;
    desktop->addWindow(browser, lockedSpec);
    EXPECT_FALSE(manager->closeWindow(browserID, Point{1200, 400}));
    EXPECT_TRUE(logLines().contains("[SystemAXWindowManager] window close action failed — "
                                    "bundleID=com.example.browser, result=-25204"));
}

TEST_F(SystemAXWindowManagerTest, LeavesNativeFullScreen)
{
    const WindowNumber startPage = firstWindowOf(browserID);
    desktop->setWindowFullScreen(startPage, true);
    EXPECT_TRUE(manager->isFullScreen(browserID));
    EXPECT_TRUE(manager->exitFullScreen(browserID));
    EXPECT_FALSE(desktop->window(startPage)->fullScreen);
    EXPECT_FALSE(manager->isFullScreen(browserID));
    EXPECT_TRUE(logLines().contains("[SystemAXWindowManager] exited native fullscreen — bundleID=com.example.browser"));

    ax().refuseSetting(windowElement(startPage), AXName::fullScreen, AXError::cannotComplete);
    EXPECT_FALSE(manager->exitFullScreen(browserID));
    EXPECT_TRUE(logLines().contains("[SystemAXWindowManager] exitFullScreen failed — bundleID=com.example.browser, "
                                    "result=-25204"));
}

} // namespace
