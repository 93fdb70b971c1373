#pragma once

#include "app/InstanceChannel.h"
#include "app/InstanceClaim.h"
#include "app/InstanceLock.h"
#include "app/ServiceEndpoints.h"
#include "feedback/BugReportFormModel.h"
#include "logging/VeskLogger.h"
#include "platform/PlatformInterfaces.h"
#include "store/MakeModelContainer.h"
#include "update/FeedUpdater.h"
#include "update/OwnFolderInstallation.h"
#include "update/SoftwareUpdateService.h"
#include "update/UpdateSignatureVerifier.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QNetworkAccessManager;

namespace vesk {

class AboutWindow;
class AppDelegate;
class AudioPlayerFactory;
class AnalyticsTracking;
class BugReportSending;
class DiagnosticPayloadSubscribing;
class Clock;
class MainWindow;
class OwnWindowListing;
class ModelContainer;
class ReducedMotion;
class Scheduler;
class SessionManager;
class SessionManagerComposition;
class SessionPersisting;
class SessionSetupView;
class SessionStarting;
class SessionTimerCreating;
class SettingsWindow;
class SoftwareUpdateOverlay;
class UserDefaults;
class VeskDefaultsStore;

// What the application runs on: the platform, the main queue and the clock,
// and where it keeps its store and settings.
struct VeskAppEnvironment {
    platform::PlatformInterfaces platform;
    Scheduler& scheduler;
    Clock& clock;
    std::shared_ptr<SessionTimerCreating> timerFactory;
    QString storePath;
    // Folder of the user-defaults files.
    QString defaultsRootDirectory;
    // Ends the process when the store cannot be opened or another instance
    // holds its folder.
    ProcessExit exit = exitProcess;
    // How long a starting instance waits for another one with the same data
    // folder (the store's) to end.
    double instanceLockWaitSeconds = InstanceLock::relaunchWaitSeconds;
    // The data folder's lock when the caller has taken it already.
    std::shared_ptr<InstanceLock> instanceLock = {};
    // Asks the instance that holds the data folder for its main window; none:
    // over the folder's instance channel.
    InstanceClaim::AskRunningInstance askRunningInstance = {};
    // Called with the reason of every store save and settings write that does
    // not reach the disk (they are logged in any case).
    std::function<void(const QString& failure)> writeFailed = {};
    // Builds the update service's updater over its user driver; none: Vesk's
    // feed updater over the configured feed.
    SoftwareUpdateService::UpdaterFactory makeUpdater = {};
    // Builds the analytics service over the settings store; none: the
    // analytics client's service (TelemetryAnalyticsService).
    std::function<std::shared_ptr<AnalyticsTracking>(VeskDefaultsStore&)> makeAnalyticsService = {};
    // The analytics client's signal cache file; empty: the default file in
    // the cache folder. Its defaults suite goes to defaultsRootDirectory.
    QString analyticsCacheFilePath = QString();
    // Where session screenshots are saved; empty: the user's Desktop folder.
    QString desktopDirectory = QString();
    // Builds the crash diagnostics over their sender and the switch asked
    // before every report; none: delivered payloads are dropped.
    std::function<std::shared_ptr<DiagnosticPayloadSubscribing>(std::shared_ptr<BugReportSending> sender,
                                                                std::function<bool()> isEnabled)>
        makeCrashDiagnosticsService = {};
    // Plays the setup screen's sounds; none: Qt Multimedia.
    std::shared_ptr<AudioPlayerFactory> audioPlayers = {};
    // Vesk's own program file, links resolved. In a folder of its own
    // (OwnFolderInstallation) updates are installed there and Vesk relaunches
    // into them; anywhere else (the package manager's files, a build tree)
    // the updater does not start. None: updates are written into the
    // platform's own-application bundle (the simulated desktop).
    std::optional<QString> executablePath = std::nullopt;
    // What a relaunch passes to the new program: the arguments of this start
    // without the program's name.
    QStringList arguments = {};
    // Where updates are downloaded to; empty: FeedUpdater::defaultDownloadDirectory().
    QString updateDownloadDirectory = QString();
    // The publisher's key that update archives must be signed for; tests
    // sign with a key of their own.
    QByteArray updatePublicKey = UpdateSignatureVerifier::builtInPublicKey();
    // Where analytics, reports and the update feed go.
    ServiceEndpoints endpoints = ServiceEndpoints::configured();
    // A run that is not a person's use (a scripted run, a test): its
    // analytics signals say so ("isTestMode": "true").
    bool analyticsTestMode = false;
    // The desktop Vesk runs on as the About window names it: a German text
    // the window translates (marked with QT_TRANSLATE_NOOP("AboutWindow", …)
    // where it is chosen); empty: not named.
    QString desktopName = QString();
};

// The application: wires every long-lived object together at start-up, owns
// the main and settings windows and the delegate, and runs the launch and the
// termination through the delegate.
class VeskApp final : public QObject {
    Q_OBJECT

public:
    explicit VeskApp(VeskAppEnvironment environment, QObject* parent = nullptr);
    ~VeskApp() override;

    // False when the store could not be opened (and the exit returned).
    bool isReady() const { return ready_; }

    // Shows the main window, then lets the delegate finish launching.
    void launch();
    // A request to terminate (the quit command, the system's request).
    void requestTermination();
    bool isTerminated() const;

