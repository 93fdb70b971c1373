#include "core/UserDefaults.h"
#include "enforcement/DockMissionControlFallbackService.h"
#include "enforcement/ScreenshotThumbnailSuppressionService.h"
#include "platform/x11/GSettingsTool.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <map>
#include <optional>
#include <thread>
#include <vector>

using namespace vesk;
using namespace vesk::platform;

namespace {

const QString wm = QStringLiteral("org.gnome.desktop.wm.keybindings");
const QString interface = QStringLiteral("org.gnome.desktop.interface");
const QString notifications = QStringLiteral("org.gnome.desktop.notifications");
const QString blockedBinding = QStringLiteral("@as []");

// "<schema> <key>" to its GSettings text, over every key of the schemas a GNOME session changes.
using Settings = std::map<QString, QString>;

// One machine a Vesk process runs on: the user's GSettings (a key file of
// their own) and Vesk's data folder.
struct Machine {
    QString folder;
    QProcessEnvironment environment;

    QString dataFolder() const { return QDir(folder).filePath(QStringLiteral("vesk")); }
    QString callsFile() const { return QDir(folder).filePath(QStringLiteral("gsettings-calls")); }

    QStringList calls() const
    {
        QFile file(callsFile());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // The real tool, bypassing the stand-in.
    GSettingsTool tool() const
    {
        return GSettingsTool(environment, environment.value(QStringLiteral("GSETTINGS_STANDIN_PROGRAM")));
    }

    std::optional<Settings> settings() const
    {
        GSettingsTool tool = this->tool();
        Settings values;
        for (const QString& schema : {wm, interface, notifications}) {
            const std::optional<std::map<QString, QString>> read = tool.values(schema);
            if (!read)
                return std::nullopt;
            for (const auto& [key, value] : *read)
                values[schema + QLatin1Char(' ') + key] = value;
        }
        return values;
    }

    // What the Vesk processes left in the user defaults.
    bool hasBackup() const
    {
        const UserDefaults defaults(QString::fromUtf8(UserDefaults::standardSuiteName),
                                    QDir(dataFolder()).filePath(QStringLiteral("defaults")));
        return defaults.objectExists(DockMissionControlFallbackService::backupDefaultsKey)
               || defaults.objectExists(ScreenshotThumbnailSuppressionService::backupDefaultsKey);
    }

    QString log() const
    {
        QString text;
        QDirIterator files(QDir(dataFolder()).filePath(QStringLiteral("logs")), QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            if (file.open(QIODevice::ReadOnly))
                text += QString::fromUtf8(file.readAll());
        }
        return text;
    }
};

// One Vesk process on a machine, driven a command at a time (see
// session/GSettingsSessionProgram.cpp). It may be killed at any point.
class VeskProcess {
public:
    VeskProcess(const Machine& machine, std::optional<int> killAtMoment = std::nullopt)
    {
        QProcessEnvironment environment = machine.environment;
        if (killAtMoment)
            environment.insert(QStringLiteral("GSETTINGS_STANDIN_KILL_AT"), QString::number(*killAtMoment));
        // Its calls are counted from its own start.
        QFile::remove(machine.callsFile());
        process_.setProcessEnvironment(environment);
        process_.start(QStringLiteral(VESK_GSETTINGS_SESSION), {machine.dataFolder()});
        answers_ << answer();
    }

    ~VeskProcess()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    // The command's answer; empty once the process has ended.
    QString send(const char* command)
    {
        if (process_.state() != QProcess::Running)
            return {};
        process_.write(QByteArray(command) + '\n');
        process_.waitForBytesWritten();
        answers_ << answer();
        return answers_.back();
    }

    // Ends the process the way asked: "terminate" (the quit command), SIGTERM or SIGKILL.
    void end(const char* how)
    {
        if (process_.state() == QProcess::Running) {
            if (qstrcmp(how, "terminate") == 0)
                process_.write("terminate\n");
            else
                ::kill(pid_t(process_.processId()), qstrcmp(how, "SIGTERM") == 0 ? SIGTERM : SIGKILL);
        }
        if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(60000))
            ADD_FAILURE() << "the Vesk process did not end within 60 s";
    }

