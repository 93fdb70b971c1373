#include "enforcement/InstalledApp.h"
#include "QtPrinters.h"
#include "platform/simulated/ApplicationBundle.h"
#include "platform/simulated/DesktopTestScene.h"

#include <QDir>

using namespace vesk;
using namespace vesk::platform;

namespace {

// The scene's editor and browser in "/Applications", and the Finder in its
// system folder, under the desktop's temporary root.
class InstalledAppTest : public platform::testing::DesktopTestScene {
protected:
    void install(const QString& path, std::optional<QString> identifier, QString name = QStringLiteral("Bundle"))
    {
        BundleSpec spec = bundle(path, identifier.value_or(QString()), std::move(name));
        spec.bundleIdentifier = identifier;
        QString error;
        ASSERT_TRUE(desktop->installBundle(spec, &error)) << path.toStdString() << ": " << error.toStdString();
    }

    std::vector<InstalledApp> discover() const
    {
        const PlatformInterfaces platform = desktop->interfaces();
        return InstalledApp::discoverAll(platform.files, platform.bundles);
    }

    // "name id" per entry, in order.
    QStringList listed() const
    {
        QStringList entries;
        for (const InstalledApp& app : discover())
            entries.append(app.name + " " + app.id);
        return entries;
    }
};

TEST_F(InstalledAppTest, ListsTheBundlesOfBothFoldersSortedByNameWithTheFinderOnce)
{
    install("/Applications/Beta.app", "com.example.beta");
    install("/Applications/alpha.app", "com.example.alpha");
    install("/System/Applications/Editor.app", "com.example.editor");
    QString error;
    ASSERT_TRUE(ApplicationBundle::write(bundle("/Applications/Shout.APP", "com.example.shout", "Shout"),
                                         desktop->filesystemPath("/Applications/Shout.APP"), &error))
        << error.toStdString();
    install("/Applications/Anonymous.app", std::nullopt);
    install("/Applications/.Hidden.app", "com.example.hidden");
    install("/Applications/Utilities/Tool.app", "com.example.tool");
    ASSERT_TRUE(QDir().mkpath(desktop->filesystemPath("/Applications/Empty.app")));

    EXPECT_EQ(listed(),
              (QStringList{"alpha com.example.alpha", "Beta com.example.beta", "Browser com.example.browser",
                           "Editor com.example.editor", "Editor com.example.editor", "Finder com.apple.finder"}));
    const std::vector<InstalledApp> apps = discover();
    EXPECT_EQ(apps[3].url, desktop->urlForPlatformPath("/Applications/Editor.app")) << "first folder first";
    EXPECT_EQ(apps[4].url, desktop->urlForPlatformPath("/System/Applications/Editor.app"));
    EXPECT_EQ(apps[5].url, desktop->urlForPlatformPath(kFinderBundlePath));
    for (const InstalledApp& app : apps)
        EXPECT_EQ(app.icon.size(), QSize(32, 32)) << app.name.toStdString();
    EXPECT_NE(apps[0].icon, apps[1].icon);
}

TEST_F(InstalledAppTest, ABundleWithTheFindersIdentifierTakesItsPlace)
{
    install("/Applications/Files.app", QStringLiteral("com.apple.finder"));
    EXPECT_EQ(listed(),
              (QStringList{"Browser com.example.browser", "Editor com.example.editor", "Files com.apple.finder"}));
}

TEST_F(InstalledAppTest, WithoutReadableFoldersOnlyTheFinderIsListed)
{
    ASSERT_TRUE(QDir(desktop->filesystemPath("/Applications")).removeRecursively());
    ASSERT_TRUE(QDir(desktop->filesystemPath("/System/Applications")).removeRecursively());
    EXPECT_EQ(listed(), QStringList{"Finder com.apple.finder"});

    ASSERT_TRUE(QDir(desktop->filesystemPath(kFinderBundlePath)).removeRecursively());
    EXPECT_TRUE(discover().empty());
}

} // namespace
