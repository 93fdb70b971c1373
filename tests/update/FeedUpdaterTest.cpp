#include "update/FeedUpdater.h"

#include "LocalHttpServer.h"
#include "QtPrinters.h"
#include "core/ManualScheduler.h"
#include "update/RecordingUpdateDriver.h"
#include "update/SignedRelease.h"
#include "update/UpdateAddress.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using vesk::platform::UserUpdateChoice;

namespace vesk {
namespace {

const QByteArray archive(200'000, 'v');

class FeedUpdaterTest : public ::testing::Test {
protected:
    // The feed of a release signed with the test's key; `extra` replaces keys, a null value removes one.
    QByteArray feed(const QString& version, QJsonObject extra = {}) const
    {
        QJsonObject object = test::signedFeed(key, version, archive, server.url(QStringLiteral("/vesk.tar.gz")));
        object.insert("displayVersion", version + QStringLiteral(" Beta"));
        object.insert("releaseNotes", "<ul><li>Schneller</li></ul>");
        for (auto it = extra.begin(); it != extra.end(); ++it) {
            if (it.value().isNull())
                object.remove(it.key());
            else
                object.insert(it.key(), it.value());
        }
        return QJsonDocument(object).toJson();
    }

    FeedUpdater& start(std::optional<QUrl> feedURL = std::nullopt)
    {
        updater = std::make_unique<FeedUpdater>(
            FeedUpdater::Configuration{feedURL ? feedURL : server.url(QStringLiteral("/feed.json")),
                                       QStringLiteral("1.0.0"), downloads.path(), key.publicKey()},
            driver, scheduler,
            [this](const platform::UpdateFeedItem& item, const QString& archivePath) {
                installed = item.versionString;
                installedFrom = archivePath;
                return readAll(archivePath) == archive;
            },
            [this] { return Localizer(language); });
        updater->observeCanCheckForUpdates([this](bool canCheck) { canCheckValues.push_back(canCheck); });
        EXPECT_EQ(updater->startUpdater(), std::nullopt);
        return *updater;
    }

    static QByteArray readAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList downloadedFiles() const { return QDir(downloads.path()).entryList(QDir::Files | QDir::Hidden); }

    // A check that finds the feed, and the install chosen: until the error or the ready state.
    void checkAndDownload(const QByteArray& feedBody, test::LocalHttpServer::Response archiveResponse)
    {
        server.enqueue({200, feedBody});
        server.enqueue(std::move(archiveResponse));
        driver.calls.clear();
        if (!updater)
            start();
        updater->checkForUpdates();
        ASSERT_TRUE(waitForCall(QStringLiteral("found 1.2.0")));
        driver.foundReply(UserUpdateChoice::install);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return driver.calls.contains(QStringLiteral("error")) || driver.calls.contains("ready"); }, 5000));
    }

    bool waitForCall(const QString& call)
    {
        return QTest::qWaitFor([&] { return driver.calls.contains(call); }, 5000);
    }

    test::SigningKey key;
    QTemporaryDir downloads;
    test::LocalHttpServer server;
    test::RecordingUpdateDriver driver;
    ManualScheduler scheduler;
    std::unique_ptr<FeedUpdater> updater;
    std::vector<bool> canCheckValues;
    QString installed;
    QString installedFrom;
    // The interface's language, read by the updater at each error.
    QLocale language{QLocale::German};
};

