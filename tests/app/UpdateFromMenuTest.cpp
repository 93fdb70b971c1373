#include "app/VeskApp.h"

#include "LocalHttpServer.h"
#include "TestDesktop.h"
#include "analytics/NoopAnalyticsService.h"
#include "app/MainWindow.h"
#include "app/SettingsWindow.h"
#include "core/ManualScheduler.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "session/SchedulerSessionTimerFactory.h"
#include "settings/VeskDefaultsStore.h"
#include "update/FeedUpdater.h"
#include "update/SignedRelease.h"
#include "update/SoftwareUpdateOverlay.h"
#include "update/StandInRelease.h"
#include "update/UpdatePanelProbe.h"

#include "QtPrinters.h"

#include <QAction>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace vesk;

namespace {

using Phase = SoftwareUpdateViewModel::Phase;

// The panel's transition and the frame that ends it.
constexpr double transitionWithLastFrame = SoftwareUpdateOverlay::transitionSeconds + 1.0 / 30;

// The whole application on the simulated desktop, installed into a folder of
// its own, its updater reading a local feed: the menu command, the panel over
// the main window, the install beside the running version and the relaunch
// into it after the termination. The versions are stand-ins: shell scripts
// that write down that they ran.
class UpdateFromMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        archive_ = test::standInArchive(directory_.path(), marker("2"));
        ASSERT_FALSE(archive_.isEmpty());
        runningProgram_ = test::installStandIn(root(), "1", marker("1"));
        ASSERT_FALSE(runningProgram_.isEmpty());
        start(runningProgram_);
    }

    void start(const QString& executablePath)
    {
        ASSERT_TRUE(desktop_.applyScenario(test::oneDisplayScenario()).isEmpty());
        VeskAppEnvironment environment{desktop_.interfaces(),
                                       scheduler_,
                                       scheduler_,
                                       std::make_shared<SchedulerSessionTimerFactory>(scheduler_),
                                       directory_.filePath("data/VeskData.store"),
                                       directory_.filePath("defaults")};
        environment.endpoints.updateFeed = server_.url(QStringLiteral("/feed.json"));
        environment.updatePublicKey = key_.publicKey();
        // Analytics are not looked at here; over a day of virtual time the
        // client would write its statistics to disk every second.
        environment.makeAnalyticsService = [](VeskDefaultsStore&) { return std::make_shared<NoopAnalyticsService>(); };
        environment.executablePath = executablePath;
        environment.arguments = arguments;
        environment.updateDownloadDirectory = directory_.filePath("updates");
        app_ = std::make_unique<VeskApp>(environment);
        ASSERT_TRUE(app_->isReady());
        app_->launch();
    }

    QByteArray feed() const
    {
        QJsonObject entry = test::signedFeed(key_, "2", archive_, server_.url(QStringLiteral("/Vesk-2.tar.gz")));
        entry.insert("displayVersion", "1.1.0");
        return QJsonDocument(entry).toJson();
    }
    // Waits for the phase, then lets the panel's entrance run its course.
    bool waitForPhase(Phase phase)
    {
        const bool reached = QTest::qWaitFor([&] { return app_->updateService().viewModel().phase() == phase; }, 5000);
        scheduler_.advance(transitionWithLastFrame);
        return reached;
    }
    bool panelShows(const QString& text) const
    {
        const SoftwareUpdateView* panel = app_->updateOverlay()->panel();
        return panel && app_->updateOverlay()->isVisible() && test::shownTexts(*panel).contains(text);
    }
    void click(const QString& title) { test::clickButton(*app_->updateOverlay()->panel(), title); }
    void render(const QString& name)
    {
        app_->mainWindow()->grab().save(QStringLiteral(VESK_GALLERY_DIR "/main-window-update-%1.png").arg(name));
    }

    QString root() const { return directory_.filePath("opt/vesk"); }
    QString marker(const QString& version) const { return directory_.filePath("ran-" + version); }

    const QStringList arguments{"--simulated", "--quit-after", "60"};
    QTemporaryDir directory_;
    test::SigningKey key_;
    QByteArray archive_;
    QString runningProgram_;
    ManualScheduler scheduler_;
    platform::SimulatedDesktop desktop_{scheduler_, directory_.filePath("root")};
    test::LocalHttpServer server_;
    std::unique_ptr<VeskApp> app_;
};

