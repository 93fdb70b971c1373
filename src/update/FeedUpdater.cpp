#include "update/FeedUpdater.h"

#include "core/AnswerSizeLimit.h"
#include "update/UpdateAddress.h"
#include "update/UpdateVersion.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cmath>
#include <variant>

namespace vesk {

namespace {

const QString builtInFeedURL = QStringLiteral("https://updates.vesk.app/feed.json");
// The archive while it arrives and until it is installed.
const QString downloadFileName = QStringLiteral("Vesk-update.tar.gz");

struct FeedEntry {
    platform::UpdateFeedItem item;
    QByteArray sha256;
    QByteArray signature;
};

// A whole number of bytes from 1 to the largest archive; JSON numbers are
// doubles, which hold every whole number in that range exactly.
std::optional<std::uint64_t> archiveLength(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double length = value.toDouble();
    if (!(length >= 1 && length <= static_cast<double>(FeedUpdater::maximumArchiveBytes))
        || std::floor(length) != length)
        return std::nullopt;
    return static_cast<std::uint64_t>(length);
}

bool isSha256Hex(const QByteArray& text)
{
    static const QRegularExpression form(QStringLiteral("^[0-9a-f]{64}$"));
    return form.match(QString::fromLatin1(text)).hasMatch();
}

// The feed's entry, or why it is none.
std::variant<FeedEntry, QString> parseFeed(const QByteArray& body)
{
    const QJsonObject feed = QJsonDocument::fromJson(body).object();
    const QString version = feed.value(QStringLiteral("version")).toString();
    if (!UpdateVersion::parse(version))
        return QStringLiteral("no version, or not one of dot-separated numbers");
    const std::optional<std::uint64_t> length = archiveLength(feed.value(QStringLiteral("length")));
    if (!length)
        return QStringLiteral("the length is not a whole number of bytes from 1 to %1")
            .arg(FeedUpdater::maximumArchiveBytes);
    const QUrl archive(feed.value(QStringLiteral("url")).toString());
    if (!isAllowedUpdateAddress(archive))
        return QStringLiteral("the archive's address is not https: ") + archive.toString();
    FeedEntry entry;
    entry.sha256 = feed.value(QStringLiteral("sha256")).toString().toLatin1().toLower();
    if (!isSha256Hex(entry.sha256))
        return QStringLiteral("no sha256 of 64 hex digits");
    const auto signature = QByteArray::fromBase64Encoding(feed.value(QStringLiteral("signature")).toString().toLatin1(),
                                                          QByteArray::AbortOnBase64DecodingErrors);
    if (!signature || signature.decoded.size() != UpdateSignatureVerifier::signatureBytes)
        return QStringLiteral("no signature: the base64 of %1 bytes").arg(UpdateSignatureVerifier::signatureBytes);
    entry.signature = signature.decoded;
    entry.item.versionString = version;
    entry.item.displayVersionString = feed.value(QStringLiteral("displayVersion")).toString(version);
    entry.item.contentLength = *length;
    if (feed.contains(QStringLiteral("releaseNotes")))
        entry.item.itemDescription = feed.value(QStringLiteral("releaseNotes")).toString();
    entry.item.archiveURL = archive;
    return entry;
}

QByteArray sha256Hex(QFile& file)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    file.close();
    return hash.result().toHex();
}

} // namespace

FeedUpdater::FeedUpdater(Configuration configuration, platform::UpdateUserDriver& driver, Scheduler& scheduler,
                         Installer installer, LocalizerSource localizer)
    : feedURL_(std::move(configuration.feedURL))
    , runningVersion_(std::move(configuration.runningVersion))
    , downloadDirectory_(std::move(configuration.downloadDirectory))
    , unavailableReason_(std::move(configuration.unavailableReason))
    , driver_(driver)
    , scheduler_(scheduler)
    , installer_(std::move(installer))
    , localizer_(std::move(localizer))
    , network_(new QNetworkAccessManager(this))
    , verifier_(std::move(configuration.publicKey))
{
}

FeedUpdater::~FeedUpdater()
{
    automaticCheck_.cancel();
    abortRunningReply();
}

QUrl FeedUpdater::configuredFeedURL()
{
    const QByteArray overridden = qgetenv(feedURLVariable);
    return QUrl(overridden.isEmpty() ? builtInFeedURL : QString::fromUtf8(overridden));
}

QString FeedUpdater::defaultDownloadDirectory()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)).filePath(QStringLiteral("updates"));
}

bool FeedUpdater::isNewerVersion(const QString& offered, const QString& running)
{
    const std::optional<UpdateVersion> a = UpdateVersion::parse(offered);
    const std::optional<UpdateVersion> b = UpdateVersion::parse(running);
    return a && b && *a > *b;
}

