#include "platform/x11/X11Desktop.h"
#include "X11DesktopScene.h"

#include "platform/CommandResult.h"

#include <QCoreApplication>

#include <QCoreApplication>

namespace vesk::platform::testing {
namespace {

class X11DesktopTest : public X11DesktopScene { };

TEST_F(X11DesktopTest, ListsTheServersWindowsAndActsOnThem)
{
    const auto desktop = X11Desktop::open(server.display(), "Vesk");
    ASSERT_TRUE(desktop);
    const xcb_window_t id = openWindow({"--title", "seen by both"});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    auto listed = [&] {
        for (const QVariantMap& entry : desktop->windowList().copyWindowInfo(WindowListOnScreenOnly)) {
            if (entry.value(kWindowNumber).toLongLong() == qint64(id))
                return true;
        }
        return false;
    };
    EXPECT_TRUE(waitFor(listed));
    ASSERT_TRUE(desktop->windowControl().minimize(id));
    EXPECT_TRUE(waitFor([&] { return !listed(); }));
}

TEST_F(X11DesktopTest, ItsAccessibilityListsAnApplicationsWindows)
{
    const auto desktop = X11Desktop::open(server.display(), "Vesk");
    ASSERT_TRUE(desktop);
    const ProcessID pid = ProcessID(QCoreApplication::applicationPid());
    const xcb_window_t id = openWindow({"--pid", QString::number(pid)});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    const AXElement application = desktop->accessibility().createApplication(pid);
    const QVariantList expected{QVariant::fromValue(AXElement{AXElement::Kind::window, pid, WindowNumber(id)})};
    EXPECT_TRUE(waitFor([&] {
        QVariant windows;
        return desktop->accessibility().copyAttributeValue(application, AXName::windows, &windows) == AXError::success
               && windows.toList() == expected;
    }));
}

TEST_F(X11DesktopTest, HandsOutEveryPartAsItsInterface)
{
    const auto desktop = X11Desktop::open(server.display(), "Vesk");
    ASSERT_TRUE(desktop);
    const PlatformInterfaces platform = desktop->interfaces();
    EXPECT_EQ(&platform.windowList, &desktop->windowList());
    EXPECT_EQ(&platform.screens, &desktop->screens());
    EXPECT_EQ(&platform.screenChanges, &desktop->screens());
    EXPECT_EQ(&platform.workspace, &desktop->workspace());
    EXPECT_EQ(&platform.files, &desktop->files());
    EXPECT_EQ(&platform.bundles, &desktop->bundles());
    EXPECT_EQ(&platform.accessibility, &desktop->accessibility());
    EXPECT_EQ(&platform.eventTaps, &desktop->eventTaps());
    EXPECT_EQ(&platform.defaultsDomains, &desktop->defaultsDomains());
    EXPECT_EQ(&platform.commandRunner, &desktop->commandRunner());
    EXPECT_EQ(&platform.ownWindows, &desktop->ownWindows());
    EXPECT_EQ(&platform.presentationOptions, &desktop->presentationOptions());
    EXPECT_EQ(&platform.ownApplication, &desktop->ownApplication());
    EXPECT_EQ(&platform.pointer, &desktop->pointer());
    EXPECT_EQ(&platform.permissions, &desktop->permissions());
    EXPECT_EQ(&platform.reduceMotion, &desktop->reduceMotion());
    EXPECT_EQ(&platform.screenCapture, &desktop->screenCapturer());
    EXPECT_EQ(&platform.diagnosticPayloads, &desktop->diagnosticPayloads());
    EXPECT_EQ(&platform.systemInfo, &desktop->systemInfo());
    EXPECT_EQ(&platform.applicationActivity, &desktop->applicationActivity());
    EXPECT_EQ(&platform.storeTransactions, &desktop->storeTransactions());
    // The own application is this process; "killall Dock" needs nothing here.
    EXPECT_EQ(platform.ownApplication.ownApplication().pid, ProcessID(QCoreApplication::applicationPid()));
    EXPECT_EQ(platform.commandRunner.run("/usr/bin/killall", {"Dock"}).exitStatus, 0);
}

TEST(X11DesktopWithoutWindowManagerTest, IsNoDesktopWithoutAWindowManagerOrAServer)
{
    if (const QString missing = X11TestServer::missingTools(); !missing.isEmpty())
        GTEST_SKIP() << "Missing " << missing.toStdString() << " (scripts/deps.sh installs them)";
    X11TestServer bare;
    ASSERT_TRUE(bare.start(640, 480, false)) << bare.error().toStdString();
    EXPECT_FALSE(X11Desktop::open(bare.display(), "Vesk"));
    EXPECT_FALSE(X11Desktop::open(":65000", "Vesk"));
}

} // namespace
} // namespace vesk::platform::testing
