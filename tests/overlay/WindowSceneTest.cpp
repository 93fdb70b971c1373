#include "FakeScreens.h"
#include "TestPrinters.h"
#include "overlay/AllowedWindowsVisibilityGuard.h"
#include "overlay/PassthroughRects.h"
#include "overlay/WindowClassification.h"
#include "overlay/WindowSnapshotReader.h"

#include <gtest/gtest.h>

#include <map>

using namespace vesk;
namespace p = vesk::platform;
using Reason = OverlaySuppressedWindowSnapshot::Reason;

namespace {

const QString own = "com.example.vesk";
const QString editor = "com.example.editor";
const QString chat = "com.example.chat";
const QString browser = "com.example.browser";
const QString dock = "com.example.dock";

class SceneWindowList final : public p::WindowListProviding {
public:
    QList<QVariantMap> windows;
    QList<QVariantMap> copyWindowInfo(int) const override { return windows; }

    void add(qint32 pid, quint32 number, int layer, QRectF quartzBounds, double alpha = 1.0)
    {
        windows.append({{p::kWindowOwnerPID, pid},
                        {p::kWindowNumber, number},
                        {p::kWindowLayer, layer},
                        {p::kWindowBounds, QVariantMap{{"X", quartzBounds.x()},
                                                       {"Y", quartzBounds.y()},
                                                       {"Width", quartzBounds.width()},
                                                       {"Height", quartzBounds.height()}}},
                        {p::kWindowAlpha, alpha},
                        {p::kWindowIsOnscreen, true}});
    }
};

// Two displays: the 1440×900 primary and a 1920×1080 display to its right,
// tops level. The window list, front to back:
//   the own HUD; a browser window over the middle of an editor window; the
//   editor window; a translucent chat window on the second display; an editor
//   window parked far off screen; a window of a process that has just exited;
//   a dock strip at the bottom of the primary; Finder's desktop on both displays.
class WindowSceneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        screens.add(1, QRectF(0, 0, 1440, 900), "Built-in");
        screens.add(2, QRectF(1440, -180, 1920, 1080), "Studio");
        screens.bounds[1] = QRectF(0, 0, 1440, 900);
        screens.bounds[2] = QRectF(1440, 0, 1920, 1080);

        windowList.add(10, 1, 25, QRectF(600, 20, 240, 60));           // own HUD
        windowList.add(20, 2, 0, QRectF(300, 200, 400, 300));          // browser
        windowList.add(30, 3, 0, QRectF(100, 100, 800, 600));          // editor
        windowList.add(40, 4, 0, QRectF(1600, 100, 500, 400), 0.9);    // chat, translucent
        windowList.add(30, 5, 0, QRectF(-3000, 100, 400, 300));        // editor, off screen
        windowList.add(99, 6, 0, QRectF(0, 0, 500, 500));              // exited
        windowList.add(50, 7, 20, QRectF(200, 830, 1000, 70));         // dock
        windowList.add(60, 8, 0, QRectF(0, 0, 1440, 900));             // desktop, primary
        windowList.add(60, 9, 0, QRectF(1440, 0, 1920, 1080));         // desktop, second
    }

    FakeScreens screens;
    SceneWindowList windowList;
    std::map<qint32, QString> runningApplications{
        {10, own}, {20, browser}, {30, editor}, {40, chat}, {50, dock}, {60, kFinderBundleID}};
    WindowSnapshotReader reader{windowList, [this](qint32 pid) -> std::optional<QString> {
                                    const auto found = runningApplications.find(pid);
                                    return found == runningApplications.end() ? std::nullopt
                                                                              : std::optional(found->second);
                                }};
};

} // namespace

TEST_F(WindowSceneTest, ClassifiesTheDesktopIntoFragmentsBlockersAndSuppressedWindows)
{
    const std::optional<DisplayGeometry> geometry = DisplayGeometry::current(screens);
    ASSERT_TRUE(geometry);
    const auto snapshots = reader.copyOnScreenWindowSnapshots();
    ASSERT_EQ(snapshots.size(), 8u) << "the exited process's window is dropped";

    const WindowClassification result =
        classifyWindowSnapshots(snapshots, {editor, chat, kFinderBundleID}, own, *geometry);

    const Rect editorWindow{100, 200, 800, 600};
    EXPECT_EQ(result.fragments, (std::vector<OverlayAllowedWindowFragment>{
                                    {editor, 3u, Rect{100, 700, 800, 100}, editorWindow},
                                    {editor, 3u, Rect{100, 200, 800, 200}, editorWindow},
                                    {editor, 3u, Rect{100, 400, 200, 300}, editorWindow},
                                    {editor, 3u, Rect{700, 400, 200, 300}, editorWindow},
                                }));
    EXPECT_EQ(result.blockers, (std::vector<OverlayBlockerSnapshot>{
                                   {browser, 0, 1.0, std::nullopt, Rect{300, 400, 400, 300}},
                                   {dock, 20, 1.0, std::nullopt, Rect{200, 0, 1000, 70}},
                               }));
    EXPECT_EQ(result.ignoredBlockers, (std::vector<OverlayBlockerSnapshot>{
                                          {kFinderBundleID, 0, 1.0, std::nullopt, Rect{0, 0, 1440, 900}},
                                          {kFinderBundleID, 0, 1.0, std::nullopt, Rect{1440, -180, 1920, 1080}},
                                      }));
    EXPECT_EQ(result.suppressedWindows, (std::vector<OverlaySuppressedWindowSnapshot>{
                                            {chat, 4u, 0.9, Rect{1600, 400, 500, 400}, Reason::translucent},
                                            {editor, 5u, 1.0, Rect{-3000, 500, 400, 300}, Reason::offscreen},
                                        }));
    EXPECT_EQ(result.allowedWindowRectsByBundleID,
              (std::map<QString, std::vector<Rect>>{{chat, {Rect{1600, 400, 500, 400}}},
                                                    {editor, {editorWindow, Rect{-3000, 500, 400, 300}}}}));
    EXPECT_EQ(fullyOccludedBundleIDs(result.allowedWindowRectsByBundleID, result.fragments),
              std::set<QString>{chat});

    EXPECT_EQ(composePassthroughRects(result.fragments, {}, {}, {}),
              (std::vector<Rect>{{104, 704, 792, 92}, {104, 204, 792, 192}, {104, 404, 192, 292}, {704, 404, 192, 292}}));
}

TEST_F(WindowSceneTest, ClosingTheOnlyVisibleAllowedWindowStartsTheGracePeriod)
{
    const DisplayGeometry geometry = *DisplayGeometry::current(screens);
    const std::set<QString> allowed{editor, chat, kFinderBundleID};
    AllowedWindowsVisibilityGuard guard;
    const QDateTime start = QDateTime::fromSecsSinceEpoch(1'800'000'000, Qt::UTC);

    auto visiblePieces = [&] {
        return int(classifyWindowSnapshots(reader.copyOnScreenWindowSnapshots(), allowed, own, geometry).fragments.size());
    };
    EXPECT_EQ(guard.update(visiblePieces(), start), std::nullopt);

    runningApplications.erase(30); // the editor quits; its windows vanish from the lookup
    EXPECT_EQ(visiblePieces(), 0);
    const auto action = guard.update(visiblePieces(), start.addMSecs(16));
    ASSERT_TRUE(action);
    EXPECT_EQ(action->kind, AllowedWindowsVisibilityGuard::Action::Kind::startedGracePeriod);
    EXPECT_EQ(action->graceDeadline, start.addMSecs(1516));
}
