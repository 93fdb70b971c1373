#include "DesktopTestScene.h"

#include "platform/ApplicationActivity.h"
#include "platform/PlatformInterfaces.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace vesk::platform;
using vesk::platform::testing::DesktopTestScene;

namespace {

class DesktopApplicationActivityTest : public DesktopTestScene { };

TEST_F(DesktopApplicationActivityTest, FollowsVeskComingToTheFrontAndLeavingIt)
{
    ApplicationActivity& activity = desktop->interfaces().applicationActivity;
    QStringList events;
    QObject receiver;
    QObject::connect(&activity, &ApplicationActivity::didBecomeActive, &receiver, [&] { events << "active"; });
    QObject::connect(&activity, &ApplicationActivity::didResignActive, &receiver, [&] { events << "resigned"; });
    QObject::connect(&activity, &ApplicationActivity::willTerminate, &receiver, [&] { events << "terminate"; });

    EXPECT_FALSE(activity.isActive());
    desktop->activate(pidOf("com.example.editor"), 0); // another application: nothing for Vesk
    desktop->activate(desktop->ownPID(), 0);
    EXPECT_TRUE(activity.isActive());
    desktop->activate(pidOf("com.example.browser"), 0);
    EXPECT_FALSE(activity.isActive());
    desktop->activate(desktop->ownPID(), 0);
    EXPECT_EQ(events, (QStringList{"active", "resigned", "active"}));

    events.clear();
    desktop->requestOwnTermination();
    EXPECT_EQ(events.value(0), "terminate");
    EXPECT_EQ(events.count("terminate"), 1);
}

TEST_F(DesktopApplicationActivityTest, TheProcessEndsOnceWhicheverSideTellsFirst)
{
    ApplicationActivity& activity = desktop->interfaces().applicationActivity;
    int terminations = 0;
    QObject::connect(&activity, &ApplicationActivity::willTerminate, [&] { ++terminations; });
    // Qt about to quit, then the desktop's termination of Vesk.
    ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit"));
    EXPECT_EQ(terminations, 1);
    desktop->requestOwnTermination();
    EXPECT_EQ(terminations, 1);
}

} // namespace
