#pragma once

#include "core/Clock.h"
#include "core/Geometry.h"
#include "core/Scheduler.h"
#include "core/WorkItem.h"
#include "logging/VeskLogger.h"
#include "overlay/AllowedWindowDragTracker.h"
#include "overlay/AllowedWindowsVisibilityGuard.h"
#include "overlay/DisplayLayoutSignature.h"
#include "overlay/MouseInteractionDetecting.h"
#include "overlay/OverlayControlling.h"
#include "overlay/OverlayVisibilityDiagnostics.h"
#include "overlay/OverlayWindowTransitionTracker.h"
#include "overlay/WindowClassification.h"
#include "overlay/WindowClassifier.h"
#include "overlay/WindowSnapshotReader.h"
#include "platform/OwnWindowRegistering.h"
#include "platform/PointerStateProviding.h"
#include "platform/ScreenChangeObserving.h"
#include "platform/ScreenProviding.h"

#include <QDateTime>
#include <QMetaObject>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace vesk {

class OverlayBackingPanel;
class OverlayPanel;

// The session's blackout: a black panel and a black backing panel on every
// display, and a per-frame tick that turns the window list into holes over the
// allowed applications' visible windows, follows drags across display seams
// and tells the session core when allowed windows are covered, briefly gone or
// gone for good. Main thread only.
class OverlayService final : public QObject, public OverlayControlling {
    Q_OBJECT
public:
    // The parts of the desktop the overlay works through.
    struct DesktopParts {
        const platform::ScreenProviding& screens;
        const platform::ScreenChangeObserving& screenChanges;
        // The panels list themselves here.
        platform::OwnWindowRegistering& ownWindows;
        const platform::PointerStateProviding& pointer;
        // Vesk's own bundle identifier: our own windows are never allowed windows.
        QString veskBundleID;
    };
    struct Tuning {
        double gracePeriod = 1.5; // seconds without visible allowed windows before fail-open
        OverlayWindowTransitionTracker::Tuning transitions;
    };

    // Seconds between two frames of the display link (and of the timer fallback).
    static constexpr double kFrameInterval = 1.0 / 60.0;
    // Quiet time after the last screen change before the panels are synced.
    static constexpr double kScreenChangeDebounce = 0.5;

    OverlayService(Scheduler& scheduler, const Clock& clock, DesktopParts desktop, WindowSnapshotReader windowSnapshots,
                   const MouseInteractionDetecting& mouseInteractionDetector, Tuning tuning);
    // With the session's usual tuning.
    OverlayService(Scheduler& scheduler, const Clock& clock, DesktopParts desktop, WindowSnapshotReader windowSnapshots,
                   const MouseInteractionDetecting& mouseInteractionDetector);
    ~OverlayService() override;

    void activate(const std::set<QString>& allowedBundleIDs) override;
    void updateAllowlist(const std::set<QString>& allowedBundleIDs) override;
    void deactivate() override;
    AllowedWindowDragState allowedWindowDragState(const QDateTime& now) const override;
    void prepareBackingForAllowedAppActivation(const QString& reason) override;
    void suppressPassthroughImmediately(const QString& bundleID, const QString& reason) override;
    void setAllowedWindowsMissingHandler(MissingHandler handler) override;
    void setAllowedWindowsTemporarilyMissingHandler(MissingHandler handler) override;
    void setAllowedWindowsOccludedHandler(OccludedHandler handler) override;
    void setPassthroughRectsChangedHandler(PassthroughRectsHandler handler) override;
    void setAllowedWindowMotionHandler(MotionHandler handler) override;
    void setSeamDragHandoffHandler(SeamDragHandoffHandler handler) override;

    // One frame: window list, classification, transitions, drags, holes.
    void trackingTick();

    bool isActive() const { return isActive_; }
    bool isTracking() const { return frameSource_ != FrameSource::none; }
    const std::set<QString>& allowedBundleIDs() const { return allowedBundleIDs_; }
    std::vector<OverlayPanel*> panels() const;
    std::vector<OverlayBackingPanel*> backingPanels() const;

private:
    enum class FrameSource { none, displayLink, timer };

    struct PanelRecord {
        DisplayLayoutSignature::Entry entry;
        std::unique_ptr<OverlayPanel> panel;
    };
    struct BackingPanelRecord {
        DisplayLayoutSignature::Entry entry;
        std::unique_ptr<OverlayBackingPanel> panel;
    };

