#include "app/SessionManagerComposition.h"

#include "app/VeskLogFileStore.h"
#include "app/MainWindowSessionUIController.h"
#include "enforcement/NoOpAXWindowManager.h"
#include "enforcement/NoOpAppMonitorService.h"
#include "enforcement/NoOpDesktopIsolationService.h"
#include "enforcement/NoOpDockMissionControlFallbackService.h"
#include "enforcement/NoOpEmergencyHotkeyService.h"
#include "enforcement/NoOpKioskService.h"
#include "enforcement/NoOpMouseBlockerService.h"
#include "enforcement/NoOpScreenshotThumbnailSuppressionService.h"
#include "panels/NoOpSessionScreenshotService.h"
#include "enforcement/NoOpSpaceBlockerService.h"
#include "enforcement/NoOpSpaceMonitorService.h"
#include "enforcement/NoOpSpaceTransitionProbeService.h"
#include "stage/NoOpStageVeskService.h"
#include "enforcement/NoOpWindowMaterializer.h"
#include "enforcement/SystemWorkspace.h"
#include "overlay/OverlayService.h"
#include "overlay/SystemMouseInteractionDetector.h"
#include "overlay/WindowSnapshotReader.h"
#include "panels/NoOpSessionTransitionPresenter.h"
#include "platform/DesktopScreenProvider.h"
#include "platform/DesktopWindowListProvider.h"
#include "platform/ApplicationBundle.h"
#include "platform/DesktopWorkspace.h"
#include "platform/SimulatedDesktop.h"
#include "session/AllowedWindowWaiter.h"
#include "session/BundleApplicationCapabilityDetector.h"
#include "session/MainWindowScreenID.h"
#include "session/SystemAllowedWindowDetector.h"
#include "session/SessionManager.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

#include <algorithm>


namespace vesk {

namespace {

// The bundle identifier of a window owner: ours for our own process.
BundleIdentifierLookup bundleIdentifierLookup(const platform::SimulatedDesktop& desktop)
{
    return [&desktop](qint32 pid) -> std::optional<QString> {
        if (pid == desktop.ownPID())
            return desktop.ownApplication().bundleIdentifier;
        const platform::DesktopApplication* application = desktop.application(pid);
        if (!application || application->terminated)
            return std::nullopt;
        return application->bundleIdentifier;
    };
}

} // namespace

// Objects the composition keeps that the manager does not reach through
// its services.
struct SessionManagerComposition::Parts {
    explicit Parts(platform::SimulatedDesktop& desktop)
        : windowList(desktop)
        , windowSnapshots(windowList, bundleIdentifierLookup(desktop))
        , mouseInteractionDetector(desktop)
    {
    }