std::optional<QString> FeedUpdater::startUpdater()
{
    if (started_)
        return QStringLiteral("The updater has already been started.");
    if (!unavailableReason_.isEmpty())
        return unavailableReason_;
    if (!feedURL_ || !feedURL_->isValid() || feedURL_->isRelative())
        return QStringLiteral("The update feed's address is missing or not valid.");
    if (!isAllowedUpdateAddress(*feedURL_))
        return QStringLiteral("The update feed's address must be https: ") + feedURL_->toString();
    started_ = true;
    setCanCheck(true);
    scheduleAutomaticCheck();
    return std::nullopt;
}

void FeedUpdater::observeCanCheckForUpdates(std::function<void(bool)> observer)
{
    canCheckObserver_ = std::move(observer);
    if (canCheckObserver_)
        canCheckObserver_(canCheck_);
}

void FeedUpdater::setAutomaticallyChecksForUpdates(bool checks)
{
    automaticChecks_ = checks;
    scheduleAutomaticCheck();
}

void FeedUpdater::checkForUpdates()
{
    // A result still on screen (no update, an error) ends with the new check;
    // its acknowledgement, if it comes later, no longer ends anything.
    if (awaitingAcknowledgement_) {
        awaitingAcknowledgement_ = false;
        endFlow();
    }
    if (!canCheck_)
        return;
    driver_.showUserInitiatedUpdateCheck([this] {
        logger_.log(VeskLogLevel::info, QStringLiteral("Update check cancelled"));
        abortRunningReply();
        endFlow();
    });
    beginCheck(true);
}

void FeedUpdater::beginCheck(bool userInitiated)
{
    setCanCheck(false);
    QNetworkReply* reply = request(*feedURL_);
    limitAnswerSize(*reply, maximumFeedBytes);
    runningReply_ = reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply, userInitiated] {
        reply->deleteLater();
        if (runningReply_ == reply)
            feedArrived(reply, userInitiated);
    });
}

void FeedUpdater::feedArrived(QNetworkReply* reply, bool userInitiated)
{
    runningReply_ = nullptr;
    if (answerSizeExceeded(*reply)) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Update feed not read — ") + answerTooLargeText(maximumFeedBytes));
        if (userInitiated)
            return fail(localized(QT_TRANSLATE_NOOP("FeedUpdater", "Der Update-Feed ist ungültig.")));
        return endFlow();
    }
    if (reply->error() != QNetworkReply::NoError) {
        if (userInitiated)
            return fail(localized(QT_TRANSLATE_NOOP("FeedUpdater", "Der Update-Feed ist nicht erreichbar: %1"))
                            .arg(reply->errorString()));
        logger_.log(VeskLogLevel::warning, QStringLiteral("Background update check failed — ") + reply->errorString());
        return endFlow();
    }
    const std::variant<FeedEntry, QString> parsed = parseFeed(reply->readAll());
    if (const QString* problem = std::get_if<QString>(&parsed)) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Update feed refused — ") + *problem);
        if (userInitiated)
            return fail(localized(QT_TRANSLATE_NOOP("FeedUpdater", "Der Update-Feed ist ungültig.")));
        return endFlow();
    }
    const FeedEntry* entry = std::get_if<FeedEntry>(&parsed);
    if (pendingInstall_ && pendingInstall_->versionString == entry->item.versionString) {
        if (!userInitiated)
            return endFlow();
        return offerPendingUpdate(*pendingInstall_);
    }
    if (!isNewerVersion(entry->item.versionString, runningVersion_)) {
        if (!userInitiated)
            return endFlow();
        awaitingAcknowledgement_ = true;
        return driver_.showUpdateNotFound(
            localized(QT_TRANSLATE_NOOP("FeedUpdater", "Version %1 ist die neueste Version.")).arg(runningVersion_),
            [this] { acknowledged(); });
    }
    // A newer release replaces the one waiting for the termination.
    if (pendingInstall_) {
        pendingInstall_.reset();
        discardDownload();
    }
    expectedSha256_ = entry->sha256;
    expectedSignature_ = entry->signature;
    offer(entry->item, userInitiated);
}

void FeedUpdater::offer(const platform::UpdateFeedItem& item, bool userInitiated)
{
    if (!userInitiated && automaticDownloads_)
        return download(item, true);
    driver_.showUpdateFound(item, {platform::UserUpdateState::Stage::notDownloaded, userInitiated},
                            [this, item](platform::UserUpdateChoice choice) {
                                if (choice == platform::UserUpdateChoice::install)
                                    download(item, false);
                                else
                                    endFlow();
                            });
}

