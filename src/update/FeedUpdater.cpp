#include "update/FeedUpdater.h"

#include "core/AnswerSizeLimit.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringList>

#include <algorithm>

namespace vesk {

namespace {

const QString builtInFeedURL = QStringLiteral("https://updates.vesk.app/feed.json");

struct FeedEntry {
    platform::UpdateFeedItem item;
    QByteArray sha256;
};

std::optional<FeedEntry> parseFeed(const QByteArray& body)
{
    const QJsonObject feed = QJsonDocument::fromJson(body).object();
    const QString version = feed.value(QStringLiteral("version")).toString();
    const QUrl archive(feed.value(QStringLiteral("url")).toString());
    const double length = feed.value(QStringLiteral("length")).toDouble(-1);
    if (version.isEmpty() || !archive.isValid() || archive.isRelative() || length < 0)
        return std::nullopt;
    FeedEntry entry;
    entry.item.versionString = version;
    entry.item.displayVersionString = feed.value(QStringLiteral("displayVersion")).toString(version);
    entry.item.contentLength = static_cast<std::uint64_t>(length);
    if (feed.contains(QStringLiteral("releaseNotes")))
        entry.item.itemDescription = feed.value(QStringLiteral("releaseNotes")).toString();
    entry.item.archiveURL = archive;
    entry.sha256 = feed.value(QStringLiteral("sha256")).toString().toLatin1().toLower();
    return entry;
}

QList<int> versionParts(const QString& version)
{
    QList<int> parts;
    for (const QString& part : version.split(QLatin1Char('.')))
        parts.append(part.toInt());
    return parts;
}

} // namespace

FeedUpdater::FeedUpdater(std::optional<QUrl> feedURL, QString runningVersion, platform::UpdateUserDriver& driver,
                         Scheduler& scheduler, Installer installer, LocalizerSource localizer)
    : feedURL_(std::move(feedURL))
    , runningVersion_(std::move(runningVersion))
    , driver_(driver)
    , scheduler_(scheduler)
    , installer_(std::move(installer))
    , localizer_(std::move(localizer))
    , network_(new QNetworkAccessManager(this))
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

bool FeedUpdater::isNewerVersion(const QString& offered, const QString& running)
{
    QList<int> a = versionParts(offered);
    QList<int> b = versionParts(running);
    const qsizetype count = std::max(a.size(), b.size());
    a.resize(count, 0);
    b.resize(count, 0);
    return std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end());
}

std::optional<QString> FeedUpdater::startUpdater()
{
    if (started_)
        return QStringLiteral("The updater has already been started.");
    if (!feedURL_ || !feedURL_->isValid() || feedURL_->isRelative())
        return QStringLiteral("The update feed's address is missing or not valid.");
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
    QNetworkReply* reply = network_->get(QNetworkRequest(*feedURL_));
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
    const std::optional<FeedEntry> entry = parseFeed(reply->readAll());
    if (!entry) {
        if (userInitiated)
            return fail(localized(QT_TRANSLATE_NOOP("FeedUpdater", "Der Update-Feed ist ungültig.")));
        logger_.log(VeskLogLevel::warning, QStringLiteral("Background update check read an invalid feed"));
        return endFlow();
    }
    if (!isNewerVersion(entry->item.versionString, runningVersion_)) {
        if (!userInitiated)
            return endFlow();
        awaitingAcknowledgement_ = true;
        return driver_.showUpdateNotFound(
            localized(QT_TRANSLATE_NOOP("FeedUpdater", "Version %1 ist die neueste Version.")).arg(runningVersion_),
            [this] { acknowledged(); });
    }
    expectedSha256_ = entry->sha256;
    offer(entry->item, userInitiated);
}

void FeedUpdater::offer(const platform::UpdateFeedItem& item, bool userInitiated)
{
    if (!userInitiated && automaticDownloads_)
        return download(item);
    driver_.showUpdateFound(item, {platform::UserUpdateState::Stage::notDownloaded, userInitiated},
                            [this, item](platform::UserUpdateChoice choice) {
                                if (choice == platform::UserUpdateChoice::install)
                                    download(item);
                                else
                                    endFlow();
                            });
}

void FeedUpdater::download(const platform::UpdateFeedItem& item)
{
    reportedBytes_ = 0;
    expectedLengthReported_ = false;
    driver_.showDownloadInitiated([this] {
        logger_.log(VeskLogLevel::info, QStringLiteral("Update download cancelled"));
        abortRunningReply();
        endFlow();
    });
    QNetworkReply* reply = network_->get(QNetworkRequest(item.archiveURL));
    runningReply_ = reply;
    connect(reply, &QNetworkReply::downloadProgress, this, &FeedUpdater::downloadProgressed);
    connect(reply, &QNetworkReply::finished, this, [this, reply, item] {
        reply->deleteLater();
        if (runningReply_ == reply)
            downloadFinished(item, reply);
    });
}

void FeedUpdater::downloadProgressed(qint64 received, qint64 total)
{
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

void FeedUpdater::downloadFinished(const platform::UpdateFeedItem& item, QNetworkReply* reply)
{
    runningReply_ = nullptr;
    if (reply->error() != QNetworkReply::NoError)
        return fail(localized(QT_TRANSLATE_NOOP("FeedUpdater", "Das Update konnte nicht geladen werden: %1"))
                        .arg(reply->errorString()));
    const QByteArray archive = reply->readAll();
    driver_.showDownloadDidStartExtractingUpdate();
    if (static_cast<std::uint64_t>(archive.size()) != item.contentLength)
        return fail(localized(QT_TRANSLATE_NOOP("FeedUpdater", "Das geladene Update ist unvollständig.")));
    if (!expectedSha256_.isEmpty()
        && QCryptographicHash::hash(archive, QCryptographicHash::Sha256).toHex() != expectedSha256_)
        return fail(localized(QT_TRANSLATE_NOOP("FeedUpdater", "Das geladene Update ist beschädigt.")));
    driver_.showExtractionReceivedProgress(1.0);
    driver_.showReadyToInstallAndRelaunch([this, item, archive](platform::UserUpdateChoice choice) {
        if (choice == platform::UserUpdateChoice::install)
            install(item, archive);
        else
            endFlow();
    });
}

void FeedUpdater::install(const platform::UpdateFeedItem& item, const QByteArray& archive)
{
    driver_.showInstallingUpdate(false, {});
    if (!installer_ || !installer_(item, archive))
        return fail(localized(QT_TRANSLATE_NOOP("FeedUpdater", "Das Update konnte nicht installiert werden.")));
    logger_.log(VeskLogLevel::info, QStringLiteral("Update installed — version=") + item.versionString);
    runningVersion_ = item.versionString;
    endFlow();
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
        if (canCheck_)
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
