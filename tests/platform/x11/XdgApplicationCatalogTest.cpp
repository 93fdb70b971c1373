#include "XdgTestFolders.h"

#include "platform/x11/XdgApplicationCatalog.h"

#include <QProcessEnvironment>

using namespace vesk::platform;
using vesk::platform::testing::XdgTestFolders;

namespace {

QByteArray app(const QByteArray& name, const QByteArray& more = {})
{
    return "Type=Application\nName=" + name + "\nExec=" + name.toLower() + " %U\n" + more;
}

QStringList ids(const XdgApplicationCatalog& catalog)
{
    QStringList ids;
    for (const XdgApplication& application : catalog.applications())
        ids.append(application.id);
    return ids;
}

QStringList shownIDs(const XdgApplicationCatalog& catalog)
{
    QStringList ids;
    for (const XdgApplication* application : catalog.shownApplications())
        ids.append(application->id);
    return ids;
}

} // namespace

TEST(XdgApplicationCatalogTest, KnowsApplicationsByDesktopFileIDAndTheEarlierFolderWins)
{
    XdgTestFolders folders;
    folders.entry("system", "org.gnome.TextEditor.desktop", app("Editor"));
    folders.entry("system", "kde/dolphin.desktop", app("Dolphin"));
    folders.entry("system", "shadowed.desktop", app("System copy"));
    folders.entry("local", "shadowed.desktop", app("Local copy"));
    folders.entry("home", "shadowed.desktop", app("Home copy"));
    folders.entry("system", "second.desktop", app("System second"));
    folders.entry("local", "second.desktop", app("Local second"));
    folders.entry("system", "removed.desktop", app("Removed"));
    folders.entry("home", "removed.desktop", "Hidden=true\n");
    folders.entry("system", "broken.desktop", app("System broken"));
    folders.entry("home", "broken.desktop", "Type=Application\nno entry here\n");
    folders.entry("system", "site.desktop", "Type=Link\nName=Site\nURL=https://example.org\n");
    folders.write("system/applications/notes.txt", "not an entry");

    const XdgApplicationCatalog catalog = XdgApplicationCatalog::scan(folders.environment());

    EXPECT_EQ(ids(catalog), (QStringList{"shadowed", "second", "broken", "kde-dolphin", "org.gnome.TextEditor"}));
    EXPECT_EQ(catalog.find("shadowed")->entry.name, "Home copy");
    EXPECT_EQ(catalog.find("second")->entry.name, "Local second");
    EXPECT_EQ(catalog.find("broken")->entry.name, "System broken");
    EXPECT_EQ(catalog.find("kde-dolphin")->filePath, folders.path("system/applications/kde/dolphin.desktop"));
    EXPECT_EQ(catalog.find("removed"), nullptr);
    EXPECT_EQ(catalog.find("site"), nullptr);
    EXPECT_EQ(catalog.find("org.gnome.TextEditor.desktop"), nullptr);
}

TEST(XdgApplicationCatalogTest, ShowsInMenusWhatIsMeantForTheCurrentDesktopAndPresent)
{
    XdgTestFolders folders;
    folders.program("present");
    folders.write("bin/not-executable", "#!/bin/sh\n");
    const struct {
        const char* id;
        QByteArray keys;
        bool shown;
    } cases[] = {
        {"plain", "", true},
        {"no-display", "NoDisplay=true\n", false},
        {"only-here", "OnlyShowIn=GNOME;XFCE;\n", true},
        {"only-elsewhere", "OnlyShowIn=KDE;\n", false},
        {"not-here", "NotShowIn=LXDE;XFCE\n", false},
        {"not-elsewhere", "NotShowIn=KDE\n", true},
        {"try-present", "TryExec=present\n", true},
        {"try-absolute", "TryExec=" + folders.path("bin/present").toUtf8() + "\n", true},
        {"try-missing", "TryExec=missing\n", false},
        {"try-not-executable", "TryExec=not-executable\n", false},
        {"try-relative-path", "TryExec=bin/present\n", false},
    };
    for (const auto& test : cases)
        folders.entry("system", QString::fromLatin1(test.id) + ".desktop", app(test.id, test.keys));
    XdgEnvironment environment = folders.environment();
    environment.currentDesktops = {"ubuntu", "XFCE"};

    const XdgApplicationCatalog catalog = XdgApplicationCatalog::scan(environment);

    for (const auto& test : cases) {
        const XdgApplication* application = catalog.find(test.id);
        ASSERT_NE(application, nullptr) << test.id;
        EXPECT_EQ(application->shown, test.shown) << test.id;
    }
    EXPECT_EQ(shownIDs(catalog).size(), 5);
}