// Already downloaded and verified: the user may install it now, and relaunch.
void FeedUpdater::offerPendingUpdate(const platform::UpdateFeedItem& item)
{
    driver_.showUpdateFound(item, {platform::UserUpdateState::Stage::installing, true},
                            [this, item](platform::UserUpdateChoice choice) {
                                if (choice != platform::UserUpdateChoice::install)
                                    return endFlow();
                                pendingInstall_.reset();
                                install(item);
                            });
}

void FeedUpdater::download(const platform::UpdateFeedItem& item, bool installsAtTermination)
{
    reportedBytes_ = 0;
    expectedLengthReported_ = false;
    downloadStopReason_.reset();
    driver_.showDownloadInitiated([this] {
        logger_.log(VeskLogLevel::info, QStringLiteral("Update download cancelled"));
        abortRunningReply();
        discardDownload();
        endFlow();
    });
    download_ = std::make_unique<QFile>(QDir(downloadDirectory_).filePath(downloadFileName));
    if (!QDir().mkpath(downloadDirectory_) || !download_->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const QString reason = download_->errorString();
        discardDownload();
        return fail(
            localized(QT_TRANSLATE_NOOP("FeedUpdater", "Das Update konnte nicht geladen werden: %1")).arg(reason));
    }
    QNetworkReply* reply = request(item.archiveURL);
    runningReply_ = reply;
    connect(reply, &QNetworkReply::downloadProgress, this,
            [this, item](qint64 received, qint64 total) { downloadProgressed(item, received, total); });
    connect(reply, &QNetworkReply::readyRead, this, [this, item, reply] { downloadReceived(item, reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply, item, installsAtTermination] {
        reply->deleteLater();
        if (runningReply_ == reply)
            downloadFinished(item, installsAtTermination, reply);
    });
}

QNetworkReply* FeedUpdater::request(const QUrl& url)
{
    QNetworkRequest request(url);
    // A redirect may lead only where the updater may go itself.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    QNetworkReply* reply = network_->get(request);
    connect(reply, &QNetworkReply::redirected, reply, [this, reply](const QUrl& target) {
        if (isAllowedUpdateAddress(target)) {
            emit reply->redirectAllowed();
            return;
        }
        logger_.log(VeskLogLevel::warning, QStringLiteral("Update redirect refused — ") + target.toString());
        reply->abort();
    });
    return reply;
}

void FeedUpdater::downloadProgressed(const platform::UpdateFeedItem& item, qint64 received, qint64 total)
{
    if (total > 0 && static_cast<std::uint64_t>(total) > item.contentLength) {
        stopDownload(
            QStringLiteral("The server announces %1 bytes, more than the feed's %2").arg(total).arg(item.contentLength),
            localized(QT_TRANSLATE_NOOP("FeedUpdater", "Das geladene Update ist größer als angekündigt.")));
        return;
    }
    if (!expectedLengthReported_ && total > 0) {
        expectedLengthReported_ = true;
        driver_.showDownloadDidReceiveExpectedContentLength(static_cast<std::uint64_t>(total));
    }
    if (received <= static_cast<qint64>(reportedBytes_))
        return;
    const auto fresh = static_cast<std::uint64_t>(received) - reportedBytes_;
    reportedBytes_ = static_cast<std::uint64_t>(received);
    driver_.showDownloadDidReceiveDataOfLength(fresh);
}

void FeedUpdater::downloadReceived(const platform::UpdateFeedItem& item, QNetworkReply* reply)
{
    if (!download_ || downloadStopReason_)
        return;
    const QByteArray chunk = reply->readAll();
    if (static_cast<std::uint64_t>(download_->pos()) + static_cast<std::uint64_t>(chunk.size()) > item.contentLength)
        return stopDownload(QStringLiteral("The download goes on past the feed's %1 bytes").arg(item.contentLength),
                            localized(
                                QT_TRANSLATE_NOOP("FeedUpdater", "Das geladene Update ist größer als angekündigt.")));
    if (download_->write(chunk) != chunk.size())
        stopDownload(QStringLiteral("The download could not be written: ") + download_->errorString(),
                     localized(QT_TRANSLATE_NOOP("FeedUpdater", "Das Update konnte nicht geladen werden: %1"))
                         .arg(download_->errorString()));
}

void FeedUpdater::stopDownload(const QString& reason, const QString& description)
{
    downloadStopReason_ = description;
    logger_.log(VeskLogLevel::warning, QStringLiteral("Update download stopped — ") + reason);
    if (QNetworkReply* reply = runningReply_)
        reply->abort();
}

void FeedUpdater::downloadFinished(const platform::UpdateFeedItem& item, bool installsAtTermination,
                                   QNetworkReply* reply)
{
    runningReply_ = nullptr;
    if (reply->error() == QNetworkReply::NoError)
        downloadReceived(item, reply);
    if (downloadStopReason_) {
        discardDownload();
        return fail(*downloadStopReason_);
    }
    if (reply->error() != QNetworkReply::NoError) {
        discardDownload();
        return fail(localized(QT_TRANSLATE_NOOP("FeedUpdater", "Das Update konnte nicht geladen werden: %1"))
                        .arg(reply->errorString()));
    }
    download_->close();
    driver_.showDownloadDidStartExtractingUpdate();
    if (const std::optional<QString> problem = verifyDownload(item)) {
        discardDownload();
        return fail(*problem);
    }
    driver_.showExtractionReceivedProgress(1.0);
    if (installsAtTermination) {
        pendingInstall_ = item;
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Update downloaded and verified — installs when Vesk quits, version=")
                        + item.versionString);
        driver_.dismissUpdateInstallation();
        return endFlow();
    }
    driver_.showReadyToInstallAndRelaunch([this, item](platform::UserUpdateChoice choice) {
        if (choice == platform::UserUpdateChoice::install)
            return install(item);
        discardDownload();
        endFlow();
    });
}