TEST_F(FeedUpdaterTest, WalksFromCheckThroughDownloadToInstall)
{
    server.enqueue({200, feed(QStringLiteral("1.2.0"))});
    server.enqueue({200, archive});
    start().checkForUpdates();
    EXPECT_FALSE(updater->canCheckForUpdates());
    ASSERT_TRUE(waitForCall(QStringLiteral("found 1.2.0")));
    EXPECT_EQ(driver.foundItem->displayVersionString, QStringLiteral("1.2.0 Beta"));
    EXPECT_EQ(driver.foundItem->contentLength, static_cast<std::uint64_t>(archive.size()));
    EXPECT_EQ(driver.foundItem->itemDescription, QStringLiteral("<ul><li>Schneller</li></ul>"));

    driver.foundReply(UserUpdateChoice::install);
    ASSERT_TRUE(waitForCall(QStringLiteral("ready")));
    EXPECT_EQ(driver.receivedBytes, static_cast<std::uint64_t>(archive.size()));
    EXPECT_EQ(server.requests().at(1).path, QByteArray("/vesk.tar.gz"));
    EXPECT_FALSE(updater->canCheckForUpdates());

    EXPECT_EQ(downloadedFiles(), QStringList{"Vesk-update.tar.gz"}) << "downloaded into the cache folder";
    driver.installReply(UserUpdateChoice::install);
    EXPECT_EQ(installed, QStringLiteral("1.2.0"));
    EXPECT_EQ(QFileInfo(installedFrom).absolutePath(), downloads.path());
    EXPECT_TRUE(downloadedFiles().isEmpty()) << "the installed archive is removed";
    EXPECT_EQ(driver.calls,
              (QStringList{"check", "found 1.2.0", "download", QStringLiteral("expected %1").arg(archive.size()),
                           "data", "extracting", "ready", "installing"}));
    EXPECT_EQ(canCheckValues, (std::vector<bool>{false, true, false, true}));
}

TEST_F(FeedUpdaterTest, ReportsNoUpdateForTheSameOrAnOlderVersion)
{
    for (const QString& version : {QStringLiteral("1.0.0"), QStringLiteral("1.0"), QStringLiteral("0.9.9")}) {
        driver.calls.clear();
        server.enqueue({200, feed(version)});
        start().checkForUpdates();
        ASSERT_TRUE(waitForCall(QStringLiteral("not found"))) << version.toStdString();
        EXPECT_FALSE(updater->canCheckForUpdates());
        driver.acknowledgement();
        EXPECT_TRUE(updater->canCheckForUpdates());
    }
}

TEST_F(FeedUpdaterTest, AnUnreachableOrBrokenFeedIsAnError)
{
    server.enqueueStatus(404);
    start().checkForUpdates();
    ASSERT_TRUE(waitForCall(QStringLiteral("error")));
    EXPECT_TRUE(driver.lastError.startsWith(QStringLiteral("Der Update-Feed ist nicht erreichbar")));
    driver.acknowledgement();

    driver.calls.clear();
    server.enqueue({200, "{\"version\": \"2.0\"}"});
    updater->checkForUpdates();
    ASSERT_TRUE(waitForCall(QStringLiteral("error")));
    EXPECT_EQ(driver.lastError, QStringLiteral("Der Update-Feed ist ungültig."));
}

TEST_F(FeedUpdaterTest, AFeedLongerThanTheCapIsCutOffAndIsNoFeed)
{
    start();
    for (const bool announcesLength : {false, true}) {
        SCOPED_TRACE(announcesLength ? "length announced" : "length not announced");
        server.enqueue(test::LocalHttpServer::streamed(32 * FeedUpdater::maximumFeedBytes, announcesLength));
        const int cutOff = server.streamsCutOff();
        driver.calls.clear();
        updater->checkForUpdates();
        ASSERT_TRUE(waitForCall(QStringLiteral("error")));
        EXPECT_EQ(driver.lastError, QStringLiteral("Der Update-Feed ist ungültig."));
        EXPECT_TRUE(QTest::qWaitFor([&] { return server.streamsCutOff() > cutOff; }, 5000))
            << "the updater read the whole answer";
        driver.acknowledgement();
    }
}