    // "launched", or empty when it ended before.
    QString greeting() const { return answers_.front(); }
    bool endedNormally() const { return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0; }
    bool wasKilled() const { return process_.exitStatus() == QProcess::CrashExit && process_.exitCode() == SIGKILL; }
    // Everything it said, and what it wrote on standard error.
    QString transcript()
    {
        return answers_.join(QLatin1Char(' ')) + QLatin1Char('\n') + process_.readAllStandardError();
    }

private:
    QString answer()
    {
        while (!process_.canReadLine()) {
            if (!process_.waitForReadyRead(60000))
                return {};
        }
        return QString::fromUtf8(process_.readLine()).trimmed();
    }

    QProcess process_;
    QStringList answers_;
};

// Every key is the user's, or what a session blocks it with.
::testing::AssertionResult isUsersOrBlocked(const Settings& settings, const Settings& user)
{
    for (const auto& [key, value] : settings) {
        const bool blocked = value == blockedBinding || value == QLatin1String("false");
        if (value != user.at(key) && !blocked)
            return ::testing::AssertionFailure() << key.toStdString() << " is " << value.toStdString();
    }
    return ::testing::AssertionSuccess();
}

// Where a key differs, both values.
std::string differences(const Settings& settings, const Settings& expected)
{
    std::string text;
    for (const auto& [key, value] : expected) {
        const auto found = settings.find(key);
        const QString held = found == settings.end() ? QStringLiteral("<none>") : found->second;
        if (held != value)
            text += (key + QStringLiteral(": ") + held + QStringLiteral(" instead of ") + value + QLatin1Char('\n'))
                        .toStdString();
    }
    return text;
}

// Vesk processes over the real `gsettings` with Debian's desktop schemas on a
// key-file backend: a GNOME user who changed some of the bindings a session
// blocks. Each process reaches the tool through a stand-in first on its PATH
// that counts the calls and can kill the process at any of them.
class GSettingsProcessEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root_.isValid());
        program_ = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
        if (program_.isEmpty())
            GTEST_SKIP() << "gsettings (libglib2.0-bin) is not installed";
        ASSERT_TRUE(QDir().mkpath(root_.filePath(QStringLiteral("runtime"))));
        QFile::setPermissions(root_.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        const Machine template_ = machine(QStringLiteral("user"));
        GSettingsTool user = template_.tool();
        if (!user.listSchemas().value_or(QStringList()).contains(wm))
            GTEST_SKIP() << "Debian's gsettings-desktop-schemas is not installed";
        for (const auto& [key, value] :
             std::vector<std::pair<const char*, const char*>>{{"switch-applications", "['<Super>Tab']"},
                                                              {"switch-windows", "['<Super>Tab', '<Alt>Tab']"},
                                                              {"switch-to-workspace-left",
                                                               "['<Control><Alt>Left', '<Super>Page_Up']"},
                                                              {"move-to-workspace-3", "['<Super><Shift>3']"},
                                                              {"panel-main-menu", "@as []"}}) {
            ASSERT_TRUE(user.set({wm, QString::fromUtf8(key)}, QString::fromUtf8(value)).ok) << key;
        }
        userKeyFile_ = QDir(template_.folder).filePath(QStringLiteral("config/glib-2.0/settings/keyfile"));
        ASSERT_TRUE(QFile::exists(userKeyFile_));
        const std::optional<Settings> settings = template_.settings();
        ASSERT_TRUE(settings);
        user_ = *settings;
        // What a session changes on this desktop is set to something else.
        ASSERT_EQ(user_.at(interface + " enable-hot-corners"), "true");
        ASSERT_EQ(user_.at(notifications + " show-banners"), "true");
        ASSERT_NE(user_.at(wm + " switch-to-workspace-right"), blockedBinding);
    }

    // A machine of its own with the user's settings.
    Machine machine(const QString& name) const
    {
        Machine machine{root_.filePath(name), QProcessEnvironment::systemEnvironment()};
        QDir().mkpath(QDir(machine.folder).filePath(QStringLiteral("config/glib-2.0/settings")));
        if (!userKeyFile_.isEmpty())
            QFile::copy(userKeyFile_,
                        QDir(machine.folder).filePath(QStringLiteral("config/glib-2.0/settings/keyfile")));
        QProcessEnvironment& environment = machine.environment;
        environment.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("keyfile"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QDir(machine.folder).filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), QDir(machine.folder).filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), QDir(machine.folder).filePath(QStringLiteral("cache")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), root_.filePath(QStringLiteral("runtime")));
        environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("ubuntu:GNOME"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("PATH"), QFileInfo(QStringLiteral(VESK_GSETTINGS_STANDIN)).absolutePath()
                                                       + QLatin1Char(':') + environment.value(QStringLiteral("PATH")));
        environment.insert(QStringLiteral("GSETTINGS_STANDIN_PROGRAM"), program_);
        environment.insert(QStringLiteral("GSETTINGS_STANDIN_CALLS"), machine.callsFile());
        environment.remove(QStringLiteral("VESK_LOGS_DIR"));
        return machine;
    }

    // Every key is the user's again, and no backup is left.
    void expectAsTheUserHadIt(const Machine& machine) const
    {
        const std::optional<Settings> settings = machine.settings();
        ASSERT_TRUE(settings);
        EXPECT_EQ(*settings, user_) << differences(*settings, user_);
        EXPECT_FALSE(machine.hasBackup());
    }

    // In memory where the machine has it: every gsettings call writes the key file.
    QTemporaryDir root_{QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                            ? QStringLiteral("/dev/shm/vesk-gsettings-XXXXXX")
                            : QDir::temp().filePath(QStringLiteral("vesk-gsettings-XXXXXX"))};
    QString program_;
    QString userKeyFile_;
    Settings user_;
};

