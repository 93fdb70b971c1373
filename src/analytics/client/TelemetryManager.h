#pragma once

#include "analytics/client/ClientHost.h"
#include "analytics/client/SignalParameters.h"
#include "core/WorkItem.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

namespace vesk {
class UserDefaults;
} // namespace vesk

namespace vesk::telemetry {

class DurationSignalTracker;
class SessionStatistics;
class SignalManager;
class TrialConversionTracker;
class TelemetryManagerConfiguration;

// The one running analytics client: it owns the configuration, the client's
// defaults suite, the session statistics, the signal manager and the
// duration tracker, starts its first session 0.5 s after it is built, and
// takes signals through the public path (name and key prefixes, reserved-name
// warnings) or the client's own internal path. Its trial tracker resumes
// watching a free trial remembered from an earlier run at once. Main thread only.
class TelemetryManager final {
public:
    static constexpr double kSessionStartDelaySeconds = 0.5;
    static constexpr double kImmediateSyncDelaySeconds = 0.05;
    // A return to the foreground later than this begins a new session.
    static constexpr double kBackgroundSessionTimeoutSeconds = 300.0;

    TelemetryManager(std::shared_ptr<TelemetryManagerConfiguration> configuration, const ClientHost& host);
    ~TelemetryManager();
    TelemetryManager(const TelemetryManager&) = delete;
    TelemetryManager& operator=(const TelemetryManager&) = delete;

    // Replaces any running manager.
    static void initialize(std::shared_ptr<TelemetryManagerConfiguration> configuration, const ClientHost& host);
    static void terminate();
    // The running manager; none before initialize and after terminate.
    static TelemetryManager* shared();
    static bool isInitialized() { return shared() != nullptr; }

    // The signal as a caller sends it: prefixes, warnings, then the internal path.
    void signal(const QString& signalName, const SignalParameters& parameters, std::optional<double> floatValue,
                const std::optional<QString>& customUserID);
    // The client's own signals: default parameters merged under the given
    // ones, processed on the main queue.
    void sendInternalSignal(const QString& signalName, const SignalParameters& parameters,
                            std::optional<double> floatValue = std::nullopt,
                            const std::optional<QString>& customUserID = std::nullopt);

    void updateDefaultUser(const std::optional<QString>& user);
    void generateNewSession();
    // Sends at once unless the last immediate send is less than the
    // transmit interval ago.
    void requestImmediateSync();
    QString hashedDefaultUser();
    void didEnterBackground();
    void willEnterForeground();

    TelemetryManagerConfiguration& configuration() { return *configuration_; }
    SignalManager& signalManager() { return *signalManager_; }
    SessionStatistics& sessionStatistics() { return *sessionStatistics_; }
    DurationSignalTracker& durationTracker() { return *durationTracker_; }
    TrialConversionTracker& trialConversionTracker() { return *trialConversionTracker_; }
    // The client's defaults suite.
    UserDefaults& clientSuite() { return *clientSuite_; }
    const ClientHost& host() const { return host_; }

private:
    bool acceptsSignals() const;
    void warnAboutReservedKeys(const SignalParameters& parameters) const;

    std::shared_ptr<TelemetryManagerConfiguration> configuration_;
    ClientHost host_;
    std::unique_ptr<UserDefaults> clientSuite_;
    std::unique_ptr<SessionStatistics> sessionStatistics_;
    std::unique_ptr<SignalManager> signalManager_;
    std::unique_ptr<DurationSignalTracker> durationTracker_;
    std::unique_ptr<TrialConversionTracker> trialConversionTracker_;
    // Lets work queued on the scheduler find out that this manager is gone.
    std::shared_ptr<TelemetryManager*> alive_;
    WorkItem sessionStart_;
    WorkItem immediateSync_;
    std::optional<QDateTime> lastTimeImmediateSyncRequested_;
    std::optional<QDateTime> lastDateAppEnteredBackground_;
};

} // namespace vesk::telemetry
