#include "core/FileIO.h"
#include "platform/simulated/DefaultsDomains.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <map>
#include <optional>
#include <thread>
#include <vector>

using namespace vesk;

namespace {

using Domains = std::map<QString, QVariantMap>;

const QString kDock = QStringLiteral("com.apple.dock");
const QString kScreencapture = QStringLiteral("com.apple.screencapture");

// The user's own system settings on the default desktop: some of the keys a
// session forces are set, the others were never set; the rest a session
// leaves alone.
const Domains kUserSettings{{kDock,
                             {{"autohide", false},
                              {"autohide-delay", 0.25},
                              {"mcx-expose-disabled", false},
                              {"workspaces-auto-swoosh", true},
                              {"tilesize", qlonglong(48)}}},
                            {kScreencapture, {{"show-thumbnail", true}, {"location", QStringLiteral("~/Pictures")}}}};

// What a session forces.
const QVariantMap kForcedDock{{"mcx-expose-disabled", true},
                              {"showMissionControlGestureEnabled", false},
                              {"showAppExposeGestureEnabled", false},
                              {"showDesktopGestureEnabled", false},
                              {"workspaces-auto-swoosh", false},
                              {"autohide", true},
                              {"autohide-delay", 1000.0}};
const QVariantMap kForcedScreencapture{{"show-thumbnail", false}};

// A session of 30 s that ends by its timer, then the termination.
const QByteArray kSessionScript = R"({"steps": [
    {"at": 0, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 30},
    {"at": 40, "do": "terminate"}]})";

// The moments of that session's system tools (see --kill-at): before and
// after each of its 26 commands (the thumbnail's read and write, the Dock's
// seven reads, seven writes and restart; at the stop seven restores, the
// restart and the thumbnail's restore).
constexpr int kSessionMoments = 52;
// Every setting is forced from the end of the start's last command to the
// beginning of the stop's first.
constexpr int kAllForcedFrom = 33;
constexpr int kAllForcedUntil = 34;

struct Launch {
    QProcess::ExitStatus status = QProcess::CrashExit;
    int exitCode = -1;
    QString errors;
};

// One kill point: the killed run, what it left, and the relaunch on its folder.
struct KillPoint {
    int moment = 0;
    Launch killed;
    std::optional<Domains> leftByKill;
    Launch relaunched;
    QJsonObject relaunchReport;
    std::optional<Domains> afterRelaunch;
};

std::optional<Domains> domainsInFile(const QString& runDirectory)
{
    const InputFileContents file = readInputFile(QDir(runDirectory).filePath("desktop/defaults-domains.json"));
    if (!file.ok())
        return std::nullopt;
    return platform::DefaultsDomains::decode(file.data);
}

Domains withForced(Domains domains)
{
    for (auto it = kForcedDock.begin(); it != kForcedDock.end(); ++it)
        domains[kDock].insert(it.key(), it.value());
    for (auto it = kForcedScreencapture.begin(); it != kForcedScreencapture.end(); ++it)
        domains[kScreencapture].insert(it.key(), it.value());
    return domains;
}

// Each key holds the user's value or the one a session forces, and a key the
// user never set is either missing or forced.
bool isBetweenUserAndForced(const Domains& domains)
{
    const Domains forced = withForced(kUserSettings);
    for (const auto& [name, values] : forced) {
        const QVariantMap held = domains.count(name) ? domains.at(name) : QVariantMap();
        const QVariantMap user = kUserSettings.at(name);
        for (auto it = values.begin(); it != values.end(); ++it) {
            const bool asUser =
                user.contains(it.key()) ? held.value(it.key()) == user.value(it.key()) : !held.contains(it.key());
            if (!asUser && held.value(it.key()) != it.value())
                return false;
        }
        for (auto it = held.begin(); it != held.end(); ++it) {
            if (!values.contains(it.key()))
                return false;
        }
    }
    return true;
}

