#include "analytics/client/SignalManager.h"
#include "ClientTestScene.h"
#include "LocalHttpServer.h"
#include "analytics/client/DefaultSignalPayload.h"
#include "analytics/client/SessionStatistics.h"
#include "analytics/client/SignalEnricher.h"
#include "analytics/client/TelemetryManagerConfiguration.h"
#include "core/TextFormat.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

using namespace vesk::telemetry;
using vesk::telemetry::testing::ClientTestScene;
using vesk::test::LocalHttpServer;

namespace {

class SignalTransport : public ClientTestScene {
protected:
    void SetUp() override
    {
        ClientTestScene::SetUp();
        configuration = std::make_shared<TelemetryManagerConfiguration>(appID, QString("pepper"), server.url("/"));
        configuration->logHandler = recordingHandler();
        statistics = std::make_unique<SessionStatistics>(environment(), SessionStatistics::InternalSignalSender());
        launchManager();
    }

    // The manager as a launch builds it: it loads the cache file and sends at once.
    void launchManager() { manager = std::make_unique<SignalManager>(configuration, environment(), *statistics); }

    void signal(const QString& type, const SignalParameters& parameters = {},
                std::optional<double> floatValue = std::nullopt, std::optional<QString> customUser = std::nullopt)
    {
        manager->processSignal(type, parameters, floatValue, customUser, *configuration);
    }

    QStringList cachedTypes() const
    {
        QStringList types;
        for (const SignalPostBody& body : manager->signalCache().cachedSignals())
            types << body.type;
        return types;
    }

    // Moves virtual time to the next attempt, which must come exactly after
    // `delay` seconds and take the whole cache, then waits for its answer.
    void expectAttemptAfter(double delay)
    {
        const int cached = manager->signalCache().storedCount();
        ASSERT_GT(cached, 0);
        const std::size_t requests = server.requests().size();
        const int completions = manager->sendCompletions();
        scheduler.advance(delay - 0.5);
        ASSERT_EQ(manager->signalCache().storedCount(), cached) << "an attempt came before " << delay << " s";
        scheduler.advance(0.5);
        ASSERT_EQ(manager->signalCache().storedCount(), 0) << "no attempt after " << delay << " s";
        ASSERT_TRUE(server.waitForRequests(requests + 1));
        ASSERT_TRUE(QTest::qWaitFor([&] { return manager->sendCompletions() > completions; }, 5000));
    }

    QJsonArray requestBody(std::size_t index) const
    {
        return QJsonDocument::fromJson(server.requests().at(index).body).array();
    }

    QStringList requestTypes(std::size_t index) const
    {
        QStringList types;
        for (const QJsonValue& body : requestBody(index))
            types << body["type"].toString();
        return types;
    }

