#pragma once

#include "core/Clock.h"
#include "core/Geometry.h"
#include "core/Scheduler.h"
#include "logging/VeskLogger.h"
#include "overlay/AllowedWindowDragTracker.h"
#include "overlay/AllowedWindowsVisibilityGuard.h"
#include "overlay/MouseInteractionDetecting.h"
#include "overlay/OverlayControlling.h"
#include "overlay/OverlayFrameDriver.h"
#include "overlay/OverlayHolePipeline.h"
#include "overlay/OverlayPanelSet.h"
#include "overlay/OverlayScreenChangeDebounce.h"
#include "overlay/OverlayTickLog.h"
#include "overlay/OverlayWindowTransitionTracker.h"
#include "overlay/WindowSnapshotReader.h"
#include "platform/OwnWindowRegistering.h"
#include "platform/PointerStateProviding.h"
#include "platform/ScreenChangeObserving.h"
#include "platform/ScreenProviding.h"

#include <QDateTime>
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
// gone for good. It coordinates its parts: the panel set, the frame driver,
// the screen-change debounce and the hole pipeline. Main thread only.
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
    static constexpr double kFrameInterval = OverlayFrameDriver::frameInterval;
    // Quiet time after the last screen change before the panels are synced.
    static constexpr double kScreenChangeDebounce = OverlayScreenChangeDebounce::quietTime;

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
    bool isTracking() const { return frames_.isRunning(); }
    const std::set<QString>& allowedBundleIDs() const { return allowedBundleIDs_; }
    std::vector<OverlayPanel*> panels() const { return panels_.panels(); }
    std::vector<OverlayBackingPanel*> backingPanels() const { return panels_.backingPanels(); }

private:
    void syncPanels(const QString& reason);
    void handleSettledScreenChange();
    void logDisplayGeometry();
    void resetSessionState();

    // Steps of the tick.
    void runTick();
    void notifyFullyOccluded(const std::set<QString>& fullyOccluded);
    void handleGracePeriod(const std::optional<AllowedWindowsVisibilityGuard::Action>& action, const QDateTime& now);

    bool isMouseButtonDown() const { return mouseInteractionDetector_.isMouseInteractionActive(); }
    Point mouseLocation() const;

    const Clock& clock_;
    const platform::PointerStateProviding& pointer_;
    const MouseInteractionDetecting& mouseInteractionDetector_;
    VeskLogger logger_{QStringLiteral("OverlayService")};

    // Shared, so that a call holds its handler alive without copying it.
    std::shared_ptr<const MissingHandler> allowedWindowsMissingHandler_;
    std::shared_ptr<const MissingHandler> allowedWindowsTemporarilyMissingHandler_;
    std::shared_ptr<const OccludedHandler> allowedWindowsOccludedHandler_;
    std::shared_ptr<const PassthroughRectsHandler> passthroughRectsChangedHandler_;
    std::shared_ptr<const MotionHandler> allowedWindowMotionHandler_;
    std::shared_ptr<const SeamDragHandoffHandler> seamDragHandoffHandler_;

    std::set<QString> allowedBundleIDs_;
    bool isActive_ = false;
    OverlayPanelSet panels_;
    OverlayFrameDriver frames_;
    OverlayScreenChangeDebounce screenChangeDebounce_;

    OverlayHolePipeline holes_;
    OverlayTickLog tickLog_;
    OverlayWindowTransitionTracker minimizeTransitionTracker_;
    AllowedWindowDragTracker dragTracker_;
    AllowedWindowsVisibilityGuard visibilityGuard_;
    std::set<QString> lastFullyOccludedBundleIDs_;
    bool isTicking_ = false;
    bool isTickRequested_ = false;
    // An allowlist given while a tick runs, for the ticks after it.
    std::optional<std::set<QString>> pendingAllowlist_;
};

} // namespace vesk
