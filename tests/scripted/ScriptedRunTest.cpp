#include "scripted/ScriptedRun.h"

#include "LocalHttpServer.h"
#include "QtPrinters.h"
#include "analytics/TelemetryAnalyticsService.h"
#include "analytics/client/SignalPostBody.h"
#include "core/FileIO.h"
#include "store/ModelContainer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace vesk;

namespace {

const char* const kEditor = "org.example.TextEditor";

// Runs a script on the default scenario and reads back the report.
class ScriptedRunTest : public ::testing::Test {
protected:
    void TearDown() override { setFileWriteFaultInjector({}); }

    int runScript(const QByteArray& script, QString desktopPath = {}, StoreFaultInjector storeFaults = {})
    {
        QFile file(directory_.filePath("script.json"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(script);
        file.close();
        run_ = std::make_unique<ScriptedRun>(
            ScriptedRunOptions{desktopPath, file.fileName(), reportPath(), runDirectory(), std::move(storeFaults)});
        const int status = run_->run();
        if (run_->wroteReport()) {
            QFile reportFile(reportPath());
            EXPECT_TRUE(reportFile.open(QIODevice::ReadOnly));
            report_ = QJsonDocument::fromJson(reportFile.readAll()).object();
        }
        return status;
    }

    QString reportPath() const { return directory_.filePath("report.json"); }
    QString runDirectory() const { return directory_.filePath("run"); }
    QStringList errors() const
    {
        QStringList texts;
        for (const QJsonValue& error : report_.value("errors").toArray())
            texts.append(error.toString());
        return texts;
    }
    QJsonArray sessions() const { return report_.value("sessions").toArray(); }
    QJsonObject firstSession() const { return sessions().at(0).toObject(); }

    // The step entries of the timeline, by their "do".
    QJsonObject stepEntry(const QString& action) const
    {
        for (const QJsonValue& entry : report_.value("timeline").toArray()) {
            if (entry.toObject().value("kind") == "step" && entry.toObject().value("do") == action)
                return entry.toObject();
        }
        return {};
    }

    // Every step entry of the timeline with that "do", in order.
    std::vector<QJsonObject> stepEntries(const QString& action) const
    {
        std::vector<QJsonObject> entries;
        for (const QJsonValue& entry : report_.value("timeline").toArray()) {
            if (entry.toObject().value("kind") == "step" && entry.toObject().value("do") == action)
                entries.push_back(entry.toObject());
        }
        return entries;
    }

    // What the stage's settings switches wrote to Vesk's defaults suite.
    QJsonValue screenFunctionOverrides() const
    {
        for (const QJsonValue& domain : report_.value("defaults").toObject()) {
            if (domain.toObject().contains("vesk.screenFunctionOverrides"))
                return domain.toObject().value("vesk.screenFunctionOverrides");
        }
        return {};
    }

    bool isFrontmost(const QString& bundleID) const
    {
        for (const QJsonValue& app : report_.value("runningApplications").toArray()) {
            if (app.toObject().value("bundleID") == bundleID)
                return app.toObject().value("frontmost").toBool();
        }
        return false;
    }

    bool isRunning(const QString& bundleID) const
    {
        for (const QJsonValue& app : report_.value("runningApplications").toArray()) {
            if (app.toObject().value("bundleID") == bundleID)
                return true;
        }
        return false;
    }

    QTemporaryDir directory_;
    std::unique_ptr<ScriptedRun> run_;
    QJsonObject report_;
};

TEST_F(ScriptedRunTest, TheCountdownEndsTheSessionAndTheOverlayLeavesAHoleOverTheAllowedWindow)
{
    ASSERT_EQ(runScript(R"({"steps": [
        {"at": 0, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 60, "goal": "  Plan  "},
        {"at": 10, "do": "screenshot", "name": "during"},
        {"at": 65, "do": "screenshot", "name": "after"},
        {"at": 70, "do": "terminate"}]})"),
              ScriptedRun::succeeded)
        << run_->error().toStdString();

    ASSERT_EQ(sessions().size(), 1);
    EXPECT_EQ(firstSession().value("endReason"), "timerExpired");
    EXPECT_EQ(firstSession().value("isActive"), false);
    EXPECT_EQ(firstSession().value("durationSeconds"), 60);
    EXPECT_EQ(firstSession().value("goalText"), "Plan");
    EXPECT_EQ(firstSession().value("allowedAppBundleIDs").toArray(), QJsonArray{kEditor});
    EXPECT_EQ(report_.value("terminated"), true);
    EXPECT_EQ(report_.value("presentationOptions"), 0);
    EXPECT_TRUE(QFileInfo::exists(report_.value("logFile").toString()));
    EXPECT_TRUE(report_.value("errors").toArray().isEmpty());
    EXPECT_EQ(report_.value("settings").toObject().value("language"), "system");
    const QJsonObject defaults = report_.value("defaults").toObject();
    EXPECT_EQ(defaults.value("de.pelko.vesk").toObject().value("NSQuitAlwaysKeepsWindows"), false);
    EXPECT_EQ(defaults.value("com.apple.screencapture").toObject().value("show-thumbnail"), true);

    // The editor's window is at {80, 60} with the size 900 × 640 on the first display.
    const QJsonArray during = report_.value("screenshots").toObject().value("during").toArray();
    ASSERT_EQ(during.size(), 2) << "one image per display";
    const QImage duringImage(during.at(0).toString());
    ASSERT_FALSE(duringImage.isNull());
    EXPECT_NE(duringImage.pixelColor(500, 400), QColor(Qt::black)) << "the hole over the allowed window";
    EXPECT_EQ(duringImage.pixelColor(1300, 900), QColor(Qt::black)) << "the overlay outside it";
    const QImage afterImage(report_.value("screenshots").toObject().value("after").toArray().at(0).toString());
    EXPECT_NE(afterImage.pixelColor(1300, 900), QColor(Qt::black)) << "the overlay is gone after the session";

