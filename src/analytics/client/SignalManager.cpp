#include "analytics/client/SignalManager.h"

#include "analytics/client/ClientIdentity.h"
#include "analytics/client/DefaultSignalPayload.h"
#include "analytics/client/SessionStatistics.h"
#include "analytics/client/SignalEnricher.h"
#include "analytics/client/SystemFactsProviding.h"
#include "analytics/client/TelemetryError.h"
#include "analytics/client/TelemetryManagerConfiguration.h"
#include "core/AnswerSizeLimit.h"
#include "core/Clock.h"
#include "core/Scheduler.h"
#include "core/TextFormat.h"
#include "core/UserDefaults.h"
#include "platform/ApplicationActivity.h"

#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QStringDecoder>

#include <cmath>

namespace vesk::telemetry {

namespace {

using Level = LogHandler::LogLevel;
const QString kDefaultUserIdentifierKey = QStringLiteral("defaultUserIdentifier");

std::optional<QString> utf8Text(const QByteArray& data)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(data);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

SignalManager::SignalManager(std::shared_ptr<TelemetryManagerConfiguration> configuration,
                             const ClientEnvironment& environment, const SessionStatistics& sessionStatistics,
                             QObject* parent)
    : QObject(parent)
    , configuration_(std::move(configuration))
    , scheduler_(environment.scheduler)
    , clock_(environment.clock)
    , systemFacts_(environment.systemFacts)
    , clientSuite_(environment.clientSuite)
    , sessionStatistics_(sessionStatistics)
    , signalCache_(configuration_->swiftUIPreviewMode() ? std::nullopt : configuration_->logHandler,
                   configuration_->cacheLimit, environment.cacheFilePath)
    , sendsSignals_(environment.sendsSignals)
{
    connect(&environment.applicationActivity, &platform::ApplicationActivity::willTerminate, this,
            &SignalManager::appWillTerminate);
    // Sends what the cache file brought at once; every attempt books the next one.
    checkAndSend();
}

SignalManager::~SignalManager()
{
    sendTimer_.cancel();
    returnRequestsInFlightToCache();
}

template <typename MessageBuilder>
void SignalManager::log(Level level, MessageBuilder&& message) const
{
    logWith(configuration_->logHandler, level, std::forward<MessageBuilder>(message));
}

// --- Building signals -------------------------------------------------------------------

void SignalManager::processSignal(const QString& signalType, const SignalParameters& parameters,
                                  std::optional<double> floatValue, const std::optional<QString>& customUserID,
                                  const TelemetryManagerConfiguration& configuration)
{
    // JSON carries no NaN or infinity: such a body could never be sent, and
    // would keep the whole cache from being saved.
    if (floatValue && !std::isfinite(*floatValue)) {
        log(Level::error, [&] {
            return QStringLiteral("Dropping signal '%1': its float value %2 cannot be sent")
                .arg(signalType)
                .arg(*floatValue);
        });
        return;
    }
    const QDateTime now = clock_.now();
    const QString clientUser = userHash(customUserID.value_or(defaultUserIdentifier()), configuration.salt());
    SignalParameters payload =
        DefaultSignalPayload::parameters(systemFacts_.currentFacts(), now, sessionStatistics_.payloadEntries());
    SignalParameters enrichments;
    for (const std::shared_ptr<SignalEnricher>& enricher : configuration.metadataEnrichers)
        mergeParameters(enrichments, enricher->payloadAdditions(signalType, clientUser, floatValue));
    mergeParameters(payload, enrichments);
    mergeParameters(payload, parameters);

    SignalPostBody body{now,        configuration.telemetryAppID(),
                        clientUser, uuidText(configuration.sessionID()),
                        signalType, floatValue,
                        payload,    boolText(configuration.testMode())};
    log(Level::debug, [&] {
        return QStringLiteral("Process signal: ")
               + QString::fromUtf8(
                   QJsonDocument(body.toJson(SignalPostBody::DateForm::wire)).toJson(QJsonDocument::Compact));
    });
    signalCache_.append(std::move(body));
}

QString SignalManager::defaultUserIdentifier()
{
    if (configuration_->defaultUser)
        return *configuration_->defaultUser;
    if (clientSuite_) {
        if (const std::optional<QString> stored = clientSuite_->stringForKey(kDefaultUserIdentifierKey))
            return *stored;
    }
    const QString identifier = uuidText(QUuid::createUuid());
    if (clientSuite_)
        clientSuite_->setString(kDefaultUserIdentifierKey, identifier);
    return identifier;
}

// --- Sending ----------------------------------------------------------------------------

void SignalManager::attemptToSendNextBatchOfCachedSignals()
{
    checkAndSend();
}

void SignalManager::appWillTerminate()
{
    log(Level::debug, [] { return QStringLiteral("appWillTerminate()"); });
    returnRequestsInFlightToCache();
    signalCache_.saveToDisk();
}

// A request cut off by the termination may or may not have reached the
// service; its batch is kept, since a signal counted twice does less harm
// than one lost.
void SignalManager::returnRequestsInFlightToCache()
{
    while (!requestsInFlight_.empty()) {
        auto node = requestsInFlight_.extract(requestsInFlight_.begin());
        QNetworkReply* reply = node.key();
        RequestInFlight& request = node.mapped();
        request.timeout.cancel();
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
        reply->deleteLater();
        log(Level::debug, [&] {
            return QStringLiteral("Keeping %1 signals of an unfinished request in the cache").arg(request.batch.size());
        });
        signalCache_.appendAll(std::move(request.batch));
    }
}

double SignalManager::transmitDelay(int consecutiveFailures) const
{
    return std::min(configuration_->maxBackoffInterval,
                    configuration_->transmitInterval * std::pow(2.0, consecutiveFailures));
}

void SignalManager::scheduleTimer()
{
    sendTimer_.cancel();
    sendTimer_ = scheduler_.asyncAfter(transmitDelay(consecutiveFailures_), [self = QPointer<SignalManager>(this)] {
        if (self)
            self->checkAndSend();
    });
}

void SignalManager::checkAndSend()
{
    if (!sendsSignals_) {
        log(Level::debug, [&] {
            return QStringLiteral("Not sending: no endpoint; %1 signals stay in the cache")
                .arg(signalCache_.storedCount());
        });
        return;
    }
    log(Level::debug, [&] { return QStringLiteral("Current signal cache count: %1").arg(signalCache_.storedCount()); });
    std::vector<SignalPostBody> batch = signalCache_.takeBatch();
    if (batch.empty()) {
        completeWithSuccess();
        return;
    }
    log(Level::info, [&] {
        return QStringLiteral("Sending %1 signals leaving a cache of %2 signals")
            .arg(batch.size())
            .arg(signalCache_.storedCount());
    });
    QString encodingError;
    const std::optional<QByteArray> body =
        SignalPostBody::encodeArray(batch, SignalPostBody::DateForm::wire, &encodingError);
    if (!body) {
        log(Level::error, [&] {
            return TelemetryError{TelemetryError::Kind::encodeFailed, encodingError}.localizedDescription();
        });
        // The batch can never be sent: drop it and go on with the next one.
        completeWithSuccess();
        return;
    }
    send(std::move(batch), *body);
}

void SignalManager::send(std::vector<SignalPostBody> batch, const QByteArray& body)
{
    const std::optional<QString>& namespaceName = configuration_->namespaceName();
    const std::optional<QUrl> endpoint = signalEndpoint(configuration_->apiBaseURL(), namespaceName);
    if (!endpoint) {
        log(Level::error, [&] {
            return QStringLiteral("Unable to construct signal API URL for namespace ")
                   + namespaceName.value_or(QStringLiteral("nil"));
        });
        log(Level::error, [] {
            return TelemetryError{TelemetryError::Kind::invalidEndpointUrl, {}}.localizedDescription();
        });
        completeWithFailure(std::move(batch));
        return;
    }
    QNetworkRequest request(*endpoint);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    log(Level::debug, [&] { return QString::fromUtf8(body); }); // JSON is UTF-8

    QNetworkReply* reply = network().post(request, body);
    limitAnswerSize(*reply, kMaximumAnswerBytes);
    auto timedOut = std::make_shared<bool>(false);
    WorkItem timeout =
        scheduler_.asyncAfter(kRequestTimeoutSeconds, [reply = QPointer<QNetworkReply>(reply), timedOut] {
            if (!reply)
                return;
            *timedOut = true;
            reply->abort();
        });
    requestsInFlight_.emplace(reply, RequestInFlight{std::move(batch), timeout});
    connect(reply, &QNetworkReply::finished, this, [this, reply, timedOut] {
        auto node = requestsInFlight_.extract(reply);
        if (node.empty())
            return;
        node.mapped().timeout.cancel();
        reply->deleteLater();
        handleReply(*reply, *timedOut, std::move(node.mapped().batch));
    });
}

void SignalManager::handleReply(QNetworkReply& reply, bool timedOut, std::vector<SignalPostBody> batch)
{
    if (answerSizeExceeded(reply))
        log(Level::error,
            [] { return answerTooLargeText(kMaximumAnswerBytes) + QStringLiteral("; stopped reading it"); });
    // Qt reports 4xx and 5xx answers as errors too: the status decides first.
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        log(Level::error, [&] { return timedOut ? QStringLiteral("The request timed out.") : reply.errorString(); });
        completeWithFailure(std::move(batch));
        return;
    }
    const int code = status.toInt();
    if (code >= 200 && code <= 299) {
        if (const std::optional<QString> text = utf8Text(reply.readAll()))
            log(Level::debug, [&] { return *text; });
        completeWithSuccess();
    } else if (const std::optional<QString> reason = rejectionReason(code)) {
        log(Level::error, [&] {
            return QStringLiteral("Dropping %1 signal(s): rejected by server %2").arg(batch.size()).arg(*reason);
        });
        completeWithSuccess();
    } else {
        log(Level::debug,
            [&] { return QStringLiteral("Failed to send events (status %1), will try again later").arg(code); });
        completeWithFailure(std::move(batch));
    }
}

void SignalManager::completeWithSuccess()
{
    ++sendCompletions_;
    consecutiveFailures_ = 0;
    scheduleTimer();
}

void SignalManager::completeWithFailure(std::vector<SignalPostBody> batch)
{
    signalCache_.appendAll(std::move(batch));
    ++sendCompletions_;
    ++consecutiveFailures_;
    scheduleTimer();
}

QNetworkAccessManager& SignalManager::network()
{
    if (configuration_->urlSession)
        return *configuration_->urlSession;
    if (!ownNetwork_)
        ownNetwork_ = new QNetworkAccessManager(this);
    return *ownNetwork_;
}

std::optional<QUrl> SignalManager::signalEndpoint(const QUrl& baseURL, const std::optional<QString>& namespaceName)
{
    QString text = baseURL.toString(QUrl::FullyEncoded);
    if (!text.endsWith(QLatin1Char('/')))
        text += QLatin1Char('/');
    if (namespaceName && !namespaceName->isEmpty())
        text += QStringLiteral("v2/namespace/") + *namespaceName + QLatin1Char('/');
    else
        text += QStringLiteral("v2/");
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative())
        return std::nullopt;
    return url;
}

std::optional<QString> SignalManager::rejectionReason(int httpStatus)
{
    switch (httpStatus) {
    case 400:
        return QStringLiteral("Bad Request (400)");
    case 401:
        return QStringLiteral("Unauthorized (401)");
    case 403:
        return QStringLiteral("Forbidden (403)");
    case 404:
        return QStringLiteral("Not Found (404)");
    case 413:
        return QStringLiteral("Payload Too Large (413)");
    case 422:
        return QStringLiteral("Unprocessable Entity (422)");
    case 501:
        return QStringLiteral("Not Implemented (501)");
    case 505:
        return QStringLiteral("HTTP Version Not Supported (505)");
    default:
        return std::nullopt;
    }
}

} // namespace vesk::telemetry
