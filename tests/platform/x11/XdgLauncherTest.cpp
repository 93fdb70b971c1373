#include "XdgTestFolders.h"

#include "platform/x11/XdgApplicationCatalog.h"
#include "platform/x11/XdgLauncher.h"

#include <QDeadlineTimer>
#include <QThread>

using namespace vesk::platform;
using vesk::platform::testing::XdgTestFolders;

namespace {

// A started process writes its working folder and arguments to
// runs/<its pid>.args; the wait for it is bounded.
class XdgLauncherTest : public ::testing::Test {
protected:
    XdgLauncherTest()
    {
        const QByteArray runs = folders.path("runs").toUtf8();
        QDir().mkpath(folders.path("runs"));
        QDir().mkpath(folders.path("work"));
        QDir().mkpath(folders.path("user"));
        const QByteArray script = "#!/bin/sh\n"
                                  "out=\""
                                  + runs
                                  + "/$$\"\n"
                                    "{ pwd; printf '%s\\n' \"$@\"; } > \"$out.tmp\" && mv \"$out.tmp\" \"$out.args\"\n";
        recorder = folders.program("my recorder", script);
        folders.program("fake-terminal", script);
    }

    XdgApplication application(const QByteArray& keys) const
    {
        folders.entry("system", "app.desktop", "Type=Application\nName=Recorder\nIcon=recorder\n" + keys);
        const XdgApplicationCatalog catalog = XdgApplicationCatalog::scan(folders.environment());
        EXPECT_EQ(catalog.applications().size(), 1);
        return catalog.applications().empty() ? XdgApplication{} : catalog.applications().front();
    }

    XdgLauncher launcher() const { return XdgLauncher(folders.environment(), {"fake-terminal", "-e"}); }

    // The working folder and arguments each process recorded, by pid.
    QStringList recorded(qint64 pid) const
    {
        const QString file = folders.path(QStringLiteral("runs/%1.args").arg(pid));
        QDeadlineTimer deadline(10000);
        while (!QFileInfo::exists(file) && !deadline.hasExpired())
            QThread::msleep(10);
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly))
            return {"(did not run)"};
        return QString::fromUtf8(in.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    QByteArray quotedRecorder() const { return "\"" + recorder.toUtf8() + "\""; }

    XdgTestFolders folders;
    QString recorder;
};

} // namespace

TEST_F(XdgLauncherTest, StartsTheExecLineWithDocumentsAndArgumentsInTheEntrysFolder)
{
    const XdgApplication app = application(
        "Exec=" + quotedRecorder() + " --flag \"two words\" %i %F\nPath=" + folders.path("work").toUtf8() + "\n");
    const XdgLaunchResult result = launcher().launch(app,
                                                     {QUrl::fromLocalFile("/tmp/a b.txt"), QUrl("https://example.org/"),
                                                      QUrl::fromLocalFile("/tmp/c.txt")},
                                                     {"--new-window"});

    EXPECT_EQ(result.error, std::nullopt);
    ASSERT_EQ(result.processIDs.size(), 1);
    EXPECT_EQ(recorded(result.processIDs[0]), (QStringList{folders.path("work"), "--new-window", "--flag", "two words",
                                                           "--icon", "recorder", "/tmp/a b.txt", "/tmp/c.txt"}));
}

TEST_F(XdgLauncherTest, StartsAProcessPerDocumentForAProgramThatTakesOneAtATime)
{
    const XdgApplication app = application("Exec=" + quotedRecorder() + " --open %u\n");
    const XdgLaunchResult result =
        launcher().launch(app, {QUrl::fromLocalFile("/tmp/a.txt"), QUrl("https://example.org/x?y=1")});

    EXPECT_EQ(result.error, std::nullopt);
    ASSERT_EQ(result.processIDs.size(), 2);
    EXPECT_NE(result.processIDs[0], result.processIDs[1]);
    EXPECT_EQ(recorded(result.processIDs[0]), (QStringList{folders.path("user"), "--open", "/tmp/a.txt"}));
    EXPECT_EQ(recorded(result.processIDs[1]),
              (QStringList{folders.path("user"), "--open", "https://example.org/x?y=1"}));
}

TEST_F(XdgLauncherTest, RunsATerminalProgramInTheTerminal)
{
    const XdgApplication app = application("Exec=\"my recorder\" %%done\nTerminal=true\n");
    const XdgLaunchResult result = launcher().launch(app);

    EXPECT_EQ(result.error, std::nullopt);
    ASSERT_EQ(result.processIDs.size(), 1);
    EXPECT_EQ(recorded(result.processIDs[0]), (QStringList{folders.path("user"), "-e", "my recorder", "%done"}));
}

TEST_F(XdgLauncherTest, StartsNothingAndSaysWhyWhenTheEntryCannotBeLaunched)
{
    const struct {
        QByteArray keys;
        const char* error;
    } cases[] = {
        {"Exec=missing-program %U\n",
         "The application \"Recorder\" could not be launched: the program \"missing-program\" was not found."},
        {"Exec=\"my recorder\" %x\n", "The application \"Recorder\" could not be launched: its command line is "
                                      "invalid (the unknown field code %x in \"%x\")."},
        {"Exec=\"my recorder\n",
         "The application \"Recorder\" could not be launched: its command line cannot be read."},
        {"DBusActivatable=true\n", "The application \"Recorder\" could not be launched: it has no command line."},
    };
    for (const auto& test : cases) {
        const XdgLaunchResult result = launcher().launch(application(test.keys));
        EXPECT_EQ(result.error, test.error) << test.keys.toStdString();
        EXPECT_TRUE(result.processIDs.empty());
    }

    const XdgLaunchResult noTerminal =
        XdgLauncher(folders.environment(), {"no-terminal", "-e"}).launch(application("Exec=true\nTerminal=true\n"));
    EXPECT_EQ(noTerminal.error,
              "The application \"Recorder\" could not be launched: the program \"no-terminal\" was not found.");
    EXPECT_EQ(QDir(folders.path("runs")).entryList(QDir::Files), QStringList());
}