    // What the session core did, in time.
    double activeAt = -1;
    double endedAt = -1;
    double startLoggedAt = -1;
    for (const QJsonValue& value : report_.value("timeline").toArray()) {
        const QJsonObject entry = value.toObject();
        if (entry.value("kind") == "session" && entry.value("event") == "isSessionActive")
            (entry.value("value").toBool() ? activeAt : endedAt) = entry.value("at").toDouble();
        // Logger lines are listed under their component.
        if (entry.value("kind") == "log" && entry.value("component") == "SessionManager"
            && entry.value("message") == "Session started successfully")
            startLoggedAt = entry.value("at").toDouble();
    }
    EXPECT_EQ(activeAt, 0.0);
    EXPECT_NEAR(endedAt, 60.0, 1.0);
    EXPECT_GE(startLoggedAt, 0.0);
}

// The environment of a run started by hand: no service named anywhere.
class NoServiceNamed {
public:
    NoServiceNamed()
    {
        for (const char* variable : variables)
            saved_.push_back(qgetenv(variable));
        for (const char* variable : variables)
            qunsetenv(variable);
    }
    ~NoServiceNamed()
    {
        for (std::size_t i = 0; i < std::size(variables); ++i)
            qputenv(variables[i], saved_[i]);
    }

private:
    static constexpr const char* variables[] = {"VESK_ANALYTICS_BASE_URL", "VESK_BUG_REPORT_ENDPOINT",
                                                "VESK_UPDATE_FEED_URL"};
    std::vector<QByteArray> saved_;
};

TEST_F(ScriptedRunTest, WithoutEndpointsARunReachesNoServiceAndKeepsItsTestSignalsInTheCache)
{
    const NoServiceNamed noService;
    const int status = runScript(R"({"steps": [
        {"at": 0, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 60},
        {"at": 600, "do": "terminate"}]})");
    ASSERT_EQ(status, ScriptedRun::succeeded) << run_->error().toStdString();
    EXPECT_TRUE(errors().isEmpty()) << errors().join('\n').toStdString();
    EXPECT_EQ(report_.value("endpoints").toObject(),
              (QJsonObject{{"analytics", QJsonValue()}, {"reports", QJsonValue()}, {"updates", QJsonValue()}}));
    EXPECT_TRUE(run_->summary().contains("Network endpoints: none"));

    // Ten minutes of virtual time: the client would have sent many times.
    QFile cache(QDir(runDirectory()).filePath("caches/telemetrysignalcache"));
    ASSERT_TRUE(cache.open(QIODevice::ReadOnly));
    QStringList types;
    for (const QJsonValue& body : QJsonDocument::fromJson(cache.readAll()).array()) {
        types << body["type"].toString();
        EXPECT_EQ(body["isTestMode"], "true") << body["type"].toString().toStdString();
    }
    for (const char* type : {"app.launched", "session.started", "session.ended"})
        EXPECT_TRUE(types.contains(type)) << type << " in " << types.join(", ").toStdString();
    for (const QJsonValue& entry : report_.value("timeline").toArray()) {
        const QJsonObject line = entry.toObject();
        EXPECT_FALSE(line.value("kind") == "log" && line.value("level") != "debug" && line.value("level") != "info")
            << "nothing is wrong in this run: " << line.value("message").toString().toStdString();
    }
}

TEST_F(ScriptedRunTest, TheScriptNamesTheServicesItReaches)
{
    const NoServiceNamed noService;
    test::LocalHttpServer server;
    const QString analytics = server.url("/").toString();
    const int status = runScript(QStringLiteral(R"({"endpoints": {"analytics": "%1"}, "steps": [
        {"at": 0, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 60},
        {"at": 90, "do": "terminate"}]})")
                                     .arg(analytics)
                                     .toUtf8());
    ASSERT_EQ(status, ScriptedRun::succeeded) << run_->error().toStdString();
    EXPECT_EQ(report_.value("endpoints").toObject(),
              (QJsonObject{{"analytics", analytics}, {"reports", QJsonValue()}, {"updates", QJsonValue()}}));
    EXPECT_TRUE(run_->summary().contains("Network endpoints: analytics " + analytics));
    ASSERT_TRUE(server.waitForRequests(1));
    for (const QJsonValue& body : QJsonDocument::fromJson(server.requests().front().body).array())
        EXPECT_EQ(body["isTestMode"], "true") << body["type"].toString().toStdString();
}

TEST_F(ScriptedRunTest, CrashReportsGoOnlyToTheReportEndpointTheScriptNames)
{
    const NoServiceNamed noService;
    QFile defaultScenario(QStringLiteral(VESK_SOURCE_DIR "/scenarios/default-desktop.json"));
    ASSERT_TRUE(defaultScenario.open(QIODevice::ReadOnly));
    QJsonObject scenario = QJsonDocument::fromJson(defaultScenario.readAll()).object();
    scenario["diagnosticPayloads"] =
        QJsonArray{QJsonObject{{"crashDiagnostics", QJsonArray{QJsonObject{{"signal", 11}}}}}};
    const QString scenarioPath = directory_.filePath("crashed-before.json");
    ASSERT_EQ(writeFileAtomically(scenarioPath, QJsonDocument(scenario).toJson()), std::nullopt);

    // No endpoint: the report is not sent anywhere.
    ASSERT_EQ(runScript(R"({"steps": [{"at": 5, "do": "terminate"}]})", scenarioPath), ScriptedRun::succeeded)
        << run_->error().toStdString();
    bool notConfigured = false;
    for (const QJsonValue& entry : report_.value("timeline").toArray())
        notConfigured |= entry.toObject().value("message") == "send: worker URL not configured";
    EXPECT_TRUE(notConfigured);

    test::LocalHttpServer server;
    ASSERT_EQ(runScript(QStringLiteral(R"({"endpoints": {"reports": "%1"}, "steps": [{"at": 5, "do": "terminate"}]})")
                            .arg(server.url("/").toString())
                            .toUtf8(),
                        scenarioPath),
              ScriptedRun::succeeded)
        << run_->error().toStdString();
    ASSERT_TRUE(server.waitForRequests(1));
    EXPECT_TRUE(server.requests().front().body.contains("Automatische Diagnose: 1 Crash(es), 0 Hang(s)"));
}

TEST_F(ScriptedRunTest, TheSessionsAnalyticsSignalsReachTheAnalyticsServer)
{
    test::LocalHttpServer server;
    const QByteArray savedBaseURL = qgetenv(TelemetryAnalyticsService::baseURLVariable);
    qputenv(TelemetryAnalyticsService::baseURLVariable, server.url("/").toString().toUtf8());
    const int status = runScript(R"({"steps": [
        {"at": 0, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 60},
        {"at": 90, "do": "terminate"}]})");
    qputenv(TelemetryAnalyticsService::baseURLVariable, savedBaseURL);
    ASSERT_EQ(status, ScriptedRun::succeeded) << run_->error().toStdString();

    std::map<QString, QJsonObject> received;
    const auto collect = [&] {
        for (const test::LocalHttpServer::Request& request : server.requests())
            for (const QJsonValue& body : QJsonDocument::fromJson(request.body).array())
                received[body["type"].toString()] = body["payload"].toObject();
        return received.contains("session.ended");
    };
    ASSERT_TRUE(QTest::qWaitFor(collect, 5000));
    ASSERT_TRUE(received.contains("app.launched"));
    ASSERT_TRUE(received.contains("session.started"));
    EXPECT_EQ(received["session.started"].value("plannedDurationBucket"), "<15m");
    EXPECT_EQ(received["session.started"].value("allowedAppCount"), "1");
    EXPECT_EQ(received["session.ended"].value("endReason"), "timerExpired");
    EXPECT_EQ(received["session.ended"].value("actualDurationBucket"), "<15m");
}