    LocalHttpServer server;
    std::shared_ptr<TelemetryManagerConfiguration> configuration;
    std::unique_ptr<SessionStatistics> statistics;
    std::unique_ptr<SignalManager> manager;
};

TEST_F(SignalTransport, ABatchIsOneJsonArrayOfCompleteBodies)
{
    const QDateTime processedAt = scheduler.now();
    signal("session.started", {{"hardcore", "true"}, {"modelName", "caller wins"}});
    signal("reflection.answered", {}, 4.99);
    const std::vector<SignalPostBody> built = manager->signalCache().cachedSignals();
    expectAttemptAfter(10);

    const LocalHttpServer::Request& request = server.requests().at(0);
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/v2/");
    EXPECT_EQ(request.headers.value("content-type"), "application/json");
    EXPECT_EQ(SignalPostBody::decodeArray(request.body, SignalPostBody::DateForm::wire), built);

    const QJsonArray bodies = requestBody(0);
    ASSERT_EQ(bodies.size(), 2);
    const QString defaultUser = *suite->stringForKey("defaultUserIdentifier");
    const SignalParameters defaultPayload =
        DefaultSignalPayload::parameters(facts.facts, processedAt, statistics->payloadEntries());
    for (const QJsonValue& value : bodies) {
        const QJsonObject body = value.toObject();
        QStringList keys = body.keys();
        keys.removeAll("floatValue");
        EXPECT_EQ(keys,
                  (QStringList{"appID", "clientUser", "isTestMode", "payload", "receivedAt", "sessionID", "type"}));
        EXPECT_EQ(body["receivedAt"], "2026-01-05T09:00:00+0000");
        EXPECT_EQ(body["appID"], appID);
        EXPECT_EQ(body["sessionID"], configuration->sessionID().toString(QUuid::WithoutBraces).toUpper());
        EXPECT_TRUE(QRegularExpression("^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$")
                        .match(body["sessionID"].toString())
                        .hasMatch());
        EXPECT_EQ(body["clientUser"], userHash(defaultUser, "pepper"));
        EXPECT_EQ(body["isTestMode"], "false");
        const QJsonObject payload = body["payload"].toObject();
        for (const auto& [key, expected] : defaultPayload) {
            if (key != "modelName") {
                EXPECT_EQ(payload[key].toString(), expected) << key.toStdString();
            }
        }
    }
    EXPECT_EQ(bodies[0]["type"], "session.started");
    EXPECT_EQ(bodies[0]["payload"]["hardcore"], "true");
    EXPECT_EQ(bodies[0]["payload"]["modelName"], "caller wins");
    EXPECT_EQ(bodies[0]["payload"].toObject().size(), static_cast<qsizetype>(defaultPayload.size() + 1));
    EXPECT_FALSE(bodies[0].toObject().contains("floatValue"));
    EXPECT_EQ(bodies[1]["floatValue"], 4.99);
    EXPECT_EQ(bodies[1]["payload"]["modelName"], "Workstation1,1");
    EXPECT_EQ(bodies[1]["payload"]["Telemetry.Device.screenResolutionWidth"], "1920.0");
    EXPECT_EQ(bodies[1]["payload"]["Telemetry.Calendar.dayOfWeek"], "1");
    EXPECT_EQ(bodies[1]["payload"]["Telemetry.Retention.totalSessionsCount"], "0");

    EXPECT_EQ(manager->signalCache().storedCount(), 0);
    EXPECT_EQ(manager->consecutiveFailures(), 0);
    EXPECT_TRUE(logLines.contains("[INFO] Sending 2 signals leaving a cache of 0 signals"));
}

TEST_F(SignalTransport, AFailedBatchGoesBehindNewerSignalsAndTheWaitDoublesUntilASuccess)
{
    for (int i = 0; i < 7; ++i)
        server.enqueueStatus(500);
    signal("first");
    scheduler.advance(10);
    ASSERT_TRUE(server.waitForRequests(1));
    signal("newer"); // while the first batch is on its way
    ASSERT_TRUE(QTest::qWaitFor([&] { return manager->consecutiveFailures() == 1; }, 5000));
    EXPECT_EQ(cachedTypes(), (QStringList{"newer", "first"}));
    EXPECT_TRUE(logLines.contains("[DEBUG] Failed to send events (status 500), will try again later"));

    for (double delay : {20.0, 40.0, 80.0, 160.0, 300.0, 300.0}) {
        expectAttemptAfter(delay);
        EXPECT_EQ(cachedTypes(), (QStringList{"newer", "first"})) << delay;
    }
    EXPECT_EQ(requestTypes(6), (QStringList{"newer", "first"}));
    EXPECT_EQ(manager->consecutiveFailures(), 7);

    expectAttemptAfter(300); // answered 200
    EXPECT_EQ(manager->consecutiveFailures(), 0);
    signal("later");
    expectAttemptAfter(10);
    EXPECT_EQ(requestTypes(8), QStringList{"later"});
}

TEST_F(SignalTransport, TheStatusDecidesBetweenSentDroppedAndTriedAgain)
{
    struct Case {
        int status;
        bool keptForRetry;
        QString line;
    };
    const std::vector<Case> cases{
        {200, false, ""},
        {202, false, ""},
        {413, false, "[ERROR] Dropping 1 signal(s): rejected by server Payload Too Large (413)"},
        {400, false, "[ERROR] Dropping 1 signal(s): rejected by server Bad Request (400)"},
        {503, true, "[DEBUG] Failed to send events (status 503), will try again later"},
        {404, false, "[ERROR] Dropping 2 signal(s): rejected by server Not Found (404)"},
        {302, true, "[DEBUG] Failed to send events (status 302), will try again later"},
        {429, true, "[DEBUG] Failed to send events (status 429), will try again later"},
        {204, false, ""},
    };
    int failures = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        server.enqueueStatus(c.status);
        logLines.clear();
        signal(QStringLiteral("status.%1").arg(c.status));
        const int cachedBefore = manager->signalCache().storedCount();
        expectAttemptAfter(manager->transmitDelay(failures));
        failures = c.keptForRetry ? failures + 1 : 0;
        EXPECT_EQ(manager->consecutiveFailures(), failures);
        EXPECT_EQ(manager->signalCache().storedCount(), c.keptForRetry ? cachedBefore : 0);
        if (!c.line.isEmpty()) {
            EXPECT_TRUE(logLines.contains(c.line)) << logLines.join("\n").toStdString();
        }
    }
}

