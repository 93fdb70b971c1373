#include "LocalHttpServer.h"
#include "QtPrinters.h"
#include "core/AppVersion.h"
#include "ui/TextLabel.h"
#include "ui/UiFixture.h"
#include "update/FeedUpdater.h"
#include "update/SignedRelease.h"
#include "update/SoftwareUpdateService.h"
#include "update/SoftwareUpdateView.h"
#include "update/UpdatePanelProbe.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace vesk::test {
namespace {

using Phase = SoftwareUpdateViewModel::Phase;
using platform::UserUpdateChoice;

// Stands between the feed updater and Vesk's driver: writes down every
// callback and every reply or action the driver answers ("reply found 1"),
// and passes everything on.
class RecordingDriverTap final : public platform::UpdateUserDriver {
public:
    explicit RecordingDriverTap(platform::UpdateUserDriver& driver) : driver_(driver) { }

    QStringList calls;

    void showUpdatePermissionRequest(std::function<void(platform::UpdatePermissionResponse)> reply) override
    {
        calls << "permission";
        driver_.showUpdatePermissionRequest(std::move(reply));
    }
    void showUserInitiatedUpdateCheck(Action cancellation) override
    {
        calls << "check";
        driver_.showUserInitiatedUpdateCheck(tap("cancel check", std::move(cancellation)));
    }
    void showUpdateFound(const platform::UpdateFeedItem& item, platform::UserUpdateState state, Reply reply) override
    {
        calls << "found " + item.versionString;
        driver_.showUpdateFound(item, state, tap("found", std::move(reply)));
    }
    void showUpdateReleaseNotes(const QByteArray& data) override { driver_.showUpdateReleaseNotes(data); }
    void showUpdateReleaseNotesFailedToDownload(const QString& error) override
    {
        driver_.showUpdateReleaseNotesFailedToDownload(error);
    }
    void showUpdateNotFound(const QString& error, Action acknowledgement) override
    {
        calls << "not found";
        driver_.showUpdateNotFound(error, tap("acknowledge", std::move(acknowledgement)));
    }
    void showUpdaterError(const QString& error, Action acknowledgement) override
    {
        calls << "error";
        driver_.showUpdaterError(error, tap("acknowledge", std::move(acknowledgement)));
    }
    void showDownloadInitiated(Action cancellation) override
    {
        calls << "download";
        driver_.showDownloadInitiated(tap("cancel download", std::move(cancellation)));
    }
    void showDownloadDidReceiveExpectedContentLength(std::uint64_t length) override
    {
        calls << QStringLiteral("expected %1").arg(length);
        driver_.showDownloadDidReceiveExpectedContentLength(length);
    }
    void showDownloadDidReceiveDataOfLength(std::uint64_t length) override
    {
        if (calls.last() != "data")
            calls << "data";
        driver_.showDownloadDidReceiveDataOfLength(length);
    }
    void showDownloadDidStartExtractingUpdate() override
    {
        calls << "extracting";
        driver_.showDownloadDidStartExtractingUpdate();
    }
    void showExtractionReceivedProgress(double fraction) override { driver_.showExtractionReceivedProgress(fraction); }
    void showReadyToInstallAndRelaunch(Reply reply) override
    {
        calls << "ready";
        driver_.showReadyToInstallAndRelaunch(tap("install", std::move(reply)));
    }
    void showInstallingUpdate(bool terminated, Action retry) override
    {
        calls << "installing";
        driver_.showInstallingUpdate(terminated, std::move(retry));
    }
    void showUpdateInstalledAndRelaunched(bool relaunched, Action acknowledgement) override
    {
        calls << "installed";
        driver_.showUpdateInstalledAndRelaunched(relaunched, std::move(acknowledgement));
    }
    void showUpdateInFocus() override { driver_.showUpdateInFocus(); }
    void dismissUpdateInstallation() override
    {
        calls << "dismiss installation";
        driver_.dismissUpdateInstallation();
    }

private:
    Reply tap(const QString& name, Reply reply)
    {
        return [this, name, reply](UserUpdateChoice choice) {
            calls << QStringLiteral("reply %1 %2").arg(name).arg(static_cast<int>(choice));
            reply(choice);
        };
    }
    Action tap(const QString& name, Action action)
    {
        if (!action)
            return {};
        return [this, name, action] {
            calls << "called " + name;
            action();
        };
    }

    platform::UpdateUserDriver& driver_;
};

const QByteArray archive(1'200'000, 'z');

// A local server serves the feed and the archive; the panel is clicked as a
// person would, and the feed updater, Vesk's driver and the model do the rest.
class UpdateWalkTest : public UiFixture {
protected:
    void SetUp() override
    {
        setMainBundleInfoDictionary({{"CFBundleShortVersionString", "1.0"}, {"CFBundleVersion", "1.0.0"}});
    }

    void start(const QUrl& feedURL)
    {
        service = std::make_unique<SoftwareUpdateService>([this, feedURL](platform::UpdateUserDriver& driver) {
            tap = std::make_unique<RecordingDriverTap>(driver);
            return std::make_unique<FeedUpdater>(
                FeedUpdater::Configuration{feedURL, QStringLiteral("1.0.0"), downloads.path(), key.publicKey()}, *tap,
                scheduler, [this](const platform::UpdateFeedItem& item, const QString& archivePath) {
                    installed = readAll(archivePath) == archive ? item.versionString : QString();
                    return true;
                });
        });
        service->setCanCheckForUpdatesChangedHandler([this](bool canCheck) { canCheckValues.push_back(canCheck); });
        view =
            std::make_unique<SoftwareUpdateView>(*service, true, VeskTheme::shared(),
                                                 SoftwareUpdateView::Environment{scheduler, scheduler, reducedMotion});
        view->show();
    }