TEST_F(ScriptedRunTest, TheReflectionCardAfterASessionSavesTheAnswersOrSkipsAndTheAnalyticsHearBoth)
{
    const int status = runScript(R"({"steps": [
        {"at": 0, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 1800,
         "goal": "Bericht gliedern"},
        {"at": 1805, "do": "screenshot", "name": "reflection-card"},
        {"at": 1806, "do": "clickText", "text": "Teilweise"},
        {"at": 1807, "do": "clickText", "text": "Nein"},
        {"at": 1808, "do": "clickText", "text": "Technisches Problem"},
        {"at": 1809, "do": "clickText", "text": "Speichern"},
        {"at": 1810, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 600},
        {"at": 2420, "do": "clickText", "text": "Später"},
        {"at": 2430, "do": "terminate"}]})");
    ASSERT_EQ(status, ScriptedRun::succeeded) << run_->error().toStdString();
    EXPECT_TRUE(errors().isEmpty()) << errors().join('\n').toStdString();

    ASSERT_EQ(sessions().size(), 2);
    const QJsonObject answered = sessions().at(0).toObject();
    EXPECT_EQ(answered.value("endReason"), "timerExpired");
    EXPECT_EQ(answered.value("goalStatus"), "partial");
    EXPECT_EQ(answered.value("veskHelpful"), "no");
    EXPECT_TRUE(answered.value("goalAnsweredAt").isString());
    const QJsonObject skipped = sessions().at(1).toObject();
    EXPECT_TRUE(skipped.value("goalStatus").isNull());
    EXPECT_TRUE(skipped.value("goalAnsweredAt").isNull());
    for (const QJsonObject& click : stepEntries("clickText"))
        EXPECT_TRUE(click.value("delivered").toBool()) << click.value("text").toString().toStdString();

    // What the analytics service sent, as its log says.
    QStringList sent;
    for (const QJsonValue& entry : report_.value("timeline").toArray()) {
        const QJsonObject line = entry.toObject();
        const QString message = line.value("message").toString();
        if (line.value("kind") == "log" && message.startsWith("Signal sent — name=reflection."))
            sent.append(message);
    }
    ASSERT_EQ(sent.size(), 2) << sent.join('\n').toStdString();
    EXPECT_TRUE(sent[0].startsWith("Signal sent — name=reflection.answered, params=")) << sent[0].toStdString();
    for (const char* pair :
         {R"("goalStatus": "partial")", R"("veskHelpful": "no")", R"("reasonCategory": "technicalProblem")"})
        EXPECT_TRUE(sent[0].contains(QString::fromUtf8(pair))) << sent[0].toStdString();
    EXPECT_EQ(sent[1], "Signal sent — name=reflection.skipped, params=[:]");
}

TEST_F(ScriptedRunTest, TerminatingDuringASessionRecordsAppTerminateAndLeavesTheAllowedAppRunning)
{
    ASSERT_EQ(runScript(R"({"steps": [
        {"at": 0, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 600},
        {"at": 30, "do": "terminate"}]})"),
              ScriptedRun::succeeded);
    ASSERT_EQ(sessions().size(), 1);
    EXPECT_EQ(firstSession().value("endReason"), "appTerminate");
    EXPECT_TRUE(isRunning(kEditor));
    EXPECT_FALSE(isRunning("com.vesk.app"));

    QFile log(report_.value("logFile").toString());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString rows = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(rows.contains("applicationShouldTerminate: active session detected"));
    EXPECT_TRUE(rows.contains("reason=appTerminate"));
}

TEST_F(ScriptedRunTest, SigtermClearsThePresentationOptionsAndEndsTheRunThroughTheNormalTermination)
{
    ASSERT_EQ(runScript(R"({"steps": [
        {"at": 0, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 60},
        {"at": 10, "do": "sigterm"},
        {"at": 20, "do": "screenshot", "name": "later"}]})"),
              ScriptedRun::succeeded);
    const QJsonObject sigterm = stepEntry("sigterm");
    EXPECT_EQ(sigterm.value("handled"), true);
    EXPECT_EQ(sigterm.value("presentationOptions"), 0);
    EXPECT_EQ(sigterm.value("isSessionActive"), false);
    EXPECT_TRUE(stepEntry("screenshot").isEmpty()) << "the run ended with the signal";
    EXPECT_TRUE(stepEntry("terminate").isEmpty()) << "no second termination";
    EXPECT_EQ(report_.value("terminated"), true);
    EXPECT_EQ(firstSession().value("endReason"), "appTerminate");
    const QJsonObject defaults = report_.value("defaults").toObject();
    EXPECT_EQ(defaults.value("com.apple.dock").toObject().value("autohide"), false);
    EXPECT_FALSE(defaults.value("de.pelko.vesk").toObject().contains("DockMissionControlFallbackService.backupByKey"));
}

TEST_F(ScriptedRunTest, AScriptWithoutTerminateEndsWithTheApplicationsTermination)
{
    ASSERT_EQ(runScript(R"({"steps": [
        {"at": 0, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 0}]})"),
              ScriptedRun::succeeded);
    EXPECT_EQ(stepEntry("terminate").value("implicit"), true);
    EXPECT_EQ(report_.value("terminated"), true);
    EXPECT_EQ(firstSession().value("endReason"), "appTerminate");
}

