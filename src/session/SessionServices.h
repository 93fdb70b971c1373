#pragma once

#include "analytics/AnalyticsTracking.h"
#include "analytics/NoopAnalyticsService.h"
#include "enforcement/AXWindowManaging.h"
#include "enforcement/AllowedWindowSpaceClassification.h"
#include "enforcement/AppMonitoring.h"
#include "enforcement/DesktopIsolating.h"
#include "enforcement/EmergencyHotkeyHandling.h"
#include "enforcement/KioskControlling.h"
#include "enforcement/MouseBlocking.h"
#include "enforcement/ScreenshotThumbnailSuppressing.h"
#include "enforcement/SpaceBlocking.h"
#include "enforcement/SpaceMonitoring.h"
#include "enforcement/SpaceTransitionProbing.h"
#include "enforcement/WindowMaterializing.h"
#include "enforcement/WorkspaceControlling.h"
#include "overlay/AllowedWindowSnapshot.h"
#include "overlay/OverlayControlling.h"
#include "panels/SessionTransitionPresenting.h"
#include "panels/SessionUIControlling.h"
#include "platform/ScreenProviding.h"
#include "session/AllowedWindowDetecting.h"
#include "session/AllowedWindowWaiting.h"
#include "session/ApplicationCapabilityDetecting.h"
#include "session/SessionScreenshotCapturing.h"
#include "session/SessionTimerCreating.h"
#include "stage/StageVeskControlling.h"
#include "stage/StageVeskScreenID.h"
#include "store/NullSessionStore.h"
#include "store/SessionPersisting.h"

#include <QDir>

#include <functional>
#include <memory>
#include <optional>
#include <set>

namespace vesk {

// Everything the session manager works through. The composition root fills
// every service; tests fill them with recording doubles.
struct SessionServices {
    std::shared_ptr<OverlayControlling> overlay;
    std::shared_ptr<KioskControlling> kiosk;
    std::shared_ptr<AppMonitoring> appMonitor;
    std::shared_ptr<MouseBlocking> mouseBlocker;
    std::shared_ptr<SpaceBlocking> spaceBlocker;
    std::shared_ptr<SpaceMonitoring> spaceMonitor;
    std::shared_ptr<SpaceTransitionProbing> spaceTransitionProbe;
    std::shared_ptr<DesktopIsolating> desktopIsolation;
    std::shared_ptr<EmergencyHotkeyHandling> emergencyHotkey;
    std::shared_ptr<SessionUIControlling> uiController;
    std::shared_ptr<AllowedWindowWaiting> allowedWindowWaiter;
    std::shared_ptr<AllowedWindowDetecting> allowedWindowDetector;
    std::shared_ptr<SessionTimerCreating> timerFactory;
    std::shared_ptr<WorkspaceControlling> workspace;
    std::shared_ptr<ApplicationCapabilityDetecting> applicationCapabilityDetector;
    std::shared_ptr<SessionScreenshotCapturing> screenshotService;
    std::shared_ptr<ScreenshotThumbnailSuppressing> screenshotThumbnailSuppression;
    std::shared_ptr<SessionTransitionPresenting> transitionPresenter;
    std::shared_ptr<AXWindowManaging> windowManager;
    std::shared_ptr<WindowMaterializing> windowMaterializer;
    std::shared_ptr<StageVeskControlling> stage;
    std::shared_ptr<const platform::ScreenProviding> screens;

    // Until start-up hands over the real ones, store calls do nothing and
    // analytics events are dropped.
    std::shared_ptr<SessionPersisting> sessionStore = std::make_shared<NullSessionStore>();
    std::shared_ptr<AnalyticsTracking> analytics = std::make_shared<NoopAnalyticsService>();

    // The mouse location, bottom-left (Cocoa) global coordinates.
    std::function<Point()> mouseLocation = [] { return Point(); };
    std::function<std::optional<QString>()> frontmostBundleID = [] { return std::optional<QString>(); };
    // The screen of the application's main window (its first window that is
    // not a panel); none when it has no screen.
    std::function<std::optional<StageVeskScreenID>()> mainWindowScreenID = [] {
        return std::optional<StageVeskScreenID>();
    };
    // Writes the session-start marker row into the log file and returns once it is handled.
    std::function<void(int durationSeconds, const std::set<QString>& allowedBundleIDs)> logSessionStart =
        [](int, const std::set<QString>&) {};
    // The name of the installed application with that identifier, from a
    // fresh scan of the installed applications; none when it is not installed.
    std::function<std::optional<QString>(const QString& bundleID)> installedAppName = [](const QString&) {
        return std::optional<QString>();
    };
    // Window-list snapshots, front to back: the windows on screen in the
    // current Space, and all windows (other Spaces and minimised ones too).
    std::function<std::vector<AllowedWindowSnapshot>()> onScreenWindowSnapshots = [] {
        return std::vector<AllowedWindowSnapshot>();
    };
    std::function<std::vector<AllowedWindowSnapshot>()> allWindowSnapshots = [] {
        return std::vector<AllowedWindowSnapshot>();
    };
    // The user's home folder, which the Finder opens when it is revealed.
    std::function<QString()> homeDirectory = [] { return QDir::homePath(); };
    // Where the blank web documents of the reveal are written (in "VESKBlankDocuments").
    std::function<QString()> temporaryDirectory = [] { return QDir::tempPath(); };
    // Replaces the manager's own classification of an allowed application's
    // windows when set.
    std::function<AllowedWindowSpaceClassification(const QString& bundleID)> windowSpaceClassificationProvider;
};

} // namespace vesk
