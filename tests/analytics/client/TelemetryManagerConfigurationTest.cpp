#include "analytics/client/TelemetryManagerConfiguration.h"

#include <gtest/gtest.h>

using vesk::telemetry::LogHandler;
using vesk::telemetry::TelemetryManagerConfiguration;

namespace {

TEST(TelemetryManagerConfiguration, BuiltFromTheAppIDAloneTakesEveryDefault)
{
    const TelemetryManagerConfiguration configuration("APP-ID");
    EXPECT_EQ(configuration.telemetryAppID(), "APP-ID");
    EXPECT_EQ(configuration.apiBaseURL(), QUrl("https://analytics.vesk.app/"));
    EXPECT_TRUE(configuration.apiBaseURL().isValid());
    EXPECT_EQ(configuration.namespaceName(), std::nullopt);
    EXPECT_EQ(configuration.salt(), "");
    EXPECT_EQ(configuration.defaultUser, std::nullopt);
    EXPECT_EQ(configuration.defaultSignalPrefix, std::nullopt);
    EXPECT_EQ(configuration.defaultParameterPrefix, std::nullopt);
    EXPECT_TRUE(configuration.defaultParameters().empty());
    EXPECT_TRUE(configuration.sendNewSessionBeganSignal);
    EXPECT_FALSE(configuration.sessionID().isNull());
    EXPECT_EQ(configuration.urlSession, nullptr);
    EXPECT_EQ(configuration.cacheLimit, 10000);
    EXPECT_EQ(configuration.transmitInterval, 10.0);
    EXPECT_EQ(configuration.maxBackoffInterval, 300.0);
    EXPECT_FALSE(configuration.sendSignalsInDebugConfiguration);
    EXPECT_FALSE(configuration.testMode());
    EXPECT_FALSE(configuration.analyticsDisabled);
    EXPECT_TRUE(configuration.reservedParameterWarningsEnabled);
    EXPECT_TRUE(configuration.sessionStatsEnabled);
    EXPECT_FALSE(configuration.showDebugLogs);
    ASSERT_TRUE(configuration.logHandler);
    EXPECT_EQ(configuration.logHandler->logLevel(), LogHandler::LogLevel::info);
    EXPECT_TRUE(configuration.metadataEnrichers.empty());
    EXPECT_NE(TelemetryManagerConfiguration("APP-ID").sessionID(), configuration.sessionID());
}

TEST(TelemetryManagerConfiguration, ConstructionArgumentsAreKept)
{
    const TelemetryManagerConfiguration configuration("APP-ID", QString("pepper"), QUrl("http://127.0.0.1:8080"),
                                                      QString("team"));
    EXPECT_EQ(configuration.salt(), "pepper");
    EXPECT_EQ(configuration.apiBaseURL(), QUrl("http://127.0.0.1:8080"));
    EXPECT_EQ(configuration.namespaceName(), QString("team"));
}

TEST(TelemetryManagerConfiguration, PreviewModeFollowsTheEnvironmentUntilSet)
{
    TelemetryManagerConfiguration configuration("APP-ID");
    for (const auto& [value, preview] :
         std::vector<std::pair<const char*, bool>>{{"1", true}, {"0", false}, {"true", false}, {"", false}}) {
        qputenv("XCODE_RUNNING_FOR_PREVIEWS", value);
        EXPECT_EQ(configuration.swiftUIPreviewMode(), preview) << value;
    }
    qputenv("XCODE_RUNNING_FOR_PREVIEWS", "1");
    configuration.setSwiftUIPreviewMode(false);
    EXPECT_FALSE(configuration.swiftUIPreviewMode());
    qunsetenv("XCODE_RUNNING_FOR_PREVIEWS");
    configuration.setSwiftUIPreviewMode(true);
    EXPECT_TRUE(configuration.swiftUIPreviewMode());
}

TEST(TelemetryManagerConfiguration, AliasesShareTheirValue)
{
    TelemetryManagerConfiguration configuration("APP-ID");
    configuration.setTelemetryAllowDebugBuilds(true);
    EXPECT_TRUE(configuration.sendSignalsInDebugConfiguration);
    configuration.sendSignalsInDebugConfiguration = false;
    EXPECT_FALSE(configuration.telemetryAllowDebugBuilds());
    configuration.setTestMode(true);
    EXPECT_TRUE(configuration.testMode());
}

TEST(TelemetryManagerConfiguration, EveryAssignmentOfTheSessionIDStartsASessionAsTheFlagsAllow)
{
    TelemetryManagerConfiguration configuration("APP-ID");
    QStringList actions;
    configuration.setSessionStartActions({
        [&] { actions << "statistics " + configuration.sessionID().toString(QUuid::WithoutBraces); },
        [&] { actions << "signal"; },
    });
    const QUuid id = QUuid::fromString(QStringLiteral("0f8c3b9a-1c2d-4e5f-8a9b-0c1d2e3f4a5b"));
    configuration.setSessionID(id);
    configuration.setSessionID(id);
    EXPECT_EQ(actions, (QStringList{"statistics 0f8c3b9a-1c2d-4e5f-8a9b-0c1d2e3f4a5b", "signal",
                                    "statistics 0f8c3b9a-1c2d-4e5f-8a9b-0c1d2e3f4a5b", "signal"}));

    actions.clear();
    configuration.sessionStatsEnabled = false;
    configuration.setSessionID(QUuid::createUuid());
    configuration.sendNewSessionBeganSignal = false;
    configuration.setSessionID(id);
    EXPECT_EQ(actions, (QStringList{"signal"}));
    EXPECT_EQ(configuration.sessionID(), id);
}

} // namespace