TEST_F(ScriptedRunTest, DesktopStepsChangeTheDesktopAndMistakesAtRunTimeAreReportedNotFatal)
{
    ASSERT_EQ(runScript(R"({"steps": [
        {"at": 1, "do": "launch", "bundleID": "org.example.Calculator"},
        {"at": 3, "do": "minimize", "bundleID": "org.example.Calculator"},
        {"at": 4, "do": "quit", "bundleID": "org.example.Terminal"},
        {"at": 5, "do": "quit", "bundleID": "org.example.NotThere"},
        {"at": 6, "do": "switchSpace", "display": 0, "space": 1},
        {"at": 7, "do": "switchSpace", "display": 5},
        {"at": 8, "do": "click", "x": 500, "y": 400}]})"),
              ScriptedRun::succeeded);
    EXPECT_TRUE(isRunning("org.example.Calculator"));
    EXPECT_FALSE(isRunning("org.example.Terminal"));
    EXPECT_FALSE(stepEntry("minimize").contains("error"));
    EXPECT_EQ(stepEntry("minimize").value("bundleID"), "org.example.Calculator");
    EXPECT_EQ(stepEntry("click").value("delivered"), true);

    const QJsonArray errors = report_.value("errors").toArray();
    ASSERT_EQ(errors.size(), 2);
    EXPECT_EQ(errors.at(0), "steps[3] (quit): org.example.NotThere is not running");
    EXPECT_EQ(errors.at(1), "steps[5] (switchSpace): there is no display 5 (the desktop has 2)");
}

TEST_F(ScriptedRunTest, DuringASessionAClickOutsideTheHoleLeavesTheFocusWhereItWas)
{
    ASSERT_EQ(runScript(R"({"steps": [
        {"at": 0, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 600},
        {"at": 5, "do": "click", "x": 1700, "y": 300, "comment": "on the terminal"},
        {"at": 6, "do": "click", "x": 400, "y": 300, "comment": "in the editor's hole"},
        {"at": 7, "do": "terminate"}]})"),
              ScriptedRun::succeeded);
    const std::vector<QJsonObject> clicks = stepEntries("click");
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0].value("swallowed"), true);
    EXPECT_EQ(clicks[0].value("delivered"), false);
    EXPECT_EQ(clicks[1].value("delivered"), true);
    EXPECT_EQ(clicks[1].value("targetBundleID"), kEditor);
    EXPECT_TRUE(isFrontmost(kEditor));
    EXPECT_FALSE(isFrontmost("org.example.Terminal"));
}

TEST_F(ScriptedRunTest, EnteringASessionCoversBothDisplaysInBlackAndTheStageBarsTakeOverFromTheHUD)
{
    ASSERT_EQ(runScript(R"({"steps": [
        {"at": 0, "do": "startSession", "apps": ["org.example.Calculator"], "durationSeconds": 600},
        {"at": 0, "do": "click", "x": 2000, "y": 1000, "comment": "low on the taller second display"},
        {"at": 5, "do": "terminate"}]})"),
              ScriptedRun::succeeded);
    const QJsonObject click = stepEntry("click");
    EXPECT_EQ(click.value("delivered"), true);
    EXPECT_EQ(click.value("targetBundleID"), "com.vesk.app") << "the black cover takes the click";

    QStringList messages;
    for (const QJsonValue& entry : report_.value("timeline").toArray()) {
        if (entry.toObject().value("kind") == "log")
            messages << entry.toObject().value("message").toString();
    }
    EXPECT_TRUE(messages.contains("Entering-VESK transition shown — style=immediateBlack, panels=2"));
    EXPECT_TRUE(messages.contains("HUD panel skipped because StageVesk panel is active"));
    EXPECT_TRUE(messages.contains("Entering-VESK transition dismissed — animated=false"));
}

TEST_F(ScriptedRunTest, TheControlBarsAddButtonOpensQuickAccessAndEscapeClosesItAndAsksForARecovery)
{
    ASSERT_EQ(runScript(R"({"steps": [
        {"at": 0, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 600},
        {"at": 3, "do": "clickText", "text": "App zur Session hinzufuegen"},
        {"at": 4, "do": "key", "chord": "escape"},
        {"at": 6, "do": "terminate"}]})"),
              ScriptedRun::succeeded)
        << run_->error().toStdString();

    QStringList messages;
    for (const QJsonValue& entry : report_.value("timeline").toArray()) {
        if (entry.toObject().value("kind") == "log" && entry.toObject().value("at").toDouble() >= 3)
            messages << entry.toObject().value("message").toString();
    }
    const auto indexOf = [&](const QString& start) {
        for (int i = 0; i < messages.size(); ++i) {
            if (messages[i].startsWith(start))
                return i;
        }
        return -1;
    };
    const int shown = indexOf("Quick access panel shown");
    const int dismissed = indexOf("Quick access panel dismissed");
    const int recovery = indexOf("Scheduled allowed-app recovery — reason=quickAccessPanelClosed");
    ASSERT_GE(shown, 0) << messages.join("\n").toStdString();
    EXPECT_GT(dismissed, shown) << "Escape closes the panel";
    EXPECT_GT(recovery, dismissed) << messages.join("\n").toStdString();
}

TEST_F(ScriptedRunTest, ADisallowedLaunchDuringASessionIsHiddenAndAsksForADecisionOnce)
{
    ASSERT_EQ(runScript(R"({"steps": [
        {"at": 0, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 600},
        {"at": 5, "do": "launch", "bundleID": "org.example.Calculator"},
        {"at": 8, "do": "launch", "bundleID": "org.example.Calculator", "comment": "before the prompt is answered"},
        {"at": 12, "do": "terminate"}]})"),
              ScriptedRun::succeeded)
        << run_->error().toStdString();

    std::vector<double> hiddenAt;
    std::vector<QJsonValue> prompts;
    double promptAt = -1;
    for (const QJsonValue& value : report_.value("timeline").toArray()) {
        const QJsonObject entry = value.toObject();
        if (entry.value("event") == "applicationHidden" && entry.value("bundleID") == "org.example.Calculator")
            hiddenAt.push_back(entry.value("at").toDouble());
        if (entry.value("event") == "pendingAppLaunchPrompt") {
            prompts.push_back(entry.value("value"));
            if (prompts.size() == 1)
                promptAt = entry.value("at").toDouble();
        }
    }
    ASSERT_EQ(hiddenAt.size(), 2u) << "after each launch";
    EXPECT_GE(hiddenAt[0], 5.0);
    EXPECT_GE(hiddenAt[1], 8.0);
    EXPECT_EQ(prompts, (std::vector<QJsonValue>{"org.example.Calculator", QJsonValue()}))
        << "one prompt, open until the session ends";
    EXPECT_GE(promptAt, 5.0);
    EXPECT_LT(promptAt, 6.0);
    EXPECT_TRUE(isRunning("org.example.Calculator"));
    for (const QJsonValue& app : report_.value("runningApplications").toArray()) {
        const QJsonObject object = app.toObject();
        if (object.value("bundleID") == "org.example.TextEditor") {
            EXPECT_EQ(object.value("hidden"), false) << "the allowed application is never hidden";
        }
        if (object.value("bundleID") == "org.example.Terminal") {
            EXPECT_EQ(object.value("hidden"), true) << "running before the session, hidden at its start";
        }
        if (object.value("bundleID") == "org.example.Calculator") {
            EXPECT_EQ(object.value("hidden"), true);
        }
    }

    QFile log(report_.value("logFile").toString());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString rows = QString::fromUtf8(log.readAll());
    EXPECT_EQ(rows.count("App needs Vesk decision — bundleID=org.example.Calculator, event=launch"), 1);
    EXPECT_TRUE(rows.contains("Presenting app-launch prompt — bundleID=org.example.Calculator, name=Calculator"));
}

