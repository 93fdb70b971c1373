#include "analytics/TelemetryAnalyticsService.h"

#include "LogCapture.h"
#include "core/UserDefaults.h"
#include "settings/VeskDefaultsStore.h"

#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

using namespace vesk;

namespace {

class TelemetryAnalyticsServiceTest : public ::testing::Test {
protected:
    TelemetryAnalyticsService makeService()
    {
        return TelemetryAnalyticsService(
            store, "7C4E2B91-3D5A-4F68-9E1B-A2C0D4F85E63", [this](const QString& appID) { initializations << appID; },
            [this](const QString& name, const std::map<QString, QString>& parameters) {
                sent.emplace_back(name, parameters);
            });
    }

    QTemporaryDir folder;
    UserDefaults defaults{QStringLiteral("analytics-test"), folder.path()};
    VeskDefaultsStore store{defaults};
    test::LogCapture log;
    QStringList initializations;
    std::vector<std::pair<QString, std::map<QString, QString>>> sent;
};

const AnalyticsEvent launched(AnalyticsEvent::AppLaunched{true});

TEST_F(TelemetryAnalyticsServiceTest, StartsTheClientOnceWithTheFirstEventAndLogsEachSignal)
{
    TelemetryAnalyticsService service = makeService();
    service.track(launched);
    service.track(AnalyticsEvent(AnalyticsEvent::ReflectionSkipped{}));

    EXPECT_EQ(initializations, QStringList{"7C4E2B91-3D5A-4F68-9E1B-A2C0D4F85E63"});
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].first, "app.launched");
    EXPECT_EQ(sent[0].second, launched.parameters());
    EXPECT_EQ(sent[1].first, "reflection.skipped");
    EXPECT_EQ(log.messages("AnalyticsService"),
              (QStringList{"Telemetry initialized — appID=7C4E2B91…",
                           "Signal sent — name=app.launched, params=[\"accessibilityGranted\": \"true\"]",
                           "Signal sent — name=reflection.skipped, params=[:]"}));
}

TEST_F(TelemetryAnalyticsServiceTest, ReadsTheSettingAtEveryEventAndKeepsNothingDropped)
{
    store.setAnalyticsEnabled(false);
    TelemetryAnalyticsService service = makeService();
    service.track(launched);
    EXPECT_TRUE(initializations.isEmpty());
    EXPECT_FALSE(service.isInitialized());
    EXPECT_EQ(log.messages("AnalyticsService"),
              QStringList{"Signal dropped — analytics disabled, signal=app.launched"});

    store.setAnalyticsEnabled(true);
    service.track(AnalyticsEvent(AnalyticsEvent::ReflectionSkipped{}));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].first, "reflection.skipped");
    EXPECT_EQ(initializations.size(), 1);

    // Off again: the client keeps running, but no further signal leaves.
    store.setAnalyticsEnabled(false);
    service.track(launched);
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_TRUE(service.isInitialized());
}

TEST(TelemetryAnalyticsServiceConfiguration, IdentifierAndBaseURLFollowTheEnvironment)
{
    const QByteArray savedBase = qgetenv(TelemetryAnalyticsService::baseURLVariable);
    qunsetenv(TelemetryAnalyticsService::appIDVariable);
    qunsetenv(TelemetryAnalyticsService::baseURLVariable);
    EXPECT_EQ(TelemetryAnalyticsService::configuredAppID().size(), 36);
    EXPECT_FALSE(QUuid::fromString(TelemetryAnalyticsService::configuredAppID()).isNull());
    EXPECT_EQ(TelemetryAnalyticsService::configuredBaseURL(), std::nullopt);

    qputenv(TelemetryAnalyticsService::appIDVariable, "00000000-1111-2222-3333-444444444444");
    qputenv(TelemetryAnalyticsService::baseURLVariable, "http://127.0.0.1:8080/");
    EXPECT_EQ(TelemetryAnalyticsService::configuredAppID(), "00000000-1111-2222-3333-444444444444");
    EXPECT_EQ(TelemetryAnalyticsService::configuredBaseURL(), QUrl("http://127.0.0.1:8080/"));
    qunsetenv(TelemetryAnalyticsService::appIDVariable);
    qputenv(TelemetryAnalyticsService::baseURLVariable, savedBase);
}

} // namespace
