#pragma once

#include "stage/StageVeskControlling.h"
#include "stage/StageVeskDisplayPrewarm.h"
#include "stage/StageVeskDragSync.h"
#include "stage/StageVeskFocusRaiser.h"
#include "stage/StageVeskModel.h"
#include "stage/StageVeskPlacement.h"
#include "stage/StageVeskPlacementBurst.h"
#include "stage/StageVeskPlacementRecords.h"
#include "stage/StageVeskReconciliation.h"
#include "stage/StageVeskServiceEnvironment.h"
#include "stage/StageVeskState.h"
#include "stage/StageVeskUserActions.h"
#include "stage/StageVeskWindowSync.h"

#include "core/Geometry.h"
#include "core/MainQueueTimer.h"
#include "enforcement/AXWindowManaging.h"
#include "enforcement/AllowedWindowSpaceClassification.h"
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

// Arranges the allowed applications' windows on the stage during a session:
// owns the observable layout model, moves, raises and hides windows through
// the window manager only, and keeps the real windows in line with the model
// (window sync, reconciliation every 0.8 s, a 0.1 s placement burst while
// placements, enforcements or close checks are outstanding). Main thread only.
// Every operation but activate and the reads does nothing while inactive.
// Rects and points are bottom-left (Cocoa) global coordinates unless named.
//
// The service keeps the lifecycle and configuration and coordinates its
// parts, each built after those it uses: the window sync and seeding
// (StageVeskWindowSync), the display prewarm (StageVeskDisplayPrewarm), the
// repeated raises (StageVeskFocusRaiser), the stage's own placements and their
// enforcement (StageVeskPlacement), the reconciliation pass
// (StageVeskReconciliation) and its burst (StageVeskPlacementBurst), the user
// actions (StageVeskUserActions) and the drags (StageVeskDragSync). They share
// the model (StageVeskModel) and the per-application records
// (StageVeskPlacementRecords).
class StageVeskService final : public QObject, public StageVeskControlling {
    Q_OBJECT

public:
    using VisibleWindowRectsProvider = StageVeskVisibleWindowRectsProvider;
    using WindowSpaceClassificationProvider = StageVeskWindowSpaceClassificationProvider;
    using PlacementEnforcement = StageVeskPlacementRecords::PlacementEnforcement;

    static constexpr int enforcementAttempts = StageVeskPlacementRecords::enforcementAttempts;
    static constexpr double enforcementWindowSeconds = StageVeskPlacementRecords::enforcementWindowSeconds;

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
    const StageVeskState& state() const { return model_.state(); }
    bool isActive() const { return model_.isActive(); }
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
    void restoreIfQueued(const QString& bundleID, StageVeskScreenID fallbackScreen) override;
    bool isQueued(const QString& bundleID) const override;

    // Drags.
    void syncUserDrag(const QString& bundleID, std::optional<Point> pointer,
                      std::optional<StageVeskScreenID> pointerScreen, Rect windowRect) override;
    void handleSeamDragHandoff(const QString& bundleID, Point pointer) override;

    // Window sync and reconciliation, run by the operations and the timers.
    void syncWindows(const QString& reason);
    void reconcileVisibleWindows(const QString& reason);

    // Read by tests and diagnostics.
    const std::map<QString, StageVeskScreenID>& pendingStagePlacements() const
    {
        return records_.pendingStagePlacements;
    }
    const std::map<QString, PlacementEnforcement>& placementEnforcements() const
    {
        return records_.placementEnforcements;
    }
    const std::map<QString, QDateTime>& pendingCloseVerifications() const { return records_.pendingCloseVerifications; }
    const std::map<QString, StageVeskWindowPosition>& zoomRestorePositions() const
    {
        return records_.zoomRestorePositions;
    }
    bool isPlacementBurstRunning() const { return burst_.isRunning(); }
    bool isReconciliationRunning() const { return reconciliationTimer_ != nullptr; }
    bool isPrewarming() const { return prewarm_.isPrewarming(); }

signals:
    void stateChanged();
    void isActiveChanged();
    void accessibilityWarningChanged();

private:
    void setAccessibilityWarning(std::optional<QString> warning);
    // Marks every listed application without a visible window for placement
    // on the screen once its window shows up; answers those marked.
    QStringList markPendingStartPlacements(const QStringList& bundleIDs, const std::map<QString, Rect>& seeded,
                                           StageVeskScreenID screen);
    void logActivation(const QStringList& bundleIDs, StageVeskScreenID screen, bool explicitScreen,
                       const QStringList& pending) const;
    void startReconciliationTimer();
    void addAndRemoveApps(const std::set<QString>& added, const std::set<QString>& removed);

    std::shared_ptr<AXWindowManaging> windowManager_;
    VisibleWindowRectsProvider visibleWindowRectsProvider_;
    WindowSpaceClassificationProvider windowSpaceClassificationProvider_;
    StageVeskServiceEnvironment environment_;

    StageVeskModel model_;
    StageVeskPlacementRecords records_;
    std::optional<QString> accessibilityWarning_;
    DisplayNames displayNamesByBundleID_;
    StageVeskScreenID anchorScreenID_;

    StageVeskWindowSync sync_;
    StageVeskDisplayPrewarm prewarm_;
    StageVeskFocusRaiser raiser_;
    StageVeskPlacement placement_;
    StageVeskReconciliation reconciliation_;
    StageVeskPlacementBurst burst_;
    StageVeskUserActions userActions_;
    StageVeskDragSync drags_;
    std::unique_ptr<MainQueueTimer> reconciliationTimer_;
};

} // namespace vesk