TEST_F(UpdateFromMenuTest, TheMenuCommandInstallsBesideTheRunningVersionAndRelaunchesIntoTheNewOne)
{
    server_.enqueue({200, feed()});
    server_.enqueue({200, archive_});
    QAction* command = app_->mainWindow()->checkForUpdatesAction();
    ASSERT_TRUE(command->isEnabled());
    EXPECT_FALSE(app_->updateOverlay()->isVisible());

    command->trigger();
    EXPECT_FALSE(command->isEnabled()) << "disabled while the check runs";
    scheduler_.advance(transitionWithLastFrame);
    EXPECT_TRUE(panelShows("Suche nach Updates …"));
    render("checking");
    ASSERT_TRUE(waitForPhase(Phase::available));
    EXPECT_TRUE(app_->updateEntry().isUpdateWaiting());
    EXPECT_TRUE(panelShows("VESK 1.1.0 ist da"));
    render("available");

    click("Jetzt aktualisieren");
    ASSERT_TRUE(waitForPhase(Phase::ready));
    EXPECT_TRUE(panelShows("Update bereit"));
    render("ready");

    click("Jetzt neu starten");
    const QString newProgram = root() + "/versions/2/bin/vesk";
    EXPECT_EQ(QFileInfo(root() + "/current").symLinkTarget(), QFileInfo(root() + "/versions/2").absoluteFilePath());
    EXPECT_TRUE(QFileInfo::exists(runningProgram_)) << "the old version stays until the new one has started";
    QTest::qWait(100);
    EXPECT_TRUE(test::standInRun(marker("2")).isEmpty()) << "nothing starts before the termination";

    scheduler_.runPending();
    EXPECT_TRUE(app_->isTerminated());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !test::standInRun(marker("2")).isEmpty(); }, 10000))
        << "the new version was not started";
    EXPECT_EQ(test::standInRun(marker("2")), QStringList{newProgram} + arguments);
    EXPECT_TRUE(test::standInRun(marker("1")).isEmpty());
}

TEST_F(UpdateFromMenuTest, AnInstallThatFailsLeavesTheRunningVersionWhereItWasAndStartable)
{
    server_.enqueue({200, feed()});
    server_.enqueue({200, archive_});
    app_->checkForUpdatesCommand();
    ASSERT_TRUE(waitForPhase(Phase::available));
    click("Jetzt aktualisieren");
    ASSERT_TRUE(waitForPhase(Phase::ready));
    // Half-way: the archive unpacks, but its version cannot take the place it needs.
    ASSERT_TRUE(QDir(root()).mkpath(".incoming-current/in-the-way"));
    click("Jetzt neu starten");
    ASSERT_TRUE(waitForPhase(Phase::error));
    EXPECT_EQ(app_->updateService().viewModel().errorMessage(),
              std::optional<QString>("Das Update konnte nicht installiert werden."));
    scheduler_.runPending();
    EXPECT_FALSE(app_->isTerminated()) << "the running version goes on";
    EXPECT_EQ(QDir(root() + "/versions").entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{"1"});
    EXPECT_EQ(QProcess::execute(root() + "/current/bin/vesk", {"--again"}), 0);
    EXPECT_EQ(test::standInRun(marker("1")), (QStringList{root() + "/current/bin/vesk", "--again"}))
        << "and still starts";
}

