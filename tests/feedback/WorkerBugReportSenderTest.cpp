#include "FeedbackTestScene.h"

#include "core/FileIO.h"
#include "feedback/BugReportEndpoint.h"

#include <QFile>

namespace vesk::test {
namespace {

class WorkerBugReportSenderTest : public FeedbackTestScene {
protected:
    // Sends and waits for the completion; the error it gave, if any.
    std::optional<BugReportSendError> sendAndWait(WorkerBugReportSender& sender, const BugReport& report,
                                                  const std::optional<QString>& attachment = std::nullopt)
    {
        bool done = false;
        std::optional<BugReportSendError> result;
        sender.send(report, attachment, [&](std::optional<BugReportSendError> error) {
            done = true;
            result = error;
        });
        EXPECT_TRUE(waitFor([&] {
            scheduler.runPending();
            return done;
        }));
        return result;
    }

    static QByteArray golden(const QString& name)
    {
        QFile file(QStringLiteral(VESK_FEEDBACK_TEST_DATA) + QLatin1Char('/') + name);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        return file.readAll();
    }
};

TEST_F(WorkerBugReportSenderTest, BodyMatchesTheGoldenFileByteForByte)
{
    const QString attachment = QDir(temporary()).filePath("app-launch.md.gz");
    ASSERT_EQ(writeFileAtomically(attachment, QByteArray("\x1f\x8b\x08 not really\r\n--gzip\0bytes", 28)),
              std::nullopt);

    auto sender = this->sender();
    EXPECT_EQ(sendAndWait(*sender, report(QStringLiteral(" a@b.de\n")), attachment), std::nullopt);

    ASSERT_EQ(server.requests().size(), 1u);
    const LocalHttpServer::Request& request = server.requests().front();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/");
    const QByteArray boundary = boundaryOf(request);
    EXPECT_TRUE(QRegularExpression("^vesk-[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$")
                    .match(QString::fromLatin1(boundary))
                    .hasMatch())
        << boundary.toStdString();
    EXPECT_EQ(request.body, golden("multipart-with-contact-and-log.golden").replace("BOUNDARY", boundary));
    EXPECT_TRUE(
        capture.contains(QStringLiteral("send: POST %1 category=Feedback hasLog=true").arg(server.url().toString())));
    EXPECT_TRUE(capture.contains("send: success (HTTP 200)"));
}

TEST_F(WorkerBugReportSenderTest, AnAnswerLongerThanTheCapIsCutOffAndItsStatusStillDecides)
{
    auto sender = this->sender();
    constexpr qint64 streamed = 64 * WorkerBugReportSender::maximumAnswerBytes;
    for (const auto& [status, announcesLength, result] :
         {std::tuple{200, false, std::optional<BugReportSendError>()},
          std::tuple{200, true, std::optional<BugReportSendError>()},
          std::tuple{503, false, std::optional<BugReportSendError>(BugReportSendError::transportFailed)}}) {
        SCOPED_TRACE(::testing::Message() << "status " << status << ", length announced " << announcesLength);
        server.enqueue(LocalHttpServer::streamed(streamed, announcesLength, status));
        const int cutOff = server.streamsCutOff();
        capture.clear();
        EXPECT_EQ(sendAndWait(*sender, report(std::nullopt)), result);
        EXPECT_TRUE(QTest::qWaitFor([&] { return server.streamsCutOff() > cutOff; }, 5000))
            << "the sender read the whole answer";
        EXPECT_TRUE(capture.contains("send: answer not read — The answer is larger than 65536 bytes"));
    }
}

TEST_F(WorkerBugReportSenderTest, ContactFieldOnlyWhenGivenAndEachRequestHasItsOwnBoundary)
{
    auto sender = this->sender();
    for (const std::optional<QString>& contact :
         {std::optional<QString>(), std::optional<QString>(" \t"), std::optional<QString>(" x@y.de ")})
        sendAndWait(*sender, report(contact));

    ASSERT_EQ(server.requests().size(), 3u);
    const QList<QByteArray> seven{"category",  "title",        "description", "appVersion",
                                  "osVersion", "monitorCount", "timestamp"};
    EXPECT_EQ(partNames(server.requests()[0]), seven);
    EXPECT_EQ(partNames(server.requests()[1]), seven);
    const QList<QByteArray> eight{"category",   "title",     "description",  "contactEmail",
                                  "appVersion", "osVersion", "monitorCount", "timestamp"};
    EXPECT_EQ(partNames(server.requests()[2]), eight);
    EXPECT_EQ(partBody(server.requests()[2], "contactEmail"), "x@y.de");
    EXPECT_NE(boundaryOf(server.requests()[0]), boundaryOf(server.requests()[1]));
}

TEST_F(WorkerBugReportSenderTest, MissingAttachmentIsLeftOutButTheRequestGoesOut)
{
    auto sender = this->sender();
    EXPECT_EQ(sendAndWait(*sender, report(), QDir(temporary()).filePath("gone.md.gz")), std::nullopt);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_FALSE(partBody(server.requests()[0], "log").has_value());
    EXPECT_TRUE(capture.contains("hasLog=true"));
}

TEST_F(WorkerBugReportSenderTest, OnlyStatusesFrom200To299Succeed)
{
    auto sender = this->sender();
    for (int status : {200, 299, 199, 300, 404, 500}) {
        server.enqueueStatus(status);
        const std::optional<BugReportSendError> error = sendAndWait(*sender, report());
        const bool succeeded = status >= 200 && status <= 299;
        EXPECT_EQ(error, succeeded ? std::nullopt : std::optional(BugReportSendError::transportFailed)) << status;
        EXPECT_TRUE(capture.contains(succeeded ? QStringLiteral("send: success (HTTP %1)").arg(status)
                                               : QStringLiteral("send: HTTP %1").arg(status)))
            << status;
    }
}

TEST_F(WorkerBugReportSenderTest, SlowServerTimesOutAfterFifteenSeconds)
{
    server.enqueue({200, {}, LocalHttpServer::Response::Kind::hold});
    auto sender = this->sender();
    bool done = false;
    std::optional<BugReportSendError> result;
    sender->send(report(), std::nullopt, [&](std::optional<BugReportSendError> error) {
        done = true;
        result = error;
    });
    ASSERT_TRUE(server.waitForRequests(1));
    scheduler.advance(WorkerBugReportSender::requestTimeoutSeconds - 0.1);
    QTest::qWait(20);
    EXPECT_FALSE(done);
    scheduler.advance(0.1);
    ASSERT_TRUE(waitFor([&] { return done; }));
    EXPECT_EQ(result, BugReportSendError::transportFailed);
    EXPECT_TRUE(capture.contains("send: network error — "));
}

TEST_F(WorkerBugReportSenderTest, UnconfiguredEndpointSendsNothing)
{
    for (const QString& endpoint : {QString(), QStringLiteral("::not a url")}) {
        auto sender = senderTo(endpoint);
        EXPECT_EQ(sendAndWait(*sender, report()), BugReportSendError::notConfigured);
    }
    EXPECT_EQ(capture.count("send: worker URL not configured"), 2);
    EXPECT_TRUE(server.requests().empty());
}

} // namespace
} // namespace vesk::test

namespace vesk::test {
namespace {

TEST(BugReportEndpointTest, EnvironmentReplacesTheBuiltInAddress)
{
    const QByteArray saved = qgetenv(bugReportEndpointVariable);
    qunsetenv(bugReportEndpointVariable);
    EXPECT_EQ(bugReportEndpointText(), "https://reports.vesk.app");
    qputenv(bugReportEndpointVariable, "http://127.0.0.1:8080");
    EXPECT_EQ(bugReportEndpointText(), "http://127.0.0.1:8080");
    qputenv(bugReportEndpointVariable, "");
    EXPECT_EQ(bugReportEndpointText(), "");
    // The other tests' sends stay on this machine.
    qputenv(bugReportEndpointVariable, saved);
}

} // namespace
} // namespace vesk::test
