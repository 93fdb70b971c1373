#include "analytics/client/TelemetryManager.h"
#include "RunningClientScene.h"
#include "analytics/client/DurationSignalTracker.h"
#include "analytics/client/SignalManager.h"
#include "analytics/client/Telemetry.h"
#include "analytics/client/TelemetryManagerConfiguration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace vesk::telemetry;

namespace {

using TelemetryManagerTest = vesk::telemetry::testing::RunningClientScene;

TEST_F(TelemetryManagerTest, StartsItsSessionHalfASecondAfterStartAndPostsTheSignalsInOrder)
{
    start();
    Telemetry::signal("app.launched", {{"accessibilityGranted", "true"}});
    scheduler.advance(0.4);
    EXPECT_EQ(cachedTypes(), QStringList{"app.launched"});
    scheduler.advance(0.1);
    EXPECT_EQ(cachedTypes(),
              (QStringList{"app.launched", "Telemetry.Acquisition.newInstallDetected", "Telemetry.Session.started"}));

    scheduler.advance(configuration->transmitInterval);
    ASSERT_TRUE(server.waitForRequests(1));
    const QJsonArray batch = QJsonDocument::fromJson(server.requests().front().body).array();
    QStringList posted;
    for (const QJsonValue& body : batch)
        posted << body["type"].toString();
    EXPECT_EQ(posted,
              (QStringList{"app.launched", "Telemetry.Acquisition.newInstallDetected", "Telemetry.Session.started"}));
    EXPECT_EQ(batch[0]["payload"]["accessibilityGranted"].toString(), "true");
    // The session started 0.5 s later is the one every later signal carries.
    EXPECT_EQ(batch[1]["sessionID"], batch[2]["sessionID"]);
}

TEST_F(TelemetryManagerTest, EntryPointsWithoutARunningManagerDoNothingAndLeaveTheCacheFileAlone)
{
    QFile cacheFile(cacheFilePath());
    ASSERT_TRUE(QDir().mkpath(QFileInfo(cacheFile).path()));
    ASSERT_TRUE(cacheFile.open(QIODevice::WriteOnly));
    cacheFile.write("[]");
    cacheFile.close();

    Telemetry::signal("app.launched");
    Telemetry::generateNewSession();
    Telemetry::requestImmediateSync();
    Telemetry::updateDefaultUserID(QString("someone"));
    Telemetry::startDurationSignal("A");
    Telemetry::stopAndSendDurationSignal("A");
    scheduler.advance(60);

    EXPECT_FALSE(Telemetry::isInitialized());
    EXPECT_TRUE(QFile::exists(cacheFilePath()));
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(TelemetryManagerTest, AReplacedManagerHandsItsCacheToTheNextOne)
{
    start();
    Telemetry::signal("before.restart");
    scheduler.advance(0);
    Telemetry::initialize(configuration, host());
    ASSERT_TRUE(server.waitForRequests(1));
    const QJsonArray batch = QJsonDocument::fromJson(server.requests().front().body).array();
    EXPECT_EQ(batch[0]["type"].toString(), "before.restart");
}

struct ReservedCase {
    QString signalName;
    SignalParameters parameters;
    QStringList warnings;
};

class ReservedNameWarnings : public TelemetryManagerTest, public ::testing::WithParamInterface<ReservedCase> { };

TEST_P(ReservedNameWarnings, AreLoggedAndTheSignalStillGoesOut)
{
    start();
    Telemetry::signal(GetParam().signalName, GetParam().parameters);
    EXPECT_EQ(logLines, GetParam().warnings);
    ASSERT_EQ(cached().size(), 1u);
    EXPECT_EQ(cached().front().type, GetParam().signalName);
}

const QString prefixWarning = "[ERROR] Sending signal with reserved prefix 'Telemetry.' will cause unexpected "
                              "behavior. Please use another prefix instead.";
const QString keyPrefixWarning = "[ERROR] Sending parameter with reserved key prefix 'Telemetry.' will cause "
                                 "unexpected behavior. Please use another prefix instead.";

INSTANTIATE_TEST_SUITE_P(
    Names, ReservedNameWarnings,
    ::testing::Values(
        ReservedCase{"Telemetry.Foo", {}, {prefixWarning}}, ReservedCase{"telemetry.foo", {}, {prefixWarning}},
        ReservedCase{"AppVersion",
                     {},
                     {"[ERROR] Sending signal with reserved name 'AppVersion' will cause unexpected behavior. "
                      "Please use another name instead."}},
        ReservedCase{"screen.shown",
                     {{"Locale", "x"}, {"TELEMETRY.x", "y"}},
                     {"[ERROR] Sending parameter with reserved key 'Locale' will cause unexpected behavior. "
                      "Please use another key instead.",
                      keyPrefixWarning}},
        ReservedCase{"screen.shown", {{"screen", "home"}}, {}}));

TEST_F(TelemetryManagerTest, PrefixesNamesAndKeysButKeepsTheServicesOwnKeys)
{
    configuration->defaultSignalPrefix = "Vesk.";
    configuration->defaultParameterPrefix = "vesk.";
    configuration->defaultParameters = [] { return SignalParameters{{"plan", "free"}, {"screen", "default"}}; };
    start();
    Telemetry::signal("screen.shown", {{"screen", "home"}, {"Telemetry.Calendar.hourOfDay", "99"}});

    ASSERT_EQ(cached().size(), 1u);
    const SignalPostBody body = cached().front();
    EXPECT_EQ(body.type, "Vesk.screen.shown");
    EXPECT_EQ(body.payload.at("vesk.screen"), "home");
    EXPECT_EQ(body.payload.at("vesk.plan"), "free");
    EXPECT_EQ(body.payload.at("Telemetry.Calendar.hourOfDay"), "99");
    EXPECT_EQ(body.payload.count("screen"), 0u);
    EXPECT_EQ(logLines, QStringList{keyPrefixWarning});
}

TEST_F(TelemetryManagerTest, WarningsCanBeSwitchedOff)
{
    configuration->reservedParameterWarningsEnabled = false;
    start();
    Telemetry::signal("Telemetry.Foo", {{"appID", "x"}});
    EXPECT_TRUE(logLines.isEmpty());
    EXPECT_EQ(cached().size(), 1u);
}

TEST_F(TelemetryManagerTest, SendsNothingWhileAnalyticsIsDisabledOrInPreview)
{
    for (const bool preview : {false, true}) {
        configuration = std::make_shared<TelemetryManagerConfiguration>(appID, QString(), server.url("/"));
        (preview ? configuration->setSwiftUIPreviewMode(true) : void(configuration->analyticsDisabled = true));
        start();
        Telemetry::signal("app.launched");
        scheduler.advance(1);
        EXPECT_TRUE(cached().empty()) << "preview " << preview;
    }
}

TEST_F(TelemetryManagerTest, AReturnAfterMoreThanFiveMinutesBeginsANewSession)
{
    configuration->sessionStatsEnabled = false;
    TelemetryManager& manager = start();
    scheduler.advance(0.5);
    for (const auto& [away, newSession] : {std::pair{300.0, false}, std::pair{301.0, true}}) {
        const QUuid before = configuration->sessionID();
        manager.didEnterBackground();
        scheduler.advance(away);
        manager.willEnterForeground();
        EXPECT_EQ(configuration->sessionID() != before, newSession) << away << " s away";
    }
}

TEST_F(TelemetryManagerTest, ImmediateSyncsCloserThanTheTransmitIntervalSendOnce)
{
    start();
    scheduler.advance(0.5);
    Telemetry::signal("first");
    scheduler.advance(0);
    Telemetry::requestImmediateSync();
    scheduler.advance(0.05);
    ASSERT_TRUE(server.waitForRequests(1));

    Telemetry::signal("second");
    scheduler.advance(5);
    Telemetry::requestImmediateSync();
    scheduler.advance(0.05);
    EXPECT_FALSE(server.waitForRequests(2, 300));
    EXPECT_EQ(cachedTypes(), QStringList{"second"});
}

TEST_F(TelemetryManagerTest, NewSessionSendsTheSessionStartedSignalAgain)
{
    start();
    scheduler.advance(0.5);
    cached();
    const QUuid first = configuration->sessionID();
    Telemetry::generateNewSession();
    EXPECT_NE(configuration->sessionID(), first);
    EXPECT_EQ(cachedTypes().count("Telemetry.Session.started"), 2);
}

// Duration signals: elapsed seconds leave out inactive time.
class DurationSignals : public TelemetryManagerTest {
protected:
    void SetUp() override
    {
        TelemetryManagerTest::SetUp();
        startWithoutSessionSignals();
        setVeskActive(true);
    }

    // The duration parameter of the one cached signal of that name.
    SignalParameters sentParameters(const QString& name)
    {
        for (const SignalPostBody& body : cached())
            if (body.type == name)
                return body.payload;
        ADD_FAILURE() << "no signal " << name.toStdString();
        return {};
    }

    QString sentDuration(const QString& name) { return sentParameters(name)[Telemetry::durationParameterKey]; }
};

TEST_F(DurationSignals, LeaveOutInactiveTimeUnlessAsked)
{
    Telemetry::startDurationSignal("A", {{"from", "start"}});
    Telemetry::startDurationSignal("B", {}, true);
    scheduler.advance(4.25);
    setVeskActive(false);
    scheduler.advance(60);
    setVeskActive(true);
    scheduler.advance(5.75);
    Telemetry::stopAndSendDurationSignal("A", {{"extra", "stop"}});
    Telemetry::stopAndSendDurationSignal("B");

    EXPECT_EQ(sentDuration("A"), "10.0");
    EXPECT_EQ(sentParameters("A")["from"], "start");
    EXPECT_EQ(sentParameters("A")["extra"], "stop");
    EXPECT_EQ(sentDuration("B"), "70.0");
}

TEST_F(DurationSignals, AMeasurementStartedWhileInactiveCountsFromTheReturnNeverBelowZero)
{
    setVeskActive(false);
    scheduler.advance(30);
    Telemetry::startDurationSignal("A");
    scheduler.advance(20);
    setVeskActive(true);
    scheduler.advance(3.1417);
    Telemetry::stopAndSendDurationSignal("A");
    EXPECT_EQ(sentDuration("A"), "3.141");
}

TEST_F(DurationSignals, StopSendsOncePerStartAndCancelSendsNothing)
{
    Telemetry::stopAndSendDurationSignal("never");
    Telemetry::startDurationSignal("A", {{"try", "1"}});
    scheduler.advance(2);
    Telemetry::startDurationSignal("A", {{"try", "2"}});
    scheduler.advance(1.5);
    Telemetry::stopAndSendDurationSignal("A", {{Telemetry::durationParameterKey, "given"}});
    Telemetry::stopAndSendDurationSignal("A");
    Telemetry::startDurationSignal("C");
    Telemetry::cancelDurationSignal("C");
    Telemetry::stopAndSendDurationSignal("C");

    EXPECT_EQ(cachedTypes(), QStringList{"A"});
    EXPECT_EQ(sentParameters("A")["try"], "2");
    EXPECT_EQ(sentDuration("A"), "given");
}

TEST_F(DurationSignals, BecomingActiveWithoutHavingResignedChangesNothing)
{
    Telemetry::startDurationSignal("A");
    scheduler.advance(2);
    TelemetryManager::shared()->durationTracker().handleWillEnterForegroundNotification();
    scheduler.advance(1);
    Telemetry::stopAndSendDurationSignal("A");
    EXPECT_EQ(sentDuration("A"), "3.0");
}

} // namespace