TEST_F(SignalTransport, A413DropsTheBatchAndTheNextAttemptWaitsTheBaseInterval)
{
    server.enqueueStatus(500);
    server.enqueueStatus(413);
    signal("too large");
    expectAttemptAfter(10);
    expectAttemptAfter(20);
    EXPECT_EQ(manager->signalCache().storedCount(), 0);
    EXPECT_TRUE(logLines.contains("[ERROR] Dropping 1 signal(s): rejected by server Payload Too Large (413)"));
    signal("next");
    expectAttemptAfter(10);
}

TEST_F(SignalTransport, ARequestWithoutAnswerTimesOutAfterSixtySecondsAndIsTriedAgain)
{
    server.enqueue({200, {}, LocalHttpServer::Response::Kind::hold});
    signal("slow");
    scheduler.advance(10);
    ASSERT_TRUE(server.waitForRequests(1));
    scheduler.advance(59.5);
    QCoreApplication::processEvents();
    EXPECT_EQ(manager->sendCompletions(), 1);
    scheduler.advance(0.5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return manager->sendCompletions() == 2; }, 5000));
    EXPECT_EQ(cachedTypes(), QStringList{"slow"});
    EXPECT_EQ(manager->consecutiveFailures(), 1);
    EXPECT_TRUE(logLines.contains("[ERROR] The request timed out."));
    expectAttemptAfter(20);
    EXPECT_EQ(manager->signalCache().storedCount(), 0);
}

TEST_F(SignalTransport, AServerThatCannotBeReachedIsATransportErrorTriedAgain)
{
    QUrl closedPort;
    {
        LocalHttpServer gone;
        closedPort = gone.url("/");
    }
    configuration = std::make_shared<TelemetryManagerConfiguration>(appID, std::nullopt, closedPort);
    configuration->logHandler = recordingHandler();
    launchManager();
    signal("lost");
    scheduler.advance(10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return manager->sendCompletions() == 2; }, 5000));
    EXPECT_EQ(cachedTypes(), QStringList{"lost"});
    EXPECT_EQ(manager->consecutiveFailures(), 1);
    EXPECT_EQ(logLines.last(), "[ERROR] Connection refused");
}

TEST_F(SignalTransport, ABatchThatCannotBeEncodedIsDroppedAndSendingGoesOn)
{
    // Only a body that did not come through processing can hold such a value.
    manager->signalCache().append({scheduler.now(), appID, "user", "ID", "broken", NAN, {}, "false"});
    signal("fine");
    scheduler.advance(10);
    EXPECT_EQ(manager->signalCache().storedCount(), 0);
    EXPECT_TRUE(logLines.contains(
        "[ERROR] Failed to encode signal batch: floatValue nan of signal \"broken\" cannot be written as JSON"));
    EXPECT_TRUE(server.requests().empty());

    signal("after");
    expectAttemptAfter(10);
    EXPECT_EQ(requestTypes(0), QStringList{"after"});
}

TEST_F(SignalTransport, ASignalWithAFloatValueJsonCannotCarryIsRefused)
{
    signal("not a number", {}, NAN);
    signal("infinite", {}, INFINITY);
    EXPECT_EQ(manager->signalCache().storedCount(), 0);
    EXPECT_TRUE(logLines.contains("[ERROR] Dropping signal 'not a number': its float value nan cannot be sent"));
}

TEST_F(SignalTransport, TheCacheIsSavedAtTerminationAndSentAtOnceByTheNextLaunch)
{
    signal("one");
    signal("two");
    desktop->requestOwnTermination();
    EXPECT_EQ(manager->signalCache().storedCount(), 0);
    EXPECT_TRUE(QFile::exists(cacheFilePath()));
    EXPECT_TRUE(logLines.contains("[DEBUG] appWillTerminate()"));

    manager.reset();
    launchManager();
    EXPECT_FALSE(QFile::exists(cacheFilePath()));
    ASSERT_TRUE(server.waitForRequests(1));
    EXPECT_EQ(requestTypes(0), (QStringList{"one", "two"}));
}

