#include "platform/x11/X11Desktop.h"
#include "X11DesktopScene.h"

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
