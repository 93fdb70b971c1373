#include "enforcement/MouseBlockerClickDecision.h"
#include "QtPrinters.h"
#include "overlay/OverlayBackingPanel.h"
#include "overlay/OverlayPanel.h"
#include "platform/WindowLevel.h"

#include <gtest/gtest.h>

using namespace vesk;

namespace {

const QString vesk = QStringLiteral("com.vesk.app");
const QString editor = QStringLiteral("com.example.editor");
const QString browser = QStringLiteral("com.example.browser");
const QString player = QStringLiteral("com.example.player");
const QString finder = QStringLiteral("com.apple.finder");
const QString windowManager = QStringLiteral("com.apple.WindowManager");
const QString screenCapture = QStringLiteral("com.apple.screencaptureui");

const int overlayLevel = OverlayPanel::windowLevel();
const int backingLevel = OverlayBackingPanel::windowLevel();
const int hudLevel = platform::shieldingWindowLevel() + 2;

// The primary display, 1440 x 900, and a second one of 1920 x 1080 above it.
const Rect primary{0, 0, 1440, 900};
const Rect upper{0, -1080, 1920, 1080};

DisplayGeometry twoDisplays()
{
    return DisplayGeometry({{primary, primary}, {Rect{0, 900, 1920, 1080}, upper}});
}

AllowedWindowSnapshot window(const QString& bundleID, Rect quartzBounds, int layer = 0, double alpha = 1.0)
{
    AllowedWindowSnapshot snapshot;
    snapshot.bundleID = bundleID;
    snapshot.bounds = quartzBounds;
    snapshot.layer = layer;
    snapshot.alpha = alpha;
    return snapshot;
}

// What a session looks like in the window list, front to back: Vesk's
// overlay panels, then `middle`, then Vesk's backing panels.
std::vector<AllowedWindowSnapshot> sessionWindows(std::vector<AllowedWindowSnapshot> middle)
{
    std::vector<AllowedWindowSnapshot> list{window(vesk, primary, overlayLevel), window(vesk, upper, overlayLevel)};
    list.insert(list.end(), middle.begin(), middle.end());
    list.push_back(window(vesk, primary, backingLevel));
    list.push_back(window(vesk, upper, backingLevel));
    return list;
}

// The editor (allowed) at top-left (100, 100), 600 x 400; bottom-left that is
// (100, 400), so its control zone is x 100..188, top-left y 100..132.
const Rect editorBounds{100, 100, 600, 400};
const Rect editorCocoa{100, 400, 600, 400};
// The browser (not allowed) in front of the editor's top-left corner.
const Rect browserBounds{50, 80, 200, 100};

struct ClickCase {
    const char* name;
    std::vector<AllowedWindowSnapshot> windows;
    std::set<QString> allowed;
    std::vector<Rect> holes;      // bottom-left
    std::vector<Rect> registered; // bottom-left
    Point click;                  // top-left
    bool isAllowed;
    MouseBlockerClickDecision::Reason reason;
    std::optional<QString> passthroughBundleID;
    bool inControlZone;
    std::optional<QString> topWindowBundleID;
};

void PrintTo(const ClickCase& c, std::ostream* out)
{
    *out << c.name;
}

using Reason = MouseBlockerClickDecision::Reason;

std::vector<ClickCase> clickCases()
{
    const auto editorAndBrowser = sessionWindows({window(browser, browserBounds), window(editor, editorBounds)});
    const auto hud = window(vesk, Rect{1000, 40, 300, 100}, hudLevel);
    const std::vector<Rect> editorHole{Rect{250, 400, 450, 400}};
    return {
        {"ClickNextToARegisteredPanelPassesOverAnotherWindow",
         sessionWindows({window(browser, Rect{500, 800, 400, 100})}),
         {editor},
         {},
         {Rect{600, 0, 200, 60}},
         Point{597, 870},
         true,
         Reason::registeredVeskControlRect,
         {},
         false,
         browser},
        {"ClickFivePointsFromARegisteredPanelIsBlocked",
         sessionWindows({window(browser, Rect{500, 800, 400, 100})}),
         {editor},
         {},
         {Rect{600, 0, 200, 60}},
         Point{595, 870},
         false,
         Reason::blockedOutsideVisiblePassthrough,
         {},
         false,
         browser},
        {"ClickOnVeskPanelAboveTheOverlayPasses",
         sessionWindows({hud, window(editor, editorBounds)}),
         {editor},
         {},
         {},
         Point{1010, 50},
         true,
         Reason::veskControlWindow,
         {},
         false,
         vesk},
        {"ClickOnTheBareBackingPanelIsBlocked",
         editorAndBrowser,
         {editor},
         editorHole,
         {},
         Point{1000, 700},
         false,
         Reason::blockedOutsideVisiblePassthrough,
         {},
         false,
         vesk},
        {"ControlZoneCountsUnderAnotherApplicationsWindow",
         editorAndBrowser,
         {editor},
         editorHole,
         {},
         Point{110, 110},
         false,
         Reason::visibleAllowedPassthrough,
         editor,
         true,
         browser},
        {"ClickInAHoleOverAnAllowedWindowPasses",
         editorAndBrowser,
         {editor},
         editorHole,
         {},
         Point{400, 300},
         true,
         Reason::visibleAllowedPassthrough,
         editor,
         false,
         editor},
        {"ClickInsideAnAllowedWindowButOutsideEveryHoleIsBlocked",
         editorAndBrowser,
         {editor},
         {},
         {},
         Point{400, 300},
         false,
         Reason::blockedOutsideVisiblePassthrough,
         {},
         false,
         editor},
        {"ClickOnAnotherApplicationOverAHoleIsBlocked",
         editorAndBrowser,
         {editor},
         {Rect{0, 400, 800, 500}},
         {},
         Point{200, 150},
         false,
         Reason::blockedOutsideVisiblePassthrough,
         {},
         false,
         browser},
        {"EdgeBandOfAVisibleAllowedWindowPassesWithoutHoles",
         editorAndBrowser,
         {editor},
         {},
         {},
         Point{695, 300},
         true,
         Reason::visibleAllowedPassthrough,
         editor,
         false,
         editor},
        {"EdgeBandUnderAnAlmostInvisibleForeignWindowIsBlocked",
         sessionWindows({window(browser, Rect{680, 250, 100, 100}, 0, 0.005), window(editor, editorBounds)}),
         {editor},
         {},
         {},
         Point{695, 300},
         false,
         Reason::blockedOutsideVisiblePassthrough,
         {},
         false,
         browser},
        {"EmptyAllowlistBlocksTheAllowedWindowsOfBefore",
         editorAndBrowser,
         {},
         editorHole,
         {},
         Point{400, 300},
         false,
         Reason::blockedOutsideVisiblePassthrough,
         {},
         false,
         editor},
        {"EmptyAllowlistStillLetsVeskPanelsThrough",
         sessionWindows({hud, window(editor, editorBounds)}),
         {},
         editorHole,
         {},
         Point{1010, 50},
         true,
         Reason::veskControlWindow,
         {},
         false,
         vesk},
        {"DisplaySizedWindowManagerSurfaceIsClickedThrough",
         sessionWindows({window(windowManager, primary, 0, 0.0), window(editor, editorBounds)}),
         {editor},
         editorHole,
         {},
         Point{400, 300},
         true,
         Reason::visibleAllowedPassthrough,
         editor,
         false,
         windowManager},
        {"SmallWindowManagerSurfaceTakesTheClick",
         sessionWindows({window(windowManager, Rect{300, 200, 300, 200}, 0, 0.0), window(editor, editorBounds)}),
         {editor},
         editorHole,
         {},
         Point{400, 300},
         false,
         Reason::blockedOutsideVisiblePassthrough,
         {},
         false,
         windowManager},
        {"DisplaySizedScreenCaptureSurfaceIsClickedThrough",
         sessionWindows({window(screenCapture, Rect{1, 1, 1440, 899}, 25, 0.0), window(editor, editorBounds)}),
         {editor},
         editorHole,
         {},
         Point{400, 300},
         true,
         Reason::visibleAllowedPassthrough,
         editor,
         false,
         screenCapture},
        {"AllowedWindowBelowTheNormalLayerIsNoAllowedHit",
         sessionWindows({window(editor, editorBounds, -1)}),
         {editor},
         {editorCocoa},
         {},
         Point{400, 300},
         false,
         Reason::blockedOutsideVisiblePassthrough,
         {},
         false,
         editor},
        {"ControlZoneOfAWindowOnADisplayAboveThePrimary",
         sessionWindows({window(editor, Rect{100, -1000, 600, 400})}),
         {editor},
         {},
         {},
         Point{110, -990},
         false,
         Reason::visibleAllowedPassthrough,
         editor,
         true,
         editor},
        // A window lower than the zone is control zone up to its top edge.
        {"ControlZoneOfAShortWindowReachesItsTopEdge",
         sessionWindows({window(editor, Rect{300, 300, 400, 20})}),
         {editor},
         {},
         {},
         Point{310, 302},
         false,
         Reason::visibleAllowedPassthrough,
         editor,
         true,
         editor},
        {"HoleOverAWindowOnADisplayAboveThePrimary",
         sessionWindows({window(editor, Rect{100, -1000, 600, 400})}),
         {editor},
         {Rect{100, 1500, 600, 400}},
         {},
         Point{400, -800},
         true,
         Reason::visibleAllowedPassthrough,
         editor,
         false,
         editor},
        // Finder's desktop window is no window of the Finder: its corner is no control zone.
        {"FinderDesktopWindowIsNoAllowedWindow",
         sessionWindows({window(finder, primary)}),
         {finder},
         {primary},
         {},
         Point{30, 20},
         false,
         Reason::blockedOutsideVisiblePassthrough,
         {},
         false,
         vesk},
        // A full-display allowed window above the normal layer is passed over
        // when the control zone is looked for, but its hole still has one.
        {"ControlZoneOfTheHoleWindowIsBlockedAfterTheFrontmostCheck",
         sessionWindows({window(player, primary, 3), window(editor, Rect{0, -20, 600, 400})}),
         {player, editor},
         {primary},
         {},
         Point{20, 20},
         false,
         Reason::visibleAllowedPassthrough,
         player,
         true,
         player},
    };
}

class MouseBlockerClickDecisionTable : public ::testing::TestWithParam<ClickCase> { };

TEST_P(MouseBlockerClickDecisionTable, DecidesByTheFirstRuleThatApplies)
{
    const ClickCase& c = GetParam();
    const MouseBlockerClickDecision decision =
        decideMouseClick(c.windows, c.allowed, vesk, twoDisplays(), c.holes, c.registered, c.click);
    EXPECT_EQ(decision.isAllowed, c.isAllowed);
    EXPECT_EQ(toRaw(decision.reason), toRaw(c.reason));
    EXPECT_EQ(decision.passthroughBundleID, c.passthroughBundleID);
    EXPECT_EQ(decision.isInAllowedWindowControlZone, c.inControlZone);
    EXPECT_EQ(decision.topWindowBundleID, c.topWindowBundleID);
    EXPECT_EQ(decision.controlAction, std::nullopt);
    EXPECT_EQ(decision.quartzPoint, c.click);
}

INSTANTIATE_TEST_SUITE_P(Clicks, MouseBlockerClickDecisionTable, ::testing::ValuesIn(clickCases()),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(MouseBlockerClickDecisionTest, OwnPanelsDecideWithoutClassifyingAndTheRestCountTheClassification)
{
    const auto windows = sessionWindows(
        {window(browser, browserBounds), window(editor, editorBounds), window(windowManager, primary, 0, 0.5)});
    const std::vector<Rect> registered{Rect{600, 0, 200, 60}, Rect{0, 0, 10, 10}};

    const auto onPanel = decideMouseClick(windows, {editor}, vesk, twoDisplays(), {}, registered, Point{650, 870});
    EXPECT_EQ(onPanel.reason, Reason::registeredVeskControlRect);
    EXPECT_EQ(onPanel.cocoaPoint, (Point{650, 30}));
    EXPECT_EQ(onPanel.registeredVeskControlRectCount, 2);
    EXPECT_EQ(onPanel.rawAllowedWindowCount + onPanel.passthroughRectCount + onPanel.blockerCount
                  + onPanel.ignoredBlockerCount,
              0);
    EXPECT_EQ(onPanel.topWindowLayer, 0);

    const auto elsewhere = decideMouseClick(windows, {editor}, vesk, twoDisplays(), {}, registered, Point{400, 300});
    EXPECT_EQ(elsewhere.rawAllowedWindowCount, 1);
    EXPECT_EQ(elsewhere.passthroughRectCount, 2); // the editor below and right of the browser
    EXPECT_EQ(elsewhere.blockerCount, 1);
    EXPECT_EQ(elsewhere.ignoredBlockerCount, 1); // the window manager's display-sized surface
    EXPECT_EQ(elsewhere.registeredVeskControlRectCount, 2);
    EXPECT_EQ(elsewhere.cocoaPoint, (Point{400, 600}));
}

TEST(MouseBlockerClickDecisionTest, OverlayPanelsNeverCountAsTopWindow)
{
    const auto windows = sessionWindows({});
    EXPECT_EQ(topmostWindow(windows, vesk, Point{10, 10}), &windows[2]); // the backing panel
    EXPECT_EQ(topmostWindow(windows, vesk, Point{5000, 10}), nullptr);
    // Without a bundle identifier of its own, Vesk's panels are those without one.
    const std::vector<AllowedWindowSnapshot> unnamed{window(QString(), primary, overlayLevel), window(editor, primary)};
    EXPECT_EQ(topmostWindow(unnamed, QString(), Point{10, 10}), &unnamed[1]);
}

TEST(MouseBlockerClickDecisionTest, ControlZoneIsTheTopLeftCornerCutToTheWindow)
{
    EXPECT_EQ(windowControlZone(editorCocoa), (Rect{100, 768, 88, 32}));
    EXPECT_EQ(windowControlZone(Rect{10, 20, 60, 200}), (Rect{10, 188, 60, 32}));
    // A window lower than 32 points is all control zone in that direction.
    EXPECT_EQ(windowControlZone(Rect{10, 20, 300, 20}), (Rect{10, 20, 88, 20}));
}

// A desktop that draws the buttons of window 7 at the top-right end, 90 x 24,
// and gives other windows none.
class TopRightControlZones final : public platform::WindowControlZoneProviding {
public:
    QRectF controlZone(std::optional<platform::WindowNumber> window, const QRectF& cocoaWindowRect) const override
    {
        asked.push_back(cocoaWindowRect);
        if (window != 7u)
            return {};
        return QRectF(cocoaWindowRect.right() - 90, cocoaWindowRect.bottom() - 24, 90, 24);
    }
    mutable std::vector<QRectF> asked;
};

TEST(MouseBlockerClickDecisionTest, TheDesktopSaysWhereAWindowsControlZoneIs)
{
    TopRightControlZones zones;
    AllowedWindowSnapshot numbered = window(editor, editorBounds);
    numbered.windowID = 7;
    AllowedWindowSnapshot unnumbered = window(editor, editorBounds);
    const std::vector<Rect> hole{editorCocoa};
    struct Case {
        const char* name;
        AllowedWindowSnapshot editorWindow;
        std::vector<Rect> holes;
        Point click;
        bool isAllowed;
        bool inControlZone;
    } const cases[] = {
        {"top-right end", numbered, hole, Point{650, 110}, false, true},
        {"under the top-right end, in the hole", numbered, hole, Point{650, 130}, true, false},
        {"top-left corner, in the hole", numbered, hole, Point{120, 110}, true, false},
        {"top-left edge band, no hole", numbered, {}, Point{104, 104}, true, false},
        {"a window without buttons", unnumbered, hole, Point{650, 110}, true, false},
    };
    for (const Case& c : cases) {
        const auto decision = decideMouseClick(sessionWindows({c.editorWindow}), {editor}, vesk, twoDisplays(), c.holes,
                                               {}, c.click, &zones);
        EXPECT_EQ(decision.isAllowed, c.isAllowed) << c.name;
        EXPECT_EQ(decision.isInAllowedWindowControlZone, c.inControlZone) << c.name;
        EXPECT_EQ(decision.passthroughBundleID, editor) << c.name;
    }
    ASSERT_FALSE(zones.asked.empty());
    EXPECT_EQ(zones.asked.front(), toQRectF(editorCocoa));
    // Without the desktop's word the top-left layout holds.
    EXPECT_TRUE(decideMouseClick(sessionWindows({numbered}), {editor}, vesk, twoDisplays(), hole, {}, Point{120, 110})
                    .isInAllowedWindowControlZone);
}

TEST(MouseBlockerClickDecisionTest, RawValuesAreTheCaseNames)
{
    EXPECT_EQ(fromRaw<Reason>("registeredVeskControlRect"), Reason::registeredVeskControlRect);
    EXPECT_EQ(fromRaw<Reason>("blocked"), std::nullopt);
    EXPECT_EQ(fromRaw<MouseBlockerClickDecision::ControlAction>("minimize"), MouseBlockerControlAction::minimize);
    EXPECT_EQ(fromRaw<MouseBlockerClickDecision::ControlAction>("Zoom"), std::nullopt);
}

} // namespace
