#include "DesktopTestScene.h"

#include "platform/FileBrowsing.h"
#include "platform/simulated/DesktopScreenCapturer.h"
#include "platform/simulated/DesktopWorkspace.h"

#include <QDir>
#include <QFile>

using namespace vesk::platform;
using vesk::platform::testing::DesktopTestScene;

namespace {

class DesktopFileBrowserTest : public DesktopTestScene {
protected:
    const FileBrowsing& files() { return desktop->interfaces().files; }

    QStringList listedNames(const QString& folder)
    {
        const std::optional<std::vector<QUrl>> contents = files().contentsOfDirectory(files().fileURL(folder));
        if (!contents)
            return {"(not listed)"};
        QStringList names;
        for (const QUrl& url : *contents)
            names.append(url.fileName());
        return names;
    }
};

TEST_F(DesktopFileBrowserTest, ListsTheDirectContentsOfAFolderUnderTheRootWithoutHiddenEntries)
{
    ASSERT_TRUE(desktop->installBundle(bundle("/Applications/.Hidden.app", "com.example.hidden", "Hidden")));
    ASSERT_TRUE(desktop->installBundle(bundle("/Applications/Utilities/Tool.app", "com.example.tool", "Tool")));
    QFile note(desktop->filesystemPath("/Applications/readme.txt"));
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));

    EXPECT_EQ(listedNames("/Applications"), (QStringList{"Browser.app", "Editor.app", "Utilities", "readme.txt"}));
    EXPECT_EQ(files().fileURL("/Applications/Editor.app"),
              desktop->workspace().urlForApplication("com.example.editor"));
}

TEST_F(DesktopFileBrowserTest, AMissingFolderOrAFileCannotBeListed)
{
    QFile note(desktop->filesystemPath("/Applications/readme.txt"));
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    EXPECT_EQ(files().contentsOfDirectory(files().fileURL("/Missing")), std::nullopt);
    EXPECT_EQ(files().contentsOfDirectory(files().fileURL("/Applications/readme.txt")), std::nullopt);
}

TEST_F(DesktopFileBrowserTest, ShowsBundlesWithoutTheirExtensionAndDrawsAnIconPerBundle)
{
    EXPECT_EQ(files().displayNameAtPath(files().fileURL("/Applications/Editor.app")), "Editor");
    EXPECT_EQ(files().displayNameAtPath(files().fileURL("/Applications/notes.txt")), "notes.txt");

    const QImage editor = files().iconForFile(files().fileURL("/Applications/Editor.app"));
    const QImage browser = files().iconForFile(files().fileURL("/Applications/Browser.app"));
    ASSERT_EQ(editor.size(), QSize(64, 64));
    EXPECT_EQ(editor.pixel(10, 32), DesktopScreenCapturer::windowColour("com.example.editor").rgb());
    EXPECT_NE(editor.pixel(10, 32), browser.pixel(10, 32));
}

} // namespace