TEST_F(FeedUpdaterTest, DescribesItsErrorsInTheInterfacesLanguageOfTheMoment)
{
    language = QLocale(QLocale::English);
    server.enqueueStatus(404);
    start().checkForUpdates();
    ASSERT_TRUE(waitForCall(QStringLiteral("error")));
    EXPECT_TRUE(driver.lastError.startsWith(QStringLiteral("The update feed can't be reached: ")))
        << driver.lastError.toStdString();
    driver.acknowledgement();

    // The language changed while Vesk ran: the next error follows it.
    language = QLocale(QLocale::Italian);
    driver.calls.clear();
    server.enqueue({200, "{\"version\": \"2.0\"}"});
    updater->checkForUpdates();
    ASSERT_TRUE(waitForCall(QStringLiteral("error")));
    EXPECT_EQ(driver.lastError, QStringLiteral("Il feed degli aggiornamenti non è valido."));
    driver.acknowledgement();

    language = QLocale(QLocale::French);
    driver.calls.clear();
    server.enqueue({200, feed(QStringLiteral("1.0.0"))});
    updater->checkForUpdates();
    ASSERT_TRUE(waitForCall(QStringLiteral("not found")));
    EXPECT_EQ(driver.lastError, QStringLiteral("La version 1.0.0 est la plus récente."));
}

TEST_F(FeedUpdaterTest, NoServerListeningIsAnError)
{
    QUrl closed;
    {
        test::LocalHttpServer gone;
        closed = gone.url(QStringLiteral("/feed.json"));
    }
    start(closed).checkForUpdates();
    ASSERT_TRUE(waitForCall(QStringLiteral("error")));
}

