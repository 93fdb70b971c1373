#include "enforcement/SystemWorkspace.h"
#include "core/ManualScheduler.h"
#include "platform/simulated/DesktopWorkspace.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vesk;

TEST(SystemWorkspaceTest, RunningApplicationsKeepTheWorkspaceOrderAndAct)
{
    QTemporaryDir root;
    ManualScheduler scheduler;
    platform::SimulatedDesktop desktop(scheduler, root.path());
    const QStringList ids = {"com.example.c", "com.example.a", "com.example.b"};
    for (const QString& id : ids) {
        platform::ApplicationSpec spec;
        spec.bundleIdentifier = id;
        spec.name = id;
        desktop.addRunningApplication(spec);
    }
    platform::ApplicationSpec helper;
    helper.name = "helper";
    helper.activationPolicy = platform::ActivationPolicy::accessory;
    desktop.addRunningApplication(helper);

    SystemWorkspace workspace(desktop.workspace());
    const auto apps = workspace.runningApplications();
    const auto desktopApps = desktop.workspace().runningApplications();
    ASSERT_EQ(apps.size(), desktopApps.size());
    for (std::size_t i = 0; i < apps.size(); ++i) {
        EXPECT_EQ(apps[i]->bundleIdentifier(), desktopApps[i]->bundleIdentifier());
        EXPECT_EQ(apps[i]->processIdentifier(), desktopApps[i]->processIdentifier());
    }
    EXPECT_FALSE(apps.back()->bundleIdentifier());
    EXPECT_EQ(apps.back()->activationPolicy(), ApplicationActivationPolicy::accessory);

    const auto& first = apps.front();
    EXPECT_TRUE(first->hide());
    EXPECT_TRUE(first->isHidden());
    EXPECT_TRUE(first->unhide());
    EXPECT_FALSE(first->isHidden());
    first->terminate();
    scheduler.advance(5);
    EXPECT_TRUE(first->isTerminated());
    EXPECT_FALSE(workspace.urlForApplication("com.example.none"));
}
