#include "LogCapture.h"
#include "X11DesktopScene.h"
#include "XdgTestFolders.h"
#include "core/ManualScheduler.h"
#include "enforcement/AllowedWindowSpaceClassification.h"
#include "enforcement/SpaceMonitorService.h"
#include "enforcement/SpaceTransitionProbeService.h"
#include "enforcement/SystemAXWindowManager.h"
#include "enforcement/SystemWorkspace.h"
#include "overlay/WindowSnapshotReader.h"
#include "platform/x11/X11Desktop.h"

#include <QStandardPaths>

namespace vesk::platform::testing {
namespace {

// Openbox's four desktops under the X11 desktop's interfaces.
class X11DesktopSwitchTest : public X11DesktopScene {
protected:
    void SetUp() override
    {
        X11DesktopScene::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(waitFor([&] { return cache->desktopCount() >= 3; }));
    }

    bool switchAsAPagerDoes(quint32 desktop)
    {
        return server.runTool("xdotool", {"set_desktop", QString::number(desktop)});
    }
};

// Bringing an application forward brings up its front-most window on the
// desktop shown, even with a window of it in front on another desktop: a
// window manager that follows the request to that desktop would carry the
// user away, and the session's recovery would do so again after every
// switch taken back.
TEST_F(X11DesktopSwitchTest, ActivatingAnApplicationAsksForItsWindowOnTheDesktopShown)
{
    const auto desktop = X11Desktop::open(server.display(), "Vesk");
    ASSERT_TRUE(desktop);
    const auto ids = server.startClient({"--count", "2"}, 2);
    ASSERT_EQ(ids.size(), 2u);
    ASSERT_TRUE(waitFor([&] { return windowOf(ids[0]).pid && windowOf(ids[1]).pid; }));
    const xcb_window_t here = ids[0];
    const xcb_window_t elsewhere = ids[1];
    const xcb_window_t other = openWindow({"--title", "other"});
    ASSERT_NE(other, XCB_WINDOW_NONE);
    X11WindowControl& control = desktop->windowControl();
    ASSERT_TRUE(control.moveToDesktop(elsewhere, 2));
    ASSERT_TRUE(control.raise(elsewhere));
    ASSERT_TRUE(control.activate(other));
    const auto frontOf = [&](xcb_window_t first, xcb_window_t second) {
        for (const X11ManagedWindow& window : cache->windows()) {
            if (window.id == first || window.id == second)
                return window.id == first;
        }
        return false;
    };
    ASSERT_TRUE(waitFor([&] {
        return windowOf(elsewhere).desktop == 2u && frontOf(elsewhere, here) && cache->activeWindow() == other;
    }));
    const ProcessID pid = *windowOf(here).pid;
    ASSERT_TRUE(waitFor([&] { return desktop->workspace().runningApplication(pid) != nullptr; }));

    for (const int options : {0, int(ActivateAllWindows)}) {
        ASSERT_TRUE(desktop->workspace().runningApplication(pid)->activate(options));
        EXPECT_TRUE(waitFor([&] { return cache->activeWindow() == here; })) << options;
        EXPECT_EQ(cache->currentDesktop(), 0u) << options;
        ASSERT_TRUE(control.activate(other));
        ASSERT_TRUE(waitFor([&] { return cache->activeWindow() == other; }));
    }
}

// The classification's sources as the session builds them, over the desktop.
class X11AllowedWindowSpaceTest : public X11DesktopSwitchTest {
protected:
    void SetUp() override
    {
        X11DesktopSwitchTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (const char* name : {"Here", "Elsewhere", "Iconified", "Minimized"}) {
            folders.entry("system", QStringLiteral("org.vesk.%1.desktop").arg(name),
                          QStringLiteral("Type=Application\nName=%1\nExec=vesk-test-client\nStartupWMClass=%1\n")
                              .arg(name)
                              .toUtf8());
        }
        const XdgEnvironment environment = folders.environment();
        qputenv("HOME", environment.home.toUtf8());
        qputenv("XDG_DATA_HOME", environment.dataHome.toUtf8());
        qputenv("XDG_DATA_DIRS", environment.dataDirs.join(':').toUtf8());
        desktop = X11Desktop::open(server.display(), "Vesk");
        ASSERT_TRUE(desktop);
    }

