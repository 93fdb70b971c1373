#include "DesktopTestScene.h"

#include "platform/InstalledApplicationsProviding.h"
#include "platform/simulated/DesktopWorkspace.h"

#include <QDir>

using namespace vesk::platform;

namespace {

class DesktopInstalledApplicationsTest : public vesk::platform::testing::DesktopTestScene {
protected:
    QStringList names() const
    {
        QStringList result;
        for (const InstalledApplication& application : installed().installedApplications())
            result.append(application.name + " " + application.bundleIdentifier);
        return result;
    }

    void install(const QString& path, std::optional<QString> identifier)
    {
        BundleSpec spec = bundle(path, identifier.value_or(QString()), QStringLiteral("Bundle"));
        spec.bundleIdentifier = identifier;
        ASSERT_TRUE(desktop->installBundle(spec));
    }

    const InstalledApplicationsProviding& installed() const { return desktop->interfaces().installedApplications; }
};

TEST_F(DesktopInstalledApplicationsTest, ScansBothFoldersAddsTheFinderAndSortsByFolderName)
{
    install("/System/Applications/calculator.app", "com.example.calculator");
    install("/Applications/Utilities/Tool.app", "com.example.tool"); // one folder too deep
    install("/Applications/Anonymous.app", std::nullopt);
    install("/Applications/.Hidden.app", "com.example.hidden");
    ASSERT_TRUE(QDir(desktop->filesystemPath("/Applications")).mkdir("Notes"));

    EXPECT_EQ(names(), (QStringList{"Browser com.example.browser", "calculator com.example.calculator",
                                    "Editor com.example.editor", "Finder com.apple.finder"}));
    const std::vector<InstalledApplication> applications = installed().installedApplications();
    EXPECT_EQ(applications.front().url, desktop->workspace().urlForApplication("com.example.browser"));
    EXPECT_EQ(applications.back().url, desktop->urlForPlatformPath(kFinderBundlePath));
}

TEST_F(DesktopInstalledApplicationsTest, TheFinderIsNotAddedWhenABundleCarriesItsIdentifier)
{
    install("/Applications/Files.app", QString(kFinderBundleIdentifier));
    EXPECT_EQ(names(), (QStringList{"Browser com.example.browser", "Editor com.example.editor",
                                    "Files com.apple.finder"}));
}

} // namespace