TEST_F(UpdateFromMenuTest, WithAutomaticInstallsABackgroundUpdateIsInstalledAtQuitAndTheNextStartRunsIt)
{
    server_.enqueue({200, feed()});
    server_.enqueue({200, archive_});
    // Still drawings: the day until the background check passes without frames.
    app_->defaultsStore().setReducedMotion(true);
    app_->defaultsStore().setAutoCheckForUpdates(true);
    app_->defaultsStore().setAutoInstallUpdates(true);
    scheduler_.advance(FeedUpdater::automaticCheckIntervalSeconds);
    ASSERT_TRUE(server_.waitForRequests(2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app_->updateService().canCheckForUpdates(); }, 5000));
    EXPECT_FALSE(app_->updateService().viewModel().isPresented()) << "nothing asks the user";
    EXPECT_EQ(QFileInfo(root() + "/current").symLinkTarget(), QFileInfo(root() + "/versions/1").absoluteFilePath());

    app_->requestTermination();
    scheduler_.runPending();
    ASSERT_TRUE(app_->isTerminated());
    EXPECT_EQ(QFileInfo(root() + "/current").symLinkTarget(), QFileInfo(root() + "/versions/2").absoluteFilePath());
    QTest::qWait(200);
    EXPECT_TRUE(test::standInRun(marker("2")).isEmpty()) << "a quit is no relaunch";

    EXPECT_EQ(QProcess::execute(root() + "/current/bin/vesk", {}), 0);
    EXPECT_EQ(test::standInRun(marker("2")), QStringList{root() + "/current/bin/vesk"}) << "the next start runs 2";
}

// A Vesk installed by the package manager does not install updates itself.
class PackagedUpdateTest : public UpdateFromMenuTest {
protected:
    void SetUp() override { start(QStringLiteral("/usr/bin/vesk")); }
};

TEST_F(PackagedUpdateTest, OffersNoUpdateAndTheSettingsSayWhereUpdatesComeFrom)
{
    EXPECT_FALSE(app_->mainWindow()->checkForUpdatesAction()->isEnabled());
    app_->checkForUpdatesCommand();
    QTest::qWait(50);
    EXPECT_TRUE(server_.requests().empty());
    app_->showSettings();
    EXPECT_TRUE(test::shownTexts(*app_->settingsWindow()).contains("Updates kommen über die Paketverwaltung."));
}

TEST_F(UpdateFromMenuTest, ThePanelEntersOverTheDimmedWindowAndAClickOnTheDimmingClosesIt)
{
    const QImage before = app_->mainWindow()->grab().toImage();
    const QSize windowSize = app_->mainWindow()->size();
    server_.enqueue({200, feed()});
    app_->checkForUpdatesCommand();
    SoftwareUpdateOverlay* overlay = app_->updateOverlay();
    scheduler_.advance(0.08);
    EXPECT_GT(overlay->presence(), 0.2);
    EXPECT_LT(overlay->presence(), 0.95) << "still entering";
    render("entering");
    ASSERT_TRUE(waitForPhase(Phase::available));
    EXPECT_EQ(overlay->presence(), 1.0);
    ASSERT_NE(overlay->panel(), nullptr);
    EXPECT_TRUE(overlay->panel()->isVisible());
    EXPECT_TRUE(app_->mainWindow()->rect().contains(overlay->panel()->geometry()))
        << "the window grows to hold the panel";
    EXPECT_GT(app_->mainWindow()->width(), windowSize.width());
    EXPECT_EQ(overlay->geometry(), app_->mainWindow()->rect());
    const QPoint corner(4, app_->mainWindow()->height() - 4);
    EXPECT_LT(qGray(app_->mainWindow()->grab().toImage().pixel(corner)), qGray(before.pixel(corner)) * 0.7)
        << "the window is dimmed";

    QTest::mouseClick(overlay, Qt::LeftButton, {}, corner);
    EXPECT_FALSE(app_->updateService().viewModel().isPresented());
    EXPECT_TRUE(overlay->isVisible()) << "leaving";
    scheduler_.advance(transitionWithLastFrame);
    EXPECT_FALSE(overlay->isVisible());
    EXPECT_EQ(overlay->panel(), nullptr);
    EXPECT_EQ(app_->mainWindow()->size(), windowSize) << "the window gives back the room it took";
    EXPECT_EQ(app_->updateService().viewModel().phase(), Phase::idle);
    EXPECT_TRUE(app_->mainWindow()->checkForUpdatesAction()->isEnabled());
}

} // namespace