struct Ending {
    const char* name;
    // Stop the session first, as the user does.
    bool stopFirst;
    // "terminate" (the quit command) or "SIGTERM".
    const char* how;
};

void PrintTo(const Ending& ending, std::ostream* out)
{
    *out << ending.name;
}

class GSettingsEndingTest : public GSettingsProcessEndTest, public ::testing::WithParamInterface<Ending> { };

TEST_P(GSettingsEndingTest, EveryKeyIsBackAndNoBackupIsLeft)
{
    const Machine user = machine(QStringLiteral("ending"));
    VeskProcess vesk(user);
    ASSERT_EQ(vesk.send("start"), "started") << vesk.transcript().toStdString();
    const std::optional<Settings> during = user.settings();
    ASSERT_TRUE(during);
    EXPECT_TRUE(isUsersOrBlocked(*during, user_));
    EXPECT_EQ(during->at(wm + " switch-to-workspace-right"), blockedBinding);
    EXPECT_EQ(during->at(interface + " enable-hot-corners"), "false");
    EXPECT_EQ(during->at(notifications + " show-banners"), "false");
    EXPECT_TRUE(user.hasBackup());

    if (GetParam().stopFirst) {
        ASSERT_EQ(vesk.send("stop"), "stopped") << vesk.transcript().toStdString();
    }
    vesk.end(GetParam().how);
    EXPECT_TRUE(vesk.endedNormally()) << vesk.transcript().toStdString();
    expectAsTheUserHadIt(user);
    // The session's own services put the keys back, as a stop does; the
    // restores of the termination that follow find nothing to do.
    const QString log = user.log();
    EXPECT_TRUE(log.contains(QStringLiteral("Deactivating Dock Mission Control fallback")));
    EXPECT_TRUE(log.contains(QStringLiteral("Screenshot floating thumbnail preference restored")));
    EXPECT_FALSE(log.contains(QStringLiteral("Emergency restore for")));
    // What GNOME has no setting for is left alone and said once in the process's life.
    for (const char* key : {"showAppExposeGestureEnabled", "showDesktopGestureEnabled", "autohide", "autohide-delay"}) {
        EXPECT_EQ(log.count(QStringLiteral("GNOME has no GSettings counterpart of (com.apple.dock, %1); left as it is")
                                .arg(QString::fromUtf8(key))),
                  1)
            << key;
    }
}

