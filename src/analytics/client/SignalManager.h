#pragma once

#include "analytics/client/ClientEnvironment.h"
#include "analytics/client/SignalCache.h"
#include "analytics/client/SignalManageable.h"
#include "core/WorkItem.h"

#include <QObject>
#include <QUrl>

#include <map>
#include <memory>
#include <optional>
#include <vector>

class QNetworkAccessManager;
class QNetworkReply;

namespace vesk::telemetry {

class SessionStatistics;
class TelemetryManagerConfiguration;

// Builds signal bodies into its cache and moves them to the analytics
// service: a one-shot timer on the scheduler takes a batch of at most 100
// bodies, posts it as one JSON array, and on the answer forgets the batch
// (success, or a status the service rejects for good) or puts it back behind
// newer signals and waits twice as long, up to `maxBackoffInterval`. Each
// finished attempt books the next one, so at most one timer is pending. The
// cache is saved when the application is about to terminate and loaded (and
// sent at once) when the manager is built. A manager whose environment does
// not send makes no request at all: its signals wait in the cache, and in the
// cache file after a termination. Main thread only.
class SignalManager final : public QObject, public SignalManageable {
    Q_OBJECT

public:
    static constexpr double kRequestTimeoutSeconds = 60.0;
    // The service answers with a few bytes of JSON; a longer answer is cut
    // off there, and its status still decides.
    static constexpr qint64 kMaximumAnswerBytes = 64 * 1024;

    SignalManager(std::shared_ptr<TelemetryManagerConfiguration> configuration, const ClientEnvironment& environment,
                  const SessionStatistics& sessionStatistics, QObject* parent = nullptr);
    ~SignalManager() override;

    void processSignal(const QString& signalType, const SignalParameters& parameters, std::optional<double> floatValue,
                       const std::optional<QString>& customUserID,
                       const TelemetryManagerConfiguration& configuration) override;
    void attemptToSendNextBatchOfCachedSignals() override;
    QString defaultUserIdentifier() override;

    // Saves the cache to its file, with the batches of requests still under
    // way put back into it first: they are aborted, so only the cache keeps them.
    void appWillTerminate();

    SignalCache& signalCache() { return signalCache_; }
    int consecutiveFailures() const { return consecutiveFailures_; }
    // Finished send attempts: sent, dropped, failed or found nothing to send.
    int sendCompletions() const { return sendCompletions_; }
    // min(maxBackoffInterval, transmitInterval × 2^failures): 10, 20, 40 … 300 s by default.
    double transmitDelay(int consecutiveFailures) const;

    // The ingestion URL: the base with a slash, then "v2/" or
    // "v2/namespace/<namespace>/"; none when that is no valid URL.
    static std::optional<QUrl> signalEndpoint(const QUrl& baseURL, const std::optional<QString>& namespaceName);
    // "Payload Too Large (413)" and the other statuses whose batch is
    // dropped for good; none for a status worth trying again.
    static std::optional<QString> rejectionReason(int httpStatus);

private:
    void checkAndSend();
    void send(std::vector<SignalPostBody> batch, const QByteArray& body);
    void handleReply(QNetworkReply& reply, bool timedOut, std::vector<SignalPostBody> batch);
    void returnRequestsInFlightToCache();
    void completeWithSuccess();
    void completeWithFailure(std::vector<SignalPostBody> batch);
    void scheduleTimer();
    QNetworkAccessManager& network();
    template <typename MessageBuilder>
    void log(LogHandler::LogLevel level, MessageBuilder&& message) const;

    std::shared_ptr<TelemetryManagerConfiguration> configuration_;
    Scheduler& scheduler_;
    Clock& clock_;
    const SystemFactsProviding& systemFacts_;
    UserDefaults* clientSuite_;
    const SessionStatistics& sessionStatistics_;
    SignalCache signalCache_;
    const bool sendsSignals_;
    WorkItem sendTimer_;
    int consecutiveFailures_ = 0;
    int sendCompletions_ = 0;
    QNetworkAccessManager* ownNetwork_ = nullptr;
    // Each request under way with the batch it carries and its time-out.
    struct RequestInFlight {
        std::vector<SignalPostBody> batch;
        WorkItem timeout;
    };
    std::map<QNetworkReply*, RequestInFlight> requestsInFlight_;
};

} // namespace vesk::telemetry