    QByteArray feed(const QString& version) const
    {
        QJsonObject entry = signedFeed(key, version, archive, server.url(QStringLiteral("/Vesk-1.2.0.tar.gz")));
        entry.insert("displayVersion", "1.2");
        entry.insert("releaseNotes", "<ul><li>Schneller</li><li>Stabiler</li></ul>");
        return QJsonDocument(entry).toJson();
    }

    bool waitForPhase(Phase phase)
    {
        return QTest::qWaitFor([&] { return service->viewModel().phase() == phase; }, 5000);
    }
    void click(const QString& title) { clickButton(*view, title); }
    bool shows(const QString& text) const { return shownTexts(*view).contains(text); }

    static QByteArray readAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    SigningKey key;
    QTemporaryDir downloads;
    LocalHttpServer server;
    std::unique_ptr<RecordingDriverTap> tap;
    std::unique_ptr<SoftwareUpdateService> service;
    std::unique_ptr<SoftwareUpdateView> view;
    std::vector<bool> canCheckValues;
    QString installed;
};

TEST_F(UpdateWalkTest, ACheckWalksThroughDownloadToInstallAndRelaunch)
{
    server.enqueue({200, feed(QStringLiteral("1.2.0"))});
    server.enqueue({200, archive});
    start(server.url(QStringLiteral("/feed.json")));
    service->checkForUpdates();
    EXPECT_EQ(service->viewModel().phase(), Phase::checking);
    EXPECT_TRUE(shows("Suche nach Updates …"));
    EXPECT_FALSE(service->canCheckForUpdates()) << "no second check while one runs";

    ASSERT_TRUE(waitForPhase(Phase::available));
    EXPECT_TRUE(shows("VESK 1.2 ist da"));
    EXPECT_TRUE(shows("Version 1.2.0 · 1,2 MB · läuft auf 1.0"));
    EXPECT_TRUE(shows("Stabiler"));

    std::vector<long long> percents;
    QObject::connect(&service->viewModel(), &SoftwareUpdateViewModel::progressChanged,
                     [&] { percents.push_back(std::llround(service->viewModel().progress() * 100)); });
    click("Jetzt aktualisieren");
    ASSERT_TRUE(waitForPhase(Phase::ready));
    EXPECT_TRUE(shows("Update bereit"));
    ASSERT_FALSE(percents.empty());
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_EQ(percents.back(), 100);
    EXPECT_EQ(service->viewModel().downloadedBytes(), static_cast<std::uint64_t>(archive.size()));

    click("Jetzt neu starten");
    EXPECT_EQ(installed, QStringLiteral("1.2.0"));
    EXPECT_EQ(tap->calls, (QStringList{"check", "found 1.2.0", "reply found 1", "download",
                                       QStringLiteral("expected %1").arg(archive.size()), "data", "extracting", "ready",
                                       "reply install 1", "installing"}));
    EXPECT_EQ(canCheckValues, (std::vector<bool>{false, true}));
}

TEST_F(UpdateWalkTest, LaterAnswersDismissAndAnUpToDateFeedIsSaidSo)
{
    server.enqueue({200, feed(QStringLiteral("1.2.0"))});
    start(server.url(QStringLiteral("/feed.json")));
    service->checkForUpdates();
    ASSERT_TRUE(waitForPhase(Phase::available));
    click("Später");
    EXPECT_EQ(service->viewModel().phase(), Phase::idle);
    EXPECT_FALSE(service->viewModel().isPresented());
    EXPECT_TRUE(service->canCheckForUpdates());

    server.enqueue({200, feed(QStringLiteral("1.0"))});
    service->checkForUpdates();
    ASSERT_TRUE(waitForPhase(Phase::upToDate));
    EXPECT_TRUE(shows("Du bist auf dem neuesten Stand"));
    EXPECT_FALSE(service->canCheckForUpdates());
    click("Schließen");
    EXPECT_TRUE(service->canCheckForUpdates());
    EXPECT_EQ(tap->calls,
              (QStringList{"check", "found 1.2.0", "reply found 2", "check", "not found", "called acknowledge"}));
}

TEST_F(UpdateWalkTest, AnUnreachableFeedShowsTheErrorWithItsMessage)
{
    QUrl closed;
    {
        LocalHttpServer gone;
        closed = gone.url(QStringLiteral("/feed.json"));
    }
    start(closed);
    service->checkForUpdates();
    ASSERT_TRUE(waitForPhase(Phase::error));
    ASSERT_TRUE(service->viewModel().errorMessage());
    EXPECT_TRUE(service->viewModel().errorMessage()->startsWith("Der Update-Feed ist nicht erreichbar"));
    EXPECT_TRUE(shows(*service->viewModel().errorMessage()));
    EXPECT_TRUE(shows("Update fehlgeschlagen"));
    click("Erneut prüfen");
    ASSERT_TRUE(QTest::qWaitFor([&] { return tap->calls.count("error") == 2; }, 5000));
    click("Schließen");
    EXPECT_EQ(service->viewModel().phase(), Phase::idle);
    EXPECT_EQ(tap->calls,
              (QStringList{"check", "error", "check", "error", "called cancel check", "called acknowledge"}))
        << "checking again replaces the error; the first acknowledgement is dropped uncalled";
    EXPECT_TRUE(service->canCheckForUpdates());
}

} // namespace
} // namespace vesk::test