INSTANTIATE_TEST_SUITE_P(Endings, GSettingsEndingTest,
                         ::testing::Values(Ending{"StopThenQuit", true, "terminate"},
                                           Ending{"QuitDuringTheSession", false, "terminate"},
                                           Ending{"SigtermDuringTheSession", false, "SIGTERM"}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

// A kill at a moment of a session's start or stop (see data/gsettings), or
// with SIGKILL while the session runs (none); then, optionally, the next
// launch killed at a moment of its recovery; then a launch.
struct KillPlan {
    std::optional<int> sessionMoment;
    std::optional<int> recoveryMoment;
};

struct KillPoint {
    KillPlan plan;
    bool sessionKilled = false;
    bool recoveryKilled = false;
    QString transcript;
    std::optional<Settings> leftByKill;
    bool backupLeftByKill = false;
    QString launchAnswer;
    std::optional<Settings> afterLaunch;
    bool backupAfterLaunch = true;
    int launchCalls = 0;
    QString launchLog;
    bool launchEndedNormally = false;
};

// Every `step`-th moment (odd, so that kills before and after a call take
// turns), and the last one; every moment when VESK_GSETTINGS_FULL_SWEEP is set.
std::vector<int> spread(int moments, int count)
{
    const int step = qEnvironmentVariableIsSet("VESK_GSETTINGS_FULL_SWEEP") ? 1 : std::max(1, moments / count) | 1;
    std::vector<int> chosen;
    for (int moment = 0; moment < moments; moment += step)
        chosen.push_back(moment);
    if (chosen.back() != moments - 1)
        chosen.push_back(moments - 1);
    return chosen;
}

class GSettingsKillSweepTest : public GSettingsProcessEndTest {
protected:
    KillPoint run(const KillPlan& plan, const QString& name) const
    {
        KillPoint point;
        point.plan = plan;
        const Machine user = machine(name);
        {
            VeskProcess vesk(user, plan.sessionMoment);
            if (vesk.send("start") == QLatin1String("started") && !plan.sessionMoment)
                vesk.end("SIGKILL");
            vesk.send("stop");
            vesk.end("terminate");
            point.sessionKilled = vesk.wasKilled();
            point.transcript = vesk.transcript();
        }
        point.leftByKill = user.settings();
        point.backupLeftByKill = user.hasBackup();
        if (plan.recoveryMoment) {
            VeskProcess vesk(user, plan.recoveryMoment);
            vesk.end("terminate");
            point.recoveryKilled = vesk.wasKilled();
        }
        QDir(QDir(user.dataFolder()).filePath(QStringLiteral("logs"))).removeRecursively();
        VeskProcess vesk(user);
        point.launchAnswer = vesk.greeting();
        point.launchCalls = int(user.calls().size());
        point.afterLaunch = user.settings();
        point.backupAfterLaunch = user.hasBackup();
        vesk.end("terminate");
        point.launchEndedNormally = vesk.endedNormally();
        point.launchLog = user.log();
        return point;
    }

    // The plans on a few processes at a time.
    std::vector<KillPoint> sweep(const std::vector<KillPlan>& plans) const
    {
        std::vector<KillPoint> points(plans.size());
        std::atomic<size_t> next{0};
        std::vector<std::thread> lanes;
        for (int lane = 0; lane < 4; ++lane) {
            lanes.emplace_back([&] {
                for (size_t index = next++; index < plans.size(); index = next++)
                    points[index] = run(plans[index], QStringLiteral("point-%1").arg(index));
            });
        }
        for (std::thread& lane : lanes)
            lane.join();
        return points;
    }

    void expectRecovered(const KillPoint& point) const
    {
        SCOPED_TRACE(
            QStringLiteral("killed at session moment %1, then at recovery moment %2")
                .arg(point.plan.sessionMoment ? QString::number(*point.plan.sessionMoment)
                                              : QStringLiteral("(while it ran)"),
                     point.plan.recoveryMoment ? QString::number(*point.plan.recoveryMoment) : QStringLiteral("(none)"))
                .toStdString());
        EXPECT_TRUE(point.sessionKilled) << point.transcript.toStdString();
        if (point.plan.recoveryMoment) {
            EXPECT_TRUE(point.recoveryKilled);
        }
        ASSERT_TRUE(point.leftByKill);
        EXPECT_TRUE(isUsersOrBlocked(*point.leftByKill, user_));

        EXPECT_EQ(point.launchAnswer, "launched");
        ASSERT_TRUE(point.afterLaunch);
        EXPECT_EQ(*point.afterLaunch, user_) << differences(*point.afterLaunch, user_);
        EXPECT_FALSE(point.backupAfterLaunch);
        EXPECT_TRUE(point.launchEndedNormally);
        if (*point.leftByKill != user_ && !point.plan.recoveryMoment) {
            EXPECT_TRUE(point.launchLog.contains(QStringLiteral("Emergency restore for")))
                << "the launch's own restore put them back";
        }
    }
};

TEST_F(GSettingsKillSweepTest, EveryKeyIsBackAfterAKillAtAnyPointAndTheNextLaunch)
{
    // A whole session, to count its calls.
    const Machine whole = machine(QStringLiteral("whole"));
    {
        VeskProcess vesk(whole);
        ASSERT_EQ(vesk.send("start"), "started") << vesk.transcript().toStdString();
        ASSERT_EQ(vesk.send("stop"), "stopped") << vesk.transcript().toStdString();
        vesk.end("terminate");
        ASSERT_TRUE(vesk.endedNormally()) << vesk.transcript().toStdString();
    }
    const int sessionMoments = 2 * int(whole.calls().size());
    ASSERT_GT(sessionMoments, 80);
    expectAsTheUserHadIt(whole);

    // Killed while every key is blocked: the launch's recovery, to count its calls.
    const KillPoint running = run({}, QStringLiteral("running"));
    expectRecovered(running);
    ASSERT_TRUE(running.leftByKill);
    EXPECT_EQ(running.leftByKill->at(wm + " switch-to-workspace-right"), blockedBinding);
    EXPECT_TRUE(running.backupLeftByKill);
    ASSERT_GT(running.launchCalls, 20);
    const int recoveryMoments = 2 * running.launchCalls;

    std::vector<KillPlan> plans;
    for (int moment : spread(sessionMoments, 20))
        plans.push_back({moment, std::nullopt});
    for (int moment : spread(recoveryMoments, 6))
        plans.push_back({std::nullopt, moment});
    std::printf("Killing at %zu of %d session moments and %zu of %d recovery moments\n",
                std::count_if(plans.begin(), plans.end(),
                              [](const auto& plan) { return plan.sessionMoment.has_value(); }),
                sessionMoments,
                std::count_if(plans.begin(), plans.end(),
                              [](const auto& plan) { return plan.recoveryMoment.has_value(); }),
                recoveryMoments);
    const std::vector<KillPoint> points = sweep(plans);
    for (const KillPoint& point : points)
        expectRecovered(point);
    // Some kills come while keys are blocked and their backup is stored.
    EXPECT_TRUE(std::any_of(points.begin(), points.end(), [this](const KillPoint& point) {
        return point.plan.sessionMoment && point.backupLeftByKill && point.leftByKill != user_;
    }));
}

} // namespace
