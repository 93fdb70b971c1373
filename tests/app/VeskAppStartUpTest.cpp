#include "app/VeskApp.h"

#include "LogCapture.h"
#include "TestDesktop.h"
#include "analytics/AnalyticsTracking.h"
#include "core/MainThread.h"
#include "core/ManualScheduler.h"
#include "feedback/BugReportEndpoint.h"
#include "feedback/DiagnosticPayloadSubscribing.h"
#include "feedback/WorkerBugReportSender.h"
#include "platform/simulated/DesktopWorkspace.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "session/SchedulerSessionTimerFactory.h"
#include "session/SessionManager.h"
#include "settings/VeskDefaultsStore.h"

#include <QLoggingCategory>
#include <QPointer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

using namespace vesk;

namespace {

Q_LOGGING_CATEGORY(lcRecorder, "Recorder")

// Keeps every event; logs each one so that its place among the start-up's
// log lines shows. The real service reads whether analytics are allowed from
// the settings for every event: each event notes whether they were still there.
class RecordingAnalytics final : public AnalyticsTracking {
public:
    void track(const AnalyticsEvent& event) override
    {
        events.push_back(event);
        hadSettings.push_back(!settings.isNull());
        qCInfo(lcRecorder, "tracked %s", qPrintable(event.signalName()));
    }
    std::vector<AnalyticsEvent> events;
    QPointer<VeskDefaultsStore> settings;
    std::vector<bool> hadSettings;
};

class RecordingCrashDiagnostics final : public DiagnosticPayloadSubscribing {
public:
    void didReceive(const std::vector<QByteArray>& payloads) override
    {
        std::lock_guard lock(mutex);
        received.insert(received.end(), payloads.begin(), payloads.end());
        receivedOnMainThread = receivedOnMainThread || isMainThread();
    }
    std::mutex mutex;
    std::vector<QByteArray> received;
    bool receivedOnMainThread = false;
};

class VeskAppStartUpTest : public ::testing::Test {
protected:
    std::unique_ptr<VeskApp> makeApp(bool accessibilityTrusted = true)
    {
        EXPECT_TRUE(directory_.isValid());
        platform::DesktopScenario scenario = test::oneDisplayScenario();
        scenario.accessibilityTrusted = accessibilityTrusted;
        scenario.diagnosticPayloads = {R"({"crashDiagnostics":[{"signal":11}]})", R"({"hangDiagnostics":[]})"};
        EXPECT_TRUE(desktop_.applyScenario(scenario).isEmpty());
        VeskAppEnvironment environment{desktop_.interfaces(),
                                       scheduler_,
                                       scheduler_,
                                       std::make_shared<SchedulerSessionTimerFactory>(scheduler_),
                                       directory_.filePath("VeskData.store"),
                                       directory_.filePath("defaults")};
        environment.endpoints = endpoints_;
        environment.makeAnalyticsService = [this](VeskDefaultsStore& defaults) {
            analyticsDefaults_ = &defaults;
            analytics_->settings = &defaults;
            qCInfo(lcRecorder, "analytics built");
            return analytics_;
        };
        environment.makeCrashDiagnosticsService = [this](std::shared_ptr<BugReportSending> sender,
                                                         std::function<bool()> isEnabled) {
            sender_ = std::move(sender);
            isEnabled_ = std::move(isEnabled);
            qCInfo(lcRecorder, "crash diagnostics built");
            return crashDiagnostics_;
        };
        auto app = std::make_unique<VeskApp>(environment);
        EXPECT_TRUE(app->isReady());
        return app;
    }