TEST_F(ScriptedRunTest, CommandShiftEscapeEndsANormalSessionAsAnEmergencyExitButNotAHardcoreOne)
{
    ASSERT_EQ(runScript(R"({"steps": [
        {"at": 0, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 600},
        {"at": 10, "do": "key", "chord": "cmd+shift+escape"},
        {"at": 20, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 600, "hardcore": true},
        {"at": 30, "do": "key", "chord": "cmd+shift+escape"},
        {"at": 40, "do": "terminate"}]})"),
              ScriptedRun::succeeded);
    ASSERT_EQ(sessions().size(), 2);
    EXPECT_EQ(firstSession().value("endReason"), "emergencyExit");
    EXPECT_EQ(QDateTime::fromString(firstSession().value("endedAt").toString(), Qt::ISODateWithMs)
                  .msecsTo(QDateTime::fromString(firstSession().value("startedAt").toString(), Qt::ISODateWithMs)),
              -10000);
    EXPECT_EQ(stepEntries("key").at(0).value("swallowed"), true);
    EXPECT_EQ(sessions().at(1).toObject().value("endReason"), "appTerminate");
}

TEST_F(ScriptedRunTest, ControlsAreClickedByTheirTextAndTypingGoesToTheFocusedField)
{
    ASSERT_EQ(runScript(R"({"steps": [
        {"at": 1.0, "do": "clickText", "text": "Apps hinzufuegen"},
        {"at": 1.5, "do": "type", "text": "Text"},
        {"at": 2.0, "do": "clickText", "text": "ENTER VESK"},
        {"at": 2.5, "do": "clickText", "text": "Nirgends zu sehen"}]})"),
              ScriptedRun::succeeded)
        << run_->error().toStdString();

    const QJsonObject search = stepEntry("clickText");
    EXPECT_EQ(search.value("control"), "QLineEdit") << "found by its placeholder";
    EXPECT_EQ(search.value("delivered"), true);
    const QJsonObject typing = stepEntry("type");
    EXPECT_EQ(typing.value("field"), "QLineEdit");
    EXPECT_EQ(typing.value("typed"), 4);
    EXPECT_FALSE(typing.contains("error"));

    const std::vector<QJsonObject> clicks = stepEntries("clickText");
    ASSERT_EQ(clicks.size(), 3u);
    EXPECT_EQ(clicks[1].value("control"), "vesk::StartControl");
    EXPECT_EQ(clicks[1].value("enabled"), false) << "nothing is selected yet";
    EXPECT_EQ(errors(), QStringList{"steps[3] (clickText): no visible control of Vesk shows \"Nirgends zu sehen\""});
    EXPECT_TRUE(sessions().isEmpty());
}

// A click at a point is a person's click there: one the desktop sends to
// Vesk's window works the control under it, as a click by its text does.
TEST_F(ScriptedRunTest, AClickAtASwitchsPositionTurnsTheSwitchAsAClickOnItsTextDoes)
{
    const char* opening = R"({"steps": [
        {"at": 0, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 600, "goal": "Plan"},
        {"at": 3, "do": "clickText", "text": "Einstellungen"},
        %1,
        {"at": 6, "do": "terminate"}]})";
    ASSERT_EQ(runScript(QString::fromUtf8(opening)
                            .arg(R"json({"at": 4, "do": "clickText", "text": "Apps-Leiste (Reinholen)"})json")
                            .toUtf8()),
              ScriptedRun::succeeded);
    ASSERT_TRUE(errors().isEmpty()) << errors().join("\n").toStdString();
    const QJsonObject byText = stepEntries("clickText").back();
    ASSERT_EQ(byText.value("control"), "vesk::ToggleSwitch");
    const QJsonValue switchedByText = screenFunctionOverrides();
    ASSERT_FALSE(switchedByText.toArray().isEmpty());

    ASSERT_EQ(runScript(QString::fromUtf8(opening)
                            .arg(QStringLiteral(R"({"at": 4, "do": "click", "x": %1, "y": %2})")
                                     .arg(byText.value("x").toDouble())
                                     .arg(byText.value("y").toDouble()))
                            .toUtf8()),
              ScriptedRun::succeeded);
    EXPECT_TRUE(errors().isEmpty()) << errors().join("\n").toStdString();
    const QJsonObject click = stepEntry("click");
    EXPECT_EQ(click.value("delivered"), true);
    EXPECT_EQ(click.value("swallowed"), false);
    EXPECT_EQ(click.value("control"), "vesk::ToggleSwitch");
    EXPECT_EQ(screenFunctionOverrides(), switchedByText);
}

TEST_F(ScriptedRunTest, ASessionStartedByHandRunsWithThePickedAppTheTypedGoalAndFifteenMinutes)
{
    QFile script(QStringLiteral(VESK_SOURCE_DIR "/scripts/demo/start-by-hand.json"));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    ASSERT_EQ(runScript(script.readAll()), ScriptedRun::succeeded) << run_->error().toStdString();

    EXPECT_TRUE(errors().isEmpty()) << errors().join("\n").toStdString();
    ASSERT_EQ(sessions().size(), 1);
    const QJsonObject session = firstSession();
    EXPECT_EQ(session.value("allowedAppBundleIDs").toArray(), QJsonArray{kEditor});
    EXPECT_EQ(session.value("goalText"), "Kapitel drei");
    EXPECT_EQ(session.value("durationSeconds"), 900);
}

// The whole road of a session through the interface, once per language (the
// scripts name the controls by the texts that language shows): two
// applications picked in the search, a goal and 15 minutes in the popover,
// "ENTER VESK", a click outside the holes swallowed, the control bar's exit
// with its confirmation, the reflection answered and saved, the history.
class ScriptedRoadTest : public ScriptedRunTest, public ::testing::WithParamInterface<const char*> { };

