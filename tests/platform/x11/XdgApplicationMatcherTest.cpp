#include "XdgTestFolders.h"

#include "platform/x11/XdgApplicationMatcher.h"

#include <QCoreApplication>

using namespace vesk::platform;
using vesk::platform::testing::XdgTestFolders;

namespace {

class XdgApplicationMatcherTest : public ::testing::Test {
protected:
    XdgApplicationMatcherTest()
    {
        folders.program("editor");
        office = QFileInfo(folders.program("office")).canonicalFilePath();
        tool = QFileInfo(folders.program("tool")).canonicalFilePath();
        launcher = QFileInfo(folders.program("launcher")).canonicalFilePath();
        add("org.example.Editor", "Exec=editor %U\nStartupWMClass=EditorMain\n");
        add("org.gnome.TextEditor", "Exec=gnome-text-editor\n");
        add("firefox-esr", "Exec=firefox-esr %u\n");
        add("office-writer", "Exec=office --writer %U\n");
        add("office-start", "Exec=office %U\n");
        add("tool-hidden", "Exec=tool\nNoDisplay=true\n");
        add("tool", "Exec=tool\n");
        add("python-app", "Exec=env LANG=C python3 /usr/share/app/app.py %F\n");
        add("scripted", "Exec=launcher --fast\n");
        catalog = XdgApplicationCatalog::scan(folders.environment());
    }

    void add(const QString& id, const QByteArray& keys)
    {
        folders.entry("system", id + ".desktop", "Type=Application\nName=" + id.toUtf8() + "\n" + keys);
    }

    QString matched(const XdgWindowOwner& owner) const
    {
        return XdgApplicationMatcher::match(catalog, owner).value_or("(none)");
    }

    XdgTestFolders folders;
    QString office;
    QString tool;
    QString launcher;
    XdgApplicationCatalog catalog;
};

} // namespace

TEST_F(XdgApplicationMatcherTest, MatchesByStartupWMClassThenByClassThenByProgram)
{
    const struct {
        XdgWindowOwner owner;
        const char* id;
    } cases[] = {
        {{"editor", "EditorMain", {}}, "org.example.Editor"},
        {{"EditorMain", "Other", {}}, "org.example.Editor"},
        {{"", "org.gnome.texteditor", {}}, "org.gnome.TextEditor"},
        {{"texteditor", "Unrelated", {}}, "org.gnome.TextEditor"},
        {{"", "Firefox-esr", {}}, "firefox-esr"},
        {{"firefox-esr", "Navigator", {}}, "firefox-esr"},
        {{"", "Firefox-esr", {office, {"office", "--writer"}}}, "firefox-esr"},
        {{"soffice", "Soffice", {office, {"office", "--writer", "/tmp/letter.odt"}}}, "office-writer"},
        {{"", "", {office, {"office", "/tmp/letter.odt"}}}, "office-start"},
        {{"", "", {"/usr/lib/office/office.bin", {"/usr/bin/office", "--writer"}}}, "office-writer"},
        {{"", "", {tool, {}}}, "tool"},
        {{"", "", {"/usr/bin/python3.11", {"/usr/bin/python3", "/usr/share/app/app.py", "a.txt"}}}, "python-app"},
        {{"", "", {"/usr/bin/python3.11", {"python3", "/usr/share/other/other.py"}}}, "(none)"},
        {{"", "", {"/usr/bin/dash", {"/bin/sh", launcher, "--fast"}}}, "scripted"},
        {{"", "", {"/usr/bin/dash", {"/bin/sh", launcher, "--slow"}}}, "(none)"},
        {{"unknown", "Unknown", {"/usr/bin/unknown", {"unknown"}}}, "(none)"},
        {{}, "(none)"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(matched(test.owner), test.id)
            << test.owner.wmClass.toStdString() << " " << test.owner.process.commandLine.join(' ').toStdString();
}

TEST(XdgProcessInfoTest, ReadsTheProgramAndCommandLineOfAProcess)
{
    XdgTestFolders folders;
    folders.write("proc/42/cmdline", QByteArray("app\0--x\0a b\0", 12));
    ASSERT_TRUE(QFile::link("/opt/app/bin/app (deleted)", folders.path("proc/42/exe")));

    const XdgProcessInfo info = XdgProcessInfo::read(42, folders.path("proc"));
    EXPECT_EQ(info.executablePath, "/opt/app/bin/app");
    EXPECT_EQ(info.commandLine, (QStringList{"app", "--x", "a b"}));
    EXPECT_EQ(XdgProcessInfo::read(43, folders.path("proc")), XdgProcessInfo{});
    EXPECT_EQ(XdgProcessInfo::read(0, folders.path("proc")), XdgProcessInfo{});
}

TEST(XdgProcessInfoTest, ReadsThisProcessFromProc)
{
    const XdgProcessInfo info = XdgProcessInfo::read(QCoreApplication::applicationPid());
    EXPECT_EQ(info.executablePath, QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath());
    ASSERT_FALSE(info.commandLine.isEmpty());
    EXPECT_EQ(QFileInfo(info.commandLine.front()).fileName(), "x11_tests");
}