    ServiceEndpoints endpoints_;
    QTemporaryDir directory_;
    ManualScheduler scheduler_;
    platform::SimulatedDesktop desktop_{scheduler_, directory_.filePath("root")};
    std::shared_ptr<RecordingAnalytics> analytics_ = std::make_shared<RecordingAnalytics>();
    std::shared_ptr<RecordingCrashDiagnostics> crashDiagnostics_ = std::make_shared<RecordingCrashDiagnostics>();
    VeskDefaultsStore* analyticsDefaults_ = nullptr;
    std::shared_ptr<BugReportSending> sender_;
    std::function<bool()> isEnabled_;
};

TEST_F(VeskAppStartUpTest, ConfiguresStoreAnalyticsAndCrashDiagnosticsInOrder)
{
    test::LogCapture log;
    const auto app = makeApp();

    QStringList startUp;
    for (const test::LogCapture::Entry& entry : log.entries()) {
        if (entry.component == "SessionManager" || entry.component == "CrashDiagnosticsService")
            startUp << entry.component + ": " + entry.message;
        else if (entry.category == "Recorder")
            startUp << entry.category + ": " + entry.message;
        // The system log's subsystem is the running application's bundle identifier.
        if (!entry.component.isEmpty()) {
            EXPECT_EQ(entry.category, "com.vesk.app." + entry.component);
        }
    }
    const QString launchSignal = QStringLiteral("Recorder: tracked app.launched");
    EXPECT_EQ(startUp, (QStringList{"SessionManager: Configured session persistence store", "Recorder: analytics built",
                                    "SessionManager: Configured analytics tracking", launchSignal,
                                    "Recorder: crash diagnostics built",
                                    "CrashDiagnosticsService: Registered as MetricKit subscriber"}));
    EXPECT_EQ(analyticsDefaults_, &app->defaultsStore());
}

class VeskAppLaunchSignalTest : public VeskAppStartUpTest, public ::testing::WithParamInterface<bool> { };

TEST_P(VeskAppLaunchSignalTest, CarriesTheAccessibilityTrustAndGoesStraightToTheAnalyticsService)
{
    const auto app = makeApp(GetParam());
    ASSERT_EQ(analytics_->events.size(), 1u);
    EXPECT_EQ(analytics_->events[0], AnalyticsEvent(AnalyticsEvent::AppLaunched{GetParam()}));

    // The same service is the session manager's: a session start reaches it.
    app->launch();
    app->sessionManager().startSession(60, {test::kEditorBundleID}, {}, std::nullopt, false, 0);
    ASSERT_EQ(analytics_->events.size(), 2u);
    EXPECT_EQ(analytics_->events[1].signalName(), "session.started");
}

// At quit during a session the session manager goes last of all and stops
// the session: its report still finds the settings it is read against.
TEST_F(VeskAppStartUpTest, ASessionStoppedAsTheApplicationGoesIsReportedWhileTheSettingsAreThere)
{
    auto app = makeApp();
    app->launch();
    app->sessionManager().startSession(60, {test::kEditorBundleID}, {}, std::nullopt, false, 0);
    ASSERT_TRUE(app->sessionManager().isSessionActive());
    app.reset();
    ASSERT_EQ(analytics_->events.back().signalName(), "session.ended");
    EXPECT_TRUE(analytics_->hadSettings.back());
}

TEST_F(VeskAppStartUpTest, CrashDiagnosticsGetTheReportSenderAndFollowTheAnalyticsSetting)
{
    endpoints_.reports = QUrl(QString::fromUtf8(bugReportEndpoint));
    const auto app = makeApp();
    const auto* sender = dynamic_cast<const WorkerBugReportSender*>(sender_.get());
    ASSERT_NE(sender, nullptr);
    ASSERT_TRUE(sender->endpoint().has_value());
    EXPECT_EQ(*sender->endpoint(), QUrl(QString::fromUtf8(bugReportEndpoint)));
    EXPECT_EQ(sender->endpoint()->scheme(), "https");

    // The switch reads the setting each time it is asked.
    ASSERT_TRUE(isEnabled_);
    app->defaultsStore().setAnalyticsEnabled(false);
    EXPECT_FALSE(isEnabled_());
    app->defaultsStore().setAnalyticsEnabled(true);
    EXPECT_TRUE(isEnabled_());
}

TEST_F(VeskAppStartUpTest, DiagnosticPayloadsReachTheCrashDiagnosticsForTheApplicationsLife)
{
    auto app = makeApp();
    desktop_.workspace().waitForCompletions();
    {
        std::lock_guard lock(crashDiagnostics_->mutex);
        EXPECT_EQ(crashDiagnostics_->received.size(), 2u) << "the payloads waiting at launch";
        EXPECT_FALSE(crashDiagnostics_->receivedOnMainThread);
    }

    const std::weak_ptr<DiagnosticPayloadSubscribing> kept = crashDiagnostics_;
    crashDiagnostics_.reset();
    EXPECT_FALSE(kept.expired()) << "the application keeps its crash diagnostics";

    app.reset();
    EXPECT_TRUE(kept.expired());
    // A delivery after the application is gone reaches nothing of it: it
    // waits, whole, for the next subscriber.
    const QByteArray late = R"({"crashDiagnostics":[{}]})";
    desktop_.deliverDiagnosticPayloads({late});
    desktop_.workspace().waitForCompletions();
    const auto next = std::make_shared<RecordingCrashDiagnostics>();
    desktop_.subscribeToDiagnosticPayloads(
        [next](const std::vector<QByteArray>& payloads) { next->didReceive(payloads); });
    desktop_.workspace().waitForCompletions();
    std::lock_guard lock(next->mutex);
    EXPECT_EQ(next->received, std::vector<QByteArray>{late});
}

INSTANTIATE_TEST_SUITE_P(AccessibilityTrust, VeskAppLaunchSignalTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& testCase) {
                             return testCase.param ? std::string("Trusted") : std::string("NotTrusted");
                         });

} // namespace
