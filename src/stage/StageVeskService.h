#pragma once

#include "stage/StageVeskControlling.h"
#include "stage/StageVeskState.h"

#include "core/Clock.h"
#include "core/Geometry.h"
#include "core/MainQueueTimer.h"
#include "core/Scheduler.h"
#include "core/WorkItem.h"
#include "enforcement/AXWindowManaging.h"
#include "enforcement/AllowedWindowSpaceClassification.h"
#include "logging/VeskLogger.h"
#include "overlay/AllowedWindowSnapshot.h"
#include "platform/ScreenProviding.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace vesk {

// What the stage reads of the desktop besides the window manager.
struct StageVeskServiceEnvironment {
    Scheduler& scheduler;
    Clock& clock;
    const platform::ScreenProviding& screens;
    std::function<bool()> isAccessibilityTrusted;
    // The on-screen window list, front to back (for the vanished-window
    // diagnostic).
    std::function<std::vector<AllowedWindowSnapshot>()> onScreenWindowSnapshots;
};

// Arranges the allowed applications' windows on the stage during a session:
// owns the observable layout model, moves, raises and hides windows through
// the window manager only, and keeps the real windows in line with the model
// (window sync, reconciliation every 0.8 s, a 0.1 s placement burst while
// placements, enforcements or close checks are outstanding). Main thread only.
// Every operation but activate and the reads does nothing while inactive.
// Rects and points are bottom-left (Cocoa) global coordinates unless named.
class StageVeskService final : public QObject, public StageVeskControlling {
    Q_OBJECT

public:
    using VisibleWindowRectsProvider = std::function<std::map<QString, Rect>(const std::set<QString>& bundleIDs)>;
    using WindowSpaceClassificationProvider = std::function<AllowedWindowSpaceClassification(const QString& bundleID)>;

    // A placement being enforced until the window shows on its screen.
    struct PlacementEnforcement {
        StageVeskScreenID screenID;
        int remainingAttempts = 0;
        QDateTime deadline;
        QDateTime createdAt;
    };

    static constexpr int enforcementAttempts = 4;
    static constexpr double enforcementWindowSeconds = 5.0;

    // The frontmost stage candidate of each asked application on the current
    // on-screen window list, in bottom-left coordinates.
    static VisibleWindowRectsProvider
    defaultVisibleWindowRectsProvider(const platform::ScreenProviding& screens,
                                      std::function<std::vector<AllowedWindowSnapshot>()> onScreenWindowSnapshots);
    // The allowed-window classification over the given sources.
    static WindowSpaceClassificationProvider
    defaultWindowSpaceClassificationProvider(AllowedWindowSpaceClassification::Sources sources);

    StageVeskService(std::shared_ptr<AXWindowManaging> windowManager,
                     VisibleWindowRectsProvider visibleWindowRectsProvider,
                     WindowSpaceClassificationProvider windowSpaceClassificationProvider,
                     StageVeskServiceEnvironment environment);
    ~StageVeskService() override;

    // Observable reads.
    const StageVeskState& state() const { return state_; }
    bool isActive() const { return isActive_; }
    const std::optional<QString>& accessibilityWarning() const { return accessibilityWarning_; }
    // The state's name, else the session's, else the identifier.
    QString displayName(const QString& bundleID) const;
    StageVeskScreenID anchorScreenID() const { return anchorScreenID_; }

    // Lifecycle and configuration.
    void activate(const std::set<QString>& allowedBundleIDs, const DisplayNames& displayNames,
                  std::optional<StageVeskScreenID> initialScreen) override;
    void deactivate() override;
    void updateAllowlist(const std::set<QString>& allowedBundleIDs, const DisplayNames& displayNames) override;
    void requestStagePlacement(const QString& bundleID, StageVeskScreenID screen) override;
    void setPhase(StageVeskPhase phase, StageVeskScreenID screen);
    void setOnAppFullyClosed(std::function<void(const QString& bundleID)> handler) override;
    std::optional<StageVeskPhase> defaultScreenPhase() const override;

    // User actions. The close point is top-left (Quartz), where the click was.
    void closeApp(const QString& bundleID, Point quartzClickPoint, bool flag) override;
    void moveToQueue(const QString& bundleID) override;
    void toggleZoom(const QString& bundleID) override;
    void restoreFromQueue(const QString& bundleID, StageVeskScreenID fallbackScreen);

    // Drags.
    void syncUserDrag(const QString& bundleID, std::optional<Point> pointer,
                      std::optional<StageVeskScreenID> pointerScreen, Rect windowRect) override;
    void handleSeamDragHandoff(const QString& bundleID, Point pointer) override;

    // Window sync and reconciliation, run by the operations and the timers.
    void syncWindows(const QString& reason);
    void reconcileVisibleWindows(const QString& reason);