// The description of the first check the archive fails, none when it passes them all.
std::optional<QString> FeedUpdater::verifyDownload(const platform::UpdateFeedItem& item)
{
    if (static_cast<std::uint64_t>(download_->size()) != item.contentLength)
        return localized(QT_TRANSLATE_NOOP("FeedUpdater", "Das geladene Update ist unvollständig."));
    if (sha256Hex(*download_) != expectedSha256_)
        return localized(QT_TRANSLATE_NOOP("FeedUpdater", "Das geladene Update ist beschädigt."));
    if (!verifier_.verifiesFile(download_->fileName(), expectedSignature_)) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Update refused — the archive's signature does not match the "
                                                        "publisher's key"));
        return localized(QT_TRANSLATE_NOOP("FeedUpdater", "Die Signatur des Updates ist ungültig."));
    }
    return std::nullopt;
}

void FeedUpdater::install(const platform::UpdateFeedItem& item)
{
    driver_.showInstallingUpdate(false, {});
    const bool installed = installer_ && installer_(item, download_->fileName());
    discardDownload();
    if (!installed)
        return fail(localized(QT_TRANSLATE_NOOP("FeedUpdater", "Das Update konnte nicht installiert werden.")));
    logger_.log(VeskLogLevel::info, QStringLiteral("Update installed — version=") + item.versionString);
    runningVersion_ = item.versionString;
    endFlow();
}

bool FeedUpdater::installPendingUpdate()
{
    if (!pendingInstall_ || !automaticDownloads_)
        return false;
    const platform::UpdateFeedItem item = *std::exchange(pendingInstall_, std::nullopt);
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Installing the downloaded update as Vesk quits — version=") + item.versionString);
    const bool installed = installer_ && installer_(item, download_->fileName());
    discardDownload();
    if (!installed) {
        logger_.log(VeskLogLevel::error, QStringLiteral("The downloaded update could not be installed"));
        return false;
    }
    runningVersion_ = item.versionString;
    return true;
}

void FeedUpdater::discardDownload()
{
    if (!download_)
        return;
    download_->close();
    download_->remove();
    download_.reset();
}

void FeedUpdater::fail(const QString& description)
{
    awaitingAcknowledgement_ = true;
    driver_.showUpdaterError(description, [this] { acknowledged(); });
}

QString FeedUpdater::localized(const char* text) const
{
    return localizer_().translate("FeedUpdater", text);
}

void FeedUpdater::acknowledged()
{
    if (!awaitingAcknowledgement_)
        return;
    awaitingAcknowledgement_ = false;
    endFlow();
}

void FeedUpdater::endFlow()
{
    setCanCheck(started_);
}

void FeedUpdater::setCanCheck(bool canCheck)
{
    if (canCheck_ == canCheck)
        return;
    canCheck_ = canCheck;
    if (canCheckObserver_)
        canCheckObserver_(canCheck_);
}

void FeedUpdater::scheduleAutomaticCheck()
{
    automaticCheck_.cancel();
    if (!started_ || !automaticChecks_)
        return;
    automaticCheck_ = scheduler_.asyncAfter(automaticCheckIntervalSeconds, [this] {
        if (canCheck_ && !pendingInstall_)
            beginCheck(false);
        scheduleAutomaticCheck();
    });
}

void FeedUpdater::abortRunningReply()
{
    if (QNetworkReply* reply = runningReply_) {
        runningReply_ = nullptr;
        reply->abort();
    }
}

} // namespace vesk
