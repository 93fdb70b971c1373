#include "platform/x11/XdgDesktopEntry.h"
#include "QtPrinters.h"
#include "platform/x11/XdgKeyFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vesk::platform;

namespace {

XdgDesktopEntry parsed(const QByteArray& text, const XdgLocale& locale = {})
{
    auto result = XdgDesktopEntry::parse(text, locale);
    if (const auto* error = std::get_if<QString>(&result))
        ADD_FAILURE() << "refused: " << error->toStdString();
    return std::holds_alternative<XdgDesktopEntry>(result) ? std::get<XdgDesktopEntry>(result) : XdgDesktopEntry{};
}

QString refusal(const QByteArray& text)
{
    const auto result = XdgDesktopEntry::parse(text, {});
    const auto* error = std::get_if<QString>(&result);
    return error ? *error : QStringLiteral("(accepted)");
}

const QByteArray editor = "# An editor\n"
                          "[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Text Editor\n"
                          "Name[de]=Texteditor\n"
                          "Name[de_DE]=Texteditor (Deutschland)\n"
                          "Name[de@euro]=Texteditor (Euro)\n"
                          "Name[sr@latin]=Uređivač teksta\n"
                          "Icon=org.example.Editor\n"
                          "Exec=editor --new-window %U\n"
                          "TryExec=editor\n"
                          "StartupWMClass=Editor\n"
                          "Terminal=false\n"
                          "NoDisplay=false\n"
                          "OnlyShowIn=GNOME;XFCE;\n"
                          "NotShowIn=KDE\n"
                          "MimeType=text/plain;x-scheme-handler/http;\n"
                          "\n"
                          "[Desktop Action new-window]\n"
                          "Name=New Window\n"
                          "Exec=editor --other\n";

} // namespace

TEST(XdgDesktopEntryTest, ReadsTheFieldsOfTheDesktopEntryGroupOnly)
{
    const XdgDesktopEntry entry = parsed(editor);
    EXPECT_TRUE(entry.isApplication());
    EXPECT_EQ(entry.name, "Text Editor");
    EXPECT_EQ(entry.icon, "org.example.Editor");
    EXPECT_EQ(entry.exec, "editor --new-window %U");
    EXPECT_EQ(entry.tryExec, "editor");
    EXPECT_EQ(entry.startupWMClass, "Editor");
    EXPECT_EQ(entry.onlyShowIn, (QStringList{"GNOME", "XFCE"}));
    EXPECT_EQ(entry.notShowIn, (QStringList{"KDE"}));
    EXPECT_EQ(entry.mimeTypes, (QStringList{"text/plain", "x-scheme-handler/http"}));
    EXPECT_FALSE(entry.terminal);
    EXPECT_FALSE(entry.noDisplay);
    EXPECT_FALSE(entry.hidden);
}

