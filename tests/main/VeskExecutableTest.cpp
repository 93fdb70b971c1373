#include "core/FileIO.h"
#include "core/UserDefaults.h"
#include "enforcement/ScreenshotThumbnailSuppressionService.h"
#include "platform/simulated/DefaultsDomains.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

using namespace vesk;

namespace {

// Runs the vesk executable headless with its data, settings and logs in a
// temporary folder.
class VeskExecutableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_DATA_HOME", home_.filePath("data"));
        environment.insert("XDG_CONFIG_HOME", home_.filePath("config"));
        environment.insert("VESK_LOGS_DIR", home_.filePath("logs"));
        environment.insert("XDG_RUNTIME_DIR", home_.path());
        vesk_.setProcessEnvironment(environment);
        vesk_.setProgram(QStringLiteral(VESK_EXECUTABLE));
    }

    void TearDown() override
    {
        if (vesk_.state() != QProcess::NotRunning) {
            vesk_.kill();
            vesk_.waitForFinished();
        }
    }

    // Everything the launches wrote to their log files.
    QString logText() const
    {
        QString text;
        for (const QFileInfo& file : QDir(home_.filePath("logs")).entryInfoList({"*.md"}, QDir::Files)) {
            QFile log(file.filePath());
            if (log.open(QIODevice::ReadOnly))
                text += QString::fromUtf8(log.readAll());
        }
        return text;
    }

    // Waits (at most 30 s) until the log holds `fragment`.
    bool waitForLog(const QString& fragment) const
    {
        QDeadlineTimer deadline(30000);
        while (!logText().contains(fragment) && !deadline.hasExpired())
            QThread::msleep(20);
        return logText().contains(fragment);
    }

    QTemporaryDir home_;
    QProcess vesk_;
};

TEST_F(VeskExecutableTest, AClosedOutputPipeDoesNotEndTheProcess)
{
    // Standard output and error go into a pipe nobody reads any more, as in
    // `vesk … 2>&1 | head -0`.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[0]);
    const int writeEnd = fds[1];
    vesk_.setChildProcessModifier([writeEnd] {
        ::dup2(writeEnd, STDOUT_FILENO);
        ::dup2(writeEnd, STDERR_FILENO);
    });

    for (const QStringList& arguments : {QStringList{"--help"}, QStringList{"--quit-after", "0"}}) {
        vesk_.setArguments(arguments);
        vesk_.start();
        ASSERT_TRUE(vesk_.waitForFinished(60000)) << arguments.join(' ').toStdString();
        EXPECT_EQ(vesk_.exitStatus(), QProcess::NormalExit) << arguments.join(' ').toStdString();
        EXPECT_EQ(vesk_.exitCode(), 0) << arguments.join(' ').toStdString();
    }
    ::close(writeEnd);
    EXPECT_TRUE(QFile::exists(home_.filePath("data/Vesk/VeskData.store")));
    EXPECT_TRUE(logText().contains("applicationWillTerminate: final safety reset"));
}

