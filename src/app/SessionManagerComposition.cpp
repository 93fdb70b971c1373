#include "app/SessionManagerComposition.h"

#include "app/SessionPanelContent.h"
#include "enforcement/AppMonitorService.h"
#include "enforcement/ChromiumWindowMaterializer.h"
#include "enforcement/DesktopIsolationService.h"
#include "enforcement/DockMissionControlFallbackService.h"
#include "enforcement/EmergencyHotkeyService.h"
#include "enforcement/GestureBlockerService.h"
#include "enforcement/InstalledApp.h"
#include "enforcement/KioskService.h"
#include "enforcement/MouseBlockerService.h"
#include "enforcement/ScreenshotThumbnailSuppressionService.h"
#include "enforcement/SpaceBlockerService.h"
#include "enforcement/SpaceMonitorService.h"
#include "enforcement/SpaceTransitionProbeService.h"
#include "enforcement/SystemAXWindowControlResolver.h"
#include "enforcement/SystemAXWindowManager.h"
#include "enforcement/SystemDockCommandRunner.h"
#include "enforcement/SystemMouseBlockerEventTapInstaller.h"
#include "enforcement/SystemWorkspace.h"
#include "logging/VeskLogFileStore.h"
#include "overlay/DisplayGeometry.h"
#include "overlay/OverlayService.h"
#include "overlay/SystemMouseInteractionDetector.h"
#include "overlay/WindowSnapshotReader.h"
#include "panels/ImmediateBlackSessionTransitionPresenter.h"
#include "panels/SessionUIController.h"
#include "platform/OwnApplicationControlling.h"
#include "platform/OwnWindowRegistering.h"
#include "platform/PermissionsProviding.h"
#include "platform/PointerStateProviding.h"
#include "platform/ScreenProviding.h"
#include "platform/Workspace.h"
#include "session/AllowedWindowWaiter.h"
#include "session/BundleApplicationCapabilityDetector.h"
#include "session/CompositeDisplayScreenshotCapturer.h"
#include "session/MainWindowScreenID.h"
#include "session/SessionManager.h"
#include "session/SessionScreenshotService.h"
#include "session/SystemAllowedWindowDetector.h"
#include "session/UserDesktopDirectoryProvider.h"
#include "stage/StageVeskService.h"

#include <QDir>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace vesk {

namespace {

// The bundle identifier of a window owner: ours for our own process.
BundleIdentifierLookup bundleIdentifierLookup(const platform::PlatformInterfaces& platform)
{
    return [&own = platform.ownApplication, &workspace = platform.workspace](qint32 pid) -> std::optional<QString> {
        if (pid == own.ownApplication().pid)
            return own.ownApplication().bundleIdentifier;
        return workspace.bundleIdentifierOfProcess(pid);
    };
}

} // namespace

// Objects the composition keeps that the manager does not reach through
// its services.
struct SessionManagerComposition::Parts {
    explicit Parts(const platform::PlatformInterfaces& platform)
        : windowSnapshots(platform.windowList, bundleIdentifierLookup(platform))
        , mouseInteractionDetector(platform.pointer)
    {
    }

    WindowSnapshotReader windowSnapshots;
    SystemMouseInteractionDetector mouseInteractionDetector;
    // For the Space blocker, which switches it on and off with itself.
    std::unique_ptr<GestureBlockerService> gestureBlocker;
};

namespace {

// The screen of our first window that is not a panel.
std::optional<StageVeskScreenID> screenOfMainWindow(const platform::OwnWindowRegistering& ownWindows,
                                                    const platform::ScreenProviding& screens)
{
    const std::vector<platform::ScreenInfo> displays = screens.screens();
    std::vector<ApplicationWindowInfo> windows;
    for (const platform::OwnWindowInfo& window : ownWindows.ownWindows()) {
        ApplicationWindowInfo info;
        info.isPanel = window.isPanel;
        if (window.displayIndex) {
            const platform::ScreenInfo& display = displays.at(static_cast<size_t>(*window.displayIndex));
            info.screen = StageVeskScreenID{display.displayID.value_or(0)};
        }
        windows.push_back(info);
    }
    return mainWindowScreenID(windows);
}

// The home folder of the user's account record, else the one the environment names.
QString userHomeDirectory()
{
    if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir && *account->pw_dir)
        return QString::fromLocal8Bit(account->pw_dir);
    return QDir::homePath();
}