TEST_P(ScriptedRoadTest, TheWholeRoadRunsThroughTheInterfaceInTheScriptsLanguage)
{
    static const std::map<QString, QString> goals{{"de", "Kapitel drei überarbeiten"},
                                                  {"en", "Revise chapter three"},
                                                  {"it", "Rivedere il capitolo tre"},
                                                  {"fr", "Réviser le chapitre trois"},
                                                  {"es", "Revisar el capítulo tres"}};
    const QString code = QString::fromLatin1(GetParam());
    QFile script(QStringLiteral(VESK_SOURCE_DIR "/scripts/demo/road-%1.json").arg(code));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    ASSERT_EQ(runScript(script.readAll()), ScriptedRun::succeeded) << run_->error().toStdString();

    EXPECT_TRUE(errors().isEmpty()) << errors().join("\n").toStdString();
    EXPECT_EQ(report_.value("settings").toObject().value("language"), code);
    EXPECT_EQ(report_.value("settings").toObject().value("analyticsNoticeShown"), true);
    ASSERT_EQ(sessions().size(), 1);
    const QJsonObject session = firstSession();
    EXPECT_EQ(session.value("allowedAppBundleIDs").toArray(), (QJsonArray{"org.example.Chat", kEditor}));
    EXPECT_EQ(session.value("goalText"), goals.at(code));
    EXPECT_EQ(session.value("durationSeconds"), 900);
    EXPECT_EQ(session.value("endReason"), "manualStop");
    EXPECT_EQ(session.value("goalStatus"), "done");
    EXPECT_EQ(session.value("veskHelpful"), "yes");
    EXPECT_EQ(stepEntry("click").value("swallowed"), true);
    for (const char* stop : {"00-notice", "01-setup", "03-picked", "05-session", "06-click-outside",
                             "07-exit-confirmation", "08-reflection", "09-reflection-answered", "10-history"})
        EXPECT_FALSE(report_.value("screenshots").toObject().value(stop).toArray().isEmpty()) << stop;
}

INSTANTIATE_TEST_SUITE_P(Languages, ScriptedRoadTest, ::testing::Values("de", "en", "it", "fr", "es"),
                         [](const ::testing::TestParamInfo<const char*>& testCase) {
                             return std::string(testCase.param);
                         });

TEST_F(ScriptedRunTest, ABadScriptIsAnErrorNamingTheStepAndWritesNoReport)
{
    EXPECT_EQ(runScript(R"({"steps": [{"at": 0, "do": "click", "x": 1}]})"), ScriptedRun::invalidInput);
    EXPECT_EQ(run_->error(), "script: steps[0] (click): missing \"y\"");
    EXPECT_FALSE(QFileInfo::exists(reportPath()));
}

TEST_F(ScriptedRunTest, ASessionWithAnUnknownOrMalformedApplicationIsAScriptError)
{
    const std::vector<std::pair<QByteArray, QString>> cases{
        {R"({"steps": [{"at": 0, "do": "startSession", "apps": ["\ud83d\ude42"], "durationSeconds": 60}]})",
         "script: steps[0] (startSession): \"apps\"[0] \"\U0001F642\" is not installed on the desktop"},
        {R"({"steps": [{"at": 0, "do": "startSession", "apps": ["org.example.TextEditor", "\ud83d\ude42\u0000x"],
             "durationSeconds": 60}]})",
         "script: steps[0] (startSession): \"apps\"[1] \"\U0001F642\\u0000x\" is malformed: it holds the control "
         "character U+0000"},
    };
    for (const auto& [script, error] : cases) {
        EXPECT_EQ(runScript(script), ScriptedRun::invalidInput);
        EXPECT_EQ(run_->error(), error);
        EXPECT_FALSE(QFileInfo::exists(reportPath()));
    }
}

