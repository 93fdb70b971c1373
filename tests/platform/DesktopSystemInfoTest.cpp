#include "platform/DefaultsDomains.h"
#include "platform/DesktopSystemInfo.h"
#include "platform/DesktopTestScene.h"

#include <gtest/gtest.h>

using namespace vesk::platform;
using vesk::platform::testing::DesktopTestScene;

namespace {

class DesktopSystemInfoTest : public DesktopTestScene {};

TEST_F(DesktopSystemInfoTest, ReportsTheDesktopsMachineAppearanceAndDomains)
{
    const DesktopSystemInfo info(*desktop);
    desktop->setHardwareModel("Workstation1,1");
    EXPECT_EQ(info.hardwareModel(), "Workstation1,1");
    EXPECT_FALSE(info.isDarkAppearance());
    desktop->setDarkAppearance(true);
    EXPECT_TRUE(info.isDarkAppearance());

    EXPECT_EQ(info.persistentDefaultsDomain("com.apple.universalaccess"), std::nullopt);
    desktop->defaults().setValue("com.apple.universalaccess", "reduceMotion", true);
    EXPECT_EQ(info.persistentDefaultsDomain("com.apple.universalaccess"), (QVariantMap{{"reduceMotion", true}}));
}

} // namespace