TEST(XdgApplicationCatalogTest, OnlyShowInHidesAnEntryWhenNoDesktopIsNamed)
{
    XdgTestFolders folders;
    folders.entry("system", "gnome-only.desktop", app("Tool", "OnlyShowIn=GNOME;\n"));
    EXPECT_EQ(shownIDs(XdgApplicationCatalog::scan(folders.environment())), QStringList());
}

TEST(XdgApplicationCatalogTest, FindsTheProgramOfTheCommandLineOnTheSearchPath)
{
    XdgTestFolders folders;
    const QString editor = folders.program("editor");
    folders.entry("system", "editor.desktop", "Type=Application\nName=Editor\nExec=editor --new %F\n");
    folders.entry("system", "quoted.desktop", "Type=Application\nName=Quoted\nExec=\"" + editor.toUtf8() + "\" -x\n");
    folders.entry("system", "missing.desktop", "Type=Application\nName=Missing\nExec=missing\n");
    folders.entry("system", "unterminated.desktop", "Type=Application\nName=Unterminated\nExec=\"editor\n");

    const XdgApplicationCatalog catalog = XdgApplicationCatalog::scan(folders.environment());

    EXPECT_EQ(catalog.find("editor")->command, (QStringList{"editor", "--new", "%F"}));
    EXPECT_EQ(catalog.find("editor")->executablePath, QFileInfo(editor).canonicalFilePath());
    EXPECT_EQ(catalog.find("quoted")->executablePath, QFileInfo(editor).canonicalFilePath());
    EXPECT_EQ(catalog.find("missing")->executablePath, QString());
    EXPECT_EQ(catalog.find("unterminated")->command, QStringList());
}

TEST(XdgApplicationCatalogTest, ReadsTheEnvironmentWithDefaultsForWhatIsMissingOrRelative)
{
    QProcessEnvironment variables;
    variables.insert("HOME", "/home/ada");
    variables.insert("XDG_DATA_DIRS", "relative/share::/opt/share/");
    variables.insert("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    variables.insert("PATH", "/usr/bin:bin:/bin");
    variables.insert("LC_MESSAGES", "fr_FR.UTF-8");
    variables.insert("LANG", "de_DE.UTF-8");
    XdgEnvironment environment = XdgEnvironment::fromVariables(variables);
    EXPECT_EQ(environment.dataHome, "/home/ada/.local/share");
    EXPECT_EQ(environment.dataDirs, (QStringList{"/opt/share"}));
    EXPECT_EQ(environment.dataFolders(), (QStringList{"/home/ada/.local/share", "/opt/share"}));
    EXPECT_EQ(environment.currentDesktops, (QStringList{"ubuntu", "GNOME"}));
    EXPECT_EQ(environment.executableSearchPath, (QStringList{"/usr/bin", "/bin"}));
    EXPECT_EQ(environment.locale, (XdgLocale{"fr", "FR", {}}));

    variables.insert("XDG_DATA_HOME", "/data/home");
    variables.insert("XDG_DATA_DIRS", "relative/only");
    variables.insert("LC_ALL", "it_IT");
    environment = XdgEnvironment::fromVariables(variables);
    EXPECT_EQ(environment.dataHome, "/data/home");
    EXPECT_EQ(environment.dataDirs, (QStringList{"/usr/local/share", "/usr/share"}));
    EXPECT_EQ(environment.locale, (XdgLocale{"it", "IT", {}}));

    variables.insert("XDG_DATA_HOME", "data/home");
    EXPECT_EQ(XdgEnvironment::fromVariables(variables).dataHome, "/home/ada/.local/share");
}