// The reveal's blank documents are opened by another application, so they go
// to a folder only this user can write (the runtime folder, mode 0700), not to
// the shared /tmp where another account could swap them.
QString userTemporaryDirectory()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

} // namespace

void SessionManagerComposition::setBugReportEndpoint(const QString& endpoint)
{
    panelContent_->setBugReportEndpoint(endpoint);
}

std::optional<QString> SessionManagerComposition::installedApplicationName(
    const platform::FileBrowsing& files, const platform::ApplicationBundleReading& bundles, const QString& bundleID)
{
    for (const InstalledApp& app : InstalledApp::discoverAll(files, bundles)) {
        if (app.id == bundleID)
            return app.name;
    }
    return std::nullopt;
}

SessionManagerComposition::SessionManagerComposition(Scheduler& scheduler, Clock& clock,
                                                     const platform::PlatformInterfaces& platform,
                                                     UserDefaults& standardDefaults,
                                                     std::shared_ptr<SessionTimerCreating> timerFactory,
                                                     const QString& desktopDirectory)
    : parts_(std::make_unique<Parts>(platform))
{
    const platform::ScreenProviding& screens = platform.screens;
    const QString veskBundleID = platform.ownApplication.ownApplication().bundleIdentifier.value_or(QString());
    SessionServices services;
    // The platform outlives the composition: the manager holds the screens without owning them.
    services.screens = std::shared_ptr<const platform::ScreenProviding>(std::shared_ptr<void>(), &screens);

    // In the order the services are built for the shared manager.
    services.transitionPresenter =
        std::make_shared<ImmediateBlackSessionTransitionPresenter>(screens, platform.ownWindows);
    const OverlayService::DesktopParts overlayDesktop{screens, platform.screenChanges, platform.ownWindows,
                                                      platform.pointer, veskBundleID};
    services.overlay = std::make_shared<OverlayService>(scheduler, clock, overlayDesktop, parts_->windowSnapshots,
                                                        parts_->mouseInteractionDetector);
    services.kiosk = std::make_shared<KioskService>(platform.presentationOptions);
    services.appMonitor = std::make_shared<AppMonitorService>(scheduler, clock, platform.workspace, veskBundleID);
    const auto mouseBlocker = std::make_shared<MouseBlockerService>(
        scheduler, clock, screens, parts_->windowSnapshots, veskBundleID,
        std::make_unique<SystemAXWindowControlResolver>(platform.workspace, platform.accessibility),
        MouseBlockerService::defaultInputMonitoringCheck(platform.permissions, platform.eventTaps),
        std::make_unique<SystemMouseBlockerEventTapInstaller>(platform.eventTaps), platform.windowControlZones);
    services.mouseBlocker = mouseBlocker;
    const auto dockFallback = std::make_shared<DockMissionControlFallbackService>(
        std::make_unique<SystemDockCommandRunner>(platform.commandRunner), standardDefaults);
    dockMissionControlFallback_ = dockFallback;
    parts_->gestureBlocker =
        std::make_unique<GestureBlockerService>(scheduler, platform.eventTaps, platform.permissions, platform.workspace,
                                                veskBundleID);
    services.spaceBlocker = std::make_shared<SpaceBlockerService>(scheduler, platform.eventTaps, platform.permissions,
                                                                  *dockFallback, *parts_->gestureBlocker);
    services.spaceMonitor = std::make_shared<SpaceMonitorService>(platform.workspace);
    services.spaceTransitionProbe = std::make_shared<SpaceTransitionProbeService>(
        scheduler, SpaceTransitionProbeService::defaultInterval,
        SpaceTransitionProbeService::defaultProviders(parts_->windowSnapshots, screens, platform.workspace, clock));
    const auto desktopIsolation = std::make_shared<DesktopIsolationService>(scheduler, screens, platform.screenChanges,
                                                                            platform.ownWindows, standardDefaults);
    services.desktopIsolation = desktopIsolation;
    desktopIsolationRecovery_ = desktopIsolation;
    services.emergencyHotkey =
        std::make_shared<EmergencyHotkeyService>(scheduler, clock, platform.eventTaps, platform.permissions);
    uiController_ = makeUIController(scheduler, clock, platform, standardDefaults);
    services.uiController = uiController_;
    services.allowedWindowWaiter = std::make_shared<AllowedWindowWaiter>(
        std::make_shared<SystemAllowedWindowDetector>(parts_->windowSnapshots, screens, veskBundleID), scheduler);
    services.allowedWindowDetector =
        std::make_shared<SystemAllowedWindowDetector>(parts_->windowSnapshots, screens, veskBundleID);
    services.timerFactory = std::move(timerFactory);
    services.workspace = std::make_shared<SystemWorkspace>(platform.workspace);
    services.screenshotService = std::make_shared<SessionScreenshotService>(
        std::make_unique<CompositeDisplayScreenshotCapturer>(screens, platform.screenCapture),
        std::make_unique<UserDesktopDirectoryProvider>(desktopDirectory));
    // The session switches an instance of its own; the delegate restores
    // through another, which shares only the stored backup with it.
    services.screenshotThumbnailSuppression = std::make_shared<ScreenshotThumbnailSuppressionService>(
        std::make_unique<SystemDockCommandRunner>(platform.commandRunner), standardDefaults);
    screenshotThumbnailRestore_ = std::make_shared<ScreenshotThumbnailSuppressionService>(
        std::make_unique<SystemDockCommandRunner>(platform.commandRunner), standardDefaults);
    services.windowManager =
        std::make_shared<SystemAXWindowManager>(platform.workspace, platform.accessibility, screens);
    stage_ = makeStage(scheduler, clock, platform, services.workspace);
    services.stage = stage_;
    services.applicationCapabilityDetector = std::make_shared<BundleApplicationCapabilityDetector>(platform.bundles);
    services.windowMaterializer = std::make_shared<ChromiumWindowMaterializer>(services.workspace);

    services.mouseLocation = [&pointer = platform.pointer] { return pointFromQPointF(pointer.mouseLocation()); };
    services.frontmostBundleID = [&workspace = platform.workspace]() -> std::optional<QString> {
        const auto frontmost = workspace.frontmostApplication();
        return frontmost ? frontmost->bundleIdentifier() : std::nullopt;
    };
    services.mainWindowScreenID = [&ownWindows = platform.ownWindows, &screens] {
        return screenOfMainWindow(ownWindows, screens);
    };
    services.logSessionStart = [](int durationSeconds, const std::set<QString>& allowedBundleIDs) {
        VeskLogFileStore::shared().logSessionStart(durationSeconds, allowedBundleIDs);
    };
    services.installedAppName = [&files = platform.files, &bundles = platform.bundles](const QString& bundleID) {
        return installedApplicationName(files, bundles, bundleID);
    };
    services.onScreenWindowSnapshots = [parts = parts_.get()] {
        return parts->windowSnapshots.copyOnScreenWindowSnapshots();
    };
    services.allWindowSnapshots = [parts = parts_.get()] { return parts->windowSnapshots.copyAllWindowSnapshots(); };
    services.homeDirectory = userHomeDirectory;
    services.temporaryDirectory = userTemporaryDirectory;

    manager_ = std::make_unique<SessionManager>(services, scheduler, clock);
    panelContent_->setStageBars(
        StageVeskPanelEnvironment{
            .screens = screens,
            .pointer = platform.pointer,
            .ownWindows = &platform.ownWindows,
            .clock = clock,
            .scheduler = scheduler,
            .userDefaults = standardDefaults,
            .installedApps = [&files = platform.files,
                              &bundles = platform.bundles] { return InstalledApp::discoverAll(files, bundles); },
        },
        *stage_);

    // The panels' frames reach the click blocker for as long as it exists;
    // it starts from the real state, no panels at launch.
    std::weak_ptr<MouseBlocking> weakMouseBlocker = mouseBlocker;
    uiController_->setVeskControlRectsChangedHandler([weakMouseBlocker](const std::vector<Rect>& rects) {
        if (const auto blocker = weakMouseBlocker.lock())
            blocker->updateVeskControlRects(rects);
    });
    uiController_->publishVeskControlRects();
}