// SIGTERM is what a session manager sends at logout and a service manager at
// stop, SIGINT what Ctrl+C sends: both end Vesk through its normal termination.
TEST_F(VeskExecutableTest, TerminateAndInterruptEndTheApplicationTheNormalWay)
{
    for (const int signal : {SIGTERM, SIGINT}) {
        const QString name = signal == SIGTERM ? QStringLiteral("SIGTERM") : QStringLiteral("SIGINT");
        SCOPED_TRACE(name.toStdString());
        QDir(home_.filePath("logs")).removeRecursively();
        // Far longer than a Qt timer takes in one go: the application must not
        // take it for "at once".
        vesk_.setArguments({"--quit-after", "1e10"});
        vesk_.start();
        ASSERT_TRUE(vesk_.waitForStarted());
        ASSERT_TRUE(waitForLog("SIGTERM handler installed")) << logText().toStdString();
        ASSERT_FALSE(logText().contains("applicationShouldTerminate")) << "it quit on its own";

        ASSERT_EQ(::kill(static_cast<pid_t>(vesk_.processId()), signal), 0);
        ASSERT_TRUE(vesk_.waitForFinished(30000));
        EXPECT_EQ(vesk_.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(vesk_.exitCode(), 0);
        const QString log = logText();
        EXPECT_TRUE(log.contains("Termination signal received — signal=" + name)) << log.toStdString();
        EXPECT_EQ(log.contains("SIGTERM received — presentation options reset"), signal == SIGTERM);
        EXPECT_TRUE(log.contains("applicationShouldTerminate: returning .terminateNow"));
        EXPECT_TRUE(log.contains("applicationWillTerminate: final safety reset"));
    }
}

// On the simulated desktop of an ordinary launch, the system's settings are
// the machine's: they stay in the data folder from one launch to the next,
// so that a launch after a crash puts back what the crashed one changed.
TEST_F(VeskExecutableTest, TheNextLaunchPutsBackTheSystemSettingsACrashedLaunchLeftChanged)
{
    vesk_.setArguments({"--quit-after", "0"});
    vesk_.start();
    ASSERT_TRUE(vesk_.waitForFinished(60000));
    ASSERT_EQ(vesk_.exitCode(), 0);
    const QString file = home_.filePath("data/Vesk/desktop/defaults-domains.json");
    InputFileContents contents = readInputFile(file);
    ASSERT_TRUE(contents.ok()) << contents.error.toStdString();
    std::optional<std::map<QString, QVariantMap>> domains = platform::DefaultsDomains::decode(contents.data);
    ASSERT_TRUE(domains);
    EXPECT_EQ((*domains)["com.apple.screencapture"].value("show-thumbnail"), QVariant(true)) << "the scenario's";

    // What a launch killed during a session leaves: the thumbnail switched
    // off, and the user's value in the backup.
    (*domains)["com.apple.screencapture"]["show-thumbnail"] = false;
    ASSERT_FALSE(writeFileAtomically(file, platform::DefaultsDomains::encode(*domains)));
    UserDefaults(QString::fromUtf8(UserDefaults::standardSuiteName), home_.filePath("config/Vesk"))
        .setData(ScreenshotThumbnailSuppressionService::backupDefaultsKey,
                 ScreenshotThumbnailSuppressionService::BackupState{true}.toJson());

    vesk_.start();
    ASSERT_TRUE(vesk_.waitForFinished(60000));
    ASSERT_EQ(vesk_.exitCode(), 0);
    contents = readInputFile(file);
    domains = platform::DefaultsDomains::decode(contents.data);
    ASSERT_TRUE(domains);
    EXPECT_EQ((*domains)["com.apple.screencapture"].value("show-thumbnail"), QVariant(true));
    EXPECT_FALSE(UserDefaults(QString::fromUtf8(UserDefaults::standardSuiteName), home_.filePath("config/Vesk"))
                     .objectExists(ScreenshotThumbnailSuppressionService::backupDefaultsKey));
    EXPECT_TRUE(logText().contains("Emergency restore for screenshot thumbnail preference"));
}

// A start from the menu or the shell while Vesk runs on the same data folder
// hands over to the running instance, which shows its main window, and ends.
TEST_F(VeskExecutableTest, ASecondStartHandsOverToTheRunningInstanceAndEnds)
{
    vesk_.setArguments({"--quit-after", "1e10"});
    vesk_.start();
    ASSERT_TRUE(vesk_.waitForStarted());
    ASSERT_TRUE(waitForLog("SIGTERM handler installed")) << logText().toStdString();

    QProcess second;
    second.setProcessEnvironment(vesk_.processEnvironment());
    second.start(QStringLiteral(VESK_EXECUTABLE), QStringList());
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(second.readAllStandardOutput()), "Vesk is already running with the data folder "
                                                                     + home_.filePath("data/Vesk")
                                                                     + "; its main window was brought to the front\n");
    EXPECT_TRUE(waitForLog("Main window brought to the front for another start")) << logText().toStdString();
    EXPECT_EQ(vesk_.state(), QProcess::Running);

    ASSERT_EQ(::kill(static_cast<pid_t>(vesk_.processId()), SIGINT), 0);
    ASSERT_TRUE(vesk_.waitForFinished(30000));
    EXPECT_EQ(vesk_.exitCode(), 0);
    // Once it has ended, the next start is the running instance.
    EXPECT_FALSE(QFile::exists(home_.filePath("data/Vesk/Vesk.lock")));
}

// The demo as a newcomer meets it (scripts/run.sh without a display): no
// display, no runtime folder, no service named anywhere. It reaches no
// service, says so, and writes nothing to standard error.
TEST_F(VeskExecutableTest, TheHeadlessDemoStaysOnThisMachineAndShowsOnlyItsSummary)
{
    QProcessEnvironment environment = vesk_.processEnvironment();
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR",
                                 "VESK_ANALYTICS_BASE_URL", "VESK_BUG_REPORT_ENDPOINT", "VESK_UPDATE_FEED_URL"})
        environment.remove(variable);
    environment.insert("TMPDIR", home_.path());
    vesk_.setProcessEnvironment(environment);
    const QString report = home_.filePath("demo/report.json");
    vesk_.setArguments(
        {"--script", QStringLiteral(VESK_SOURCE_DIR "/scripts/demo/session-60s.json"), "--report", report});
    vesk_.start();
    ASSERT_TRUE(vesk_.waitForFinished(120000));
    EXPECT_EQ(vesk_.exitCode(), 0);
    const QString output = QString::fromUtf8(vesk_.readAllStandardOutput());
    EXPECT_EQ(vesk_.readAllStandardError().toStdString(), "") << "summary: " << output.toStdString();
    EXPECT_TRUE(output.contains("ended: timerExpired")) << output.toStdString();
    EXPECT_TRUE(output.contains("Network endpoints: none")) << output.toStdString();

    QFile reportFile(report);
    ASSERT_TRUE(reportFile.open(QIODevice::ReadOnly));
    const QJsonObject endpoints = QJsonDocument::fromJson(reportFile.readAll()).object().value("endpoints").toObject();
    EXPECT_EQ(endpoints,
              (QJsonObject{{"analytics", QJsonValue()}, {"reports", QJsonValue()}, {"updates", QJsonValue()}}));
}

} // namespace
