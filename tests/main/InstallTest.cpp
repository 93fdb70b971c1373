#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

const QString kAppId = QStringLiteral(VESK_APP_ID);

struct ToolRun {
    bool finished = false;
    int exitCode = -1;
    QString output;
};

ToolRun runTool(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    ToolRun result;
    result.finished = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.output = QString::fromUtf8(process.readAll());
    return result;
}

// The keys of a desktop entry's main group and their values.
std::map<QString, QString> desktopEntry(const QString& path)
{
    std::map<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    bool inMainGroup = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.startsWith('['))
            inMainGroup = line == "[Desktop Entry]";
        else if (const qsizetype equals = line.indexOf('='); inMainGroup && equals > 0)
            keys[line.left(equals)] = line.mid(equals + 1);
    }
    return keys;
}

// The build installed into a temporary prefix, as `cmake --install` does
// into /usr, /usr/local or ~/.local.
class InstallTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(prefix_.isValid());
        // The build's list of what was installed is a user's way to uninstall: it stays as it was.
        QFile manifest(QDir(QStringLiteral(VESK_BUILD_DIR)).filePath("install_manifest.txt"));
        const bool hadManifest = manifest.open(QIODevice::ReadOnly);
        const QByteArray manifestBefore = hadManifest ? manifest.readAll() : QByteArray();
        manifest.close();

        const ToolRun install =
            runTool(QStringLiteral(VESK_CMAKE_COMMAND), {"--install", VESK_BUILD_DIR, "--prefix", prefix_.path()});

        if (!hadManifest)
            manifest.remove();
        else if (manifest.open(QIODevice::WriteOnly | QIODevice::Truncate))
            manifest.write(manifestBefore);
        ASSERT_TRUE(install.finished);
        ASSERT_EQ(install.exitCode, 0) << install.output.toStdString();
    }

    QString installed(const QString& relativePath) const { return QDir(prefix_.path()).filePath(relativePath); }

    QTemporaryDir prefix_;
};

TEST_F(InstallTest, ThePrefixHoldsTheProgramItsDesktopEntryMetainfoIconsAndDocuments)
{
    const QStringList expected{
        "bin/vesk",
        "share/applications/" + kAppId + ".desktop",
        "share/metainfo/" + kAppId + ".metainfo.xml",
        "share/icons/hicolor/scalable/apps/" + kAppId + ".svg",
        "share/vesk/demo/session-60s.json",
        "share/doc/vesk/LICENSE",
        "share/doc/vesk/README.md",
    };
    for (const QString& path : expected)
        EXPECT_TRUE(QFile::exists(installed(path))) << path.toStdString();
    EXPECT_TRUE(QFileInfo(installed("bin/vesk")).isExecutable());

    for (const QString& size : QStringLiteral(VESK_ICON_SIZES).split(',')) {
        const QString path = QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size, kAppId);
        const QImage icon(installed(path));
        ASSERT_FALSE(icon.isNull()) << path.toStdString();
        EXPECT_EQ(icon.size(), QSize(size.toInt(), size.toInt())) << path.toStdString();
        // The symbol's tile: opaque in the middle, see-through in the corners.
        EXPECT_EQ(qAlpha(icon.pixel(icon.width() / 2, icon.height() / 2)), 255) << path.toStdString();
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << path.toStdString();
    }

    // The entry starts the installed program by its name and shows its icon,
    // in German and in the four other languages.
    const std::map<QString, QString> entry = desktopEntry(installed("share/applications/" + kAppId + ".desktop"));
    EXPECT_EQ(entry.at("Exec"), "vesk");
    EXPECT_EQ(entry.at("Icon"), kAppId);
    EXPECT_EQ(entry.at("Name"), "Vesk");
    for (const QString key : {"GenericName", "Comment"}) {
        ASSERT_TRUE(entry.count(key)) << key.toStdString();
        for (const char* language : {"en", "it", "fr", "es"}) {
            const QString translated = QStringLiteral("%1[%2]").arg(key, language);
            ASSERT_TRUE(entry.count(translated)) << translated.toStdString();
            EXPECT_NE(entry.at(translated), entry.at(key)) << translated.toStdString();
        }
    }
}

TEST_F(InstallTest, TheDesktopEntryAndTheMetainfoPassTheirValidators)
{
    const QString desktopValidator = QStandardPaths::findExecutable("desktop-file-validate");
    const QString appstream = QStandardPaths::findExecutable("appstreamcli");
    if (desktopValidator.isEmpty() || appstream.isEmpty())
        GTEST_SKIP() << "needs desktop-file-validate and appstreamcli (Debian packages desktop-file-utils, appstream)";

    // Their messages in English, whatever the machine's language.
    QProcessEnvironment english = QProcessEnvironment::systemEnvironment();
    english.remove("LANGUAGE");
    english.insert("LC_ALL", "C.UTF-8");
    const ToolRun entry = runTool(desktopValidator, {installed("share/applications/" + kAppId + ".desktop")}, english);
    ASSERT_TRUE(entry.finished);
    EXPECT_EQ(entry.exitCode, 0) << entry.output.toStdString();
    EXPECT_EQ(entry.output, QString()) << "no warnings either";

    const ToolRun metainfo =
        runTool(appstream,
                {"validate", "--no-net", "--explain", installed("share/metainfo/" + kAppId + ".metainfo.xml")},
                english);
    ASSERT_TRUE(metainfo.finished);
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.output.toStdString();
    EXPECT_TRUE(metainfo.output.contains("Validation was successful")) << metainfo.output.toStdString();
    // The whole installed tree, as a software centre reads it: the entry the metainfo launches is there.
    const ToolRun tree = runTool(appstream, {"validate-tree", "--no-net", prefix_.path()}, english);
    ASSERT_TRUE(tree.finished);
    EXPECT_EQ(tree.exitCode, 0) << tree.output.toStdString();
}

TEST_F(InstallTest, TheInstalledProgramRunsTheDemoHeadless)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
    environment.insert("XDG_RUNTIME_DIR", home.path());
    environment.insert("VESK_LOGS_DIR", home.filePath("logs"));
    // Run from elsewhere: nothing may come from the build or source folders.
    const ToolRun demo = runTool(installed("bin/vesk"),
                                 {"--script", installed("share/vesk/demo/session-60s.json"), "--report",
                                  home.filePath("demo/report.json")},
                                 environment);
    ASSERT_TRUE(demo.finished);
    EXPECT_EQ(demo.exitCode, 0) << demo.output.toStdString();
    EXPECT_TRUE(demo.output.contains("60 s with org.example.TextEditor, ended: timerExpired"))
        << demo.output.toStdString();

    QFile reportFile(home.filePath("demo/report.json"));
    ASSERT_TRUE(reportFile.open(QIODevice::ReadOnly));
    const QJsonObject report = QJsonDocument::fromJson(reportFile.readAll()).object();
    const QJsonArray sessions = report.value("sessions").toArray();
    ASSERT_EQ(sessions.size(), 1);
    EXPECT_EQ(sessions[0].toObject().value("endReason").toString(), "timerExpired");
    EXPECT_FALSE(report.value("screenshots").toObject().isEmpty());
}

} // namespace
