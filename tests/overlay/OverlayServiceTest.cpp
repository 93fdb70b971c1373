#include "overlay/OverlayService.h"

#include "core/ManualScheduler.h"
#include "overlay/OverlayBackingPanel.h"
#include "overlay/OverlayContentView.h"
#include "overlay/OverlayPanel.h"
#include "overlay/SystemMouseInteractionDetector.h"
#include "platform/WindowLevel.h"
#include "platform/simulated/DesktopScreenCapturer.h"
#include "platform/simulated/DesktopScreenProvider.h"
#include "platform/simulated/DesktopWindowListProvider.h"
#include "platform/simulated/SimulatedDesktop.h"

#include "AllocationCount.h"
#include "DesktopSpecs.h"
#include "FakeScreens.h"
#include "LogCapture.h"
#include "PixelChecks.h"
#include "TestPrinters.h"

#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

using namespace vesk;
using platform::WindowNumber;

namespace {

const QString kEditor = QStringLiteral("com.example.editor");
const QString kBrowser = QStringLiteral("com.example.browser");
const QString kChat = QStringLiteral("com.example.chat");
constexpr double kFrame = OverlayService::kFrameInterval;

// A simulated desktop in virtual time: display A (Quartz 0, 0, 1440, 900) and,
// to its right, display B (1440, 0, 1920, 1080), whose Cocoa frame is
// (1440, -180, 1920, 1080). The editor is allowed; its window lies on A at
// Quartz (100, 100, 600, 400), that is Cocoa (100, 400, 600, 400).
class OverlayServiceTest : public testing::Test {
protected:
    OverlayServiceTest()
    {
        desktop.addDisplay(display(1, QRectF(0, 0, 1440, 900), QStringLiteral("Display A")));
        desktop.addDisplay(display(2, QRectF(1440, 0, 1920, 1080), QStringLiteral("Display B")));
        editorWindow = addApplication(kEditor, QRectF(100, 100, 600, 400));
    }

    static platform::DisplaySpec display(quint32 id, QRectF bounds, QString name)
    {
        platform::DisplaySpec spec;
        spec.displayID = id;
        spec.bounds = bounds;
        spec.name = std::move(name);
        return spec;
    }

    WindowNumber addApplication(const QString& bundleID, QRectF quartzBounds)
    {
        platform::ApplicationSpec app;
        app.bundleIdentifier = bundleID;
        platform::WindowSpec window;
        window.title = bundleID;
        window.bounds = quartzBounds;
        app.windows = {window};
        const platform::ProcessID pid = desktop.addRunningApplication(app);
        return desktop.windowsOf(pid).front()->number;
    }

    void installHandlers()
    {
        service.setPassthroughRectsChangedHandler(
            [this](const std::vector<Rect>& rects) { holeReports.push_back(rects); });
        service.setAllowedWindowsTemporarilyMissingHandler([this] { ++temporarilyMissingCalls; });
        service.setAllowedWindowsMissingHandler([this] { ++missingCalls; });
        service.setAllowedWindowsOccludedHandler(
            [this](const std::set<QString>& ids) { occludedReports.push_back(ids); });
        service.setSeamDragHandoffHandler([this](const QString& id, Point pointer) {
            handoffs.push_back({id, pointer});
        });
    }

    void activate(std::set<QString> allowed = {kEditor})
    {
        installHandlers();
        service.activate(allowed);
    }

    void advanceFrames(int frames) { scheduler.advance(frames * kFrame + 1e-9); }

    const std::vector<Rect>& lastHoles() const { return holeReports.back(); }

    // Drags the editor right in steps until its right edge lies on the seam at x = 1440.
    void dragEditorOntoTheSeam()
    {
        desktop.setMouseLocation(QPointF(400, 600));
        desktop.setMouseButtonDown(0, true);
        for (double x = 200; x <= 840; x += 80) {
            desktop.setWindowBounds(editorWindow, QRectF(x, 100, 600, 400));
            desktop.setMouseLocation(QPointF(x + 300, 600));
            advanceFrames(1);
        }
    }

    OverlayPanel* panelOn(const Rect& cocoaFrame) const
    {
        for (OverlayPanel* panel : service.panels())
            if (panel->cocoaFrame() == cocoaFrame)
                return panel;
        return nullptr;
    }

    QImage grabPanel(OverlayPanel* panel) const
    {
        return panel->contentView()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    }

