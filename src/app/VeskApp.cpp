#include "app/VeskApp.h"

#include "analytics/AnalyticsEvent.h"
#include "analytics/TelemetryAnalyticsService.h"
#include "analytics/client/LiveSystemFacts.h"
#include "app/AboutWindow.h"
#include "app/AppDelegate.h"
#include "app/InstanceLock.h"
#include "app/MainWindow.h"
#include "app/OwnWindowListing.h"
#include "app/PrivacyPolicy.h"
#include "app/SessionManagerComposition.h"
#include "app/SessionManagerSessionStarting.h"
#include "app/SessionSetupView.h"
#include "app/SettingsWindow.h"
#include "core/AppVersion.h"
#include "core/TextFormat.h"
#include "core/UserDefaults.h"
#include "feedback/BugReportEndpoint.h"
#include "feedback/CrashDiagnosticsService.h"
#include "feedback/WorkerBugReportSender.h"
#include "logging/VeskLogFileStore.h"
#include "panels/SessionUIController.h"
#include "platform/DiagnosticPayloadProviding.h"
#include "platform/OwnApplicationControlling.h"
#include "platform/PermissionsProviding.h"
#include "platform/Workspace.h"
#include "session/SessionManager.h"
#include "settings/VeskDefaultsStore.h"
#include "setup/QtAudioPlayerFactory.h"
#include "setup/SessionSetupServices.h"
#include "store/ModelContainer.h"
#include "store/SqliteFocusSessionStore.h"
#include "ui/Localizer.h"
#include "ui/ReducedMotion.h"
#include "update/FeedUpdater.h"
#include "update/SoftwareUpdateOverlay.h"
#include "update/SoftwareUpdateService.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QProcess>

#include <cstdio>