TEST_F(ScriptedRunTest, AReportThatCannotBeWrittenFailsTheRun)
{
    QFile blocker(directory_.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QFile script(directory_.filePath("script.json"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(R"({"steps": [{"at": 1, "do": "advance"}]})");
    script.close();
    ScriptedRun run({{}, script.fileName(), blocker.fileName() + "/report.json", directory_.filePath("run")});
    EXPECT_EQ(run.run(), ScriptedRun::failed);
    EXPECT_TRUE(run.error().startsWith("cannot create the folder")) << run.error().toStdString();
}

TEST_F(ScriptedRunTest, ABadScenarioIsAnError)
{
    QFile scenario(directory_.filePath("desktop.json"));
    ASSERT_TRUE(scenario.open(QIODevice::WriteOnly));
    scenario.write(R"({"displays": "none"})");
    scenario.close();
    EXPECT_EQ(runScript(R"({"steps": []})", scenario.fileName()), ScriptedRun::invalidInput);
    EXPECT_TRUE(run_->error().startsWith("desktop scenario: ")) << run_->error().toStdString();
    EXPECT_FALSE(QFileInfo::exists(reportPath()));
}

} // namespace

namespace {

void writeFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(contents);
}

QByteArray fileContents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray kShortScript = R"({"steps": [{"at": 1, "do": "advance"}]})";

TEST_F(ScriptedRunTest, TheRunFolderIsMarkedAndAnEarlierRunsFilesAreRemoved)
{
    ASSERT_EQ(runScript(kShortScript), ScriptedRun::succeeded) << run_->error().toStdString();
    EXPECT_TRUE(QFileInfo(runDirectory() + "/.vesk-run").isFile());
    ASSERT_TRUE(QFileInfo::exists(runDirectory() + "/VeskData.store"));
    ASSERT_TRUE(QDir().mkpath(runDirectory() + "/screenshots"));
    writeFile(runDirectory() + "/screenshots/old.png", "old");

    ASSERT_EQ(runScript(kShortScript), ScriptedRun::succeeded) << run_->error().toStdString();
    EXPECT_FALSE(QFileInfo::exists(runDirectory() + "/screenshots/old.png"));
}

// The settings are written in memory during the run (the tests' log files go
// to a folder of their own).
TEST_F(ScriptedRunTest, TheSettingsEndAsAPlainFolderInTheRunFolder)
{
    ASSERT_EQ(runScript(kShortScript), ScriptedRun::succeeded) << run_->error().toStdString();
    EXPECT_FALSE(QFileInfo(runDirectory() + "/defaults").isSymLink());
    EXPECT_TRUE(QFileInfo(runDirectory() + "/defaults").isDir());
    EXPECT_TRUE(QFileInfo(runDirectory() + "/defaults/de.pelko.vesk.json").isFile());
}

TEST_F(ScriptedRunTest, AFolderTheRunDidNotMakeIsRefusedAndLeftAlone)
{
    // The user's own data folder, say: a store and settings, no marker.
    const QString data = directory_.filePath("data");
    ASSERT_TRUE(QDir().mkpath(data + "/defaults"));
    writeFile(data + "/VeskData.store", "the user's sessions");
    writeFile(data + "/defaults/de.pelko.vesk.json", "{}");
    const QString emptyFolder = directory_.filePath("empty");
    ASSERT_TRUE(QDir().mkpath(emptyFolder));
    const QString link = directory_.filePath("link");
    ASSERT_TRUE(QFile::link(data, link));

    // The application's own data and settings folders, also before they exist.
    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString appConfig = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const bool appDataExisted = QFileInfo::exists(appData);
    for (const QString& folder : {data, emptyFolder, link, appData, appConfig}) {
        QFile script(directory_.filePath("script.json"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(kShortScript);
        script.close();
        ScriptedRun run({{}, script.fileName(), reportPath(), folder});
        EXPECT_EQ(run.run(), ScriptedRun::failed) << folder.toStdString();
        EXPECT_TRUE(run.error().startsWith("the run folder " + folder)) << run.error().toStdString();
    }
    EXPECT_EQ(QFileInfo::exists(appData), appDataExisted);
    EXPECT_FALSE(QFileInfo::exists(appData + "/.vesk-run"));
    EXPECT_EQ(fileContents(data + "/VeskData.store"), "the user's sessions");
    EXPECT_TRUE(QFileInfo::exists(data + "/defaults/de.pelko.vesk.json"));
    EXPECT_EQ(QDir(data).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name),
              (QStringList{"VeskData.store", "defaults"}));
    EXPECT_TRUE(QDir(emptyFolder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    EXPECT_FALSE(QFileInfo::exists(reportPath()));
}

TEST_F(ScriptedRunTest, LinksPlantedInTheRunFolderAreRemovedNotFollowed)
{
    ASSERT_EQ(runScript(kShortScript), ScriptedRun::succeeded);
    // Another folder whose contents a link in the run folder points at.
    const QString other = directory_.filePath("other");
    ASSERT_TRUE(QDir().mkpath(other));
    writeFile(other + "/precious.txt", "keep me");
    writeFile(other + "/VeskData.store", "another store");
    // Every folder a run writes to, and one it does not know.
    const QStringList folders{"desktop", "Desktop", "caches", "defaults", "screenshots", "logs", "unknown"};
    for (const QString& name : folders) {
        const QString entry = runDirectory() + "/" + name;
        ASSERT_TRUE(QDir(entry).removeRecursively());
        ASSERT_TRUE(QFile::link(other, entry));
    }
    ASSERT_TRUE(QFile::remove(runDirectory() + "/VeskData.store"));
    ASSERT_TRUE(QFile::link(other + "/VeskData.store", runDirectory() + "/VeskData.store"));

    ASSERT_EQ(runScript(kShortScript), ScriptedRun::succeeded) << run_->error().toStdString();
    EXPECT_EQ(fileContents(other + "/precious.txt"), "keep me");
    EXPECT_EQ(fileContents(other + "/VeskData.store"), "another store");
    for (const QString& name : folders + QStringList{"VeskData.store"})
        EXPECT_FALSE(QFileInfo(runDirectory() + "/" + name).isSymLink()) << name.toStdString();
}

// An earlier run's signals that could not be sent wait in its analytics
// cache; a fresh run must neither send them nor keep them.
TEST_F(ScriptedRunTest, AnEarlierRunsAnalyticsCacheAndFilesDoNotCarryOver)
{
    ASSERT_EQ(runScript(kShortScript), ScriptedRun::succeeded) << run_->error().toStdString();
    telemetry::SignalPostBody earlier;
    earlier.receivedAt = QDateTime::currentDateTimeUtc();
    earlier.appID = "app";
    earlier.clientUser = "user";
    earlier.sessionID = "SESSION";
    earlier.type = "EarlierRun.leftBehind";
    earlier.isTestMode = "false";
    const auto cache =
        telemetry::SignalPostBody::encodeArray({earlier},
                                               telemetry::SignalPostBody::DateForm::secondsSinceReferenceDate);
    ASSERT_TRUE(cache.has_value());
    ASSERT_TRUE(QDir().mkpath(runDirectory() + "/caches"));
    writeFile(runDirectory() + "/caches/telemetrysignalcache", *cache);
    writeFile(runDirectory() + "/notes.txt", "an earlier run's file");

    test::LocalHttpServer server;
    const QByteArray savedBaseURL = qgetenv(TelemetryAnalyticsService::baseURLVariable);
    qputenv(TelemetryAnalyticsService::baseURLVariable, server.url("/").toString().toUtf8());
    const int status = runScript(R"({"steps": [{"at": 60, "do": "terminate"}]})");
    qputenv(TelemetryAnalyticsService::baseURLVariable, savedBaseURL);
    ASSERT_EQ(status, ScriptedRun::succeeded) << run_->error().toStdString();

    QStringList received;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            received.clear();
            for (const test::LocalHttpServer::Request& request : server.requests())
                for (const QJsonValue& body : QJsonDocument::fromJson(request.body).array())
                    received.append(body["type"].toString());
            return received.contains("app.launched") || received.contains(earlier.type);
        },
        5000));
    EXPECT_FALSE(received.contains(earlier.type)) << received.join(", ").toStdString();
    EXPECT_FALSE(QFileInfo::exists(runDirectory() + "/notes.txt"));
    EXPECT_TRUE(QFileInfo(runDirectory() + "/.vesk-run").isFile());
}

TEST_F(ScriptedRunTest, TheRunsInputsInItsFolderAreKept)
{
    ASSERT_EQ(runScript(kShortScript), ScriptedRun::succeeded) << run_->error().toStdString();
    ASSERT_TRUE(QDir().mkpath(runDirectory() + "/inputs"));
    writeFile(runDirectory() + "/inputs/script.json", kShortScript);
    writeFile(runDirectory() + "/inputs/other.json", "{}");
    run_.reset();
    // The script named through a link to the run folder is the same file.
    const QString alias = directory_.filePath("alias");
    ASSERT_TRUE(QFile::link(runDirectory(), alias));

    ScriptedRun run({{}, alias + "/inputs/script.json", reportPath(), runDirectory()});
    ASSERT_EQ(run.run(), ScriptedRun::succeeded) << run.error().toStdString();
    EXPECT_EQ(fileContents(runDirectory() + "/inputs/script.json"), kShortScript);
    EXPECT_FALSE(QFileInfo::exists(runDirectory() + "/inputs/other.json"));
}

// Makes the file undeletable for the test's user: a read-only folder holds it
// for others, the immutable flag for root. False when neither is possible here.
bool holdInPlace(const QString& folder, const QString& file, bool hold)
{
    if (::geteuid() != 0)
        return QFile::setPermissions(folder, hold ? QFile::ReadOwner | QFile::ExeOwner
                                                  : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const int fd = ::open(file.toLocal8Bit().constData(), O_RDONLY);
    int flags = 0;
    bool changed = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = hold ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    changed = changed && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0)
        ::close(fd);
    return changed;
}

TEST_F(ScriptedRunTest, WhatCannotBeRemovedFailsTheRunInsteadOfBeingReused)
{
    ASSERT_EQ(runScript(kShortScript), ScriptedRun::succeeded);
    const QString folder = runDirectory() + "/desktop";
    const QString stuck = folder + "/stuck";
    writeFile(stuck, "x");
    if (!holdInPlace(folder, stuck, true))
        GTEST_SKIP() << "files cannot be made undeletable here";

    const int status = runScript(kShortScript);
    holdInPlace(folder, stuck, false);
    EXPECT_EQ(status, ScriptedRun::failed);
    EXPECT_TRUE(run_->error().startsWith("cannot remove " + folder + " from the run folder: "))
        << run_->error().toStdString();
}

TEST_F(ScriptedRunTest, TheSessionsAreWhatTheStoreHoldsAndAFullDiskFailsTheRun)
{
    // The disk fills up once the session's record is written: the setup
    // screen's stored selection is saved first.
    int saves = 0;
    const int status = runScript(R"({"steps": [
        {"at": 0, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 60},
        {"at": 70, "do": "terminate"}]})",
                                 {}, [&](StoreOperation operation) -> std::optional<StoreError> {
                                     if (operation == StoreOperation::save && ++saves > 2)
                                         return StoreError{"database or disk is full"};
                                     return std::nullopt;
                                 });

    EXPECT_EQ(status, ScriptedRun::failed);
    EXPECT_TRUE(run_->error().contains("the report lists them under \"errors\"")) << run_->error().toStdString();
    ASSERT_EQ(sessions().size(), 1);
    EXPECT_EQ(firstSession().value("isActive"), true) << "the store never learned of the end";
    EXPECT_EQ(firstSession().value("endReason"), QJsonValue());
    EXPECT_TRUE(errors().contains("the session store could not save: database or disk is full"))
        << errors().join("\n").toStdString();
    EXPECT_TRUE(run_->summary().contains("still active"));
}

