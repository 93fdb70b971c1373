#pragma once

#include "feedback/BugReportSending.h"
#include "logging/VeskLogger.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

class QNetworkAccessManager;

namespace vesk {

class Scheduler;

// Posts a report as one "multipart/form-data" request to the endpoint. The
// body is built here byte for byte; a request that has not ended after
// 15 seconds on the scheduler is abandoned. Keeps no state between sends.
class WorkerBugReportSender final : public BugReportSending {
public:
    static constexpr double requestTimeoutSeconds = 15.0;
    // The answer's body is never used: beyond a short page it is not read
    // further, and the status decides.
    static constexpr qint64 maximumAnswerBytes = 64 * 1024;

    // An empty endpoint text, or one that is not a URL, leaves the sender
    // unconfigured.
    WorkerBugReportSender(const QString& endpoint, QNetworkAccessManager& network, Scheduler& scheduler);

    void send(const BugReport& report, const std::optional<QString>& attachmentPath,
              BugReportSendCompletion completion) override;

    const std::optional<QUrl>& endpoint() const { return endpoint_; }

    // The request body for `boundary`; an attachment that cannot be read is
    // left out.
    static QByteArray multipartBody(const BugReport& report, const QString& boundary,
                                    const std::optional<QString>& attachmentPath);

private:
    std::optional<QUrl> endpoint_;
    QNetworkAccessManager& network_;
    Scheduler& scheduler_;
    VeskLogger logger_{QStringLiteral("WorkerBugReportSender")};
};

} // namespace vesk
