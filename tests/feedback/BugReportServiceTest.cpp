#include "FeedbackTestScene.h"
#include "Gunzip.h"

#include "feedback/BugReportService.h"
#include "feedback/GzipEncoder.h"

#include <QFile>
#include <QSignalSpy>

namespace vesk::test {
namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class BugReportServiceTest : public FeedbackTestScene {
protected:
    std::unique_ptr<BugReportService> service(BugReportService::Folders folders)
    {
        return std::make_unique<BugReportService>(sender(), logStore(), desktop.workspace(), std::move(folders));
    }
    std::unique_ptr<BugReportService> service() { return service({downloads(), temporary()}); }

    // Submits and waits until the submission has ended (its last log line).
    void submitAndWait(BugReportService& service, const BugReport& report)
    {
        const int endedBefore = submissionsEnded();
        service.submit(report);
        ASSERT_TRUE(waitFor([&] {
            scheduler.runPending();
            return submissionsEnded() > endedBefore;
        }));
    }

    int submissionsEnded() const
    {
        return capture.count("submit: sent to worker") + capture.count("submit: exported report to ")
               + capture.count("submit: export fallback failed");
    }

    QString currentLogPath() { return logStore().currentLogURL().toLocalFile(); }

    QStringList revealedPaths() const
    {
        QStringList paths;
        for (const QList<QUrl>& selection : desktop.workspace().revealedFileSelections())
            for (const QUrl& url : selection)
                paths << url.toLocalFile();
        return paths;
    }
};

TEST_F(BugReportServiceTest, SentReportCarriesTheCurrentLogAsGzip)
{
    logStore().enqueueWrite(VeskLogLevel::info, QStringLiteral("Test"), QStringLiteral("Eine Zeile fürs Protokoll"));
    logStore().drain();
    const QByteArray log = readFile(currentLogPath());
    ASSERT_FALSE(log.isEmpty());

    auto service = this->service();
    submitAndWait(*service, report());

    EXPECT_EQ(service->lastResult(), BugReportResult::success());
    const std::optional<QByteArray> part = partBody(server.requests().front(), "log");
    ASSERT_TRUE(part.has_value());
    EXPECT_EQ(gunzip(*part), log);
    const QString attachmentName = QFileInfo(currentLogPath()).completeBaseName() + ".md.gz";
    EXPECT_TRUE(server.requests().front().body.contains("filename=\"" + attachmentName.toUtf8() + "\""));
    EXPECT_TRUE(QFile::exists(QDir(temporary()).filePath(attachmentName)));
    EXPECT_TRUE(capture.contains("submit: category=Feedback includeLogs=true"));
    EXPECT_TRUE(capture.contains("submit: sent to worker"));
    EXPECT_TRUE(revealedPaths().isEmpty());
}

TEST_F(BugReportServiceTest, FailedSendSavesTheReportAndLogInDownloadsAndRevealsBoth)
{
    server.enqueueStatus(500);
    auto service = this->service();
    const BugReport sent = report(QStringLiteral(" a@b.de "));
    submitAndWait(*service, sent);

    const QString reportPath = QDir(downloads()).filePath("vesk-report-1772719629.txt");
    ASSERT_EQ(service->lastResult(), BugReportResult::exported(reportPath));
    EXPECT_EQ(readFile(reportPath), sent.plainTextBody().toUtf8());
    const QString logCopy = QDir(downloads()).filePath(QFileInfo(currentLogPath()).completeBaseName() + ".md.gz");
    EXPECT_EQ(gunzip(readFile(logCopy)), readFile(currentLogPath()));
    EXPECT_EQ(revealedPaths(), (QStringList{reportPath, logCopy}));
    EXPECT_TRUE(capture.contains("submit: send failed (transportFailed) — falling back to silent file export"));
    EXPECT_TRUE(capture.contains("submit: exported report to " + reportPath));
}

TEST_F(BugReportServiceTest, WithoutLogsNothingIsPackedAndOnlyTheTextIsExported)
{
    server.enqueueStatus(503);
    auto service = this->service();
    BugReport sent = report();
    sent.includeLogs = false;
    submitAndWait(*service, sent);

    EXPECT_TRUE(QDir(temporary()).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(partBody(server.requests().front(), "log").has_value());
    EXPECT_EQ(QDir(downloads()).entryList(QDir::Files), QStringList{"vesk-report-1772719629.txt"});
    EXPECT_EQ(revealedPaths().size(), 1);
}

TEST_F(BugReportServiceTest, AMissingDownloadsFolderIsMadeForTheReport)
{
    server.enqueueStatus(500);
    const QString downloads = root.filePath("home/Downloads");
    auto service = this->service({downloads, temporary()});
    submitAndWait(*service, report());

    const QString reportPath = QDir(downloads).filePath("vesk-report-1772719629.txt");
    EXPECT_EQ(service->lastResult(), BugReportResult::exported(reportPath));
    EXPECT_EQ(readFile(reportPath), report().plainTextBody().toUtf8());
}

// A Downloads folder no one can write to, whatever their rights: it lies
// under a regular file.
TEST_F(BugReportServiceTest, UnwritableDownloadsEndsInFailed)
{
    server.enqueueStatus(500);
    QFile blocker(root.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    auto service = this->service({blocker.fileName() + "/Downloads", temporary()});
    submitAndWait(*service, report());

    EXPECT_EQ(service->lastResult(), BugReportResult::failed());
    EXPECT_TRUE(capture.contains("exportToFinder: writing report failed — "));
    EXPECT_TRUE(capture.contains("submit: export fallback failed"));
    EXPECT_TRUE(revealedPaths().isEmpty());
}

// Without a Downloads folder the fallback saves beside the attachment: the
// attachment is revealed where it lies, not removed and copied onto itself.
TEST_F(BugReportServiceTest, ExportIntoTheTemporaryFolderKeepsTheAttachment)
{
    server.enqueueStatus(500);
    auto service = this->service({QString(), temporary()});
    submitAndWait(*service, report());

    const QString attachment = QDir(temporary()).filePath(QFileInfo(currentLogPath()).completeBaseName() + ".md.gz");
    ASSERT_TRUE(QFile::exists(attachment));
    EXPECT_EQ(gunzip(readFile(attachment)), readFile(currentLogPath()));
    const QString reportPath = QDir(temporary()).filePath("vesk-report-1772719629.txt");
    EXPECT_EQ(service->lastResult(), BugReportResult::exported(reportPath));
    EXPECT_EQ(revealedPaths(), (QStringList{reportPath, attachment}));
}

TEST_F(BugReportServiceTest, SameResultTwiceNotifiesOnce)
{
    auto service = this->service();
    QSignalSpy changed(service.get(), &BugReportService::lastResultChanged);
    submitAndWait(*service, report());
    submitAndWait(*service, report());
    EXPECT_EQ(server.requests().size(), 2u);
    EXPECT_EQ(changed.size(), 1);
}

} // namespace
} // namespace vesk::test