TEST_F(SignalTransport, ABatchStillUnderWayAtTerminationIsSavedWithTheCacheAndSentByTheNextLaunch)
{
    server.enqueue({200, {}, LocalHttpServer::Response::Kind::hold});
    signal("under way");
    scheduler.advance(10);
    ASSERT_TRUE(server.waitForRequests(1));
    signal("newer");
    desktop->requestOwnTermination();
    EXPECT_EQ(manager->signalCache().storedCount(), 0);
    ASSERT_TRUE(QFile::exists(cacheFilePath()));

    manager.reset();
    launchManager();
    ASSERT_TRUE(server.waitForRequests(2));
    EXPECT_EQ(requestTypes(1), (QStringList{"newer", "under way"}));
}

TEST_F(SignalTransport, AnAnswerLongerThanTheCapIsCutOffAndItsStatusStillDecides)
{
    constexpr qint64 streamed = 64 * SignalManager::kMaximumAnswerBytes;
    for (const auto& [status, announcesLength, cachedAfterwards] :
         {std::tuple{200, false, 0}, std::tuple{200, true, 0}, std::tuple{500, false, 1}}) {
        SCOPED_TRACE(::testing::Message() << "status " << status << ", length announced " << announcesLength);
        server.enqueue(LocalHttpServer::streamed(streamed, announcesLength, status));
        const int cutOff = server.streamsCutOff();
        const int completions = manager->sendCompletions();
        signal("talkative");
        scheduler.advance(manager->transmitDelay(manager->consecutiveFailures()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return manager->sendCompletions() > completions; }, 5000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return server.streamsCutOff() > cutOff; }, 5000))
            << "the client read the whole answer";
        EXPECT_TRUE(logLines.contains("[ERROR] The answer is larger than 65536 bytes; stopped reading it"));
        EXPECT_EQ(manager->signalCache().storedCount(), cachedAfterwards);
        manager->signalCache().takeBatch();
        logLines.clear();
    }
}

