#include "InputEnforcementScene.h"

#include "enforcement/InputMonitoringProbe.h"

using namespace vesk;
using namespace vesk::platform;

namespace {

using InputMonitoringProbeTest = test::InputEnforcementScene;

TEST_F(InputMonitoringProbeTest, ProbeFollowsThePermissionAndLeavesNoTapBehind)
{
    EXPECT_TRUE(isInputMonitoringGranted(events()));
    EXPECT_TRUE(taps().empty());
    desktop->setInputMonitoringGranted(false);
    EXPECT_FALSE(isInputMonitoringGranted(events()));
    EXPECT_TRUE(taps().empty());
}

TEST_F(InputMonitoringProbeTest, ProbeAnswersWhenThePreflightAnswerLagsBehind)
{
    desktop->setInputMonitoringPreflightLags(true);
    EXPECT_FALSE(desktop->isInputMonitoringGranted());
    EXPECT_TRUE(isInputMonitoringAvailable(desktop->permissions(), events()));
    desktop->setInputMonitoringGranted(false);
    EXPECT_FALSE(isInputMonitoringAvailable(desktop->permissions(), events()));
}

TEST_F(InputMonitoringProbeTest, SettingsOpenAtTheInputMonitoringPane)
{
    openInputMonitoringSettings(desktop->workspace());
    EXPECT_EQ(desktop->workspace().openedURLs(),
              QList<QUrl>{QUrl("x-apple.systempreferences:com.apple.preference.security?Privacy_ListenEvent")});
}

} // namespace
