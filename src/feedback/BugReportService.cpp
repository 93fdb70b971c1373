#include "feedback/BugReportService.h"

#include "core/FileIO.h"
#include "feedback/BugReportSending.h"
#include "feedback/GzipEncoder.h"
#include "logging/VeskLogFileStore.h"
#include "platform/Workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>
#include <QUrl>

namespace vesk {

namespace {

QString boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

bool isSameFile(const QString& a, const QString& b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

} // namespace

BugReportService::Folders BugReportService::Folders::ofSystem()
{
    return Folders{QStandardPaths::writableLocation(QStandardPaths::DownloadLocation), QDir::tempPath()};
}

BugReportService::BugReportService(std::shared_ptr<BugReportSending> sender, VeskLogFileStore& logStore,
                                   platform::Workspace& workspace, Folders folders, QObject* parent)
    : QObject(parent)
    , sender_(std::move(sender))
    , logStore_(logStore)
    , workspace_(workspace)
    , folders_(std::move(folders))
{
}

void BugReportService::submit(const BugReport& report)
{
    logger_.log(VeskLogLevel::info, QStringLiteral("submit: category=%1 includeLogs=%2")
                                        .arg(label(report.category), boolText(report.includeLogs)));
    const std::optional<QString> attachment = report.includeLogs ? makeLogAttachment() : std::nullopt;
    sender_->send(report, attachment,
                  [self = QPointer<BugReportService>(this), report,
                   attachment](std::optional<BugReportSendError> error) {
                      if (!self)
                          return;
                      self->sendFinished(report, attachment, error ? std::optional(toText(*error)) : std::nullopt);
                  });
}

void BugReportService::sendFinished(const BugReport& report, const std::optional<QString>& attachmentPath,
                                    std::optional<QString> error)
{
    if (!error) {
        setLastResult(BugReportResult::success());
        logger_.log(VeskLogLevel::info, QStringLiteral("submit: sent to worker"));
        return;
    }
    logger_.log(VeskLogLevel::warning,
                QStringLiteral("submit: send failed (%1) — falling back to silent file export").arg(*error));
    if (const std::optional<QString> exported = exportToFinder(report, attachmentPath)) {
        setLastResult(BugReportResult::exported(*exported));
        logger_.log(VeskLogLevel::info, QStringLiteral("submit: exported report to ") + *exported);
    } else {
        setLastResult(BugReportResult::failed());
        logger_.log(VeskLogLevel::error, QStringLiteral("submit: export fallback failed"));
    }
}

void BugReportService::setLastResult(BugReportResult result)
{
    if (lastResult_ == result)
        return;
    lastResult_ = std::move(result);
    emit lastResultChanged();
}

std::optional<QString> BugReportService::makeLogAttachment()
{
    const QUrl logURL = logStore_.currentLogURL();
    if (logURL.isEmpty()) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("makeLogAttachment: no active log file"));
        return std::nullopt;
    }
    const QString logPath = logURL.toLocalFile();
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly)) {
        logger_.log(VeskLogLevel::error, QStringLiteral("makeLogAttachment: ") + file.errorString());
        return std::nullopt;
    }
    const std::optional<QByteArray> gzip = gzipCompress(file.readAll());
    const QFileInfo logInfo(logPath);
    if (!gzip) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("makeLogAttachment: gzip failed for ") + logInfo.fileName());
        return std::nullopt;
    }
    const QString destination =
        QDir(folders_.temporary).filePath(logInfo.completeBaseName() + QStringLiteral(".md.gz"));
    if (const std::optional<QString> failure = writeFileAtomically(destination, *gzip)) {
        logger_.log(VeskLogLevel::error, QStringLiteral("makeLogAttachment: ") + *failure);
        return std::nullopt;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("makeLogAttachment: wrote %1 bytes to %2")
                                        .arg(gzip->size())
                                        .arg(QFileInfo(destination).fileName()));
    return destination;
}

std::optional<QString> BugReportService::exportToFinder(const BugReport& report,
                                                        const std::optional<QString>& attachmentPath)
{
    const QString folder = folders_.downloads.isEmpty() ? folders_.temporary : folders_.downloads;
    // A fresh home may have no Downloads folder yet.
    QDir().mkpath(folder);
    const QString reportPath =
        QDir(folder).filePath(QStringLiteral("vesk-report-%1.txt").arg(report.metadata.timestamp.toSecsSinceEpoch()));
    if (const std::optional<QString> failure = writeFileAtomically(reportPath, report.plainTextBody().toUtf8())) {
        logger_.log(VeskLogLevel::error, QStringLiteral("exportToFinder: writing report failed — ") + *failure);
        return std::nullopt;
    }
    QList<QUrl> revealed{QUrl::fromLocalFile(reportPath)};
    if (attachmentPath) {
        if (const std::optional<QString> copy = copyBesideReport(*attachmentPath, folder))
            revealed << QUrl::fromLocalFile(*copy);
    }
    workspace_.activateFileViewerSelecting(revealed);
    return reportPath;
}

// The attachment's copy in `folder`. When the attachment already lies there
// (the fallback folder is the temporary one) it is neither removed nor
// copied onto itself.
std::optional<QString> BugReportService::copyBesideReport(const QString& attachmentPath, const QString& folder)
{
    const QString destination = QDir(folder).filePath(QFileInfo(attachmentPath).fileName());
    if (isSameFile(attachmentPath, destination))
        return destination;
    QFile::remove(destination);
    if (!QFile::copy(attachmentPath, destination))
        return std::nullopt;
    return destination;
}

} // namespace vesk
