#include "FeedbackTestScene.h"
#include "Gunzip.h"

#include "feedback/CrashDiagnosticsService.h"

namespace vesk::test {
namespace {

QByteArray payload(int crashes, int hangs)
{
    QByteArray json = R"({"timeStampBegin":"2026-01-04 09:00:00")";
    if (crashes > 0)
        json += R"(,"crashDiagnostics":[)" + QByteArrayList(crashes, R"({"signal":11})").join(',') + "]";
    if (hangs > 0)
        json += R"(,"hangDiagnostics":[)" + QByteArrayList(hangs, R"({"hangDuration":"3 sec"})").join(',') + "]";
    return json + "}";
}

class CrashDiagnosticsServiceTest : public FeedbackTestScene {
protected:
    void subscribe(std::shared_ptr<BugReportSending> sender)
    {
        service = std::make_shared<CrashDiagnosticsService>(
            std::move(sender), [this] { return analyticsEnabled; },
            CrashDiagnosticsService::Environment{scheduler, scheduler, desktop.interfaces().screens, temporary()});
        desktop.subscribeToDiagnosticPayloads([weak = std::weak_ptr(service)](const std::vector<QByteArray>& payloads) {
            if (auto subscriber = weak.lock())
                subscriber->didReceive(payloads);
        });
    }

    // Delivers on the desktop's thread and lets the main queue forward.
    void deliver(const std::vector<QByteArray>& payloads)
    {
        desktop.deliverDiagnosticPayloads(payloads);
        desktop.workspace().waitForCompletions();
        scheduler.runPending();
    }

    int sendsEnded() const { return capture.count("Diagnostic sent (") + capture.count("Diagnostic send failed — "); }

    QStringList diagnosticFiles() const
    {
        return QDir(temporary()).entryList({QStringLiteral("vesk-diagnostic-*")}, QDir::Files);
    }

    bool analyticsEnabled = true;
    std::shared_ptr<CrashDiagnosticsService> service;
};

TEST_F(CrashDiagnosticsServiceTest, CrashPayloadArrivesAsAnAutomaticReportAndLeavesNoFile)
{
    subscribe(sender());
    const QByteArray json = payload(1, 0);
    deliver({json, payload(0, 0)});
    ASSERT_TRUE(waitFor([&] { return sendsEnded() == 1; }));

    ASSERT_EQ(server.requests().size(), 1u);
    const LocalHttpServer::Request& request = server.requests().front();
    EXPECT_EQ(partBody(request, "title"), "Automatische Diagnose: 1 Crash(es), 0 Hang(s)");
    EXPECT_EQ(partBody(request, "category"), "Bug");
    EXPECT_EQ(partBody(request, "description"),
              "Automatisch von MetricKit erfasste Crash-/Hang-Diagnose (keine Inhalte, nur technische Daten).");
    const std::optional<QByteArray> log = partBody(request, "log");
    ASSERT_TRUE(log.has_value());
    EXPECT_EQ(gunzip(*log), json);
    EXPECT_TRUE(request.body.contains(".json.gz\"\r\nContent-Type: application/gzip\r\n"));
    EXPECT_TRUE(capture.contains("Forwarding 1 crash/hang diagnostic(s)"));
    EXPECT_TRUE(capture.contains("Diagnostic sent (crashes=1, hangs=0)"));
    EXPECT_TRUE(diagnosticFiles().isEmpty());
}

// Several reports built in the same second: each has its own file, and each
// send removes only its own.
TEST_F(CrashDiagnosticsServiceTest, ReportsOfOneDeliveryKeepTheirOwnAttachments)
{
    subscribe(sender());
    server.enqueueStatus(500);
    const std::vector<QByteArray> payloads{payload(1, 0), payload(0, 3), payload(2, 1)};
    deliver(payloads);
    ASSERT_TRUE(waitFor([&] { return sendsEnded() == 3; }));

    ASSERT_EQ(server.requests().size(), 3u);
    QList<QByteArray> titles;
    QList<QByteArray> attachments;
    for (const LocalHttpServer::Request& request : server.requests()) {
        titles << partBody(request, "title").value_or("");
        attachments << gunzip(partBody(request, "log").value_or("")).value_or("");
    }
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (QList<QByteArray>{"Automatische Diagnose: 0 Crash(es), 3 Hang(s)",
                                         "Automatische Diagnose: 1 Crash(es), 0 Hang(s)",
                                         "Automatische Diagnose: 2 Crash(es), 1 Hang(s)"}));
    for (const QByteArray& json : payloads)
        EXPECT_TRUE(attachments.contains(json)) << json.toStdString();
    EXPECT_EQ(capture.count("Diagnostic send failed — transportFailed"), 1);
    EXPECT_TRUE(diagnosticFiles().isEmpty());
}

TEST_F(CrashDiagnosticsServiceTest, AnalyticsOffAtForwardingDropsThePayloadsForGood)
{
    subscribe(sender());
    desktop.deliverDiagnosticPayloads({payload(1, 0), payload(0, 1)});
    desktop.workspace().waitForCompletions();
    analyticsEnabled = false; // asked when forwarding, not when delivered
    scheduler.runPending();
    EXPECT_TRUE(capture.contains("2 crash/hang diagnostic(s) dropped — analytics disabled"));

    analyticsEnabled = true;
    scheduler.runPending();
    QTest::qWait(50);
    EXPECT_TRUE(server.requests().empty());
    EXPECT_TRUE(diagnosticFiles().isEmpty());
}

TEST_F(CrashDiagnosticsServiceTest, PayloadsWithoutCrashOrHangAreIgnoredQuietly)
{
    subscribe(sender());
    deliver({payload(0, 0), "not json"});
    QTest::qWait(50);
    EXPECT_TRUE(capture.messages("CrashDiagnosticsService").isEmpty());
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(CrashDiagnosticsServiceTest, UnconfiguredEndpointFailsEveryReport)
{
    subscribe(senderTo(QString()));
    deliver({payload(1, 0), payload(1, 1)});
    ASSERT_TRUE(waitFor([&] {
        scheduler.runPending();
        return sendsEnded() == 2;
    }));
    EXPECT_EQ(capture.count("Diagnostic send failed — notConfigured"), 2);
    EXPECT_TRUE(diagnosticFiles().isEmpty());
}

} // namespace
} // namespace vesk::test
