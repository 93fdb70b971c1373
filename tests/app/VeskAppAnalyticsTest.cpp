#include "app/VeskApp.h"

#include "LocalHttpServer.h"
#include "LogCapture.h"
#include "TestDesktop.h"
#include "analytics/AnalyticsTracking.h"
#include "analytics/TelemetryAnalyticsService.h"
#include "analytics/client/Telemetry.h"
#include "core/ManualScheduler.h"
#include "core/UserDefaults.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "session/SchedulerSessionTimerFactory.h"
#include "settings/VeskDefaultsStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vesk;

namespace {

// The application with its real analytics service, pointed at a local server.
class VeskAppAnalyticsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedBaseURL_ = qgetenv(TelemetryAnalyticsService::baseURLVariable);
        qputenv(TelemetryAnalyticsService::baseURLVariable, server_.url("/").toString().toUtf8());
        ASSERT_TRUE(desktop_.applyScenario(test::oneDisplayScenario()).isEmpty());
    }

    void TearDown() override
    {
        app_.reset();
        qputenv(TelemetryAnalyticsService::baseURLVariable, savedBaseURL_);
    }

    void startApp(bool analyticsEnabled)
    {
        UserDefaults(QString::fromUtf8(UserDefaults::standardSuiteName), directory_.filePath("defaults"))
            .setBool("vesk.analyticsEnabled", analyticsEnabled);
        VeskAppEnvironment environment{desktop_.interfaces(),
                                       scheduler_,
                                       scheduler_,
                                       std::make_shared<SchedulerSessionTimerFactory>(scheduler_),
                                       directory_.filePath("VeskData.store"),
                                       directory_.filePath("defaults")};
        environment.analyticsCacheFilePath = directory_.filePath("caches/telemetrysignalcache");
        app_ = std::make_unique<VeskApp>(environment);
        ASSERT_TRUE(app_->isReady());
    }

    // The signal types of every request the server received, in order.
    QStringList receivedTypes() const
    {
        QStringList types;
        for (const test::LocalHttpServer::Request& request : server_.requests())
            for (const QJsonValue& body : QJsonDocument::fromJson(request.body).array())
                types << body["type"].toString();
        return types;
    }

    QByteArray savedBaseURL_;
    QTemporaryDir directory_;
    test::LocalHttpServer server_;
    ManualScheduler scheduler_;
    platform::SimulatedDesktop desktop_{scheduler_, directory_.filePath("root")};
    std::unique_ptr<VeskApp> app_;
};

TEST_F(VeskAppAnalyticsTest, DeliversTheLaunchSignalAndTheClientsSessionStart)
{
    test::LogCapture log;
    startApp(true);
    EXPECT_TRUE(telemetry::Telemetry::isInitialized());
    scheduler_.advance(11);
    ASSERT_TRUE(server_.waitForRequests(1));

    EXPECT_EQ(receivedTypes(),
              (QStringList{"app.launched", "Telemetry.Acquisition.newInstallDetected", "Telemetry.Session.started"}));
    const QJsonObject launch = QJsonDocument::fromJson(server_.requests().front().body).array()[0].toObject();
    EXPECT_EQ(launch["appID"].toString(), TelemetryAnalyticsService::configuredAppID());
    EXPECT_TRUE(launch["payload"].toObject().contains("accessibilityGranted"));
    const QStringList lines = log.messages("AnalyticsService");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "Telemetry initialized — appID=" + TelemetryAnalyticsService::configuredAppID().left(8) + "…");
    EXPECT_TRUE(lines[1].startsWith("Signal sent — name=app.launched, params=[\"accessibilityGranted\": "));
}

TEST_F(VeskAppAnalyticsTest, WithAnalyticsOffTheClientStartsOnlyWithTheFirstSignalAllowedLater)
{
    test::LogCapture log;
    startApp(false);
    scheduler_.advance(11);
    EXPECT_FALSE(telemetry::Telemetry::isInitialized());
    EXPECT_EQ(log.messages("AnalyticsService"),
              QStringList{"Signal dropped — analytics disabled, signal=app.launched"});
    EXPECT_FALSE(server_.waitForRequests(1, 200));

    app_->defaultsStore().setAnalyticsEnabled(true);
    app_->analytics().track(AnalyticsEvent(AnalyticsEvent::ReflectionSkipped{}));
    EXPECT_TRUE(telemetry::Telemetry::isInitialized());
    scheduler_.advance(11);
    ASSERT_TRUE(server_.waitForRequests(1));
    EXPECT_EQ(receivedTypes(), (QStringList{"reflection.skipped", "Telemetry.Acquisition.newInstallDetected",
                                            "Telemetry.Session.started"}));
}

} // namespace
