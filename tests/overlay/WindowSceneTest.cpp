#include "DesktopSpecs.h"
#include "TestPrinters.h"
#include "core/ManualScheduler.h"
#include "overlay/AllowedWindowsVisibilityGuard.h"
#include "overlay/PassthroughRects.h"
#include "overlay/WindowClassification.h"
#include "overlay/WindowSnapshotReader.h"
#include "platform/WindowLevel.h"
#include "platform/simulated/DesktopScenario.h"
#include "platform/simulated/DesktopScreenProvider.h"
#include "platform/simulated/DesktopWindowListProvider.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace vesk;
namespace p = vesk::platform;
using Reason = OverlaySuppressedWindowSnapshot::Reason;

namespace {

const QString editor = "com.example.editor";
const QString chat = "com.example.chat";
const QString browser = "com.example.browser";

using test::application;
using test::display;
using test::windowSpec;

// The window list as the system gives it, except that an application can be
// made to exit right after the list was copied and before its owner is looked up.
class ExitingAfterCopy final : public p::WindowListProviding {
public:
    ExitingAfterCopy(p::SimulatedDesktop& desktop) : desktop_(desktop), list_(desktop) { }
    std::optional<p::ProcessID> exitsAfterCopy;

    QList<QVariantMap> copyWindowInfo(int options) const override
    {
        QList<QVariantMap> windows = list_.copyWindowInfo(options);
        if (exitsAfterCopy)
            desktop_.forceTerminate(*exitsAfterCopy);
        return windows;
    }

private:
    p::SimulatedDesktop& desktop_;
    p::DesktopWindowListProvider list_;
};

// A simulated desktop with two displays (the 1440×900 primary and a 1920×1080
// display to its right, tops level). Front to back: Vesk's HUD, the Dock
// strip, a browser window over the middle of an editor window, a translucent
// chat window on the second display, the editor window and an editor window
// parked far off screen, and Finder's display-sized desktop surface at layer 0.
class WindowSceneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        p::DesktopScenario scenario;
        scenario.displays = {display(1, QRectF(0, 0, 1440, 900)), display(2, QRectF(1440, 0, 1920, 1080))};
        scenario.applications = {
            application(editor, {windowSpec(QRectF(-3000, 100, 400, 300)), windowSpec(QRectF(100, 100, 800, 600))}),
            application(chat, {windowSpec(QRectF(1600, 100, 500, 400), 0.9)}),
            application(browser, {windowSpec(QRectF(300, 200, 400, 300))}),
        };
        desktop = std::make_unique<p::SimulatedDesktop>(scheduler, root.path());
        const QString error = desktop->applyScenario(scenario);
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();

        desktop->addWindow(pidOf(kFinderBundleID), windowSpec(QRectF(0, 0, 1440, 900)));
        desktop->raiseWindow(windowNumber(pidOf(browser)));
        desktop->addWindow(pidOf(p::kDockBundleIdentifier),
                           windowSpec(QRectF(200, 830, 1000, 70), 1.0, p::WindowLevel::dock));
        p::OwnWindowSpec hud;
        hud.title = "HUD";
        hud.level = p::WindowLevel::status;
        hud.frame = QRectF(600, 820, 240, 60);
        desktop->addOwnWindow(hud);

        windowList = std::make_unique<ExitingAfterCopy>(*desktop);
        screens = std::make_unique<p::DesktopScreenProvider>(*desktop);
        reader = std::make_unique<WindowSnapshotReader>(*windowList, test::applicationBundleIdentifierLookup(*desktop));
    }

    p::ProcessID pidOf(const QString& bundleID) const
    {
        const p::DesktopApplication* app = desktop->runningApplication(bundleID);
        return app ? app->pid : 0;
    }

    p::WindowNumber windowNumber(p::ProcessID pid, size_t index = 0) const
    {
        return desktop->windowsOf(pid).at(index)->number;
    }

    WindowClassification classifyNow() const
    {
        const std::optional<DisplayGeometry> geometry = DisplayGeometry::current(*screens);
        if (!geometry)
            return {};
        return classifyWindowSnapshots(reader->copyOnScreenWindowSnapshots(), {editor, chat, kFinderBundleID},
                                       *desktop->ownApplication().bundleIdentifier, *geometry);
    }

    ManualScheduler scheduler;
    QTemporaryDir root;
    std::unique_ptr<p::SimulatedDesktop> desktop;
    std::unique_ptr<ExitingAfterCopy> windowList;
    std::unique_ptr<p::DesktopScreenProvider> screens;
    std::unique_ptr<WindowSnapshotReader> reader;
};

} // namespace

