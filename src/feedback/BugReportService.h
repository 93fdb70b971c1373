#pragma once

#include "feedback/BugReport.h"
#include "feedback/BugReportResult.h"
#include "logging/VeskLogger.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace vesk {

class BugReportSending;
class VeskLogFileStore;

namespace platform {
class Workspace;
}

// Carries out the submissions of one report form: packs the current log file
// as a gzip attachment when asked, sends, and when sending fails writes the
// report as a text file into Downloads and reveals it, so that nothing typed
// is lost. Publishes each submission's outcome. Main thread only.
class BugReportService final : public QObject {
    Q_OBJECT

public:
    // Where attachments are written and where the fallback saves reports
    // (empty downloads: the temporary folder).
    struct Folders {
        QString downloads;
        QString temporary;

        static Folders ofSystem();
    };

    BugReportService(std::shared_ptr<BugReportSending> sender, VeskLogFileStore& logStore,
                     platform::Workspace& workspace, Folders folders = Folders::ofSystem(), QObject* parent = nullptr);

    // Absent until the first submission has ended.
    const std::optional<BugReportResult>& lastResult() const { return lastResult_; }

    // Runs one submission; it ends by setting the result, never by failing.
    void submit(const BugReport& report);

    // The gzip copy of the current log file in the temporary folder, or none.
    std::optional<QString> makeLogAttachment();
    // Writes the report text (and copies the attachment) into the fallback
    // folder and reveals them; the written text's path, or none.
    std::optional<QString> exportToFinder(const BugReport& report, const std::optional<QString>& attachmentPath);

signals:
    void lastResultChanged();

private:
    void setLastResult(BugReportResult result);
    void sendFinished(const BugReport& report, const std::optional<QString>& attachmentPath,
                      std::optional<QString> error);
    std::optional<QString> copyBesideReport(const QString& attachmentPath, const QString& folder);

    std::optional<BugReportResult> lastResult_;
    std::shared_ptr<BugReportSending> sender_;
    VeskLogFileStore& logStore_;
    platform::Workspace& workspace_;
    Folders folders_;
    VeskLogger logger_{QStringLiteral("BugReportService")};
};

} // namespace vesk
