#pragma once

#include "analytics/client/LogHandler.h"
#include "analytics/client/SignalParameters.h"

#include <QString>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QNetworkAccessManager;

namespace vesk::telemetry {

class SignalEnricher;

// The analytics client's one settings object, shared by every part of the
// client (hold it in a std::shared_ptr). The application identifier, base
// URL, namespace and salt are fixed at construction; everything else is
// settable. Main thread only.
class TelemetryManagerConfiguration {
public:
    // The analytics service's ingestion base when none is given.
    static inline const QString defaultApiBaseURL = QStringLiteral("https://analytics.vesk.app/");

    // What an assignment to `sessionID` sets off: the session statistics'
    // new session and the "Telemetry.Session.started" signal. The running
    // manager sets them; without them an assignment only stores the value.
    struct SessionStartActions {
        std::function<void()> startSessionStatistics;
        std::function<void()> sendSessionStartedSignal;
    };

    explicit TelemetryManagerConfiguration(QString appID, std::optional<QString> salt = std::nullopt,
                                           std::optional<QUrl> baseURL = std::nullopt,
                                           std::optional<QString> namespaceName = std::nullopt);

    const QString& telemetryAppID() const { return telemetryAppID_; }
    const QUrl& apiBaseURL() const { return apiBaseURL_; }
    // `namespace` in the service's terms: selects the namespaced ingestion path.
    const std::optional<QString>& namespaceName() const { return namespace_; }
    const QString& salt() const { return salt_; }

    // The user identifier used when a signal names none.
    std::optional<QString> defaultUser;
    // Put in front of every signal name, and of every caller parameter key.
    std::optional<QString> defaultSignalPrefix;
    std::optional<QString> defaultParameterPrefix;
    // Parameters merged into every signal.
    std::function<SignalParameters()> defaultParameters = [] { return SignalParameters(); };
    bool sendNewSessionBeganSignal = true;
    // Posts the batches; it must outlive the signal manager. None: the
    // signal manager posts through a network access manager of its own.
    QNetworkAccessManager* urlSession = nullptr;
    // Most signals kept in the cache.
    int cacheLimit = 10000;
    // Base delay between send attempts and the ceiling of the back-off, in seconds.
    double transmitInterval = 10.0;
    double maxBackoffInterval = 300.0;
    // Kept for callers; nothing in the client reads it.
    bool sendSignalsInDebugConfiguration = false;
    bool analyticsDisabled = false;
    bool reservedParameterWarningsEnabled = true;
    // Lets a new session update the session statistics.
    bool sessionStatsEnabled = true;
    // Kept for callers; nothing in the client reads it.
    bool showDebugLogs = false;
    // Where the client's own log lines go; none drops them.
    std::optional<LogHandler> logHandler = LogHandler::standard(LogHandler::LogLevel::info);
    std::vector<std::shared_ptr<SignalEnricher>> metadataEnrichers;

    const QUuid& sessionID() const { return sessionID_; }
    // Stores the identifier, then starts a new session, also for the same
    // identifier again: the statistics' session (when `sessionStatsEnabled`)
    // and the session-started signal (when `sendNewSessionBeganSignal`).
    void setSessionID(const QUuid& sessionID);
    void setSessionStartActions(SessionStartActions actions) { sessionStartActions_ = std::move(actions); }

    // A second name for `sendSignalsInDebugConfiguration`.
    bool telemetryAllowDebugBuilds() const { return sendSignalsInDebugConfiguration; }
    void setTelemetryAllowDebugBuilds(bool allow) { sendSignalsInDebugConfiguration = allow; }
    // False unless set.
    bool testMode() const { return testMode_.value_or(false); }
    void setTestMode(bool testMode) { testMode_ = testMode; }
    // When not set: true exactly when the environment holds
    // "XCODE_RUNNING_FOR_PREVIEWS" = "1".
    bool swiftUIPreviewMode() const;
    void setSwiftUIPreviewMode(bool previewMode) { swiftUIPreviewMode_ = previewMode; }

private:
    QString telemetryAppID_;
    QUrl apiBaseURL_;
    std::optional<QString> namespace_;
    QString salt_;
    QUuid sessionID_ = QUuid::createUuid();
    std::optional<bool> testMode_;
    std::optional<bool> swiftUIPreviewMode_;
    SessionStartActions sessionStartActions_;
};

} // namespace vesk::telemetry