namespace vesk {

VeskApp::VeskApp(VeskAppEnvironment environment, QObject* parent)
    : QObject(parent)
    , environment_(std::move(environment))
{
    // The running application's bundle, as the version texts read it.
    const platform::OwnApplicationSpec& own = environment_.platform.ownApplication.ownApplication();
    QVariantMap bundleInfo;
    if (own.version)
        bundleInfo.insert(QStringLiteral("CFBundleShortVersionString"), *own.version);
    if (own.build)
        bundleInfo.insert(QStringLiteral("CFBundleVersion"), *own.build);
    setMainBundleInfoDictionary(bundleInfo);
    VeskLogger::setMainBundleIdentifier(own.bundleIdentifier);

    // 1. The delegate is created once the objects it reaches exist (below).
    // 2. The update service is built on first use.
    makeUpdater_ = environment_.makeUpdater;
    if (environment_.executablePath)
        ownFolder_ = OwnFolderInstallation::of(*environment_.executablePath);
    if (!makeUpdater_)
        makeUpdater_ = [this](platform::UpdateUserDriver& driver) { return makeFeedUpdater(driver); };

    // 3. Without its store the application cannot run; another instance on
    // the same store keeps it to itself.
    if (!takeInstanceLock())
        return;
    modelContainer_ = makeModelContainer(environment_.storePath, environment_.exit);
    if (!modelContainer_)
        return;
    if (environment_.writeFailed) {
        modelContainer_->mainContext().setSaveFailureHandler(
            [report = environment_.writeFailed](const StoreError& error) {
                report(QStringLiteral("the session store could not save: ") + error.description);
            });
    }

    // The standard user defaults: the settings and the backups of the system
    // settings a session changes.
    standardDefaults_ = std::make_unique<UserDefaults>(QString::fromUtf8(UserDefaults::standardSuiteName),
                                                       environment_.defaultsRootDirectory);
    if (environment_.writeFailed) {
        standardDefaults_->setWriteFailureHandler([report = environment_.writeFailed](const QString& failure) {
            report(QStringLiteral("the settings could not be saved: ") + failure);
        });
    }

    // 4. The session manager with all its services and the do-nothing store.
    composition_ =
        std::make_unique<SessionManagerComposition>(environment_.scheduler, environment_.clock, environment_.platform,
                                                    *standardDefaults_, environment_.timerFactory,
                                                    environment_.desktopDirectory);
    composition_->setBugReportEndpoint(reportsEndpointText());

    // 5.–6. The store over the container's main context.
    sessionStore_ = std::make_shared<SqliteFocusSessionStore>(modelContainer_->mainContext());
    sessionManager().setSessionStore(sessionStore_);
    sessionManagerLogger_.log(VeskLogLevel::info, QStringLiteral("Configured session persistence store"));

    // 7. The settings store over the standard user defaults.
    defaultsStore_ = std::make_unique<VeskDefaultsStore>(*standardDefaults_);
    reducedMotion_ = std::make_unique<ReducedMotion>(environment_.platform.reduceMotion, *defaultsStore_);

    setUpAnalytics();
    setUpCrashDiagnostics();

    delegate_ = std::make_unique<AppDelegate>(AppDelegate::Dependencies{
        sessionManager(),
        composition_->desktopIsolation(),
        composition_->dockMissionControlFallback(),
        composition_->screenshotThumbnailSuppression(),
        *standardDefaults_,
        environment_.platform.presentationOptions,
        environment_.platform.ownApplication,
        environment_.clock,
        [] { VeskLogFileStore::shared().drain(); },
    });
    // Closing the main window leaves the application running.
    QGuiApplication::setQuitOnLastWindowClosed(delegate_->applicationShouldTerminateAfterLastWindowClosed());
    platform::OwnApplicationControlling& ownApplication = environment_.platform.ownApplication;
    ownApplication.setTerminationHandlers([this] { return delegate_->applicationShouldTerminate(); },
                                          [this] {
                                              delegate_->applicationWillTerminate();
                                              installUpdateAtTermination();
                                          });
    ownApplication.observeOwnTermination(this, [this] {
        relaunchIntoInstalledUpdate();
        emit terminated();
    });

    buildScenes();
    openInstanceChannel();
    ready_ = true;
}

VeskApp::~VeskApp()
{
    instanceChannel_.reset();
    if (updateService_) {
        updateService_->setCanCheckForUpdatesChangedHandler({});
        updateService_->setUpdateWaitingChangedHandler({});
    }
    if (ready_) {
        environment_.platform.ownApplication.setTerminationHandlers({}, {});
        environment_.platform.diagnosticPayloads.subscribeToDiagnosticPayloads({});
    }
    aboutListing_.reset();
    settingsListing_.reset();
    aboutWindow_.reset();
    settingsWindow_.reset();
    mainWindow_.reset();
}

QString VeskApp::dataFolder() const
{
    return QFileInfo(environment_.storePath).absolutePath();
}

// Another instance on the same data folder keeps it: this one hands over to
// it (which shows its main window) or, when it does not answer, is refused.
bool VeskApp::takeInstanceLock()
{
    instanceLock_ = environment_.instanceLock;
    if (instanceLock_)
        return true;
    InstanceClaim claim =
        InstanceClaim::make(dataFolder(), environment_.instanceLockWaitSeconds, environment_.askRunningInstance);
    const VeskLogger logger(QStringLiteral("VeskApp"));
    switch (claim.outcome) {
    case InstanceClaim::Outcome::locked:
        instanceLock_ = std::move(claim.lock);
        return true;
    case InstanceClaim::Outcome::handedOver:
        logger.log(VeskLogLevel::info, claim.message);
        std::printf("%s\n", claim.message.toUtf8().constData());
        std::fflush(stdout);
        environment_.exit(0);
        return false;
    case InstanceClaim::Outcome::refused:
        break;
    }
    logger.log(VeskLogLevel::error, claim.message);
    std::fprintf(stderr, "%s\n", claim.message.toUtf8().constData());
    std::fflush(stderr);
    environment_.exit(1);
    return false;
}

// Later starts reach this instance over the channel while it holds the lock.
void VeskApp::openInstanceChannel()
{
    instanceChannel_ = std::make_unique<InstanceChannel>(dataFolder(), [this] { return bringMainWindowForward(); });
    if (QString error; !instanceChannel_->listen(&error))
        VeskLogger(QStringLiteral("VeskApp")).log(VeskLogLevel::warning, error);
}

// Steps 8 to 10: the analytics service goes to the session manager, and the
// launch signal goes out through the service itself.
void VeskApp::setUpAnalytics()
{
    analytics_ = environment_.makeAnalyticsService ? environment_.makeAnalyticsService(*defaultsStore_)
                                                   : makeTelemetryAnalyticsService();
    sessionManager().setAnalytics(analytics_);
    sessionManagerLogger_.log(VeskLogLevel::info, QStringLiteral("Configured analytics tracking"));
    analytics_->track(
        AnalyticsEvent(AnalyticsEvent::AppLaunched{environment_.platform.permissions.isAccessibilityTrusted()}));
}

// The analytics client starts with the first event the user allows, over
// the application's queue, clock and platform.
std::shared_ptr<AnalyticsTracking> VeskApp::makeTelemetryAnalyticsService()
{
    const platform::PlatformInterfaces& platform = environment_.platform;
    telemetry::ClientHost host{
        environment_.scheduler,
        environment_.clock,
        std::make_shared<telemetry::LiveSystemFacts>(platform.systemInfo, platform.screens, platform.defaultsDomains,
                                                     mainBundleInfoDictionary()),
        platform.applicationActivity,
        platform.storeTransactions,
        environment_.defaultsRootDirectory,
        environment_.analyticsCacheFilePath,
    };
    return std::make_shared<TelemetryAnalyticsService>(
        *defaultsStore_, TelemetryAnalyticsService::configuredAppID(),
        TelemetryAnalyticsService::clientInitializer(std::move(host), environment_.endpoints.analytics,
                                                     environment_.analyticsTestMode),
        TelemetryAnalyticsService::clientSignalSender());
}

// Steps 11 to 14: crash diagnostics with their own sender, reporting only
// while the user allows analytics (read each time they ask), subscribed to
// the system's diagnostic payloads for the application's life.
void VeskApp::setUpCrashDiagnostics()
{
    network_ = std::make_unique<QNetworkAccessManager>();
    std::shared_ptr<BugReportSending> sender =
        std::make_shared<WorkerBugReportSender>(reportsEndpointText(), *network_, environment_.scheduler);
    std::function<bool()> isEnabled = [defaults = defaultsStore_.get()] { return defaults->analyticsEnabled(); };
    crashDiagnostics_ = environment_.makeCrashDiagnosticsService
                            ? environment_.makeCrashDiagnosticsService(std::move(sender), std::move(isEnabled))
                            : std::make_shared<CrashDiagnosticsService>(
                                std::move(sender), std::move(isEnabled),
                                CrashDiagnosticsService::Environment{environment_.scheduler, environment_.clock,
                                                                     environment_.platform.screens, QDir::tempPath()});

    // Payloads arrive on the system's thread; one that comes after the
    // application is gone reaches nothing.
    std::weak_ptr<DiagnosticPayloadSubscribing> subscriber = crashDiagnostics_;
    environment_.platform.diagnosticPayloads.subscribeToDiagnosticPayloads(
        [subscriber](const std::vector<QByteArray>& payloads) {
            if (const auto diagnostics = subscriber.lock())
                diagnostics->didReceive(payloads);
        });
    crashDiagnosticsLogger_.log(VeskLogLevel::info, QStringLiteral("Registered as MetricKit subscriber"));
}

SessionManager& VeskApp::sessionManager() const
{
    return composition_->manager();
}

void VeskApp::launch()
{
    mainWindow_->show();
    delegate_->applicationDidFinishLaunching();
    // This version has started: the one it replaced, if any, can go.
    if (ownFolder_)
        ownFolder_->removeOtherVersions();
}

void VeskApp::requestTermination()
{
    environment_.platform.ownApplication.requestOwnTermination();
}

bool VeskApp::isTerminated() const
{
    return environment_.platform.ownApplication.isOwnApplicationTerminated();
}

SoftwareUpdateService& VeskApp::updateService()
{
    if (!updateService_)
        updateService_ = std::make_unique<SoftwareUpdateService>(makeUpdater_);
    return *updateService_;
}

std::unique_ptr<platform::FrameworkUpdater> VeskApp::makeFeedUpdater(platform::UpdateUserDriver& driver)
{
    platform::OwnApplicationControlling& own = environment_.platform.ownApplication;
    FeedUpdater::Configuration configuration{environment_.endpoints.updateFeed,
                                             own.ownApplication().build.value_or(QStringLiteral("0")),
                                             environment_.updateDownloadDirectory.isEmpty()
                                                 ? FeedUpdater::defaultDownloadDirectory()
                                                 : environment_.updateDownloadDirectory,
                                             environment_.updatePublicKey};
    if (environment_.executablePath && !ownFolder_) {
        configuration.unavailableReason =
            OwnFolderInstallation::originOf(*environment_.executablePath)
                    == OwnFolderInstallation::Origin::packageManager
                ? QStringLiteral("Vesk's files belong to the package manager, which brings its updates")
                : QStringLiteral("Vesk runs from %1, not from a folder of its own (<folder>/versions/<version>/bin): "
                                 "updates are not installed here")
                      .arg(*environment_.executablePath);
    }
    auto updater = std::make_unique<FeedUpdater>(
        std::move(configuration), driver, environment_.scheduler,
        [this](const platform::UpdateFeedItem& item, const QString& archivePath) {
            return installUpdate(item, archivePath);
        },
        [this] { return Localizer(defaultsStore_->interfaceLocale()); });
    feedUpdater_ = updater.get();
    return updater;
}

void VeskApp::installUpdateAtTermination()
{
    terminating_ = true;
    if (feedUpdater_)
        feedUpdater_->installPendingUpdate();
}

// The verified archive goes into Vesk's own folder (or the simulated
// desktop's bundle), and Vesk relaunches through its ordinary termination,
// which the delegate may still put off while a session runs.
bool VeskApp::installUpdate(const platform::UpdateFeedItem& item, const QString& archivePath)
{
    platform::OwnApplicationControlling& own = environment_.platform.ownApplication;
    if (ownFolder_) {
        if (const std::optional<QString> problem = ownFolder_->install(archivePath, item.versionString)) {
            updateLogger_.log(VeskLogLevel::error, QStringLiteral("Update not installed — ") + *problem);
            return false;
        }
        updateLogger_.log(VeskLogLevel::info,
                          QStringLiteral("Update installed — version=%1 program=%2")
                              .arg(item.versionString, ownFolder_->executableOf(item.versionString)));
    } else {
        own.installOwnBundleUpdate(item.displayVersionString, item.versionString);
    }
    // Installed as Vesk quits: the next start runs it.
    if (terminating_)
        return true;
    if (ownFolder_)
        relaunchProgram_ = ownFolder_->executableOf(item.versionString);
    environment_.scheduler.async([&own] { own.requestOwnTermination(); });
    return true;
}

void VeskApp::relaunchIntoInstalledUpdate()
{
    if (!relaunchProgram_)
        return;
    const bool started = QProcess::startDetached(*relaunchProgram_, environment_.arguments);
    updateLogger_.log(started ? VeskLogLevel::info : VeskLogLevel::error,
                      QStringLiteral("Relaunch into the installed update — program=%1 started=%2")
                          .arg(*relaunchProgram_, boolText(started)));
}

const char* VeskApp::updateSourceNote() const
{
    if (!environment_.executablePath || ownFolder_)
        return nullptr;
    if (OwnFolderInstallation::originOf(*environment_.executablePath) == OwnFolderInstallation::Origin::packageManager)
        return QT_TRANSLATE_NOOP("SettingsView", "Updates kommen über die Paketverwaltung.");
    return QT_TRANSLATE_NOOP("SettingsView", "Diese Installation wird nicht von VESK aktualisiert.");
}

SoftwareUpdateOverlay* VeskApp::updateOverlay() const
{
    return setupView_ ? setupView_->updateOverlay() : nullptr;
}

void VeskApp::checkForUpdatesCommand()
{
    updateService().checkForUpdates();
}

void VeskApp::showSettings()
{
    settingsWindow_->show();
    settingsWindow_->raise();
}

void VeskApp::showAbout()
{
    aboutWindow_->show();
    aboutWindow_->raise();
}

InstanceChannel::Answer VeskApp::bringMainWindowForward()
{
    const VeskLogger logger(QStringLiteral("VeskApp"));
    if (isTerminated()) {
        logger.log(VeskLogLevel::info, QStringLiteral("Another start asked for the main window while terminating"));
        return InstanceChannel::Answer::ending;
    }
    if (sessionManager().isSessionActive()) {
        logger.log(VeskLogLevel::info, QStringLiteral("Another start asked for the main window during a session"));
        return InstanceChannel::Answer::inSession;
    }
    composition_->uiController().showMainWindow();
    logger.log(VeskLogLevel::info, QStringLiteral("Main window brought to the front for another start"));
    return InstanceChannel::Answer::shown;
}

void VeskApp::buildScenes()
{
    mainWindow_ = std::make_unique<MainWindow>(environment_.platform.screens, environment_.platform.ownWindows);
    composition_->uiController().setMainWindow(mainWindow_.get());
    settingsWindow_ =
        std::make_unique<SettingsWindow>(SettingsView::Services{*defaultsStore_, updateService(), bugReportServices(),
                                                                privacyPolicyURL(), updateSourceNote()});
    aboutWindow_ = std::make_unique<AboutWindow>(environment_.desktopName);
    settingsListing_ = std::make_unique<OwnWindowListing>(*settingsWindow_, environment_.platform.screens,
                                                          environment_.platform.ownWindows);
    aboutListing_ = std::make_unique<OwnWindowListing>(*aboutWindow_, environment_.platform.screens,
                                                       environment_.platform.ownWindows);
    // Both open where the main window first stands: in the middle of the main display.
    for (QWidget* window : std::initializer_list<QWidget*>{settingsWindow_.get(), aboutWindow_.get()}) {
        window->move(
            OwnWindowListing::centredOnMainScreen(environment_.platform.screens, window->size()).topLeft().toPoint());
    }
    // Built once: the setup screen that a language switch replaces reads them until it goes.
    sessionStarting_ = std::make_unique<SessionManagerSessionStarting>(sessionManager());
    audioPlayers_ = environment_.audioPlayers ? environment_.audioPlayers : std::make_shared<QtAudioPlayerFactory>();
    buildSetupScreen();

    QAction* checkForUpdates = mainWindow_->checkForUpdatesAction();
    checkForUpdates->setEnabled(updateService().canCheckForUpdates());
    updateService().setCanCheckForUpdatesChangedHandler(
        [command = QPointer<QAction>(checkForUpdates),
         settings = QPointer<SettingsWindow>(settingsWindow_.get())](bool canCheck) {
            if (command)
                command->setEnabled(canCheck);
            if (settings)
                settings->view().refreshUpdateButton();
        });
    connect(mainWindow_->aboutAction(), &QAction::triggered, this, &VeskApp::showAbout);
    connect(checkForUpdates, &QAction::triggered, this, &VeskApp::checkForUpdatesCommand);
    connect(mainWindow_->settingsAction(), &QAction::triggered, this, &VeskApp::showSettings);
    connect(mainWindow_->quitAction(), &QAction::triggered, this, &VeskApp::requestTermination);

    connect(mainWindow_.get(), &MainWindow::contentShown, this, &VeskApp::applyUpdatePreferences);
    connect(defaultsStore_.get(), &VeskDefaultsStore::autoCheckForUpdatesChanged, this,
            [this] { updateService().setAutomaticallyChecksForUpdates(defaultsStore_->autoCheckForUpdates()); });
    connect(defaultsStore_.get(), &VeskDefaultsStore::autoInstallUpdatesChanged, this,
            [this] { updateService().setAutomaticallyDownloadsUpdates(defaultsStore_->autoInstallUpdates()); });
    connect(defaultsStore_.get(), &VeskDefaultsStore::languageChanged, this, &VeskApp::relabelWindows);
    applyLocale();
}

// The main window shows the setup screen, whose start hands the choices to
// the session manager.
void VeskApp::buildSetupScreen()
{
    const platform::PlatformInterfaces& platform = environment_.platform;
    const std::optional<QString> ownBundleID = platform.ownApplication.ownApplication().bundleIdentifier;
    const std::optional<QUrl> ownBundleURL =
        ownBundleID ? platform.workspace.urlForApplication(*ownBundleID) : std::nullopt;
    SessionSetupServices services{environment_.scheduler,
                                  environment_.clock,
                                  modelContainer_->mainContext(),
                                  *defaultsStore_,
                                  *reducedMotion_,
                                  *sessionStarting_,
                                  *audioPlayers_,
                                  platform.files,
                                  platform.bundles,
                                  platform.permissions,
                                  platform.eventTaps,
                                  platform.workspace,
                                  platform.ownApplication,
                                  platform.applicationActivity,
                                  platform.systemInfo,
                                  ownBundleURL.value_or(QUrl()),
                                  [this] { showSettings(); },
                                  [this] { checkForUpdatesCommand(); }};
    const Localizer localizer(defaultsStore_->interfaceLocale());
    setupView_ = new SessionSetupView(services, sessionManager(), &updateService(), bugReportServices(), localizer);
    setupView_->setSheetListing([this](QWidget& sheet) {
        return std::make_unique<OwnWindowListing>(sheet, environment_.platform.screens,
                                                  environment_.platform.ownWindows);
    });
    // A popup stands above the main window, as a menu does.
    setupView_->setPopoverListing([this](QWidget& popover) -> std::unique_ptr<QObject> {
        return std::make_unique<OwnWindowListing>(popover, environment_.platform.screens,
                                                  environment_.platform.ownWindows, platform::WindowLevel::popUpMenu);
    });
    mainWindow_->setContent(setupView_);
}

BugReportFormModel::Environment VeskApp::bugReportServices() const
{
    const platform::PlatformInterfaces& platform = environment_.platform;
    return {*network_,          environment_.scheduler, environment_.clock,
            platform.workspace, platform.screens,       reportsEndpointText()};
}

QString VeskApp::reportsEndpointText() const
{
    const std::optional<QUrl>& reports = environment_.endpoints.reports;
    return reports ? reports->toString() : QString();
}

void VeskApp::applyUpdatePreferences()
{
    updateService().setAutomaticallyChecksForUpdates(defaultsStore_->autoCheckForUpdates());
    updateService().setAutomaticallyDownloadsUpdates(defaultsStore_->autoInstallUpdates());
}

void VeskApp::applyLocale()
{
    const Localizer localizer(defaultsStore_->interfaceLocale());
    for (QWidget* window :
         std::initializer_list<QWidget*>{mainWindow_.get(), settingsWindow_.get(), aboutWindow_.get()})
        window->setLocale(localizer.locale());
    mainWindow_->retranslate(localizer);
    aboutWindow_->retranslate(localizer);
}

// The main window's content is built anew in the new language; the selection
// and the goal are in the store, so nothing the user chose is lost.
void VeskApp::relabelWindows()
{
    buildSetupScreen();
    applyLocale();
}

} // namespace vesk