    // The desktop as the overlay takes it, with these screens.
    OverlayService::DesktopParts desktopParts(const platform::ScreenProviding& withScreens)
    {
        return {withScreens, screens, desktop, desktop.pointer(),
                desktop.ownApplication().bundleIdentifier.value_or(QString())};
    }

    test::LogCapture logs;
    QTemporaryDir root;
    ManualScheduler scheduler;
    platform::SimulatedDesktop desktop{scheduler, root.path()};
    platform::DesktopScreenProvider screens{desktop};
    platform::DesktopWindowListProvider windowList{desktop};
    SystemMouseInteractionDetector mouse{desktop.pointer()};
    OverlayService service{scheduler, scheduler, desktopParts(screens),
                           WindowSnapshotReader(windowList, test::bundleIdentifierLookup(desktop)), mouse};
    WindowNumber editorWindow = 0;

    std::vector<std::vector<Rect>> holeReports;
    int temporarilyMissingCalls = 0;
    int missingCalls = 0;
    std::vector<std::set<QString>> occludedReports;
    std::vector<std::pair<QString, Point>> handoffs;
};

const Rect kDisplayA{0, 0, 1440, 900};
const Rect kDisplayB{1440, -180, 1920, 1080};
const Rect kEditorHole{104, 404, 592, 392};

using test::isBlack;
using test::isTransparent;

} // namespace

TEST_F(OverlayServiceTest, ActivationPutsAPanelPairOnEveryDisplayAtTheirLevels)
{
    activate();
    ASSERT_EQ(service.panels().size(), 2u);
    ASSERT_EQ(service.backingPanels().size(), 2u);

    int overlayPanels = 0, backingPanels = 0;
    for (const auto& window : desktop.ownWindows()) {
        EXPECT_TRUE(window.visible);
        EXPECT_TRUE(window.isPanel);
        if (window.level == platform::shieldingWindowLevel() + 1)
            ++overlayPanels;
        else if (window.level == platform::windowLevelForKey(platform::WindowLevelKey::desktopIcon) + 1)
            ++backingPanels;
    }
    EXPECT_EQ(overlayPanels, 2);
    EXPECT_EQ(backingPanels, 2);
    // The black panels cover everything else; the backing panels lie below the editor.
    const auto stack = desktop.windowsFrontToBack();
    EXPECT_EQ(stack.front()->ownerPID, desktop.ownPID());
    EXPECT_EQ(stack.back()->ownerPID, desktop.ownPID());
    EXPECT_EQ(logs.count("Activating overlay for 1 allowed apps"), 1);
    EXPECT_EQ(logs.count("Window tracking started via CADisplayLink (display-synced)"), 1);
    EXPECT_EQ(logs.count("Overlay panels synced — panels=2, backingPanels=2, screens=2"), 1);
    EXPECT_TRUE(holeReports.empty()) << "no tick runs inside activate";
}

TEST_F(OverlayServiceTest, PanelShowsAHoleOverTheVisiblePartOfTheAllowedWindowOnly)
{
    // The browser lies in front of the editor's lower right part: Cocoa (500, 300, 400, 300).
    addApplication(kBrowser, QRectF(500, 300, 400, 300));
    activate();
    advanceFrames(1);

    ASSERT_EQ(holeReports.size(), 1u);
    // Above the browser, the full width; left of it, at the browser's height.
    EXPECT_EQ(lastHoles(), (std::vector<Rect>{{104, 604, 592, 192}, {104, 404, 392, 192}}));

    OverlayPanel* panelA = panelOn(kDisplayA);
    ASSERT_NE(panelA, nullptr);
    EXPECT_EQ(panelA->passthroughRects(), lastHoles());
    EXPECT_TRUE(panelOn(kDisplayB)->passthroughRects().empty());

    const QImage image = grabPanel(panelA);
    // View rows run down from A's top edge at Cocoa y 900.
    EXPECT_TRUE(isTransparent(image, 300, 400)); // Cocoa (300, 500): left of the browser
    EXPECT_TRUE(isTransparent(image, 600, 200)); // Cocoa (600, 700): above the browser
    EXPECT_TRUE(isBlack(image, 600, 400));       // Cocoa (600, 500): under the browser
    EXPECT_TRUE(isBlack(image, 102, 200));       // inside the 4-point inset
    EXPECT_TRUE(isBlack(image, 800, 200));       // beside the editor
    const QImage imageB = grabPanel(panelOn(kDisplayB));
    EXPECT_TRUE(isBlack(imageB, 100, 100));
}

