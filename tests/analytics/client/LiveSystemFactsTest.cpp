#include "analytics/client/LiveSystemFacts.h"
#include "platform/PlatformInterfaces.h"
#include "platform/simulated/DefaultsDomains.h"
#include "platform/simulated/DesktopTestScene.h"

#include <QLocale>
#include <QSysInfo>
#include <gtest/gtest.h>

using namespace vesk::telemetry;
using vesk::platform::testing::DesktopTestScene;

namespace {

// The facts as the application reads them: through the desktop's interfaces.
class LiveSystemFactsTest : public DesktopTestScene {
protected:
    LiveSystemFacts source(QVariantMap mainBundleInfo) const
    {
        const vesk::platform::PlatformInterfaces platform = desktop->interfaces();
        return LiveSystemFacts(platform.systemInfo, platform.screens, platform.defaultsDomains,
                               std::move(mainBundleInfo));
    }
};

TEST_F(LiveSystemFactsTest, DesktopFactsComeFromTheSimulatedDesktop)
{
    desktop->setHardwareModel("Workstation1,1");
    desktop->setDarkAppearance(true);
    desktop->defaults().setValue("com.apple.universalaccess", "reduceMotion", true);
    const SystemFacts facts =
        source({{"CFBundleShortVersionString", "1.4.0"},
                {"CFBundleVersion", "27"},
                {"NSExtension", QVariantMap{{"NSExtensionPointIdentifier", "com.example.widget"}}}})
            .currentFacts();
    EXPECT_EQ(facts.modelName, "Workstation1,1");
    EXPECT_TRUE(facts.darkAppearance);
    EXPECT_EQ(facts.universalAccess, (QVariantMap{{"reduceMotion", true}}));
    // The main screen is the first display without a key window: 1440 × 900 at scale 1.
    EXPECT_EQ(facts.mainScreen, (SystemFacts::Screen{1440, 900, 1}));
    EXPECT_EQ(facts.appVersion, QString("1.4.0"));
    EXPECT_EQ(facts.buildNumber, QString("27"));
    EXPECT_EQ(facts.extensionPointIdentifier, QString("com.example.widget"));
    EXPECT_EQ(facts.storeReceiptPath, std::nullopt);
    EXPECT_EQ(facts.layoutDirection, SystemFacts::LayoutDirection::leftToRight);
}

TEST_F(LiveSystemFactsTest, QtAnswersTheRestAndGapsStayEmpty)
{
    desktop->setHardwareModel("");
    const LiveSystemFacts live = source({{"CFBundleShortVersionString", 7}});
    const SystemFacts facts = live.currentFacts();
    // Without a model the machine field of the system name stands in.
    EXPECT_FALSE(facts.modelName.isEmpty());
    EXPECT_EQ(facts.architecture, QSysInfo::currentCpuArchitecture());
    EXPECT_EQ(facts.localeIdentifier, QLocale::system().name());
    EXPECT_EQ(facts.preferredLanguages, QLocale::system().uiLanguages());
    EXPECT_EQ(facts.timeZone, QTimeZone::systemTimeZone());
    EXPECT_EQ(live.timeZone(), QTimeZone::systemTimeZone());
    EXPECT_EQ(facts.appVersion, std::nullopt); // not text
    EXPECT_EQ(facts.buildNumber, std::nullopt);
    EXPECT_EQ(facts.extensionPointIdentifier, std::nullopt);
    EXPECT_EQ(facts.universalAccess, std::nullopt);
    EXPECT_FALSE(facts.darkAppearance);

    while (!desktop->displays().empty())
        desktop->removeDisplay(0);
    EXPECT_EQ(live.currentFacts().mainScreen, std::nullopt);
}

} // namespace