TEST_F(FeedUpdaterTest, AnArchiveThatFailsItsChecksumOrSignatureIsNeverOfferedForInstall)
{
    const test::SigningKey stranger;
    QByteArray tampered = archive;
    tampered[1000] = 'x';
    const QString otherSignature = QString::fromLatin1(key.sign(tampered).toBase64());
    struct Case {
        const char* name;
        QJsonObject feedChanges;
        QByteArray served;
        const char* error;
    };
    const Case cases[] = {
        {"wrong checksum", {{"sha256", QString(64, QLatin1Char('0'))}}, archive, "Das geladene Update ist beschädigt."},
        {"signed by another key",
         {{"signature", QString::fromLatin1(stranger.sign(archive).toBase64())}},
         archive,
         "Die Signatur des Updates ist ungültig."},
        {"signature of other bytes",
         {{"signature", otherSignature}},
         archive,
         "Die Signatur des Updates ist ungültig."},
        {"archive swapped with its checksum",
         {{"sha256", QString::fromLatin1(QCryptographicHash::hash(tampered, QCryptographicHash::Sha256).toHex())}},
         tampered,
         "Die Signatur des Updates ist ungültig."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        checkAndDownload(feed(QStringLiteral("1.2.0"), c.feedChanges), {200, c.served});
        ASSERT_TRUE(driver.calls.contains(QStringLiteral("error")));
        EXPECT_EQ(driver.lastError, QString::fromUtf8(c.error));
        EXPECT_FALSE(driver.calls.contains(QStringLiteral("ready")));
        EXPECT_TRUE(downloadedFiles().isEmpty()) << "the refused archive is removed";
        driver.acknowledgement();
    }
    EXPECT_TRUE(installed.isEmpty());
}

TEST_F(FeedUpdaterTest, AFeedWithoutChecksumOrSignatureIsInvalidAndNothingIsDownloaded)
{
    start();
    const QJsonObject changes[] = {
        {{"signature", QJsonValue()}},
        {{"sha256", QJsonValue()}},
        {{"signature", "not base64!"}},
        {{"signature", QString::fromLatin1(QByteArray(63, 'a').toBase64())}},
        {{"sha256", "abc"}},
    };
    for (const QJsonObject& change : changes) {
        SCOPED_TRACE(QJsonDocument(change).toJson(QJsonDocument::Compact).toStdString());
        server.enqueue({200, feed(QStringLiteral("1.2.0"), change)});
        driver.calls.clear();
        updater->checkForUpdates();
        ASSERT_TRUE(waitForCall(QStringLiteral("error")));
        EXPECT_EQ(driver.lastError, QStringLiteral("Der Update-Feed ist ungültig."));
        driver.acknowledgement();
    }
    EXPECT_EQ(server.requests().size(), std::size(changes)) << "no archive was asked for";
}

TEST_F(FeedUpdaterTest, TheKeyBuiltIntoVeskIsAKeyAndNotTheTestsOwn)
{
    const QByteArray builtIn = UpdateSignatureVerifier::builtInPublicKey();
    EXPECT_EQ(builtIn.size(), UpdateSignatureVerifier::publicKeyBytes);
    QTemporaryDir folder;
    QFile file(folder.filePath("archive"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(archive);
    file.close();
    EXPECT_TRUE(UpdateSignatureVerifier(key.publicKey()).verifiesFile(file.fileName(), key.sign(archive)));
    EXPECT_FALSE(UpdateSignatureVerifier(builtIn).verifiesFile(file.fileName(), key.sign(archive)));
    EXPECT_FALSE(UpdateSignatureVerifier(QByteArray()).verifiesFile(file.fileName(), key.sign(archive)));
}

TEST_F(FeedUpdaterTest, DismissingTheFoundUpdateEndsTheFlowWithoutDownloading)
{
    server.enqueue({200, feed(QStringLiteral("1.2.0"))});
    start().checkForUpdates();
    ASSERT_TRUE(waitForCall(QStringLiteral("found 1.2.0")));
    driver.foundReply(UserUpdateChoice::dismiss);
    EXPECT_TRUE(updater->canCheckForUpdates());
    QTest::qWait(50);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(FeedUpdaterTest, ChecksInTheBackgroundOnceADayWhileAutomaticChecksAreOn)
{
    server.enqueue({200, feed(QStringLiteral("1.0.0"))});
    server.enqueue({200, feed(QStringLiteral("1.3.0"))});
    start();
    scheduler.advance(FeedUpdater::automaticCheckIntervalSeconds);
    EXPECT_TRUE(server.requests().empty());

    updater->setAutomaticallyChecksForUpdates(true);
    scheduler.advance(FeedUpdater::automaticCheckIntervalSeconds - 1);
    EXPECT_TRUE(server.requests().empty());
    scheduler.advance(1);
    ASSERT_TRUE(server.waitForRequests(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return updater->canCheckForUpdates(); }, 5000));
    EXPECT_TRUE(driver.calls.isEmpty()) << "a background check that finds nothing stays silent";

    scheduler.advance(FeedUpdater::automaticCheckIntervalSeconds);
    ASSERT_TRUE(waitForCall(QStringLiteral("found 1.3.0")));
}

TEST_F(FeedUpdaterTest, AnUpdateDownloadedInTheBackgroundWaitsSilentlyForTheQuitToInstallIt)
{
    server.enqueue({200, feed(QStringLiteral("1.2.0"))});
    server.enqueue({200, archive});
    start();
    updater->setAutomaticallyDownloadsUpdates(true);
    updater->setAutomaticallyChecksForUpdates(true);
    scheduler.advance(FeedUpdater::automaticCheckIntervalSeconds);
    ASSERT_TRUE(waitForCall(QStringLiteral("dismissed")));
    EXPECT_EQ(driver.calls, (QStringList{"download", QStringLiteral("expected %1").arg(archive.size()), "data",
                                         "extracting", "dismissed"}))
        << "verified, and nothing asks the user";
    EXPECT_TRUE(installed.isEmpty());
    EXPECT_TRUE(updater->canCheckForUpdates());

    // Waiting for the quit, it is not fetched again: a check of the user's offers it ready to install.
    scheduler.advance(FeedUpdater::automaticCheckIntervalSeconds);
    server.enqueue({200, feed(QStringLiteral("1.2.0"))});
    driver.calls.clear();
    updater->checkForUpdates();
    ASSERT_TRUE(waitForCall(QStringLiteral("found 1.2.0")));
    driver.foundReply(UserUpdateChoice::dismiss);
    QTest::qWait(50);
    EXPECT_EQ(server.requests().size(), 3u);

    EXPECT_TRUE(updater->installPendingUpdate());
    EXPECT_EQ(installed, QStringLiteral("1.2.0"));
    EXPECT_TRUE(downloadedFiles().isEmpty());
    EXPECT_FALSE(updater->installPendingUpdate()) << "installed once";
}

TEST_F(FeedUpdaterTest, AWaitingUpdateIsNotInstalledOnceAutomaticDownloadsAreOff)
{
    server.enqueue({200, feed(QStringLiteral("1.2.0"))});
    server.enqueue({200, archive});
    start();
    updater->setAutomaticallyDownloadsUpdates(true);
    updater->setAutomaticallyChecksForUpdates(true);
    scheduler.advance(FeedUpdater::automaticCheckIntervalSeconds);
    ASSERT_TRUE(waitForCall(QStringLiteral("dismissed")));
    updater->setAutomaticallyDownloadsUpdates(false);
    EXPECT_FALSE(updater->installPendingUpdate());
    EXPECT_TRUE(installed.isEmpty());
}

TEST_F(FeedUpdaterTest, ComparesVersionsPartByPart)
{
    struct Case {
        const char* offered;
        const char* running;
        bool newer;
    };
    for (const Case& c : {Case{"1.10", "1.9", true},
                          Case{"1.0.1", "1.0", true},
                          Case{"1.0", "1.0.0", false},
                          Case{"2", "10", false},
                          Case{"1.2.0", "1.2.0", false},
                          Case{"1.1.9", "1.2", false},
                          Case{"2.0-rc1", "2.0", false},
                          Case{"2.0", "2.0-rc1", true},
                          Case{"2.0-rc2", "2.0-rc1", true},
                          Case{"2.0-rc10", "2.0-rc9", true},
                          Case{"2.0-rc1", "2.0-rc", true},
                          Case{"2.0.0-rc1", "2.0-rc1", false},
                          Case{"2.0-rc1", "1.9", true},
                          Case{"18446744073709551617", "18446744073709551616", true},
                          Case{"99999999999999999999", "1", true},
                          Case{"1.01", "1.1", false},
                          Case{"1.2.x", "1.0", false},
                          Case{"", "1.0", false},
                          Case{"2.0-", "1.0", false},
                          Case{"2.0", "nonsense", false}})
        EXPECT_EQ(FeedUpdater::isNewerVersion(c.offered, c.running), c.newer) << c.offered << " vs " << c.running;
}

TEST_F(FeedUpdaterTest, AFeedWhoseLengthIsNoWholeNumberInRangeIsInvalid)
{
    start();
    for (const QJsonValue& length :
         {QJsonValue(-1), QJsonValue(0), QJsonValue(1.5), QJsonValue(1e30), QJsonValue(18446744073709551616.0),
          QJsonValue("200000"), QJsonValue(double(FeedUpdater::maximumArchiveBytes) + 1)}) {
        SCOPED_TRACE(QJsonDocument(QJsonArray{length}).toJson(QJsonDocument::Compact).toStdString());
        server.enqueue({200, feed(QStringLiteral("1.2.0"), {{"length", length}})});
        driver.calls.clear();
        updater->checkForUpdates();
        ASSERT_TRUE(waitForCall(QStringLiteral("error")));
        EXPECT_EQ(driver.lastError, QStringLiteral("Der Update-Feed ist ungültig."));
        driver.acknowledgement();
    }
    EXPECT_EQ(server.requests().size(), 7u) << "no archive was asked for";
}

TEST_F(FeedUpdaterTest, OnlyHttpsOrThisMachineIsAskedForFeedOrArchive)
{
    struct Case {
        const char* url;
        bool allowed;
    };
    for (const Case& c :
         {Case{"https://updates.vesk.app/feed.json", true}, Case{"http://127.0.0.1:8/feed.json", true},
          Case{"http://127.8.9.10/feed.json", true}, Case{"http://[::1]:8/feed.json", true},
          Case{"http://LOCALHOST/feed.json", true}, Case{"http://updates.vesk.app/feed.json", false},
          Case{"http://128.0.0.1/feed.json", false}, Case{"http://127.0.0.1.example.org/f", false},
          Case{"ftp://127.0.0.1/feed.json", false}, Case{"file:///tmp/feed.json", false}, Case{"/feed.json", false}})
        EXPECT_EQ(isAllowedUpdateAddress(QUrl(c.url)), c.allowed) << c.url;

    FeedUpdater remote(FeedUpdater::Configuration{QUrl("http://updates.vesk.app/feed.json"), "1.0", downloads.path(),
                                                  key.publicKey()},
                       driver, scheduler, {});
    EXPECT_TRUE(remote.startUpdater().has_value());
    EXPECT_FALSE(remote.canCheckForUpdates());

    // An archive on a plain-http host elsewhere is not fetched.
    server.enqueue({200, feed(QStringLiteral("1.2.0"), {{"url", "http://updates.vesk.app/Vesk-1.2.0.tar.gz"}})});
    start().checkForUpdates();
    ASSERT_TRUE(waitForCall(QStringLiteral("error")));
    EXPECT_EQ(driver.lastError, QStringLiteral("Der Update-Feed ist ungültig."));
    EXPECT_FALSE(driver.calls.contains(QStringLiteral("found 1.2.0")));
}

TEST_F(FeedUpdaterTest, AnArchiveOfAnotherSizeIsRefusedAndALongerOneCutOff)
{
    struct Case {
        const char* name;
        test::LocalHttpServer::Response response;
        const char* error;
    };
    const Case cases[] = {
        {"shorter", {200, archive.left(archive.size() - 1)}, "Das geladene Update ist unvollständig."},
        {"longer, announced", test::LocalHttpServer::streamed(64 * archive.size(), true),
         "Das geladene Update ist größer als angekündigt."},
        {"longer, not announced", test::LocalHttpServer::streamed(64 * archive.size(), false),
         "Das geladene Update ist größer als angekündigt."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int cutOff = server.streamsCutOff();
        checkAndDownload(feed(QStringLiteral("1.2.0")), c.response);
        ASSERT_TRUE(driver.calls.contains(QStringLiteral("error")));
        EXPECT_EQ(driver.lastError, QString::fromUtf8(c.error));
        EXPECT_FALSE(driver.calls.contains(QStringLiteral("ready")));
        EXPECT_TRUE(downloadedFiles().isEmpty()) << "the refused download is removed";
        if (c.response.kind == test::LocalHttpServer::Response::Kind::stream) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return server.streamsCutOff() > cutOff; }, 5000))
                << "the updater read the whole answer";
        }
        driver.acknowledgement();
    }
    EXPECT_TRUE(installed.isEmpty());
}