TEST_F(SignalTransport, AClientThatDoesNotSendKeepsItsSignalsInTheCacheAndItsFile)
{
    ClientEnvironment offline = environment();
    offline.sendsSignals = false;
    manager = std::make_unique<SignalManager>(configuration, offline, *statistics);
    signal("kept");
    manager->attemptToSendNextBatchOfCachedSignals();
    scheduler.advance(3600);
    EXPECT_EQ(manager->sendCompletions(), 0) << "no attempt was made";
    EXPECT_FALSE(logLines.filter("Sending ").size() > 0) << logLines.join('\n').toStdString();
    EXPECT_EQ(cachedTypes(), QStringList{"kept"});

    desktop->requestOwnTermination();
    QFile file(cacheFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::optional<std::vector<SignalPostBody>> saved =
        SignalPostBody::decodeArray(file.readAll(), SignalPostBody::DateForm::secondsSinceReferenceDate);
    ASSERT_TRUE(saved.has_value());
    ASSERT_EQ(saved->size(), 1u);
    EXPECT_EQ(saved->front().type, "kept");
}

TEST_F(SignalTransport, EndpointsFollowTheBaseAndNamespace)
{
    const std::vector<std::tuple<QString, std::optional<QString>, std::optional<QString>>> cases{
        {"https://analytics.example", std::nullopt, "https://analytics.example/v2/"},
        {"https://analytics.example/", std::nullopt, "https://analytics.example/v2/"},
        {"https://analytics.example/base", QString(""), "https://analytics.example/base/v2/"},
        {"https://analytics.example/base/", QString("team"), "https://analytics.example/base/v2/namespace/team/"},
        {"https://analytics.example", QString("bad name"), std::nullopt},
    };
    for (const auto& [base, namespaceName, expected] : cases) {
        const std::optional<QUrl> endpoint = SignalManager::signalEndpoint(QUrl(base), namespaceName);
        EXPECT_EQ(endpoint ? std::optional<QString>(endpoint->toString()) : std::nullopt, expected)
            << base.toStdString() << " " << namespaceName.value_or("nil").toStdString();
    }
}

TEST_F(SignalTransport, ANamespaceSelectsItsPathAndABadOneKeepsTheBatch)
{
    configuration = std::make_shared<TelemetryManagerConfiguration>(appID, std::nullopt, server.url("/"), "team");
    configuration->logHandler = recordingHandler();
    launchManager();
    signal("namespaced");
    expectAttemptAfter(10);
    EXPECT_EQ(server.requests().at(0).path, "/v2/namespace/team/");

    configuration = std::make_shared<TelemetryManagerConfiguration>(appID, std::nullopt, server.url("/"), "bad name");
    configuration->logHandler = recordingHandler();
    launchManager();
    signal("kept");
    scheduler.advance(10);
    EXPECT_EQ(cachedTypes(), QStringList{"kept"});
    EXPECT_EQ(manager->consecutiveFailures(), 1);
    EXPECT_TRUE(logLines.contains("[ERROR] Unable to construct signal API URL for namespace bad name"));
    EXPECT_TRUE(logLines.contains("[ERROR] Invalid endpoint URL"));
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST(SignalManager, RejectionReasons)
{
    const std::vector<std::pair<int, std::optional<QString>>> cases{
        {400, "Bad Request (400)"},
        {401, "Unauthorized (401)"},
        {403, "Forbidden (403)"},
        {404, "Not Found (404)"},
        {413, "Payload Too Large (413)"},
        {422, "Unprocessable Entity (422)"},
        {501, "Not Implemented (501)"},
        {505, "HTTP Version Not Supported (505)"},
        {402, std::nullopt},
        {408, std::nullopt},
        {500, std::nullopt},
        {502, std::nullopt},
        {200, std::nullopt},
    };
    for (const auto& [status, reason] : cases)
        EXPECT_EQ(SignalManager::rejectionReason(status), reason) << status;
}

TEST_F(SignalTransport, TheDefaultUserIsKeptInTheSuiteUnlessConfiguredOrGiven)
{
    const QString stored = manager->defaultUserIdentifier();
    EXPECT_TRUE(QRegularExpression("^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$").match(stored).hasMatch());
    EXPECT_EQ(suite->stringForKey("defaultUserIdentifier"), stored);
    EXPECT_EQ(manager->defaultUserIdentifier(), stored);

    configuration->defaultUser = "configured";
    EXPECT_EQ(manager->defaultUserIdentifier(), "configured");
    signal("a");
    signal("b", {}, std::nullopt, QString("custom"));
    const std::vector<SignalPostBody> bodies = manager->signalCache().cachedSignals();
    EXPECT_EQ(bodies[0].clientUser, userHash("configured", "pepper"));
    EXPECT_EQ(bodies[1].clientUser, userHash("custom", "pepper"));

    ClientEnvironment withoutSuite = environment();
    withoutSuite.clientSuite = nullptr;
    configuration->defaultUser.reset();
    SignalManager unsaved(configuration, withoutSuite, *statistics);
    EXPECT_NE(unsaved.defaultUserIdentifier(), unsaved.defaultUserIdentifier());
}

TEST_F(SignalTransport, PayloadMergesDefaultsThenEnrichersThenParameters)
{
    struct Enricher final : SignalEnricher {
        SignalParameters additions;
        mutable QStringList calls;
        SignalParameters payloadAdditions(const QString& type, const QString& user,
                                          std::optional<double> value) const override
        {
            calls << type + " " + user + " " + QString::number(value.value_or(-1));
            return additions;
        }
    };
    auto first = std::make_shared<Enricher>();
    first->additions = {{"locale", "first"}, {"shared", "first"}, {"extra", "first"}};
    auto second = std::make_shared<Enricher>();
    second->additions = {{"shared", "second"}};
    configuration->metadataEnrichers = {first, second};
    configuration->defaultUser = "user";
    configuration->setTestMode(true);

    signal("merged", {{"extra", "parameter"}}, 2.5);
    const SignalPostBody body = manager->signalCache().cachedSignals().front();
    EXPECT_EQ(body.payload.at("locale"), "first");
    EXPECT_EQ(body.payload.at("shared"), "second");
    EXPECT_EQ(body.payload.at("extra"), "parameter");
    EXPECT_EQ(body.payload.at("platform"), "macOS");
    EXPECT_EQ(body.isTestMode, "true");
    EXPECT_EQ(first->calls, QStringList{"merged " + userHash("user", "pepper") + " 2.5"});
}

} // namespace
