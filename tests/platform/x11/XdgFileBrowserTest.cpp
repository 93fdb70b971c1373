#include "XdgTestFolders.h"

#include "enforcement/InstalledApp.h"
#include "platform/x11/XdgBundleLocation.h"
#include "platform/x11/XdgBundleReader.h"
#include "platform/x11/XdgFileBrowser.h"
#include "platform/x11/XdgInstalledApplications.h"

#include <QVariantList>

using namespace vesk::platform;
using vesk::platform::testing::XdgTestFolders;

namespace {

const QByteArray greenSquare = "<svg xmlns='http://www.w3.org/2000/svg' width='16' height='16'>"
                               "<rect width='16' height='16' fill='#00ff00'/></svg>";

class XdgFileBrowserTest : public ::testing::Test {
protected:
    XdgFileBrowserTest()
    {
        folders.entry("system", "org.example.Editor.desktop",
                      "Type=Application\nName=Text Editor\nName[de]=Texteditor\nExec=editor %F\n"
                      "Icon=org.example.Editor\n");
        folders.entry("system", "web/browser.desktop",
                      "Type=Application\nName=browser\nExec=env MOZ=1 /usr/lib/browser/browser %u\n"
                      "MimeType=text/html;x-scheme-handler/http;X-Scheme-Handler/HTTPS;x-scheme-handler/;\n");
        folders.entry("system", "helper.desktop", "Type=Application\nName=Helper\nExec=helper\nNoDisplay=true\n");
        folders.write("system/icons/hicolor/scalable/apps/org.example.Editor.svg", greenSquare);
    }

    static XdgEnvironment germanEnvironment(const XdgTestFolders& folders)
    {
        XdgEnvironment environment = folders.environment();
        environment.locale = XdgLocale::parse("de_DE.UTF-8");
        return environment;
    }

    QStringList listed(const QUrl& folder) const
    {
        const auto contents = files.contentsOfDirectory(folder);
        if (!contents)
            return {"(not listed)"};
        QStringList urls;
        for (const QUrl& url : *contents)
            urls.append(url.toString());
        return urls;
    }

    XdgTestFolders folders;
    XdgInstalledApplications applications{germanEnvironment(folders)};
    XdgFileBrowser files{applications};
    XdgBundleReader bundles{applications};
};

} // namespace

TEST_F(XdgFileBrowserTest, TheApplicationsFolderHoldsABundlePerApplicationShownScannedAtEachListing)
{
    EXPECT_EQ(files.fileURL("/Applications"), XdgBundleLocation::applicationsFolderURL());
    EXPECT_EQ(listed(files.fileURL("/Applications")),
              (QStringList{"file:///Applications/org.example.Editor.app", "file:///Applications/web-browser.app"}));

    folders.entry("home", "added.desktop", "Type=Application\nName=Added\nExec=added\n");
    EXPECT_EQ(bundles.infoDictionary(XdgBundleLocation::bundleURL("added")), std::nullopt);
    EXPECT_EQ(listed(files.fileURL("/Applications/")).size(), 3);
    EXPECT_TRUE(bundles.infoDictionary(XdgBundleLocation::bundleURL("added")));
    EXPECT_EQ(listed(files.fileURL("/System/Applications")), QStringList{"(not listed)"});
}

TEST_F(XdgFileBrowserTest, TheInstalledApplicationDiscoveryFindsTheDesktopsApplications)
{
    const std::vector<vesk::InstalledApp> apps = vesk::InstalledApp::discoverAll(files, bundles);
    ASSERT_EQ(apps.size(), 2);
    EXPECT_EQ(apps[0].id, "web-browser");
    EXPECT_EQ(apps[0].name, "browser");
    EXPECT_EQ(apps[0].url, XdgBundleLocation::bundleURL("web-browser"));
    EXPECT_EQ(apps[1].id, "org.example.Editor");
    EXPECT_EQ(apps[1].name, "Texteditor");
    ASSERT_EQ(apps[1].icon.size(), QSize(vesk::InstalledApp::iconSize, vesk::InstalledApp::iconSize));
    EXPECT_EQ(apps[1].icon.pixelColor(16, 16), QColor(Qt::green));
}