    // Tick source and screen changes.
    void startWindowTracking();
    void startFrames(FrameSource source);
    void scheduleNextFrame();
    void stopWindowTracking();
    void observeScreenParameters();
    void removeScreenObserver();
    void debounceScreenChange();
    void handleDebouncedScreenChange(int generation);
    void syncPanels(const QString& reason);
    void dismissPanels();
    void logDisplayGeometry();
    void resetSessionState();
    // The displays as the tick sees them; none without a usable display.
    const std::optional<DisplayGeometry>& currentGeometry();

    // Steps of the tick.
    void runTick();
    void evaluateWindows(const WindowClassification& classification, const std::set<QString>& fullyOccluded);
    void notifyFullyOccluded(const std::set<QString>& fullyOccluded);
    void logTransitionEvents(const WindowTransitionUpdate& update);
    void handleGracePeriod(const std::optional<AllowedWindowsVisibilityGuard::Action>& action, const QDateTime& now);
    void rememberVisibleRects(const std::vector<Rect>& rects, const QDateTime& now);
    void updateDragBridge(const std::vector<Rect>& bridge);
    void checkUncoveredHoles(const std::vector<Rect>& holes, const std::vector<OverlayAllowedWindowFragment>& fragments,
                             const std::optional<DisplayGeometry>& geometry);
    void applyPassthroughRects(const std::vector<Rect>& holes, bool hasGeometry);

    bool isMouseButtonDown() const { return mouseInteractionDetector_.isMouseInteractionActive(); }
    Point mouseLocation() const;

    Scheduler& scheduler_;
    const Clock& clock_;
    const platform::ScreenProviding& screens_;
    const platform::ScreenChangeObserving& screenChanges_;
    platform::OwnWindowRegistering& ownWindows_;
    const platform::PointerStateProviding& pointer_;
    WindowSnapshotReader windowSnapshots_;
    const MouseInteractionDetecting& mouseInteractionDetector_;
    VeskLogger logger_{QStringLiteral("OverlayService")};
    QString veskBundleID_;

    // Shared, so that a call holds its handler alive without copying it.
    std::shared_ptr<const MissingHandler> allowedWindowsMissingHandler_;
    std::shared_ptr<const MissingHandler> allowedWindowsTemporarilyMissingHandler_;
    std::shared_ptr<const OccludedHandler> allowedWindowsOccludedHandler_;
    std::shared_ptr<const PassthroughRectsHandler> passthroughRectsChangedHandler_;
    std::shared_ptr<const MotionHandler> allowedWindowMotionHandler_;
    std::shared_ptr<const SeamDragHandoffHandler> seamDragHandoffHandler_;

    std::vector<PanelRecord> panelRecords_;
    std::vector<BackingPanelRecord> backingPanelRecords_;
    FrameSource frameSource_ = FrameSource::none;
    WorkItem nextFrame_;
    std::set<QString> allowedBundleIDs_;
    QMetaObject::Connection screenObserver_;
    std::optional<WorkItem> screenChangeDebounceWork_;
    int screenChangeGeneration_ = 0;
    std::optional<DisplayLayoutSignature> displayLayoutSignature_;
    bool isActive_ = false;

    // The last non-empty hole set and when it was seen.
    std::vector<Rect> lastVisibleRects_;
    std::optional<QDateTime> lastVisibleAt_;
    OverlayWindowTransitionTracker minimizeTransitionTracker_;
    AllowedWindowDragTracker dragTracker_;
    std::vector<Rect> lastLoggedDragBridgeRects_;
    std::vector<Rect> lastLoggedUncoveredHoles_;
    AllowedWindowsVisibilityGuard visibilityGuard_;
    std::optional<int> lastAllowedWindowCount_;
    std::optional<OverlayVisibilityDiagnostics> lastVisibilityDiagnostics_;
    std::set<QString> lastFullyOccludedBundleIDs_;

    // The tick's working storage, kept from frame to frame so that a frame
    // reuses what the frame before allocated.
    struct FrameStorage {
        std::set<QString> fullyOccluded;
        std::vector<OverlayAllowedWindowFragment> visibleFragments;
        std::vector<Rect> visibleRects;
        std::vector<Rect> holes;
        std::vector<Rect> clippedHoles;
    };
    WindowClassifier classifier_;
    FrameStorage frame_;
    std::optional<DisplayGeometry> geometry_;
    bool isGeometryCurrent_ = false;
    bool isTicking_ = false;
    bool isTickRequested_ = false;
    // An allowlist given while a tick runs, for the ticks after it.
    std::optional<std::set<QString>> pendingAllowlist_;
};

} // namespace vesk
