#pragma once

#include "core/Scheduler.h"
#include "core/WorkItem.h"
#include "logging/VeskLogger.h"
#include "platform/FrameworkUpdater.h"
#include "platform/UpdateFeedItem.h"
#include "platform/UpdateUserDriver.h"
#include "ui/Localizer.h"
#include "update/UpdateSignatureVerifier.h"

#include <QFile>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

namespace vesk {

// Vesk's own updater: reads the JSON update feed over https (format in
// docs/UPDATE_FEED.md), compares the offered version with the running one,
// downloads the archive with progress into a file of its own, verifies it and
// hands it to the installer. An archive is offered for installing only when
// its length, its SHA-256 and its Ed25519 signature by the publisher's key
// all match the feed. Every step is reported to the user driver. While automatic
// checks are on it checks once a day on the injected scheduler. The
// descriptions of its errors are in the interface's language, asked for
// anew at each error since the language may change while Vesk runs.
class FeedUpdater final : public QObject, public platform::FrameworkUpdater {
    Q_OBJECT

public:
    // Installs the verified archive at `archivePath`; false when the install failed.
    using Installer = std::function<bool(const platform::UpdateFeedItem& item, const QString& archivePath)>;
    // The lookup in the interface's current language.
    using LocalizerSource = std::function<Localizer()>;

    static constexpr double automaticCheckIntervalSeconds = 24 * 60 * 60;
    // A feed is one release's entry with its notes; a longer answer is no feed.
    static constexpr qint64 maximumFeedBytes = 1024 * 1024;
    // The largest archive a feed may announce.
    static constexpr std::uint64_t maximumArchiveBytes = 1024ull * 1024 * 1024;

    struct Configuration {
        // Must be https, or http to this machine (isAllowedUpdateAddress).
        std::optional<QUrl> feedURL;
        QString runningVersion;
        // Where the archive is downloaded to (a folder in the cache folder).
        QString downloadDirectory;
        // The publisher's Ed25519 public key that archives must be signed
        // for: Vesk passes UpdateSignatureVerifier::builtInPublicKey().
        QByteArray publicKey;
        // Not empty: updates are not installed here (Vesk's files belong to
        // the package manager, say); the updater does not start and gives
        // this as the reason.
        QString unavailableReason = QString();
    };

    FeedUpdater(
        Configuration configuration, platform::UpdateUserDriver& driver, Scheduler& scheduler, Installer installer,
        LocalizerSource localizer = [] { return Localizer(); });
    ~FeedUpdater() override;

    // The environment variable that names another feed (tests, staging servers).
    static constexpr const char* feedURLVariable = "VESK_UPDATE_FEED_URL";
    // The feed Vesk reads: VESK_UPDATE_FEED_URL when set, else the built-in one.
    static QUrl configuredFeedURL();
    // The folder in the user's cache folder that downloads go to.
    static QString defaultDownloadDirectory();
    // Whether `offered` is a later version than `running` (UpdateVersion);
    // false when either is no version.
    static bool isNewerVersion(const QString& offered, const QString& running);

    std::optional<QString> startUpdater() override;
    std::optional<QUrl> feedURL() const override { return feedURL_; }
    bool canCheckForUpdates() const override { return canCheck_; }
    void observeCanCheckForUpdates(std::function<void(bool)> observer) override;
    bool automaticallyChecksForUpdates() const override { return automaticChecks_; }
    void setAutomaticallyChecksForUpdates(bool checks) override;
    bool automaticallyDownloadsUpdates() const override { return automaticDownloads_; }
    void setAutomaticallyDownloadsUpdates(bool downloads) override { automaticDownloads_ = downloads; }
    void checkForUpdates() override;

    // Installs, without asking, the update that a background check fetched
    // and verified while automatic downloads are on; Vesk calls it as it
    // terminates, so that the next start runs the new version. Whether one
    // was installed.
    bool installPendingUpdate();

private:
    void beginCheck(bool userInitiated);
    void feedArrived(QNetworkReply* reply, bool userInitiated);
    void offer(const platform::UpdateFeedItem& item, bool userInitiated);
    void download(const platform::UpdateFeedItem& item, bool installsAtTermination);
    QNetworkReply* request(const QUrl& url);
    void downloadProgressed(const platform::UpdateFeedItem& item, qint64 received, qint64 total);
    void downloadReceived(const platform::UpdateFeedItem& item, QNetworkReply* reply);
    void downloadFinished(const platform::UpdateFeedItem& item, bool installsAtTermination, QNetworkReply* reply);
    void offerPendingUpdate(const platform::UpdateFeedItem& item);
    void stopDownload(const QString& reason, const QString& description);
    std::optional<QString> verifyDownload(const platform::UpdateFeedItem& item);
    void install(const platform::UpdateFeedItem& item);
    void discardDownload();
    void fail(const QString& description);
    QString localized(const char* text) const;
    void acknowledged();
    void endFlow();
    void setCanCheck(bool canCheck);
    void scheduleAutomaticCheck();
    void abortRunningReply();

    std::optional<QUrl> feedURL_;
    QString runningVersion_;
    QString downloadDirectory_;
    QString unavailableReason_;
    platform::UpdateUserDriver& driver_;
    Scheduler& scheduler_;
    Installer installer_;
    LocalizerSource localizer_;
    VeskLogger logger_{QStringLiteral("FeedUpdater")};
    QNetworkAccessManager* network_;
    QPointer<QNetworkReply> runningReply_;
    UpdateSignatureVerifier verifier_;
    QByteArray expectedSha256_;
    QByteArray expectedSignature_;
    // The archive as it arrives, and the error of a download that was stopped.
    std::unique_ptr<QFile> download_;
    std::optional<QString> downloadStopReason_;
    // Downloaded and verified in the background, waiting for Vesk to terminate.
    std::optional<platform::UpdateFeedItem> pendingInstall_;
    std::uint64_t reportedBytes_ = 0;
    bool expectedLengthReported_ = false;
    bool started_ = false;
    // A result (no update, an error) waits for the user to close it.
    bool awaitingAcknowledgement_ = false;
    bool canCheck_ = false;
    bool automaticChecks_ = false;
    bool automaticDownloads_ = false;
    std::function<void(bool)> canCheckObserver_;
    WorkItem automaticCheck_;
};

} // namespace vesk