TEST_F(XdgFileBrowserTest, TheInfoDictionaryCarriesTheEntrysIdentityNameProgramAndURLSchemes)
{
    const auto editor = bundles.infoDictionary(XdgBundleLocation::bundleURL("org.example.Editor"));
    ASSERT_TRUE(editor);
    EXPECT_EQ(*editor, (QVariantMap{{"CFBundleIdentifier", "org.example.Editor"},
                                    {"CFBundleName", "Texteditor"},
                                    {"CFBundleDisplayName", "Texteditor"},
                                    {"CFBundleExecutable", "editor"},
                                    {"CFBundleIconFile", "org.example.Editor"}}));

    const auto browser = bundles.infoDictionary(XdgBundleLocation::bundleURL("web-browser"));
    ASSERT_TRUE(browser);
    EXPECT_EQ(browser->value("CFBundleExecutable"), "browser");
    EXPECT_FALSE(browser->contains("CFBundleIconFile"));
    const QVariantMap urlType{{"CFBundleURLName", "web-browser"},
                              {"CFBundleURLSchemes", QVariantList{"http", "https"}}};
    EXPECT_EQ(browser->value("CFBundleURLTypes"), QVariantList{urlType});

    EXPECT_TRUE(bundles.infoDictionary(XdgBundleLocation::bundleURL("helper")));
    EXPECT_EQ(bundles.infoDictionary(XdgBundleLocation::bundleURL("missing")), std::nullopt);
    EXPECT_EQ(bundles.infoDictionary(QUrl::fromLocalFile(folders.path("system/applications/helper.desktop"))),
              std::nullopt);
}

TEST_F(XdgFileBrowserTest, BundleURLsStandForDesktopFileIDsAndNothingElseDoes)
{
    EXPECT_EQ(XdgBundleLocation::applicationID(XdgBundleLocation::bundleURL("org.gnome.TextEditor")),
              "org.gnome.TextEditor");
    EXPECT_EQ(XdgBundleLocation::applicationID(QUrl("file:///Applications/../Applications/a.app")), "a");
    for (const char* url : {"file:///Applications/a/b.app", "file:///Applications/.app", "file:///Applications/a",
                            "file:///Applications", "file:///tmp/a.app", "https://example.org/Applications/a.app",
                            "file:///Applications/a.app?x=1", "file:///Applications/a.app#x"})
        EXPECT_EQ(XdgBundleLocation::applicationID(QUrl(url)), std::nullopt) << url;
}

TEST_F(XdgFileBrowserTest, NamesAndIconsOfBundlesComeFromTheirEntries)
{
    EXPECT_EQ(files.displayNameAtPath(XdgBundleLocation::bundleURL("org.example.Editor")), "Texteditor");
    EXPECT_EQ(files.displayNameAtPath(XdgBundleLocation::bundleURL("gone")), "gone");
    EXPECT_EQ(files.displayNameAtPath(QUrl::fromLocalFile("/tmp/notes.txt")), "notes.txt");

    const QImage editor = files.iconForFile(XdgBundleLocation::bundleURL("org.example.Editor"));
    ASSERT_EQ(editor.size(), QSize(XdgFileBrowser::iconSize, XdgFileBrowser::iconSize));
    EXPECT_EQ(editor.pixelColor(32, 32), QColor(Qt::green));

    const QImage drawn = files.iconForFile(XdgBundleLocation::bundleURL("web-browser"));
    ASSERT_EQ(drawn.size(), QSize(XdgFileBrowser::iconSize, XdgFileBrowser::iconSize));
    EXPECT_EQ(drawn.pixelColor(8, 32), QColor(150, 150, 160));

    folders.png("system/icons/hicolor/48x48/apps/application-x-executable.png", 48);
    applications.rescan();
    EXPECT_EQ(files.iconForFile(XdgBundleLocation::bundleURL("web-browser")).pixelColor(32, 32), QColor(Qt::red));
}

TEST_F(XdgFileBrowserTest, OtherFoldersAreListedFromTheFileSystemWithoutHiddenEntries)
{
    folders.write("listing/b.txt", "b");
    folders.write("listing/.hidden", "h");
    folders.write("listing/a/inner.txt", "a");
    EXPECT_EQ(listed(files.fileURL(folders.path("listing"))),
              (QStringList{QUrl::fromLocalFile(folders.path("listing/a")).toString(),
                           QUrl::fromLocalFile(folders.path("listing/b.txt")).toString()}));
    EXPECT_EQ(listed(files.fileURL(folders.path("listing/b.txt"))), QStringList{"(not listed)"});
    EXPECT_EQ(listed(files.fileURL(folders.path("missing"))), QStringList{"(not listed)"});
}