    SessionManager& sessionManager() const;
    SessionManagerComposition& composition() const { return *composition_; }
    AppDelegate& delegate() const { return *delegate_; }
    ModelContainer& modelContainer() const { return *modelContainer_; }
    VeskDefaultsStore& defaultsStore() const { return *defaultsStore_; }
    AnalyticsTracking& analytics() const { return *analytics_; }
    UserDefaults& standardDefaults() const { return *standardDefaults_; }
    // The one reduced-motion switch every view follows.
    const ReducedMotion& reducedMotion() const { return *reducedMotion_; }
    // Built on first use and kept for the application's life.
    SoftwareUpdateService& updateService();
    // The update service as the setup screen's version row reaches it.
    SoftwareUpdateEntry& updateEntry() { return updateService(); }
    MainWindow* mainWindow() const { return mainWindow_.get(); }
    // The main window's content: the setup screen, or the active session.
    SessionSetupView* setupView() const { return setupView_; }
    SettingsWindow* settingsWindow() const { return settingsWindow_.get(); }
    AboutWindow* aboutWindow() const { return aboutWindow_.get(); }
    // The update panel's host over the setup screen.
    SoftwareUpdateOverlay* updateOverlay() const;

    // Why Vesk does not install its updates itself here, for the settings
    // page: a German text marked QT_TRANSLATE_NOOP("SettingsView", …); none
    // when it does.
    const char* updateSourceNote() const;

    // The menu command "Nach Updates suchen…".
    void checkForUpdatesCommand();
    void showSettings();
    void showAbout();
    // What a later start with the same data folder asks for: the main window,
    // shown again if it was closed or minimised, in front. During a session
    // it stays hidden (the session's panels are in front), and once the
    // application is terminating nothing is shown.
    InstanceChannel::Answer bringMainWindowForward();

signals:
    // The application's process has ended (after the delegate's will-terminate).
    void terminated();

private:
    bool takeInstanceLock();
    void openInstanceChannel();
    QString dataFolder() const;
    void setUpAnalytics();
    std::shared_ptr<AnalyticsTracking> makeTelemetryAnalyticsService();
    void setUpCrashDiagnostics();
    void buildScenes();
    std::unique_ptr<platform::FrameworkUpdater> makeFeedUpdater(platform::UpdateUserDriver& driver);
    bool installUpdate(const platform::UpdateFeedItem& item, const QString& archivePath);
    // The update fetched in the background, installed without asking (automatic installs).
    void installUpdateAtTermination();
    // Starts the installed update's program once this process has terminated.
    void relaunchIntoInstalledUpdate();
    void buildSetupScreen();
    // What the bug-report forms of the main and the settings window use.
    BugReportFormModel::Environment bugReportServices() const;
    // The report endpoint as the senders take it: empty when there is none.
    QString reportsEndpointText() const;
    void applyUpdatePreferences();
    // The windows' locale and texts from the language setting.
    void applyLocale();
    void relabelWindows();

    VeskAppEnvironment environment_;
    bool ready_ = false;
    std::shared_ptr<InstanceLock> instanceLock_;
    std::unique_ptr<InstanceChannel> instanceChannel_;
    SoftwareUpdateService::UpdaterFactory makeUpdater_;
    std::optional<OwnFolderInstallation> ownFolder_;
    // The program of an update installed into the own folder, started after the termination.
    std::optional<QString> relaunchProgram_;
    // The updater VeskApp built itself (none when the environment builds one).
    FeedUpdater* feedUpdater_ = nullptr;
    // Installing as Vesk terminates: no relaunch, and no new termination.
    bool terminating_ = false;
    VeskLogger updateLogger_{QStringLiteral("SoftwareUpdate")};
    std::unique_ptr<SoftwareUpdateService> updateService_;
    std::unique_ptr<ModelContainer> modelContainer_;
    // Before the composition, whose services keep their backups in it.
    std::unique_ptr<UserDefaults> standardDefaults_;
    // Before the composition too: its session manager stops a session still
    // running when it goes, and the analytics read the settings for that report.
    std::unique_ptr<VeskDefaultsStore> defaultsStore_;
    std::unique_ptr<SessionManagerComposition> composition_;
    std::shared_ptr<SessionPersisting> sessionStore_;
    std::unique_ptr<ReducedMotion> reducedMotion_;
    std::shared_ptr<AnalyticsTracking> analytics_;
    std::unique_ptr<QNetworkAccessManager> network_;
    std::shared_ptr<DiagnosticPayloadSubscribing> crashDiagnostics_;
    std::unique_ptr<AppDelegate> delegate_;
    std::unique_ptr<SessionStarting> sessionStarting_;
    std::shared_ptr<AudioPlayerFactory> audioPlayers_;
    std::unique_ptr<MainWindow> mainWindow_;
    SessionSetupView* setupView_ = nullptr;
    std::unique_ptr<SettingsWindow> settingsWindow_;
    std::unique_ptr<AboutWindow> aboutWindow_;
    // The settings and about windows in the desktop's window list; they go
    // before their windows.
    std::unique_ptr<OwnWindowListing> settingsListing_;
    std::unique_ptr<OwnWindowListing> aboutListing_;
    VeskLogger sessionManagerLogger_{QStringLiteral("SessionManager")};
    VeskLogger crashDiagnosticsLogger_{QStringLiteral("CrashDiagnosticsService")};
};

} // namespace vesk