TEST_F(OverlayServiceTest, ScreenCaptureShowsTheAllowedWindowOnlyThroughItsHole)
{
    addApplication(kBrowser, QRectF(500, 300, 400, 300));
    activate();
    advanceFrames(1);

    const platform::DesktopScreenCapturer capturer(desktop);
    const QImage displayA = capturer.capture(0);
    ASSERT_FALSE(displayA.isNull());
    const QRgb editor = platform::DesktopScreenCapturer::windowColour(kEditor).rgb();
    const QRgb black = QColor(Qt::black).rgb();
    // Capture pixels are top-left points of the display.
    EXPECT_EQ(displayA.pixel(300, 400), editor); // the editor, left of the browser
    EXPECT_EQ(displayA.pixel(600, 250), editor); // the editor, above the browser
    EXPECT_EQ(displayA.pixel(600, 400), black);  // the browser covers the editor here
    EXPECT_EQ(displayA.pixel(102, 300), black);  // the 4-point inset
    EXPECT_EQ(displayA.pixel(1000, 50), black);
    const QImage displayB = capturer.capture(1);
    EXPECT_EQ(displayB.pixel(500, 500), black);
}

TEST_F(OverlayServiceTest, HandlerGetsTheHolesEveryFrameButASteadySceneLogsOnce)
{
    activate();
    advanceFrames(30);
    ASSERT_EQ(holeReports.size(), 30u);
    for (const auto& holes : holeReports)
        EXPECT_EQ(holes, std::vector<Rect>{kEditorHole});
    EXPECT_EQ(logs.count("Overlay window evaluation"), 1);
}

TEST_F(OverlayServiceTest, ASteadySceneTicksWithoutAllocating)
{
    // A blocker over a corner of the editor and another over the whole chat
    // window: fragments, blockers and a fully occluded application every frame.
    addApplication(kBrowser, QRectF(500, 300, 400, 400));
    addApplication(kChat, QRectF(1000, 100, 300, 200));
    addApplication(QStringLiteral("com.example.mail"), QRectF(950, 50, 400, 300));
    activate({kEditor, kChat});
    size_t holeCount = 0;
    // Like the session core's, a handler too large to be stored inside the
    // function object: copying it would allocate.
    service.setPassthroughRectsChangedHandler(
        [&holeCount, lifecycle = QUuid::createUuid(), owner = this](const std::vector<Rect>& holes) {
            if (owner && !lifecycle.isNull())
                holeCount = holes.size();
        });
    advanceFrames(5);
    ASSERT_EQ(holeCount, 2u);
    ASSERT_EQ(occludedReports, (std::vector<std::set<QString>>{{kChat}}));

    const long before = test::allocationsOnThisThread();
    for (int frame = 0; frame < 20; ++frame)
        service.trackingTick();
    EXPECT_EQ(test::allocationsOnThisThread() - before, 0);
    EXPECT_EQ(holeCount, 2u);
}

TEST_F(OverlayServiceTest, StartingTrackingTwiceKeepsOneTickSource)
{
    activate();
    service.activate({kEditor});
    scheduler.advance(1.0 + 1e-9);
    EXPECT_EQ(holeReports.size(), 60u);
}

TEST_F(OverlayServiceTest, MinimisingClosesTheHoleInTheSameFrameAndTheReturnWaits)
{
    activate();
    advanceFrames(3);
    desktop.setWindowMinimized(editorWindow, true);
    advanceFrames(1);
    EXPECT_TRUE(lastHoles().empty());
    EXPECT_EQ(temporarilyMissingCalls, 1);
    EXPECT_EQ(logs.count("No allowed windows visible — starting grace period (1.5s, remaining=1.50s)"), 1);

    advanceFrames(6); // 0.1 s later the window comes back
    desktop.setWindowMinimized(editorWindow, false);
    advanceFrames(1);
    EXPECT_TRUE(lastHoles().empty());
    EXPECT_EQ(logs.count("Window transition suppression started — bundleID=com.example.editor, reason=restoring"), 1);

    // Still covered until the restore wait of 1.4 s has passed.
    advanceFrames(82);
    EXPECT_TRUE(lastHoles().empty());
    advanceFrames(2);
    EXPECT_EQ(lastHoles(), std::vector<Rect>{kEditorHole});
    EXPECT_EQ(logs.count("Window transition suppression ended — bundleID=com.example.editor"), 1);
}

