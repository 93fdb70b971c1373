#include "update/SoftwareUpdateService.h"

#include "LocalHttpServer.h"
#include "LogCapture.h"
#include "core/ManualScheduler.h"
#include "update/FeedUpdater.h"
#include "update/SignedRelease.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace vesk {
namespace {

using Phase = SoftwareUpdateViewModel::Phase;

const QByteArray archive(300'000, 'a');

// The service over a real feed updater that reads a local server.
class SoftwareUpdateServiceTest : public ::testing::Test {
protected:
    std::unique_ptr<SoftwareUpdateService> makeService(std::optional<QUrl> feed)
    {
        return std::make_unique<SoftwareUpdateService>([this, feed](platform::UpdateUserDriver& driver) {
            return std::make_unique<FeedUpdater>(FeedUpdater::Configuration{feed, QStringLiteral("1.0"),
                                                                            downloads.path(), key.publicKey()},
                                                 driver, scheduler,
                                                 [this](const platform::UpdateFeedItem& item, const QString&) {
                                                     installed = item.versionString;
                                                     return true;
                                                 });
        });
    }

    QByteArray feed(const QString& version) const
    {
        return QJsonDocument(test::signedFeed(key, version, archive, server.url(QStringLiteral("/Vesk.tar.gz"))))
            .toJson();
    }

    bool waitForPhase(const SoftwareUpdateService& service, Phase phase)
    {
        auto& model = const_cast<SoftwareUpdateService&>(service).viewModel();
        return QTest::qWaitFor([&] { return model.phase() == phase; }, 5000);
    }

    test::SigningKey key;
    QTemporaryDir downloads;
    test::LocalHttpServer server;
    ManualScheduler scheduler;
    QString installed;
};

TEST_F(SoftwareUpdateServiceTest, LogsTheStartWithTheFeedOrTheFailure)
{
    test::LogCapture log;
    const auto started = makeService(server.url(QStringLiteral("/feed.json")));
    EXPECT_TRUE(started->canCheckForUpdates());
    const auto failed = makeService(std::nullopt);
    EXPECT_FALSE(failed->canCheckForUpdates());
    failed->checkForUpdates();
    EXPECT_EQ(log.messages(QStringLiteral("SoftwareUpdateService")),
              (QStringList{"Updater started — feed=" + server.url(QStringLiteral("/feed.json")).toString(),
                           "Failed to start updater — The update feed's address is missing or not valid.",
                           "User-initiated update check"}));
    for (const test::LogCapture::Entry& entry : log.entries()) {
        if (entry.message.startsWith("Failed to start updater")) {
            EXPECT_EQ(entry.type, QtInfoMsg) << "no feed was given: nothing is wrong";
        }
    }

    log.clear();
    const auto broken = makeService(QUrl(QStringLiteral("feed.json")));
    EXPECT_FALSE(broken->canCheckForUpdates());
    const std::vector<test::LogCapture::Entry> entries = log.entries();
    const auto failure = std::find_if(entries.begin(), entries.end(), [](const test::LogCapture::Entry& entry) {
        return entry.message.startsWith("Failed to start updater");
    });
    ASSERT_NE(failure, entries.end());
    EXPECT_EQ(failure->type, QtCriticalMsg) << "a feed that is there but unusable is an error";
}

TEST_F(SoftwareUpdateServiceTest, SettersReachTheUpdaterAndLogOneLineEach)
{
    const auto service = makeService(server.url());
    test::LogCapture log;
    service->setAutomaticallyChecksForUpdates(true);
    service->setAutomaticallyDownloadsUpdates(false);
    EXPECT_TRUE(service->updater().automaticallyChecksForUpdates());
    EXPECT_FALSE(service->updater().automaticallyDownloadsUpdates());
    service->setAutomaticallyChecksForUpdates(false);
    EXPECT_FALSE(service->updater().automaticallyChecksForUpdates());
    EXPECT_EQ(log.messages(QStringLiteral("SoftwareUpdateService")),
              (QStringList{"automaticallyChecksForUpdates set to true", "automaticallyDownloadsUpdates set to false",
                           "automaticallyChecksForUpdates set to false"}));
}

TEST_F(SoftwareUpdateServiceTest, ACheckWalksToInstallAndThePublishedFlagFollows)
{
    server.enqueue({200, feed(QStringLiteral("1.1"))});
    server.enqueue({200, archive});
    const auto service = makeService(server.url(QStringLiteral("/feed.json")));
    std::vector<bool> published;
    service->setCanCheckForUpdatesChangedHandler([&](bool canCheck) { published.push_back(canCheck); });
    SoftwareUpdateViewModel& model = service->viewModel();

    service->checkForUpdates();
    EXPECT_EQ(model.phase(), Phase::checking);
    EXPECT_FALSE(service->canCheckForUpdates());
    ASSERT_TRUE(waitForPhase(*service, Phase::available));
    EXPECT_EQ(model.updateInfo()->version, QStringLiteral("1.1"));

    std::vector<double> progress;
    QObject::connect(&model, &SoftwareUpdateViewModel::progressChanged, [&] { progress.push_back(model.progress()); });
    service->driver().installUpdate();
    ASSERT_TRUE(waitForPhase(*service, Phase::ready));
    EXPECT_EQ(model.downloadedBytes(), static_cast<std::uint64_t>(archive.size()));
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 1.0);

    service->driver().installAndRelaunch();
    EXPECT_EQ(installed, QStringLiteral("1.1"));
    EXPECT_EQ(published, (std::vector<bool>{false, true}));
}

TEST_F(SoftwareUpdateServiceTest, NoUpdateAndAnUnreachableFeedReachThePanel)
{
    server.enqueue({200, feed(QStringLiteral("1.0"))});
    const auto service = makeService(server.url(QStringLiteral("/feed.json")));
    service->checkForUpdates();
    ASSERT_TRUE(waitForPhase(*service, Phase::upToDate));
    EXPECT_FALSE(service->canCheckForUpdates()) << "the flow runs until the user closes the panel";
    service->driver().dismissUpdateFlow();
    EXPECT_TRUE(service->canCheckForUpdates());

    server.enqueueStatus(503);
    service->checkForUpdates();
    ASSERT_TRUE(waitForPhase(*service, Phase::error));
    EXPECT_TRUE(
        service->viewModel().errorMessage()->startsWith(QStringLiteral("Der Update-Feed ist nicht erreichbar")));
    service->driver().dismissUpdateFlow();
    EXPECT_FALSE(service->viewModel().isPresented());
    EXPECT_TRUE(service->canCheckForUpdates());
}

TEST_F(SoftwareUpdateServiceTest, ClosingThePanelDuringTheCheckCancelsIt)
{
    server.enqueue({200, feed(QStringLiteral("2.0")), test::LocalHttpServer::Response::Kind::hold});
    const auto service = makeService(server.url(QStringLiteral("/feed.json")));
    service->checkForUpdates();
    ASSERT_TRUE(server.waitForRequests(1));
    service->driver().dismissUpdateFlow();
    EXPECT_TRUE(service->canCheckForUpdates());
    QTest::qWait(50);
    EXPECT_EQ(service->viewModel().phase(), Phase::idle);
}

// The version row's entry: its dot follows an update that is offered,
// downloading or ready, and its button starts the user's check.
TEST_F(SoftwareUpdateServiceTest, TheEntryReportsAWaitingUpdateAndStartsChecks)
{
    server.enqueue({200, feed(QStringLiteral("1.1"))});
    const auto service = makeService(server.url(QStringLiteral("/feed.json")));
    SoftwareUpdateEntry& entry = *service;
    std::vector<bool> waiting;
    entry.setUpdateWaitingChangedHandler([&](bool value) { waiting.push_back(value); });
    test::LogCapture log;

    entry.checkForUpdates();
    EXPECT_FALSE(entry.isUpdateWaiting()) << "checking";
    ASSERT_TRUE(waitForPhase(*service, Phase::available));
    EXPECT_TRUE(entry.isUpdateWaiting());
    SoftwareUpdateViewModel& model = service->viewModel();
    model.downloadStarted(0);
    model.readyToInstall();
    EXPECT_TRUE(entry.isUpdateWaiting());
    service->driver().dismissUpdateFlow();
    EXPECT_FALSE(entry.isUpdateWaiting());
    EXPECT_EQ(waiting, (std::vector<bool>{true, false})) << "told once per change";
    EXPECT_EQ(log.messages(QStringLiteral("SoftwareUpdateService")), QStringList{"User-initiated update check"});

    for (Phase phase : {Phase::upToDate, Phase::error, Phase::checking, Phase::idle})
        model.setPhase(phase);
    EXPECT_EQ(waiting.size(), 2u);
}

} // namespace
} // namespace vesk
