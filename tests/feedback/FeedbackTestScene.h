#pragma once

#include "LocalHttpServer.h"
#include "LogCapture.h"
#include "core/ManualScheduler.h"
#include "feedback/BugReport.h"
#include "feedback/WorkerBugReportSender.h"
#include "logging/VeskLogFileStore.h"
#include "platform/simulated/DesktopWorkspace.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace vesk::test {

// A report's surroundings: a simulated desktop in virtual time (its
// workspace records reveals), a log-file store, Downloads and temporary
// folders under one temporary root, and a real HTTP server on 127.0.0.1.
class FeedbackTestScene : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        for (const char* folder : {"downloads", "tmp", "logs"})
            ASSERT_TRUE(QDir(root.path()).mkpath(QString::fromUtf8(folder)));
    }

    QString downloads() const { return root.filePath("downloads"); }
    QString temporary() const { return root.filePath("tmp"); }

    std::shared_ptr<WorkerBugReportSender> senderTo(const QString& endpoint)
    {
        return std::make_shared<WorkerBugReportSender>(endpoint, network, scheduler);
    }
    std::shared_ptr<WorkerBugReportSender> sender() { return senderTo(server.url().toString()); }

    VeskLogFileStore& logStore()
    {
        if (!logStore_) {
            VeskLogFileStore::Environment environment;
            environment.logsDirectory = root.filePath("logs");
            logStore_ = std::make_unique<VeskLogFileStore>([environment] { return environment; },
                                                           std::make_shared<SystemClock>(), QTimeZone::utc());
        }
        return *logStore_;
    }

    static BugReport report(std::optional<QString> contact = std::nullopt)
    {
        BugReport report;
        report.category = BugReportCategory::feedback;
        report.title = QStringLiteral("  Fenster springt  ");
        report.description = QStringLiteral("Beim Start\nspringt das Fenster.\n");
        report.contactEmail = std::move(contact);
        report.includeLogs = true;
        report.metadata = {QStringLiteral("1.2"), QStringLiteral("45"), QStringLiteral("Debian GNU/Linux 12"), 2,
                           QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9), Qt::UTC)};
        return report;
    }

    // Runs the event loop until `done` holds (at most 5 s of real time).
    static bool waitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 5000); }

    // The boundary of a captured request, from its Content-Type header.
    static QByteArray boundaryOf(const LocalHttpServer::Request& request)
    {
        const QByteArray type = request.headers.value("content-type");
        const QByteArray prefix = "multipart/form-data; boundary=";
        return type.startsWith(prefix) ? type.mid(prefix.size()) : QByteArray();
    }

    // The body of the part named `name`, none when the request has no such part.
    static std::optional<QByteArray> partBody(const LocalHttpServer::Request& request, const QByteArray& name)
    {
        const QByteArray delimiter = "--" + boundaryOf(request) + "\r\n";
        qsizetype start = 0;
        while ((start = request.body.indexOf(delimiter, start)) >= 0) {
            start += delimiter.size();
            const qsizetype headersEnd = request.body.indexOf("\r\n\r\n", start);
            const QByteArray headers = request.body.mid(start, headersEnd - start);
            const qsizetype next = request.body.indexOf("\r\n--" + boundaryOf(request), headersEnd);
            if (headers.contains("name=\"" + name + "\""))
                return request.body.mid(headersEnd + 4, next - headersEnd - 4);
        }
        return std::nullopt;
    }

    // The field names in the order the body holds them.
    static QList<QByteArray> partNames(const LocalHttpServer::Request& request)
    {
        QList<QByteArray> names;
        const QByteArray marker = "Content-Disposition: form-data; name=\"";
        qsizetype at = 0;
        while ((at = request.body.indexOf(marker, at)) >= 0) {
            at += marker.size();
            names << request.body.mid(at, request.body.indexOf('"', at) - at);
        }
        return names;
    }

    QTemporaryDir root;
    ManualScheduler scheduler;
    platform::SimulatedDesktop desktop{scheduler, root.filePath("desktop")};
    QNetworkAccessManager network;
    LocalHttpServer server;
    LogCapture capture;

private:
    std::unique_ptr<VeskLogFileStore> logStore_;
};

} // namespace vesk::test