TEST_F(OverlayServiceTest, LosingTheOnlyAllowedWindowWarnsOnceAndFailsOpenOnceAfterTheGracePeriod)
{
    activate();
    advanceFrames(2);
    desktop.removeWindow(editorWindow);
    advanceFrames(1);
    EXPECT_EQ(temporarilyMissingCalls, 1);
    EXPECT_EQ(missingCalls, 0);

    scheduler.advance(1.45);
    EXPECT_EQ(missingCalls, 0);
    scheduler.advance(0.1);
    EXPECT_EQ(missingCalls, 1);
    scheduler.advance(2.0);
    EXPECT_EQ(missingCalls, 1);
    EXPECT_EQ(temporarilyMissingCalls, 1);
    EXPECT_EQ(logs.count("No allowed windows visible — starting grace period"), 1);
    EXPECT_EQ(logs.count("Grace period expired — triggering fail-open session stop"), 1);
}

TEST_F(OverlayServiceTest, AHandlerMayDeactivateTheOverlayFromInsideTheTick)
{
    activate();
    std::vector<int> captured(64, 7); // state the handler owns while it runs
    service.setAllowedWindowsTemporarilyMissingHandler([this, captured] {
        service.deactivate();
        temporarilyMissingCalls += captured[63];
    });
    advanceFrames(1);
    desktop.removeWindow(editorWindow);
    advanceFrames(1);
    EXPECT_EQ(temporarilyMissingCalls, 7);
    EXPECT_FALSE(service.isActive());
    const size_t reports = holeReports.size();
    scheduler.advance(1.0);
    EXPECT_EQ(holeReports.size(), reports);
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

TEST_F(OverlayServiceTest, ATickAskedForByAHandlerRunsAfterTheRunningOne)
{
    addApplication(kChat, QRectF(900, 100, 300, 200));
    const WindowNumber browser = addApplication(kBrowser, QRectF(50, 600, 300, 200));
    activate();
    advanceFrames(1);
    holeReports.clear();
    // The session core answers an occluded window by widening the allowlist.
    service.setAllowedWindowsOccludedHandler([this](const std::set<QString>&) {
        service.updateAllowlist({kEditor, kChat});
    });
    desktop.setWindowBounds(browser, QRectF(50, 50, 800, 600)); // now over the whole editor
    advanceFrames(1);
    EXPECT_EQ(logs.count("Overlay allowlist updated — 2 apps allowed"), 1);
    // The frame that found the editor covered reports its holes first; the
    // tick of the new allowlist follows with the chat window's.
    ASSERT_EQ(holeReports.size(), 2u);
    EXPECT_TRUE(holeReports[0].empty());
    EXPECT_EQ(holeReports[1], std::vector<Rect>{Rect(904, 604, 292, 192)});
}

TEST_F(OverlayServiceTest, ASuppressionAskedForInsideTheTickHasTheLastWordOfTheTurn)
{
    activate();
    advanceFrames(1);
    service.setAllowedWindowMotionHandler(
        [this](const auto&) { service.suppressPassthroughImmediately(kEditor, QStringLiteral("windowControlClick")); });
    desktop.setMouseButtonDown(0, true);
    desktop.setWindowBounds(editorWindow, QRectF(150, 100, 600, 400));
    holeReports.clear();
    advanceFrames(1);
    // The running frame reports the dragged window's hole; the tick of the
    // suppression follows it and closes the hole.
    ASSERT_EQ(holeReports.size(), 2u);
    EXPECT_EQ(holeReports[0].size(), 1u);
    EXPECT_TRUE(holeReports[1].empty());
}

TEST_F(OverlayServiceTest, AWindowBackWithinTheGracePeriodCancelsIt)
{
    activate();
    advanceFrames(2);
    desktop.removeWindow(editorWindow);
    advanceFrames(1);
    scheduler.advance(1.0);
    addApplication(kChat, QRectF(200, 200, 300, 200));
    service.updateAllowlist({kEditor, kChat});
    scheduler.advance(2.0);
    EXPECT_EQ(logs.count("Allowed windows reappeared — grace period cancelled"), 1);
    EXPECT_EQ(missingCalls, 0);
}

TEST_F(OverlayServiceTest, FullyCoveredAllowedWindowIsReportedOnceEachTimeItIsCovered)
{
    const WindowNumber browser = addApplication(kBrowser, QRectF(50, 50, 800, 600));
    activate();
    advanceFrames(10);
    EXPECT_EQ(occludedReports, (std::vector<std::set<QString>>{{kEditor}}));
    EXPECT_EQ(logs.count("Allowed windows fully occluded — bundleIDs=[\"com.example.editor\"]"), 1);
    EXPECT_EQ(temporarilyMissingCalls, 1);

    // Uncovered, then covered again: reported again.
    desktop.setWindowBounds(browser, QRectF(800, 600, 300, 200));
    advanceFrames(3);
    EXPECT_EQ(occludedReports.size(), 1u);
    desktop.setWindowBounds(browser, QRectF(50, 50, 800, 600));
    advanceFrames(3);
    EXPECT_EQ(occludedReports, (std::vector<std::set<QString>>{{kEditor}, {kEditor}}));
}

TEST_F(OverlayServiceTest, DragReleasedOnTheSeamIsHandedOffOnce)
{
    activate();
    advanceFrames(1);
    dragEditorOntoTheSeam();
    EXPECT_EQ(logs.count("drag reached display seam — bundleID=com.example.editor, seamEdge=right@1440"), 1);
    // While dragged the hole is the whole window, and the bridge reaches into B.
    EXPECT_EQ(lastHoles(), (std::vector<Rect>{{840, 400, 600, 400}, {1440, 400, 160, 400}}));
    EXPECT_EQ(panelOn(kDisplayB)->passthroughRects(), (std::vector<Rect>{{1440, 400, 160, 400}}));
    EXPECT_EQ(logs.count("Drag bridge passthrough active — rects=[{{1440, 400}, {160, 400}}]"), 1);
    // The bridge lies over no allowed window; the relaxed window hole is the window itself.
    EXPECT_EQ(logs.count("Uncovered passthrough holes — count=1, activeDrag=[\"com.example.editor\"], "
                         "holes=[\"{{1440, 400}, {160, 400}}@[1]Display B[bridge/other]\"]"),
              1);

    desktop.setMouseLocation(QPointF(1460, 620));
    desktop.setMouseButtonDown(0, false);
    advanceFrames(5);
    ASSERT_EQ(handoffs.size(), 1u);
    EXPECT_EQ(handoffs[0].first, kEditor);
    EXPECT_EQ(handoffs[0].second, (Point{1460, 620}));
    EXPECT_EQ(lastHoles(), std::vector<Rect>{Rect(844, 404, 592, 392)});
    EXPECT_EQ(logs.count("Drag bridge passthrough ended"), 1);
    EXPECT_EQ(logs.count("Passthrough holes fully covered by allowed windows again"), 1);
    EXPECT_EQ(logs.count("Drag passthrough relaxation ended"), 1);
}

TEST_F(OverlayServiceTest, AStallOnTheSeamIsJudgedBeforeTheFramesOwnMotion)
{
    activate();
    advanceFrames(1);
    desktop.setMouseLocation(QPointF(400, 600));
    desktop.setMouseButtonDown(0, true);
    desktop.setWindowBounds(editorWindow, QRectF(700, 100, 600, 400));
    advanceFrames(1);
    // Half a frame later the window reaches the seam, seen by a tick between two frames.
    scheduler.advance(kFrame / 2);
    desktop.setWindowBounds(editorWindow, QRectF(840, 100, 600, 400));
    service.updateAllowlist({kEditor});
    ASSERT_EQ(logs.count("drag reached display seam — bundleID=com.example.editor, seamEdge=right@1440"), 1);

    // Held still on the seam: the frames up to 0.25 s later see no stall yet.
    scheduler.advance(0.25);
    EXPECT_TRUE(handoffs.empty());
    // The next frame comes 0.258 s after the last motion and brings a new one:
    // the stall is judged on what was before this frame, so the drag is handed off.
    desktop.setWindowBounds(editorWindow, QRectF(840, 140, 600, 400));
    advanceFrames(1);
    ASSERT_EQ(handoffs.size(), 1u);
    EXPECT_EQ(handoffs[0].first, kEditor);
    EXPECT_EQ(logs.count("seam-drag handoff on stall — bundleID=com.example.editor"), 1);
}

TEST_F(OverlayServiceTest, ADraggedWindowUnderABlockerKeepsItsWholeRectAsHole)
{
    addApplication(kBrowser, QRectF(500, 300, 400, 300));
    activate();
    advanceFrames(1);
    desktop.setMouseButtonDown(0, true);
    desktop.setWindowBounds(editorWindow, QRectF(90, 100, 600, 400));
    advanceFrames(1);
    EXPECT_EQ(lastHoles(), std::vector<Rect>{Rect(90, 400, 600, 400)});
    EXPECT_EQ(logs.count("Uncovered passthrough holes — count=1, activeDrag=[\"com.example.editor\"], "
                         "holes=[\"{{90, 400}, {600, 400}}@[0]Display A[relaxed]\"]"),
              1);
    desktop.setMouseButtonDown(0, false);
    advanceFrames(1);
    EXPECT_EQ(lastHoles().size(), 2u);
}

TEST_F(OverlayServiceTest, NoBridgeIsCutIntoADisplayThatWentAwayDuringTheTick)
{
    activate();
    advanceFrames(1);
    // The session core's motion handler runs inside the tick; here display B
    // goes away while it runs.
    service.setAllowedWindowMotionHandler([this](const auto&) { desktop.removeDisplay(1); });
    desktop.setMouseButtonDown(0, true);
    desktop.setWindowBounds(editorWindow, QRectF(840, 100, 600, 400)); // right edge on the former seam
    advanceFrames(1);
    EXPECT_EQ(lastHoles(), std::vector<Rect>{Rect(840, 400, 600, 400)});
    EXPECT_EQ(logs.count("Drag bridge passthrough active"), 0);
}

TEST_F(OverlayServiceTest, EvaluationNamesSuppressedWindowsAndIgnoredBlockers)
{
    desktop.setWindowAlpha(editorWindow, 0.5);
    const WindowNumber wallpaperSized = addApplication(kBrowser, QRectF(0, 0, 1440, 900));
    platform::WindowSpec floating;
    floating.bounds = QRectF(0, 0, 1440, 900);
    floating.layer = 3;
    desktop.addWindow(desktop.window(wallpaperSized)->ownerPID, floating);
    desktop.removeWindow(wallpaperSized);
    activate();
    advanceFrames(1);
    EXPECT_EQ(logs.count("Overlay window evaluation — rawAllowed=1, passthrough=0, blockers=0, ignoredBlockers=1, "
                         "suppressed=1, fullyOccluded=[\"com.example.editor\"]"),
              1);
    EXPECT_EQ(logs.count("Suppressed unstable passthrough windows — windows=[\"com.example.editor(reason=translucent, "
                         "alpha=0.500, rect={{100, 400}, {600, 400}})\"]"),
              1);
    EXPECT_EQ(logs.count("Ignored non-visual full-screen overlay blockers — blockers=[\"com.example.browser(layer=3, "
                         "alpha=1.000, rect={{0, 0}, {1440, 900}})\"]"),
              1);
    EXPECT_TRUE(lastHoles().empty());
}

TEST_F(OverlayServiceTest, DragStateFollowsMotionWithinTheCooldown)
{
    EXPECT_EQ(service.allowedWindowDragState(scheduler.now()), AllowedWindowDragState::idle());
    activate();
    advanceFrames(1);
    desktop.setMouseButtonDown(0, true);
    desktop.setWindowBounds(editorWindow, QRectF(150, 100, 600, 400));
    advanceFrames(1);
    const auto state = service.allowedWindowDragState(scheduler.now());
    EXPECT_EQ(state.bundleIDs, std::set<QString>{kEditor});
    EXPECT_TRUE(state.isMouseInteractionActive);
    EXPECT_EQ(state.cooldown, 0.75);
}

TEST_F(OverlayServiceTest, ImmediateSuppressionClosesTheHoleWithinTheCall)
{
    activate();
    advanceFrames(2);
    service.suppressPassthroughImmediately(kEditor, QStringLiteral("allowedWindowControlClick"));
    ASSERT_EQ(holeReports.size(), 3u);
    EXPECT_TRUE(lastHoles().empty());
    EXPECT_EQ(logs.count("Immediate passthrough suppression requested — bundleID=com.example.editor, "
                         "reason=allowedWindowControlClick, previousRect={{100, 400}, {600, 400}}, duration=1.4s"),
              1);

    service.suppressPassthroughImmediately(kBrowser, QStringLiteral("allowedWindowControlClick"));
    EXPECT_EQ(holeReports.size(), 3u);
    EXPECT_EQ(logs.count("Ignoring passthrough suppression for non-allowed app — bundleID=com.example.browser"), 1);
}

TEST_F(OverlayServiceTest, AllowlistUpdateCutsTheNewHolesAtOnce)
{
    addApplication(kChat, QRectF(900, 100, 300, 200));
    activate();
    advanceFrames(1);
    EXPECT_EQ(lastHoles().size(), 1u);
    service.updateAllowlist({kEditor, kChat});
    EXPECT_EQ(holeReports.size(), 2u);
    EXPECT_EQ(lastHoles().size(), 2u);
    EXPECT_EQ(logs.count("Overlay allowlist updated — 2 apps allowed"), 1);
}

TEST_F(OverlayServiceTest, DeactivationStopsTicksRemovesPanelsAndClearsHandlers)
{
    activate();
    advanceFrames(3);
    service.deactivate();
    EXPECT_FALSE(service.isActive());
    EXPECT_FALSE(service.isTracking());
    EXPECT_TRUE(service.panels().empty());
    EXPECT_TRUE(desktop.ownWindows().empty());

    // The handlers went with the deactivation: activated again without new
    // ones, the overlay reports holes, a seam handoff and missing windows to nobody.
    holeReports.clear();
    service.activate({kEditor});
    advanceFrames(1);
    dragEditorOntoTheSeam();
    desktop.setMouseButtonDown(0, false);
    advanceFrames(5);
    desktop.removeWindow(editorWindow);
    scheduler.advance(3.0);
    EXPECT_TRUE(holeReports.empty());
    EXPECT_TRUE(handoffs.empty());
    EXPECT_EQ(temporarilyMissingCalls, 0);
    EXPECT_EQ(missingCalls, 0);
    EXPECT_EQ(logs.count("Grace period expired — triggering fail-open session stop"), 1);

    service.deactivate();
    installHandlers();
    scheduler.advance(1.0);
    EXPECT_TRUE(holeReports.empty());
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

TEST_F(OverlayServiceTest, CallsWhileInactiveAreIgnored)
{
    service.prepareBackingForAllowedAppActivation(QStringLiteral("sessionStart"));
    service.suppressPassthroughImmediately(kEditor, QStringLiteral("allowedWindowControlClick"));
    EXPECT_EQ(logs.count("Ignoring overlay backing raise because overlay is inactive — reason=sessionStart"), 1);
    EXPECT_EQ(logs.count("Ignoring passthrough suppression because overlay is inactive"), 1);
    EXPECT_TRUE(desktop.ownWindows().empty());
}

TEST_F(OverlayServiceTest, BackingRaiseReportsEachPanel)
{
    activate();
    service.prepareBackingForAllowedAppActivation(QStringLiteral("sessionStart"));
    EXPECT_EQ(logs.count("Preparing overlay backing before allowed app activation — reason=sessionStart, "
                         "backingPanels=2"),
              1);
    EXPECT_EQ(logs.count("Overlay backing refreshed below app windows — reason=sessionStart, screen=Display A"), 1);
    EXPECT_EQ(logs.count("Overlay backing refreshed below app windows — reason=sessionStart, screen=Display B"), 1);
}

TEST_F(OverlayServiceTest, ScreenChangesAreDebouncedAndAnUnchangedLayoutKeepsThePanels)
{
    activate();
    const auto before = service.panels();
    emit desktop.screenParametersChanged();
    scheduler.advance(0.3);
    emit desktop.screenParametersChanged();
    scheduler.advance(0.45);
    EXPECT_EQ(logs.count("Screen change ignored; layout unchanged"), 0);
    scheduler.advance(0.1);
    EXPECT_EQ(logs.count("Screen change ignored; layout unchanged — reason=screenParametersChanged, layout=["), 1);
    EXPECT_EQ(service.panels(), before);
}

TEST_F(OverlayServiceTest, TheDebouncedScreenChangeTicksAtOnceAlsoWhenTheLayoutIsUnchanged)
{
    activate();
    advanceFrames(3);
    // Half a frame off the frame cadence, so that the debounce ends between two frames.
    scheduler.advance(kFrame / 2);
    emit desktop.screenParametersChanged();
    scheduler.advance(OverlayService::kScreenChangeDebounce - kFrame / 4);
    ASSERT_EQ(logs.count("Screen change ignored; layout unchanged"), 0);
    const std::size_t ticks = holeReports.size();

    scheduler.advance(kFrame / 2);
    EXPECT_EQ(logs.count("Screen change ignored; layout unchanged"), 1);
    EXPECT_EQ(holeReports.size(), ticks + 1) << "one tick right after the sync, no frame";
}

TEST_F(OverlayServiceTest, AMovedDisplayGetsNewPanelsAndTheOtherKeepsItsOwn)
{
    activate();
    const auto numberA = panelOn(kDisplayA)->windowNumber();
    const auto oldNumberB = panelOn(kDisplayB)->windowNumber();
    desktop.updateDisplay(1, display(2, QRectF(1440, 1, 1920, 1080), QStringLiteral("Display B")));
    scheduler.advance(0.6);
    EXPECT_EQ(logs.count("Screen layout changed; syncing overlay panels — reason=screenParametersChanged, keep=1, "
                         "create=1, dismiss=1"),
              1);
    ASSERT_NE(panelOn(kDisplayA), nullptr);
    EXPECT_EQ(panelOn(kDisplayA)->windowNumber(), numberA);
    const Rect movedB = kDisplayB.offsetBy(0, -1);
    ASSERT_NE(panelOn(movedB), nullptr);
    EXPECT_NE(panelOn(movedB)->windowNumber(), oldNumberB);
    EXPECT_EQ(service.panels().size(), 2u);
    EXPECT_EQ(desktop.ownWindows().size(), 4u);
    EXPECT_EQ(desktop.window(*oldNumberB), nullptr);
}

TEST_F(OverlayServiceTest, ScreenChangeAfterDeactivationSyncsNothing)
{
    activate();
    emit desktop.screenParametersChanged();
    service.deactivate();
    scheduler.advance(1.0);
    EXPECT_EQ(logs.count("Overlay panels synced"), 1);
    EXPECT_TRUE(desktop.ownWindows().empty());
}

namespace {

// Displays without a main screen, as when no window of ours is on one.
class ScreensWithoutMain final : public platform::ScreenProviding {
public:
    explicit ScreensWithoutMain(const platform::ScreenProviding& inner) : inner_(inner) { }
    std::vector<platform::ScreenInfo> screens() const override { return inner_.screens(); }
    std::optional<platform::ScreenInfo> mainScreen() const override { return std::nullopt; }
    std::optional<QRectF> displayBounds(quint32 id) const override { return inner_.displayBounds(id); }

private:
    const platform::ScreenProviding& inner_;
};

} // namespace

TEST_F(OverlayServiceTest, WithoutAMainScreenTheTimerFallbackTicksAndStops)
{
    ScreensWithoutMain noMain(screens);
    OverlayService fallback(scheduler, scheduler, desktopParts(noMain),
                            WindowSnapshotReader(windowList, test::bundleIdentifierLookup(desktop)), mouse);
    int ticks = 0;
    fallback.activate({kEditor});
    fallback.setPassthroughRectsChangedHandler([&ticks](const auto&) { ++ticks; });
    scheduler.advance(0.5 + 1e-9);
    EXPECT_EQ(ticks, 30);
    EXPECT_EQ(logs.count("No main screen — falling back to Timer for window tracking"), 1);
    fallback.deactivate();
    scheduler.advance(0.5);
    EXPECT_EQ(ticks, 30);
}

TEST_F(OverlayServiceTest, WithoutDisplaysEverythingStaysClosed)
{
    activate();
    advanceFrames(1);
    desktop.removeDisplay(1);
    desktop.removeDisplay(0);
    scheduler.advance(0.6);
    EXPECT_TRUE(lastHoles().empty());
    EXPECT_TRUE(service.panels().empty());
    EXPECT_EQ(logs.count("No screens available while syncing overlay panels — dismissing existing panels, "
                         "reason=screenParametersChanged"),
              1);
    // Without geometry no hole can be cut: the grace period runs out as for missing windows.
    EXPECT_EQ(temporarilyMissingCalls, 1);
    scheduler.advance(1.0);
    EXPECT_EQ(missingCalls, 1);

    service.prepareBackingForAllowedAppActivation(QStringLiteral("sessionStart"));
    EXPECT_EQ(logs.count("Preparing overlay backing before allowed app activation — reason=sessionStart, "
                         "backingPanels=0"),
              1);
    EXPECT_EQ(logs.count("Overlay backing refreshed below app windows"), 0);
}