SessionManagerComposition::~SessionManagerComposition() = default;

// The controller brings Vesk itself forward when the main window returns.
std::shared_ptr<SessionUIController> SessionManagerComposition::makeUIController(
    Scheduler& scheduler, Clock& clock, const platform::PlatformInterfaces& platform, UserDefaults& standardDefaults)
{
    SessionUIController::Environment environment{
        PanelEnvironment{platform.screens, platform.pointer, platform.ownWindows},
        [&workspace = platform.workspace, &own = platform.ownApplication] {
            if (const auto vesk = workspace.runningApplication(own.ownApplication().pid))
                vesk->activate(platform::ActivateIgnoringOtherApps);
        },
        &platform.eventTaps,
    };
    panelContent_ = std::make_shared<SessionPanelContent>(
        SessionPanelContent::Environment{scheduler, clock, platform, standardDefaults});
    return std::make_shared<SessionUIController>(std::move(environment), panelContent_);
}

// The stage has a window manager of its own; its classification counts the
// Accessibility windows through a window manager made for each call.
std::shared_ptr<StageVeskService> SessionManagerComposition::makeStage(Scheduler& scheduler, Clock& clock,
                                                                       const platform::PlatformInterfaces& platform,
                                                                       std::shared_ptr<WorkspaceControlling> workspace)
{
    const platform::ScreenProviding& screens = platform.screens;
    const auto onScreenWindowSnapshots = [parts = parts_.get()] {
        return parts->windowSnapshots.copyOnScreenWindowSnapshots();
    };
    AllowedWindowSpaceClassification::Sources sources{
        .runningApplication = [workspace](const QString& bundleID) -> std::shared_ptr<RunningApplicationControlling> {
            for (const auto& app : workspace->runningApplications()) {
                if (app->bundleIdentifier() == bundleID && !app->isTerminated())
                    return app;
            }
            return nullptr;
        },
        .onScreenWindowSnapshots = onScreenWindowSnapshots,
        .allWindowSnapshots = [parts = parts_.get()] { return parts->windowSnapshots.copyAllWindowSnapshots(); },
        .minimizedWindowCounts =
            [&workspace = platform.workspace, &accessibility = platform.accessibility,
             &screens](const QString& bundleID) {
                return SystemAXWindowManager(workspace, accessibility, screens).minimizedWindowCounts(bundleID);
            },
        .displayGeometry = [&screens] { return DisplayGeometry::current(screens); },
    };
    return std::make_shared<StageVeskService>(
        std::make_shared<SystemAXWindowManager>(platform.workspace, platform.accessibility, screens),
        StageVeskService::defaultVisibleWindowRectsProvider(screens, onScreenWindowSnapshots),
        StageVeskService::defaultWindowSpaceClassificationProvider(std::move(sources)),
        StageVeskServiceEnvironment{scheduler, clock, screens,
                                    [&permissions = platform.permissions] {
                                        return permissions.isAccessibilityTrusted();
                                    },
                                    onScreenWindowSnapshots});
}

} // namespace vesk
