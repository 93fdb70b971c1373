#include "DesktopTestScene.h"

#include "platform/PlatformInterfaces.h"
#include "platform/SystemInfoProviding.h"

#include <gtest/gtest.h>

using namespace vesk::platform;
using vesk::platform::testing::DesktopTestScene;

namespace {

class DesktopSystemInfoTest : public DesktopTestScene { };

TEST_F(DesktopSystemInfoTest, ReportsTheDesktopsMachineAndAppearance)
{
    const SystemInfoProviding& info = desktop->interfaces().systemInfo;
    desktop->setHardwareModel("Workstation1,1");
    EXPECT_EQ(info.hardwareModel(), "Workstation1,1");
    EXPECT_FALSE(info.isDarkAppearance());
    desktop->setDarkAppearance(true);
    EXPECT_TRUE(info.isDarkAppearance());
}

} // namespace