    void TearDown() override
    {
        desktop.reset();
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS"})
            saved.restore(name);
        X11DesktopSwitchTest::TearDown();
    }

    AllowedWindowSpaceClassification classify(const QString& bundleID)
    {
        const PlatformInterfaces platform = desktop->interfaces();
        const WindowSnapshotReader snapshots(platform.windowList, [&platform](qint32 pid) {
            return platform.workspace.bundleIdentifierOfProcess(ProcessID(pid));
        });
        SystemWorkspace workspace(platform.workspace);
        const AllowedWindowSpaceClassification::Sources sources{
            .runningApplication = [&](const QString& id) -> std::shared_ptr<RunningApplicationControlling> {
                for (const auto& app : workspace.runningApplications()) {
                    if (app->bundleIdentifier() == id && !app->isTerminated())
                        return app;
                }
                return nullptr;
            },
            .onScreenWindowSnapshots = [&] { return snapshots.copyOnScreenWindowSnapshots(); },
            .allWindowSnapshots = [&] { return snapshots.copyAllWindowSnapshots(); },
            .minimizedWindowCounts =
                [&](const QString& id) {
                    return SystemAXWindowManager(platform.workspace, platform.accessibility, platform.screens)
                        .minimizedWindowCounts(id);
                },
            .displayGeometry = [&] { return DisplayGeometry::current(platform.screens); },
        };
        return AllowedWindowSpaceClassification::classify(bundleID, sources);
    }