// The sweep: a real vesk process runs a scripted session in virtual time and
// is killed with SIGKILL at one moment of it (--kill-at, so the point is the
// same on every machine); then vesk launches again on the same run folder
// (--relaunch) and terminates. The system settings must be the user's again,
// with no backup left.
class KillRecoverySweepTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid());
        root_ = QDir(home_.path()).filePath("runs");
        ASSERT_TRUE(QDir().mkpath(root_));
        ASSERT_TRUE(QDir().mkpath(home_.filePath("runtime")));
        QFile::setPermissions(home_.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        const InputFileContents scenario = readInputFile(QStringLiteral(VESK_DEFAULT_SCENARIO));
        ASSERT_TRUE(scenario.ok()) << scenario.error.toStdString();
        QJsonObject desktop = QJsonDocument::fromJson(scenario.data).object();
        QJsonObject plain;
        for (const auto& [name, values] : kUserSettings)
            plain[name] = QJsonObject::fromVariantMap(values);
        desktop["defaults"] = plain;
        ASSERT_FALSE(writeFileAtomically(home_.filePath("desktop.json"), QJsonDocument(desktop).toJson()));
        ASSERT_FALSE(writeFileAtomically(home_.filePath("session.json"), kSessionScript));
        ASSERT_FALSE(writeFileAtomically(home_.filePath("relaunch.json"), R"({"steps": []})"));

        environment_ = QProcessEnvironment::systemEnvironment();
        environment_.insert("QT_QPA_PLATFORM", "offscreen");
        environment_.insert("XDG_DATA_HOME", home_.filePath("data"));
        environment_.insert("XDG_CONFIG_HOME", home_.filePath("config"));
        environment_.insert("XDG_CACHE_HOME", home_.filePath("cache"));
        // Beside the run folders: a run links no folder of its own into memory
        // (which a killed run would leave behind there), whether the run
        // folders are in memory or on a disk.
        environment_.insert("XDG_RUNTIME_DIR", home_.filePath("runtime"));
        environment_.insert("VESK_UPDATE_FEED_URL", "http://127.0.0.1:9/feed.json");
        // Each run keeps its log in its run folder.
        environment_.remove("VESK_LOGS_DIR");
    }

    QString runDirectory(int moment) const { return QDir(root_).filePath(QStringLiteral("kill-%1").arg(moment)); }

    Launch vesk(const QStringList& arguments) const
    {
        QProcess process;
        process.setProcessEnvironment(environment_);
        process.setProgram(QStringLiteral(VESK_EXECUTABLE));
        process.setArguments(QStringList{"--desktop", home_.filePath("desktop.json")} + arguments);
        process.start();
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            return {QProcess::CrashExit, -1, QStringLiteral("did not end within 60 s")};
        }
        return {process.exitStatus(), process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
    }

    // The session killed at `moment`, without the relaunch.
    Launch killedSession(int moment) const
    {
        const QString run = runDirectory(moment);
        return vesk({"--script", home_.filePath("session.json"), "--report", run + ".json", "--run-dir", run,
                     "--kill-at", QString::number(moment)});
    }

    KillPoint sweepPoint(int moment) const
    {
        KillPoint point;
        point.moment = moment;
        point.killed = killedSession(moment);
        const QString run = runDirectory(moment);
        point.leftByKill = domainsInFile(run);
        point.relaunched = vesk({"--script", home_.filePath("relaunch.json"), "--report", run + "-relaunch.json",
                                 "--run-dir", run, "--relaunch"});
        const InputFileContents report = readInputFile(run + "-relaunch.json");
        point.relaunchReport = QJsonDocument::fromJson(report.data).object();
        point.afterRelaunch = domainsInFile(run);
        return point;
    }

    // Every point, on a few processes at a time.
    std::vector<KillPoint> sweep(int moments) const
    {
        std::vector<KillPoint> points(moments);
        std::atomic<int> next{0};
        std::vector<std::thread> lanes;
        for (int lane = 0; lane < 4; ++lane) {
            lanes.emplace_back([&] {
                for (int moment = next++; moment < moments; moment = next++)
                    points[moment] = sweepPoint(moment);
            });
        }
        for (std::thread& lane : lanes)
            lane.join();
        return points;
    }

    // In memory where the machine has it: the runs write their settings and
    // logs at every change.
    QTemporaryDir home_{QFileInfo("/dev/shm").isWritable() ? QStringLiteral("/dev/shm/vesk-kill-XXXXXX")
                                                           : QDir::temp().filePath("vesk-kill-XXXXXX")};
    QString root_;
    QProcessEnvironment environment_;
};

bool hasLogLine(const QJsonObject& report, const QString& fragment)
{
    for (const QJsonValue& entry : report.value("timeline").toArray()) {
        if (entry.toObject().value("kind") == "log" && entry.toObject().value("message").toString().contains(fragment))
            return true;
    }
    return false;
}

TEST_F(KillRecoverySweepTest, EveryKeyIsTheUsersAgainAfterAKillAtAnyMomentOfASession)
{
    // The sweep covers the whole session: its last moment kills, one more does not come.
    const Launch past = killedSession(kSessionMoments);
    ASSERT_EQ(past.status, QProcess::NormalExit) << past.errors.toStdString();
    ASSERT_EQ(past.exitCode, 0) << past.errors.toStdString();

    for (const KillPoint& point : sweep(kSessionMoments)) {
        SCOPED_TRACE(QStringLiteral("killed at moment %1").arg(point.moment).toStdString());
        EXPECT_EQ(point.killed.status, QProcess::CrashExit) << point.killed.errors.toStdString();
        EXPECT_EQ(point.killed.exitCode, SIGKILL);

        // The kill leaves the system's settings as they were at that moment.
        ASSERT_TRUE(point.leftByKill) << "the defaults domains are in the run's desktop folder";
        EXPECT_TRUE(isBetweenUserAndForced(*point.leftByKill));
        if (point.moment >= kAllForcedFrom && point.moment <= kAllForcedUntil) {
            EXPECT_EQ(*point.leftByKill, withForced(kUserSettings));
        }

        // The relaunch puts back every key, and keeps no backup.
        EXPECT_EQ(point.relaunched.status, QProcess::NormalExit) << point.relaunched.errors.toStdString();
        EXPECT_EQ(point.relaunched.exitCode, 0) << point.relaunched.errors.toStdString();
        ASSERT_TRUE(point.afterRelaunch);
        EXPECT_EQ(*point.afterRelaunch, kUserSettings);
        QJsonObject reported = point.relaunchReport.value("defaults").toObject();
        const QJsonObject ownSuite = reported.take("de.pelko.vesk").toObject();
        for (const auto& [name, values] : kUserSettings)
            EXPECT_EQ(reported.take(name).toObject(), QJsonObject::fromVariantMap(values)) << name.toStdString();
        for (const QString& name : reported.keys())
            EXPECT_TRUE(name.startsWith("com.telemetry.")) << "no other domain: " << name.toStdString();
        EXPECT_FALSE(ownSuite.contains("DockMissionControlFallbackService.backupByKey"));
        EXPECT_FALSE(ownSuite.contains("ScreenshotThumbnailSuppressionService.backup"));
        if (*point.leftByKill != kUserSettings) {
            EXPECT_TRUE(hasLogLine(point.relaunchReport, "Emergency restore for"))
                << "the relaunch's own restore put them back";
        }
        for (const QJsonValue& session : point.relaunchReport.value("sessions").toArray())
            EXPECT_EQ(session.toObject().value("isActive"), false);
    }
}

} // namespace