TEST_F(ScriptedRunTest, AScreenshotThatIsNotWrittenWholeIsAnErrorNotASavedImage)
{
    setFileWriteFaultInjector([](const QString& path) -> std::optional<QString> {
        if (path.endsWith("-display1.png"))
            return QStringLiteral("No space left on device");
        return std::nullopt;
    });
    const int status = runScript(R"({"steps": [{"at": 1, "do": "screenshot", "name": "full"}]})");

    EXPECT_EQ(status, ScriptedRun::failed);
    EXPECT_FALSE(report_.value("screenshots").toObject().contains("full"));
    const QString path = runDirectory() + "/screenshots/full-display1.png";
    EXPECT_TRUE(
        errors().contains(QStringLiteral("steps[0] (screenshot): cannot write %1: No space left on device").arg(path)))
        << errors().join("\n").toStdString();
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(ScriptedRunTest, ASettingsWriteThatFailsIsAnError)
{
    setFileWriteFaultInjector([](const QString& path) -> std::optional<QString> {
        if (path.endsWith("/de.pelko.vesk.json"))
            return QStringLiteral("No space left on device");
        return std::nullopt;
    });
    EXPECT_EQ(runScript(kShortScript), ScriptedRun::failed);
    ASSERT_FALSE(errors().isEmpty());
    EXPECT_TRUE(errors().at(0).startsWith("the settings could not be saved: " + runDirectory()
                                          + "/defaults/de.pelko.vesk.json"))
        << errors().join("\n").toStdString();
}

TEST_F(ScriptedRunTest, AScenarioThatCannotBeBuiltIsBadInput)
{
    const QString scenario = directory_.filePath("desktop.json");
    writeFile(scenario, R"({"displays": [{"bounds": [0, 0, 1440, 900]}], "systemApplications": false,
                            "frontmost": "com.apple.finder"})");
    EXPECT_EQ(runScript(kShortScript, scenario), ScriptedRun::invalidInput);
    EXPECT_TRUE(run_->error().startsWith("desktop scenario: frontmost: ")) << run_->error().toStdString();
}

} // namespace

TEST_F(ScriptedRunTest, ASessionSwitchesItsLayoutFromTheTopBarAndEndsThroughTheControlBarsExit)
{
    ASSERT_EQ(runScript(R"({"steps": [
        {"at": 0, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 600, "goal": "Plan"},
        {"at": 3, "do": "clickText", "text": "Split"},
        {"at": 4, "do": "screenshot", "name": "bars"},
        {"at": 5, "do": "clickText", "text": "Verlassen"},
        {"at": 6, "do": "clickText", "text": "Offen lassen"},
        {"at": 8, "do": "terminate"}]})"),
              ScriptedRun::succeeded)
        << run_->error().toStdString();
    EXPECT_TRUE(errors().isEmpty()) << errors().join("\n").toStdString();
    const std::vector<QJsonObject> clicks = stepEntries("clickText");
    ASSERT_EQ(clicks.size(), 3u);
    for (const QJsonObject& click : clicks) {
        EXPECT_EQ(click.value("delivered"), true) << click.value("text").toString().toStdString();
        EXPECT_EQ(click.value("swallowed"), false);
    }
    EXPECT_EQ(clicks[0].value("isSessionActive"), true);
    EXPECT_EQ(clicks[2].value("isSessionActive"), false);

    bool splitLogged = false;
    for (const QJsonValue& value : report_.value("timeline").toArray()) {
        const QString message = value.toObject().value("message").toString();
        splitLogged = splitLogged || (message.contains("phase changed") && message.contains("to=split"));
    }
    EXPECT_TRUE(splitLogged);
    ASSERT_EQ(sessions().size(), 1);
    EXPECT_EQ(firstSession().value("endReason"), "manualStop");
    EXPECT_TRUE(isRunning(kEditor)) << "left open";
}