    // Read by tests and diagnostics.
    const std::map<QString, StageVeskScreenID>& pendingStagePlacements() const { return pendingStagePlacement_; }
    const std::map<QString, PlacementEnforcement>& placementEnforcements() const { return placementEnforcement_; }
    const std::map<QString, QDateTime>& pendingCloseVerifications() const { return pendingCloseVerification_; }
    const std::map<QString, StageVeskWindowPosition>& zoomRestorePositions() const { return zoomRestorePositions_; }
    bool isPlacementBurstRunning() const { return placementBurstTimer_ != nullptr; }
    bool isReconciliationRunning() const { return reconciliationTimer_ != nullptr; }
    bool isPrewarming() const { return isPrewarming_; }

signals:
    void stateChanged();
    void isActiveChanged();
    void accessibilityWarningChanged();

private:
    // Model.
    void setState(const StageVeskState& state);
    template <typename Change>
    void changeState(Change change)
    {
        StageVeskState next = state_;
        change(next);
        setState(next);
    }
    void setActive(bool active);
    void setAccessibilityWarning(std::optional<QString> warning);
    Rect defaultWindowFrame(std::optional<StageVeskScreenID> screen) const;
    StageVeskScreenID screenForRect(const Rect& rect) const;
    StageVeskScreenID mainScreenID() const;
    // Clamped into the area, then given as the application's free position.
    void assignFreePosition(const QString& bundleID, const Rect& frame, StageVeskScreenID screen, const Rect& area);
    QString phaseText(StageVeskScreenID screen) const;
    // The application's record while the stage is active and it is open.
    const StageVeskAppState* openApp(const QString& bundleID) const;

    // Window sync, seeding and the display prewarm.
    std::map<QString, Rect> seedVisibleWindows(const QStringList& bundleIDs);
    void prewarmDisplayRegistration(const std::map<QString, Rect>& visibleWindows);
    void runNextPrewarm();
    bool exitNativeFullScreen(const QString& bundleID);
    void setFrameDuringRecentDrag(const QString& reason, const QString& bundleID, const Rect& rect);

    // Placement and enforcement.
    void reconcileApp(const QString& bundleID, const std::optional<Rect>& rect, const QString& reason,
                      QStringList& changed);
    void reconcileVisibleApp(const QString& bundleID, const Rect& rect, QStringList& changed);
    void startPlacementBurst();
    void stopPlacementBurst();
    void placementBurstTick(const QDateTime& end);
    void placeFreestyle(const QString& bundleID, StageVeskScreenID screen, double anchorX, double anchorY,
                        double divisorX, double divisorY);
    bool enforcePlacement(const QString& bundleID, const std::optional<Rect>& rect);
    bool verifyClose(const QString& bundleID, const std::optional<Rect>& rect);
    void raiseApp(const QString& bundleID, const QString& reason);
    void repeatRaise(const QString& bundleID, const QString& reason, double delay);
    void cancelPendingFocusRaises(const QString& bundleID);
    void cancelAllPendingFocusWork();
    void handleWindowDisappeared(const QString& bundleID, const QString& reason);
    void log(VeskLogLevel level, const QString& message) const;
    double secondsSince(const QDateTime& date) const;

    std::shared_ptr<AXWindowManaging> windowManager_;
    VisibleWindowRectsProvider visibleWindowRectsProvider_;
    WindowSpaceClassificationProvider windowSpaceClassificationProvider_;
    StageVeskServiceEnvironment environment_;
    VeskLogger logger_{QStringLiteral("StageVeskService")};

    StageVeskState state_;
    bool isActive_ = false;
    std::optional<QString> accessibilityWarning_;
    std::function<void(const QString&)> onAppFullyClosed_;
    DisplayNames displayNamesByBundleID_;
    StageVeskScreenID anchorScreenID_;
    std::unique_ptr<MainQueueTimer> reconciliationTimer_;
    std::map<QString, std::vector<WorkItem>> pendingFocusWorkItems_;
    std::set<QString> prewarmedBundleIDs_;
    std::map<QString, StageVeskWindowPosition> zoomRestorePositions_;
    std::map<QString, StageVeskScreenID> pendingStagePlacement_;
    std::map<QString, QDateTime> pendingCloseVerification_;
    std::map<QString, PlacementEnforcement> placementEnforcement_;
    std::unique_ptr<MainQueueTimer> placementBurstTimer_;
    std::optional<QDateTime> lastUserDragAt_;
    bool isPrewarming_ = false;
    std::map<QString, QDateTime> recentPlacements_;
    // Windows waiting for their turn in the display prewarm, and the one out
    // on the other display now.
    std::vector<std::pair<QString, Rect>> prewarmQueue_;
    WorkItem prewarmReturn_;
};

} // namespace vesk