TEST_F(FeedUpdaterTest, TheFeedAddressHasAnEnvironmentOverride)
{
    const QByteArray saved = qgetenv(FeedUpdater::feedURLVariable);
    qunsetenv(FeedUpdater::feedURLVariable);
    EXPECT_EQ(FeedUpdater::configuredFeedURL(), QUrl(QStringLiteral("https://updates.vesk.app/feed.json")));
    qputenv(FeedUpdater::feedURLVariable, "http://127.0.0.1:8/feed.json");
    EXPECT_EQ(FeedUpdater::configuredFeedURL(), QUrl(QStringLiteral("http://127.0.0.1:8/feed.json")));
    qputenv(FeedUpdater::feedURLVariable, saved);
}

TEST_F(FeedUpdaterTest, DoesNotStartWithoutAFeedAddress)
{
    FeedUpdater noFeed(FeedUpdater::Configuration{std::nullopt, QStringLiteral("1.0"), downloads.path(),
                                                  key.publicKey()},
                       driver, scheduler, {});
    EXPECT_TRUE(noFeed.startUpdater().has_value());
    EXPECT_FALSE(noFeed.canCheckForUpdates());
    noFeed.checkForUpdates();
    EXPECT_TRUE(driver.calls.isEmpty());
}

} // namespace
} // namespace vesk
