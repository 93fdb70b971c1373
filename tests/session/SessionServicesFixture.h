#pragma once

#include "SessionLogCapture.h"
#include "SessionTestDoubles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vesk::test {

inline const QString editorID = QStringLiteral("com.example.editor");
inline const QString notesID = QStringLiteral("com.example.notes");

// Recording doubles of the session manager's services in virtual time, over
// one 1440 × 900 display. The editor is installed but not running; the notes
// application runs.
class SessionServicesFixture : public ::testing::Test {
protected:
    CallTrace trace;
    ManualScheduler scheduler;
    SessionLogCapture logs;
    std::shared_ptr<FakeDetector> detector = std::make_shared<FakeDetector>();
    std::shared_ptr<TraceOverlay> overlay = std::make_shared<TraceOverlay>(trace);
    std::shared_ptr<TraceMouseBlocker> mouseBlocker = std::make_shared<TraceMouseBlocker>(trace);
    std::shared_ptr<TraceAppMonitor> appMonitor = std::make_shared<TraceAppMonitor>(trace);
    std::shared_ptr<TraceKiosk> kiosk = std::make_shared<TraceKiosk>(trace);
    std::shared_ptr<TraceSpaceBlocker> spaceBlocker = std::make_shared<TraceSpaceBlocker>(trace);
    std::shared_ptr<TraceSpaceMonitor> spaceMonitor = std::make_shared<TraceSpaceMonitor>(trace);
    std::shared_ptr<TraceSpaceProbe> spaceProbe = std::make_shared<TraceSpaceProbe>(trace);
    std::shared_ptr<TraceDesktopIsolation> desktopIsolation = std::make_shared<TraceDesktopIsolation>(trace);
    std::shared_ptr<TraceHotkey> hotkey = std::make_shared<TraceHotkey>(trace);
    std::shared_ptr<TraceThumbnailSuppression> thumbnail = std::make_shared<TraceThumbnailSuppression>(trace);
    std::shared_ptr<TraceUI> ui = std::make_shared<TraceUI>(trace);
    std::shared_ptr<TraceTransition> transition = std::make_shared<TraceTransition>(trace);
    std::shared_ptr<TraceStage> stage = std::make_shared<TraceStage>(trace);
    std::shared_ptr<FakeWorkspace> workspace = std::make_shared<FakeWorkspace>(trace);
    std::shared_ptr<TraceWaiter> waiter = std::make_shared<TraceWaiter>(trace, detector, scheduler);
    std::shared_ptr<ManualTimerFactory> timerFactory = std::make_shared<ManualTimerFactory>(trace, scheduler);
    std::shared_ptr<TraceStore> store = std::make_shared<TraceStore>(trace);
    std::shared_ptr<TraceAnalytics> analytics = std::make_shared<TraceAnalytics>(trace);
    std::shared_ptr<FakeScreens> screens = std::make_shared<FakeScreens>();
    std::shared_ptr<TraceAXWindowManager> windowManager = std::make_shared<TraceAXWindowManager>(trace);
    std::shared_ptr<TraceMaterializer> materializer = std::make_shared<TraceMaterializer>(trace);
    std::shared_ptr<FakeCapabilityDetector> capabilities = std::make_shared<FakeCapabilityDetector>();
    std::shared_ptr<FakeScreenshots> screenshots = std::make_shared<FakeScreenshots>();
    std::vector<AllowedWindowSnapshot> onScreenWindows;
    std::vector<AllowedWindowSnapshot> allWindows;
    QTemporaryDir temporaryDirectory;
    Point mouseLocation{-5000, -5000};

    SessionServicesFixture()
    {
        screens->add(1, QRectF(0, 0, 1440, 900));
        workspace->install(editorID, QStringLiteral("Editor"));
        workspace->install(notesID, QStringLiteral("Notes"));
        workspace->run(notesID);
    }

    SessionServices services()
    {
        SessionServices s;
        s.overlay = overlay;
        s.kiosk = kiosk;
        s.appMonitor = appMonitor;
        s.mouseBlocker = mouseBlocker;
        s.spaceBlocker = spaceBlocker;
        s.spaceMonitor = spaceMonitor;
        s.spaceTransitionProbe = spaceProbe;
        s.desktopIsolation = desktopIsolation;
        s.emergencyHotkey = hotkey;
        s.uiController = ui;
        s.allowedWindowWaiter = waiter;
        s.allowedWindowDetector = detector;
        s.timerFactory = timerFactory;
        s.workspace = workspace;
        s.applicationCapabilityDetector = capabilities;
        s.screenshotService = screenshots;
        s.screenshotThumbnailSuppression = thumbnail;
        s.transitionPresenter = transition;
        s.windowManager = windowManager;
        s.windowMaterializer = materializer;
        s.stage = stage;
        s.screens = screens;
        s.sessionStore = store;
        s.analytics = analytics;
        s.mouseLocation = [this] { return mouseLocation; };
        s.logSessionStart = [this](int duration, const std::set<QString>&) {
            trace.record(QStringLiteral("log.sessionStart(%1)").arg(duration));
        };
        s.onScreenWindowSnapshots = [this] { return onScreenWindows; };
        s.allWindowSnapshots = [this] { return allWindows; };
        s.homeDirectory = [] { return QStringLiteral("/Users/tester"); };
        s.temporaryDirectory = [this] { return temporaryDirectory.path(); };
        s.installedAppName = [](const QString& bundleID) -> std::optional<QString> {
            if (bundleID == QStringLiteral("com.example.game"))
                return QStringLiteral("Game");
            return std::nullopt;
        };
        return s;
    }

    // A window of the application on layer 0, opaque, in top-left coordinates.
    static AllowedWindowSnapshot window(const QString& bundleID, Rect bounds = {100, 100, 800, 600})
    {
        AllowedWindowSnapshot snapshot;
        snapshot.bundleID = bundleID;
        snapshot.bounds = bounds;
        return snapshot;
    }
};

} // namespace vesk::test
