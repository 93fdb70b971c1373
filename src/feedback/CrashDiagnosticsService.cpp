#include "feedback/CrashDiagnosticsService.h"

#include "core/Clock.h"
#include "core/FileIO.h"
#include "core/Scheduler.h"
#include "feedback/BugReportSending.h"
#include "feedback/GzipEncoder.h"

#include <QDir>
#include <QFile>
#include <QUuid>

namespace vesk {

CrashDiagnosticsService::CrashDiagnosticsService(std::shared_ptr<BugReportSending> sender,
                                                 std::function<bool()> isEnabled, Environment environment)
    : sender_(std::move(sender))
    , isEnabled_(std::move(isEnabled))
    , environment_(std::move(environment))
{
}

void CrashDiagnosticsService::didReceive(const std::vector<QByteArray>& payloads)
{
    std::vector<CrashDiagnostic> diagnostics;
    for (const QByteArray& payload : payloads) {
        if (std::optional<CrashDiagnostic> diagnostic = CrashDiagnostic::fromPayload(payload))
            diagnostics.push_back(std::move(*diagnostic));
    }
    environment_.mainQueue.async([weak = weak_from_this(), diagnostics = std::move(diagnostics)] {
        if (const auto self = weak.lock())
            self->forward(diagnostics);
    });
}

void CrashDiagnosticsService::forward(const std::vector<CrashDiagnostic>& diagnostics)
{
    if (diagnostics.empty())
        return;
    if (!isEnabled_()) {
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("%1 crash/hang diagnostic(s) dropped — analytics disabled").arg(diagnostics.size()));
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Forwarding %1 crash/hang diagnostic(s)").arg(diagnostics.size()));
    for (const CrashDiagnostic& diagnostic : diagnostics)
        sendReport(diagnostic);
}

void CrashDiagnosticsService::sendReport(const CrashDiagnostic& diagnostic)
{
    const std::optional<QString> attachment = makeAttachment(diagnostic.json);
    BugReport report;
    report.category = BugReportCategory::bug;
    report.title = QStringLiteral("Automatische Diagnose: %1 Crash(es), %2 Hang(s)")
                       .arg(diagnostic.crashCount)
                       .arg(diagnostic.hangCount);
    report.description = QStringLiteral(
        "Automatisch von MetricKit erfasste Crash-/Hang-Diagnose (keine Inhalte, nur technische Daten).");
    report.includeLogs = false;
    report.metadata = BugReportMetadata::current(environment_.screens, environment_.clock);

    sender_->send(report, attachment,
                  [logger = logger_, attachment, crashes = diagnostic.crashCount,
                   hangs = diagnostic.hangCount](std::optional<BugReportSendError> error) {
                      if (error)
                          logger.log(VeskLogLevel::warning,
                                     QStringLiteral("Diagnostic send failed — ") + toText(*error));
                      else
                          logger.log(VeskLogLevel::info,
                                     QStringLiteral("Diagnostic sent (crashes=%1, hangs=%2)").arg(crashes).arg(hangs));
                      if (attachment)
                          QFile::remove(*attachment);
                  });
}

// Each attachment has a name of its own, so that reports built in the same
// second neither overwrite nor delete each other's files.
std::optional<QString> CrashDiagnosticsService::makeAttachment(const QByteArray& json)
{
    const std::optional<QByteArray> gzip = json.isEmpty() ? std::nullopt : gzipCompress(json);
    if (!gzip) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("makeAttachment: empty or non-gzippable payload"));
        return std::nullopt;
    }
    const QString unique = QUuid::createUuid().toString(QUuid::Id128).left(8);
    const QString path = QDir(environment_.temporaryFolder)
                             .filePath(QStringLiteral("vesk-diagnostic-%1-%2.json.gz")
                                           .arg(environment_.clock.now().toSecsSinceEpoch())
                                           .arg(unique));
    if (const std::optional<QString> failure = writeFileAtomically(path, *gzip)) {
        logger_.log(VeskLogLevel::error, QStringLiteral("makeAttachment: write failed — ") + *failure);
        return std::nullopt;
    }
    return path;
}

} // namespace vesk
