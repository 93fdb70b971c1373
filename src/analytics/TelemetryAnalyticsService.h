#pragma once

#include "analytics/AnalyticsTracking.h"
#include "analytics/client/ClientHost.h"
#include "logging/VeskLogger.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <map>
#include <optional>

namespace vesk {

class VeskDefaultsStore;

// Sends the application's usage events through the analytics client while
// the user allows analytics ("vesk.analyticsEnabled", read at every event).
// The client is started with the first permitted event and then kept for the
// process's life; events dropped while analytics is off are not kept for
// later. Main thread only.
class TelemetryAnalyticsService final : public AnalyticsTracking {
public:
    using InitializeSDK = std::function<void(const QString& appID)>;
    using SendSignal = std::function<void(const QString& name, const std::map<QString, QString>& parameters)>;

    // Vesk's identifier at the analytics service.
    static constexpr const char* analyticsAppID = "7C4E2B91-3D5A-4F68-9E1B-A2C0D4F85E63";
    // Environment overrides for tests and scripted runs: another identifier,
    // and another ingestion base URL than the client's standard one.
    static constexpr const char* appIDVariable = "VESK_ANALYTICS_APP_ID";
    static constexpr const char* baseURLVariable = "VESK_ANALYTICS_BASE_URL";

    // analyticsAppID unless the environment names another.
    static QString configuredAppID();
    // None (the client's standard endpoint) unless the environment names a base URL.
    static std::optional<QUrl> configuredBaseURL();

    // The client's start as the application uses it: a configuration of the
    // identifier and the ingestion base URL, over the host. Without a base URL
    // the client sends nothing and keeps its signals in its cache; in test
    // mode the signals say so ("isTestMode": "true").
    static InitializeSDK clientInitializer(telemetry::ClientHost host, std::optional<QUrl> baseURL,
                                           bool testMode = false);
    // Telemetry::signal with the name and the parameters.
    static SendSignal clientSignalSender();

    TelemetryAnalyticsService(VeskDefaultsStore& defaults, QString appID, InitializeSDK initializeSDK,
                              SendSignal sendSignal);
    // Stops the client this service started.
    ~TelemetryAnalyticsService() override;

    void track(const AnalyticsEvent& event) override;
    bool isInitialized() const { return isInitialized_; }

    // ["key": "value", …] in key order; "[:]" when empty.
    static QString dictionaryText(const std::map<QString, QString>& parameters);

private:
    VeskDefaultsStore& defaults_;
    QString appID_;
    VeskLogger logger_{QStringLiteral("AnalyticsService")};
    InitializeSDK initializeSDK_;
    SendSignal sendSignal_;
    bool isInitialized_ = false;
};

} // namespace vesk
