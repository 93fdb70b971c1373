#include "feedback/WorkerBugReportSender.h"

#include "core/AnswerSizeLimit.h"
#include "core/FileIO.h"
#include "core/Scheduler.h"

#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QUuid>

#include <memory>

namespace vesk {

namespace {

const QByteArray crlf = QByteArrayLiteral("\r\n");

// An attachment is one log file or one diagnostic payload; anything larger
// than an input file is not sent.
std::optional<QByteArray> readAttachment(const QString& path)
{
    InputFileContents contents = readInputFile(path);
    if (!contents.ok())
        return std::nullopt;
    return std::move(contents.data);
}

void appendField(QByteArray& body, const QByteArray& boundary, const QString& name, const QString& value)
{
    body += "--" + boundary + crlf;
    body += "Content-Disposition: form-data; name=\"" + name.toUtf8() + "\"" + crlf + crlf;
    body += value.toUtf8() + crlf;
}

std::optional<QUrl> parseEndpoint(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty())
        return std::nullopt;
    return url;
}

} // namespace

WorkerBugReportSender::WorkerBugReportSender(const QString& endpoint, QNetworkAccessManager& network,
                                             Scheduler& scheduler)
    : endpoint_(parseEndpoint(endpoint))
    , network_(network)
    , scheduler_(scheduler)
{
}

QByteArray WorkerBugReportSender::multipartBody(const BugReport& report, const QString& boundary,
                                                const std::optional<QString>& attachmentPath)
{
    const QByteArray b = boundary.toUtf8();
    QByteArray body;
    appendField(body, b, QStringLiteral("category"), label(report.category));
    appendField(body, b, QStringLiteral("title"), report.title.trimmed());
    appendField(body, b, QStringLiteral("description"), report.description.trimmed());
    if (const std::optional<QString> contact = report.trimmedContactEmail())
        appendField(body, b, QStringLiteral("contactEmail"), *contact);
    const BugReportMetadata& metadata = report.metadata;
    appendField(body, b, QStringLiteral("appVersion"),
                QStringLiteral("%1 (%2)").arg(metadata.appVersion, metadata.build));
    appendField(body, b, QStringLiteral("osVersion"), metadata.osVersion);
    appendField(body, b, QStringLiteral("monitorCount"), QString::number(metadata.monitorCount));
    appendField(body, b, QStringLiteral("timestamp"), reportTimestampText(metadata.timestamp));

    if (attachmentPath) {
        if (const std::optional<QByteArray> bytes = readAttachment(*attachmentPath)) {
            body += "--" + b + crlf;
            body += "Content-Disposition: form-data; name=\"log\"; filename=\""
                    + QFileInfo(*attachmentPath).fileName().toUtf8() + "\"" + crlf;
            body += "Content-Type: application/gzip" + crlf + crlf;
            body += *bytes + crlf;
        }
    }
    body += "--" + b + "--" + crlf;
    return body;
}

void WorkerBugReportSender::send(const BugReport& report, const std::optional<QString>& attachmentPath,
                                 BugReportSendCompletion completion)
{
    if (!endpoint_) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("send: worker URL not configured"));
        scheduler_.async([completion = std::move(completion)] { completion(BugReportSendError::notConfigured); });
        return;
    }
    const QString boundary = QStringLiteral("vesk-") + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    QNetworkRequest request(*endpoint_);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("multipart/form-data; boundary=") + boundary);
    const QByteArray body = multipartBody(report, boundary, attachmentPath);
    logger_.log(VeskLogLevel::info, QStringLiteral("send: POST %1 category=%2 hasLog=%3")
                                        .arg(endpoint_->toString(), label(report.category),
                                             attachmentPath ? QStringLiteral("true") : QStringLiteral("false")));

    QNetworkReply* reply = network_.post(request, body);
    limitAnswerSize(*reply, maximumAnswerBytes);
    auto timedOut = std::make_shared<bool>(false);
    WorkItem timeout = scheduler_.asyncAfter(requestTimeoutSeconds, [reply = QPointer<QNetworkReply>(reply), timedOut] {
        if (!reply || reply->isFinished())
            return;
        *timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, reply,
                     [reply, timedOut, timeout, logger = logger_, completion = std::move(completion)]() mutable {
                         timeout.cancel();
                         reply->deleteLater();
                         if (answerSizeExceeded(*reply))
                             logger.log(VeskLogLevel::warning, QStringLiteral("send: answer not read — ")
                                                                   + answerTooLargeText(maximumAnswerBytes));
                         const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
                         if (!status.isValid()) {
                             const QString error =
                                 *timedOut ? QStringLiteral("The request timed out.") : reply->errorString();
                             logger.log(VeskLogLevel::error, QStringLiteral("send: network error — ") + error);
                             completion(BugReportSendError::transportFailed);
                             return;
                         }
                         const int code = status.toInt();
                         if (code >= 200 && code <= 299) {
                             logger.log(VeskLogLevel::info, QStringLiteral("send: success (HTTP %1)").arg(code));
                             completion(std::nullopt);
                             return;
                         }
                         logger.log(VeskLogLevel::error, QStringLiteral("send: HTTP %1").arg(code));
                         completion(BugReportSendError::transportFailed);
                     });
}

} // namespace vesk