TEST_F(WindowSceneTest, ClassifiesTheDesktopIntoFragmentsBlockersAndSuppressedWindows)
{
    const WindowClassification result = classifyNow();

    const Rect editorWindow{100, 200, 800, 600};
    ASSERT_EQ(result.fragments.size(), 4u);
    EXPECT_EQ(fragmentRects(result.fragments), (std::vector<Rect>{
                                                   {100, 700, 800, 100}, // above the browser
                                                   {100, 200, 800, 200}, // below
                                                   {100, 400, 200, 300}, // left
                                                   {700, 400, 200, 300}, // right
                                               }));
    for (const auto& fragment : result.fragments) {
        EXPECT_EQ(fragment.bundleID, editor);
        EXPECT_EQ(fragment.windowRect, editorWindow);
    }

    ASSERT_EQ(result.blockers.size(), 2u);
    EXPECT_EQ(result.blockers[0].bundleID, p::kDockBundleIdentifier);
    EXPECT_EQ(result.blockers[0].layer, p::WindowLevel::dock);
    EXPECT_EQ(result.blockers[0].rect, (Rect{200, 0, 1000, 70}));
    EXPECT_EQ(result.blockers[1].bundleID, browser);
    EXPECT_EQ(result.blockers[1].rect, (Rect{300, 400, 400, 300}));
    EXPECT_EQ(result.blockers[1].ownerName, QString("browser"));

    ASSERT_EQ(result.ignoredBlockers.size(), 1u);
    EXPECT_EQ(result.ignoredBlockers[0].bundleID, kFinderBundleID);
    EXPECT_EQ(result.ignoredBlockers[0].rect, (Rect{0, 0, 1440, 900}));

    ASSERT_EQ(result.suppressedWindows.size(), 2u);
    EXPECT_EQ(result.suppressedWindows[0].bundleID, chat);
    EXPECT_EQ(result.suppressedWindows[0].reason, Reason::translucent);
    EXPECT_EQ(result.suppressedWindows[0].alpha, 0.9);
    EXPECT_EQ(result.suppressedWindows[0].rect, (Rect{1600, 400, 500, 400}));
    EXPECT_EQ(result.suppressedWindows[1].bundleID, editor);
    EXPECT_EQ(result.suppressedWindows[1].reason, Reason::offscreen);
    EXPECT_EQ(result.suppressedWindows[1].rect, (Rect{-3000, 500, 400, 300}));

    EXPECT_EQ(result.allowedWindowRectsByBundleID,
              (std::map<QString, std::vector<Rect>>{{chat, {Rect{1600, 400, 500, 400}}},
                                                    {editor, {editorWindow, Rect{-3000, 500, 400, 300}}}}));
    EXPECT_EQ(fullyOccludedBundleIDs(result.allowedWindowRectsByBundleID, result.fragments), std::set<QString>{chat});
    EXPECT_EQ(
        composePassthroughRects(result.fragments, {}, {}, {}),
        (std::vector<Rect>{{104, 704, 792, 92}, {104, 204, 792, 192}, {104, 404, 192, 292}, {704, 404, 192, 292}}));
}

TEST_F(WindowSceneTest, MovingTheBlockerAwayGivesTheWholeWindowBack)
{
    desktop->setWindowBounds(windowNumber(pidOf(browser)), QRectF(1000, 100, 300, 200));
    const WindowClassification result = classifyNow();
    EXPECT_EQ(fragmentRects(result.fragments), (std::vector<Rect>{{100, 200, 800, 600}}));
}

TEST_F(WindowSceneTest, ApplicationExitingBetweenListAndLookupLosesItsWindowsOnly)
{
    const p::ProcessID browserPID = pidOf(browser);
    const QList<QVariantMap> listed = desktop->copyWindowInfo(17);
    EXPECT_TRUE(std::any_of(listed.begin(), listed.end(),
                            [&](const QVariantMap& w) { return w.value(p::kWindowOwnerPID).toInt() == browserPID; }));

    windowList->exitsAfterCopy = browserPID;
    const auto snapshots = reader->copyOnScreenWindowSnapshots();
    for (const auto& snapshot : snapshots)
        EXPECT_NE(snapshot.bundleID, browser);
    EXPECT_EQ(std::count_if(snapshots.begin(), snapshots.end(),
                            [](const AllowedWindowSnapshot& s) { return s.bundleID == editor; }),
              2);
}

TEST_F(WindowSceneTest, QuittingTheOnlyVisibleAllowedApplicationStartsTheGracePeriod)
{
    AllowedWindowsVisibilityGuard guard;
    const QDateTime start = scheduler.now();
    EXPECT_EQ(guard.update(int(classifyNow().fragments.size()), start), std::nullopt);

    desktop->forceTerminate(pidOf(editor));
    const WindowClassification afterQuit = classifyNow();
    EXPECT_TRUE(afterQuit.fragments.empty());
    const auto action = guard.update(int(afterQuit.fragments.size()), start.addMSecs(16));
    ASSERT_TRUE(action);
    EXPECT_EQ(action->kind, AllowedWindowsVisibilityGuard::Action::Kind::startedGracePeriod);
    EXPECT_EQ(action->graceDeadline, start.addMSecs(1516));
}