    platform::DesktopWindowListProvider windowList;
    WindowSnapshotReader windowSnapshots;
    SystemMouseInteractionDetector mouseInteractionDetector;
};

namespace {

std::optional<StageVeskScreenID> screenOfMainWindow(const platform::SimulatedDesktop& desktop)
{
    std::vector<ApplicationWindowInfo> windows;
    for (const platform::OwnWindowInfo& window : desktop.ownWindows()) {
        ApplicationWindowInfo info;
        info.isPanel = window.isPanel;
        if (window.displayIndex)
            info.screen = StageVeskScreenID{
                desktop.displays().at(static_cast<size_t>(*window.displayIndex)).displayID.value_or(0)};
        windows.push_back(info);
    }
    return mainWindowScreenID(windows);
}

// The display name of an application bundle's path: its folder name without ".app".
QString bundleDisplayName(const QString& folder)
{
    QString name = QFileInfo(folder).fileName();
    if (name.endsWith(QStringLiteral(".app")))
        name.chop(4);
    return name;
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

// Hidden entries are skipped; of two applications with one identifier the first by name counts.
std::optional<QString> SessionManagerComposition::installedApplicationName(const platform::SimulatedDesktop& desktop,
                                                                           const QString& bundleID)
{
    struct Installed {
        QString bundleID;
        QString name;
    };
    std::vector<Installed> installed;
    for (const QString& folder : {QStringLiteral("/Applications"), QStringLiteral("/System/Applications")}) {
        const QDir directory(desktop.filesystemPath(folder));
        for (const QString& entry : directory.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            if (QFileInfo(entry).suffix() != QStringLiteral("app"))
                continue;
            const auto bundle = platform::ApplicationBundle::open(directory.filePath(entry));
            const auto identifier = bundle ? bundle->bundleIdentifier() : std::nullopt;
            if (identifier)
                installed.push_back({*identifier, bundleDisplayName(entry)});
        }
    }
    const bool hasFinder = std::any_of(installed.begin(), installed.end(), [](const Installed& app) {
        return app.bundleID == platform::kFinderBundleIdentifier;
    });
    if (!hasFinder)
        installed.push_back({platform::kFinderBundleIdentifier, bundleDisplayName(platform::kFinderBundlePath)});
    std::stable_sort(installed.begin(), installed.end(), [](const Installed& a, const Installed& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    for (const Installed& app : installed) {
        if (app.bundleID == bundleID)
            return app.name;
    }
    return std::nullopt;
}

SessionManagerComposition::SessionManagerComposition(Scheduler& scheduler, Clock& clock,
                                                     platform::SimulatedDesktop& desktop,
                                                     std::shared_ptr<SessionTimerCreating> timerFactory)
    : parts_(std::make_unique<Parts>(desktop))
    , screens_(std::make_shared<platform::DesktopScreenProvider>(desktop))
{
    SessionServices services;
    services.screens = std::const_pointer_cast<platform::ScreenProviding>(screens_);

    // In the order the services are built for the shared manager.
    services.transitionPresenter = std::make_shared<NoOpSessionTransitionPresenter>();
    services.overlay = std::make_shared<OverlayService>(scheduler, clock, desktop, *screens_, parts_->windowSnapshots,
                                                        parts_->mouseInteractionDetector);
    services.kiosk = std::make_shared<NoOpKioskService>();
    services.appMonitor = std::make_shared<NoOpAppMonitorService>();
    const auto mouseBlocker = std::make_shared<NoOpMouseBlockerService>();
    services.mouseBlocker = mouseBlocker;
    dockMissionControlFallback_ = std::make_shared<NoOpDockMissionControlFallbackService>();
    services.spaceBlocker = std::make_shared<NoOpSpaceBlockerService>();
    services.spaceMonitor = std::make_shared<NoOpSpaceMonitorService>();
    services.spaceTransitionProbe = std::make_shared<NoOpSpaceTransitionProbeService>();
    const auto desktopIsolation = std::make_shared<NoOpDesktopIsolationService>();
    services.desktopIsolation = desktopIsolation;
    desktopIsolationRecovery_ = desktopIsolation;
    services.emergencyHotkey = std::make_shared<NoOpEmergencyHotkeyService>();
    uiController_ = std::make_shared<MainWindowSessionUIController>();
    services.uiController = uiController_;
    const QString veskBundleID = desktop.ownApplication().bundleIdentifier.value_or(QString());
    services.allowedWindowWaiter = std::make_shared<AllowedWindowWaiter>(
        std::make_shared<SystemAllowedWindowDetector>(parts_->windowSnapshots, *screens_, veskBundleID), scheduler);
    services.allowedWindowDetector =
        std::make_shared<SystemAllowedWindowDetector>(parts_->windowSnapshots, *screens_, veskBundleID);
    services.timerFactory = std::move(timerFactory);
    services.workspace = std::make_shared<SystemWorkspace>(desktop.workspace());
    services.screenshotService = std::make_shared<NoOpSessionScreenshotService>();
    const auto thumbnailSuppression = std::make_shared<NoOpScreenshotThumbnailSuppressionService>();
    services.screenshotThumbnailSuppression = thumbnailSuppression;
    screenshotThumbnailRestore_ = thumbnailSuppression;
    services.windowManager = std::make_shared<NoOpAXWindowManager>();
    services.stage = std::make_shared<NoOpStageVeskService>();
    services.applicationCapabilityDetector = std::make_shared<BundleApplicationCapabilityDetector>();
    services.windowMaterializer = std::make_shared<NoOpWindowMaterializer>();

    services.mouseLocation = [&desktop] { return pointFromQPointF(desktop.mouseLocation()); };
    services.frontmostBundleID = [&desktop]() -> std::optional<QString> {
        const auto frontmost = desktop.workspace().frontmostApplication();
        return frontmost ? frontmost->bundleIdentifier() : std::nullopt;
    };
    services.mainWindowScreenID = [&desktop] { return screenOfMainWindow(desktop); };
    services.logSessionStart = [](int durationSeconds, const std::set<QString>& allowedBundleIDs) {
        VeskLogFileStore::shared().logSessionStart(durationSeconds, allowedBundleIDs);
    };
    services.installedAppName = [&desktop](const QString& bundleID) { return installedApplicationName(desktop, bundleID); };
    services.onScreenWindowSnapshots = [parts = parts_.get()] {
        return parts->windowSnapshots.copyOnScreenWindowSnapshots();
    };
    services.allWindowSnapshots = [parts = parts_.get()] { return parts->windowSnapshots.copyAllWindowSnapshots(); };
    services.homeDirectory = userHomeDirectory;
    services.temporaryDirectory = userTemporaryDirectory;

    manager_ = std::make_unique<SessionManager>(services, scheduler, clock);

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

} // namespace vesk