    // Saves a variable of the process's environment and puts it back.
    struct SavedEnvironment {
        std::map<QByteArray, std::optional<QByteArray>> values;
        SavedEnvironment()
        {
            for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS"})
                values[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
        }
        void restore(const char* name) const
        {
            const auto& value = values.at(name);
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    };

    SavedEnvironment saved;
    XdgTestFolders folders;
    std::unique_ptr<X11Desktop> desktop;
};

// An application whose every window is minimised is a hidden one here (hiding
// iconifies every window); one with a minimised window and the rest on
// other desktops is a minimised one.
TEST_F(X11AllowedWindowSpaceTest, WindowsOnAnotherDesktopAreOnAnotherSpaceAndComeOnScreenWithIt)
{
    ASSERT_NE(openWindow({"--class", "here,Here", "--geometry", "300x200+40+40"}), XCB_WINDOW_NONE);
    ASSERT_NE(openWindow({"--class", "elsewhere,Elsewhere", "--geometry", "300x200+400+40", "--desktop", "2"}),
              XCB_WINDOW_NONE);
    const xcb_window_t iconified = openWindow({"--class", "iconified,Iconified", "--geometry", "300x200+40+400"});
    ASSERT_NE(iconified, XCB_WINDOW_NONE);
    const auto pair =
        server.startClient({"--class", "minimized,Minimized", "--geometry", "300x200+400+400", "--count", "2"}, 2);
    ASSERT_EQ(pair.size(), 2u);
    ASSERT_TRUE(waitFor([&] { return windowOf(pair[0]).mapped && windowOf(pair[1]).mapped; }));
    X11WindowControl& control = desktop->windowControl();
    ASSERT_TRUE(control.minimize(iconified));
    ASSERT_TRUE(control.minimize(pair[0]));
    ASSERT_TRUE(control.moveToDesktop(pair[1], 2));

    const std::vector<std::pair<QString, AllowedWindowSpaceState>> expected{
        {"org.vesk.Here", AllowedWindowSpaceState::onActiveSpace},
        {"org.vesk.Elsewhere", AllowedWindowSpaceState::onOtherSpace},
        {"org.vesk.Iconified", AllowedWindowSpaceState::hidden},
        {"org.vesk.Minimized", AllowedWindowSpaceState::minimized},
        {"org.vesk.Absent", AllowedWindowSpaceState::notRunning},
    };
    for (const auto& [bundleID, state] : expected) {
        EXPECT_TRUE(waitFor([&, &bundleID = bundleID, &state = state] { return classify(bundleID).state == state; }))
            << bundleID.toStdString() << ": " << classify(bundleID).description().toStdString();
    }
    const AllowedWindowSpaceClassification elsewhere = classify("org.vesk.Elsewhere");
    EXPECT_EQ(elsewhere.allWindows, 1);
    EXPECT_EQ(elsewhere.totalAXWindows, 0);

    ASSERT_TRUE(control.switchToDesktop(2));
    EXPECT_TRUE(
        waitFor([&] { return classify("org.vesk.Elsewhere").state == AllowedWindowSpaceState::onActiveSpace; }));
    EXPECT_TRUE(waitFor([&] { return classify("org.vesk.Here").state == AllowedWindowSpaceState::onOtherSpace; }));
}

// The real Space monitor takes a pager's switch back until its stop; the
// Space probe's sample after it finds the allowed window on screen again.
TEST_F(X11AllowedWindowSpaceTest, ASwitchIsTakenBackWhileTheSpaceMonitorRunsAndNotAfterItsStop)
{
    if (QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "Missing xdotool (scripts/deps.sh installs it)";
    const xcb_window_t allowed = openWindow({"--class", "here,Here", "--geometry", "300x200+40+40"});
    ASSERT_NE(allowed, XCB_WINDOW_NONE);
    const PlatformInterfaces platform = desktop->interfaces();
    ManualScheduler scheduler;
    const WindowSnapshotReader snapshots(platform.windowList, [&platform](qint32 pid) {
        return platform.workspace.bundleIdentifierOfProcess(ProcessID(pid));
    });
    SpaceTransitionProbeService probe(scheduler, SpaceTransitionProbeService::defaultInterval,
                                      SpaceTransitionProbeService::defaultProviders(snapshots, platform.screens,
                                                                                    platform.workspace, scheduler));
    probe.activate({"org.vesk.Here"});
    const QString onScreen = QStringLiteral("org.vesk.Here{count=1,ids=[%1]}").arg(allowed);
    const auto sample = [&] {
        vesk::test::LogCapture log;
        probe.startBurst("reveal:org.vesk.Here", 10.0);
        return log.messages("SpaceTransitionProbeService").join('\n');
    };
    ASSERT_TRUE(waitFor([&] { return sample().contains(onScreen); })) << sample().toStdString();

    SpaceMonitorService monitor(desktop->workspace());
    std::vector<SpaceChangeContext> reported;
    monitor.activate([&](const SpaceChangeContext& context) { reported.push_back(context); });
    ASSERT_TRUE(switchAsAPagerDoes(2));
    EXPECT_TRUE(waitFor([&] { return reported.size() == 1 && cache->currentDesktop() == 0; }));
    ASSERT_TRUE(switchAsAPagerDoes(1));
    EXPECT_TRUE(waitFor([&] { return reported.size() == 2 && cache->currentDesktop() == 0; }));
    EXPECT_TRUE(waitFor([&] { return sample().contains(onScreen); })) << sample().toStdString();
    // The way back is no change of its own.
    QTest::qWait(200);
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported.back().changesSinceActivation, 2);

    monitor.deactivate();
    ASSERT_TRUE(switchAsAPagerDoes(2));
    EXPECT_TRUE(waitFor([&] { return cache->currentDesktop() == 2; }));
    QTest::qWait(200);
    EXPECT_EQ(cache->currentDesktop(), 2u);
    EXPECT_EQ(reported.size(), 2u);
    EXPECT_TRUE(sample().contains("org.vesk.Here{count=0,ids=[]}")) << sample().toStdString();
    probe.deactivate();
}

} // namespace
} // namespace vesk::platform::testing