TEST(XdgDesktopEntryTest, TakesTheNameOfTheBestMatchingLocale)
{
    const struct {
        const char* locale;
        const char* name;
    } cases[] = {
        {"de_DE.UTF-8@euro", "Texteditor (Deutschland)"}, // lang_COUNTRY before lang@MODIFIER
        {"de_AT.UTF-8@euro", "Texteditor (Euro)"},
        {"de_AT.UTF-8", "Texteditor"},
        {"de_DE", "Texteditor (Deutschland)"},
        {"de", "Texteditor"},
        {"sr_RS@latin", "Uređivač teksta"},
        {"sr_RS", "Text Editor"},
        {"fr_FR.UTF-8", "Text Editor"},
        {"C.UTF-8", "Text Editor"},
        {"", "Text Editor"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(parsed(editor, XdgLocale::parse(test.locale)).name, test.name) << test.locale;
}

TEST(XdgDesktopEntryTest, ParsesLocalesIntoTheirParts)
{
    EXPECT_EQ(XdgLocale::parse("de_DE.UTF-8@euro"), (XdgLocale{"de", "DE", "euro"}));
    EXPECT_EQ(XdgLocale::parse("de_DE.UTF-8@euro").keySuffixes(),
              (QStringList{"de_DE@euro", "de_DE", "de@euro", "de"}));
    EXPECT_EQ(XdgLocale::parse("pt_BR").keySuffixes(), (QStringList{"pt_BR", "pt"}));
    EXPECT_EQ(XdgLocale::parse("POSIX").keySuffixes(), QStringList());
}

TEST(XdgDesktopEntryTest, LocalisedKeysWithAnEncodingMatchWithoutIt)
{
    const XdgDesktopEntry entry = parsed("[Desktop Entry]\nType=Application\nName=Files\n"
                                         "Name[de_DE.ISO-8859-1]=Dateien\nExec=files\n",
                                         XdgLocale::parse("de_DE.UTF-8"));
    EXPECT_EQ(entry.name, "Dateien");
}

TEST(XdgDesktopEntryTest, UndoesStringEscapesAndKeepsOthersForTheCommandLine)
{
    const XdgDesktopEntry entry = parsed("[Desktop Entry]\nType=Application\nName=A\\sB\\tC\\nD\\rE\\\\F\\x\n"
                                         "Exec=\"/opt/my app/run\" \"\\\\$HOME\" \\\\\\\\\nMimeType=a\\;b;c\\\\;d\n");
    EXPECT_EQ(entry.name, "A B\tC\nD\rE\\F\\x");
    EXPECT_EQ(entry.exec, "\"/opt/my app/run\" \"\\$HOME\" \\\\");
    EXPECT_EQ(entry.mimeTypes, (QStringList{"a;b", "c\\", "d"}));
}

TEST(XdgDesktopEntryTest, SplitsListsOnUnescapedSemicolons)
{
    const struct {
        const char* written;
        QStringList items;
    } cases[] = {
        {"", {}},
        {"GNOME", {"GNOME"}},
        {"GNOME;", {"GNOME"}},
        {"GNOME;KDE", {"GNOME", "KDE"}},
        {"a\\;b;c", {"a;b", "c"}},
        {"a\\sb;;c;", {"a b", "", "c"}},
    };
    for (const auto& test : cases)
        EXPECT_EQ(XdgKeyFile::splitList(test.written), test.items) << test.written;
}

TEST(XdgDesktopEntryTest, ReadsBooleansStrictlyAndIgnoresSpaceAroundTheEqualsSign)
{
    const XdgDesktopEntry entry = parsed("[Desktop Entry]\r\nType = Application\r\nName= Tool \r\nExec=tool\r\n"
                                         "NoDisplay=True\r\nTerminal =true\r\nHidden=1\r\n");
    EXPECT_EQ(entry.type, "Application");
    EXPECT_EQ(entry.name, "Tool");
    EXPECT_FALSE(entry.noDisplay);
    EXPECT_TRUE(entry.terminal);
    EXPECT_FALSE(entry.hidden);
}

TEST(XdgDesktopEntryTest, RefusesMalformedFilesWithAReason)
{
    const struct {
        QByteArray text;
        const char* reason;
    } cases[] = {
        {"", "the first group is not \"Desktop Entry\""},
        {"[Desktop Action x]\nName=X\n[Desktop Entry]\nType=Application\nName=A\nExec=a\n",
         "the first group is not \"Desktop Entry\""},
        {"Name=A\n[Desktop Entry]\n", "line 1: an entry before the first group"},
        {"[Desktop Entry]\nType=Application\nName=A\nExec=a\njust words\n",
         "line 5: neither a group header nor an entry"},
        {"[Desktop Entry\nType=Application\n", "line 1: a malformed group header"},
        {"[Desktop Entry]\nName[de=A\n", "line 2: a malformed key"},
        {"[Desktop Entry]\nNa me=A\n", "line 2: a malformed key"},
        {"[Desktop Entry]\n=A\n", "line 2: a malformed key"},
        {"[Desktop Entry]\nType=Application\n[Desktop Entry]\n", "line 3: the group \"Desktop Entry\" comes twice"},
        {"[Desktop Entry]\nType=Application\nName=\xff\xfe\nExec=a\n", "not UTF-8 text"},
        {QByteArray("[Desktop Entry]\nType=Application\nName=A") + '\0' + "B\nExec=a\n", "contains a NUL character"},
        {"[Desktop Entry]\nName=A\nExec=a\n", "no Type"},
        {"[Desktop Entry]\nType=Application\nExec=a\n", "no Name"},
        {"[Desktop Entry]\nType=Application\nName=A\n", "an application without Exec"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(refusal(test.text), test.reason) << test.text.toStdString();
}

TEST(XdgDesktopEntryTest, AcceptsAHiddenEntryWithoutOtherKeysAndADBusApplicationWithoutExec)
{
    EXPECT_TRUE(parsed("[Desktop Entry]\nHidden=true\n").hidden);
    EXPECT_TRUE(parsed("[Desktop Entry]\nType=Application\nName=A\nDBusActivatable=true\n").dbusActivatable);
    EXPECT_EQ(parsed("[Desktop Entry]\nType=Link\nName=Site\nURL=https://example.org\n").type, "Link");
}

TEST(XdgDesktopEntryTest, LoadsABoundedRegularFileOnly)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString good = folder.filePath("good.desktop");
    QFile file(good);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(editor);
    file.close();
    const auto loaded = XdgDesktopEntry::load(good, {});
    ASSERT_TRUE(std::holds_alternative<XdgDesktopEntry>(loaded));
    EXPECT_EQ(std::get<XdgDesktopEntry>(loaded).name, "Text Editor");

    QFile large(folder.filePath("large.desktop"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly));
    large.write(editor);
    large.write(QByteArray(XdgDesktopEntry::maximumFileBytes, '#'));
    large.close();
    EXPECT_TRUE(std::holds_alternative<QString>(XdgDesktopEntry::load(large.fileName(), {})));
    EXPECT_TRUE(std::holds_alternative<QString>(XdgDesktopEntry::load(folder.path(), {})));
    EXPECT_TRUE(std::holds_alternative<QString>(XdgDesktopEntry::load("/dev/zero", {})));
    EXPECT_TRUE(std::holds_alternative<QString>(XdgDesktopEntry::load(folder.filePath("missing.desktop"), {})));
}
