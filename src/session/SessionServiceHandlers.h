#pragma once

#include "core/Scheduler.h"
#include "enforcement/MouseBlockerControlAction.h"
#include "enforcement/SpaceChangeContext.h"
#include "logging/VeskLogger.h"
#include "overlay/OverlayWindowMotionEvent.h"
#include "session/SessionServices.h"
#include "session/SessionState.h"

#include <QString>
#include <QUuid>

#include <functional>
#include <memory>
#include <set>
#include <type_traits>
#include <vector>

namespace vesk {

class AllowedAppRecovery;
class Clock;
class DynamicAllowlistController;
class SessionControlling;
class SessionExits;

// What the session does when a service reports: the handlers the start
// registers with the services, each made for one session. Every handler holds
// this object weakly and carries the session's lifecycle identifier; a report
// whose identifier is no longer the active one is ignored. Main thread only.
class SessionServiceHandlers {
public:
    struct Parts {
        AllowedAppRecovery& recovery;
        DynamicAllowlistController& allowlist;
        SessionExits& exits;
    };
    struct Hooks {
        // The session as the panels see it (the launch prompt shows it).
        SessionControlling& session;
        // Runs a change; the manager's observers hear of it when it changed the allowlist.
        std::function<void(const std::function<void()>&)> changeAllowlist;
    };

    SessionServiceHandlers(const SessionServices& services, const SessionState& state, Scheduler& scheduler,
                           const Clock& clock, Parts parts, Hooks hooks);

    // Logs "<message><lifecycle UUID>" at the level when the lifecycle is stale.
    bool rejectStale(const QUuid& lifecycleID, VeskLogLevel level, const QString& message) const;

    std::function<void()> emergencyHotkeyHandler(const QUuid& lifecycleID);
    std::function<void(const SpaceChangeContext&)> spaceChangeHandler(const QUuid& lifecycleID);
    // The overlay's reports of missing and covered windows, in place before it
    // is activated, during the wait for the allowed windows.
    void installStartHandlers(const QUuid& lifecycleID);
    // The holes reach the mouse blocker at once, inside the overlay's frame;
    // the rest comes through the main queue.
    void installCompletionHandlers(const QUuid& lifecycleID);
    void installAppMonitorHandlers(const QUuid& lifecycleID);
    std::function<void(const QString&)> appFullyClosedHandler(const QUuid& lifecycleID);

private:
    // Calls `handle` with the lifecycle identifier of the session it was made for.
    template <typename... Args>
    std::function<void(Args...)> handler(const QUuid& lifecycleID,
                                         void (SessionServiceHandlers::*handle)(const QUuid&, Args...))
    {
        return [this, alive = std::weak_ptr<int>(lifetime_), lifecycleID, handle](Args... args) {
            if (!alive.expired())
                (this->*handle)(lifecycleID, args...);
        };
    }
    // The same for a service that calls from its own queue or inside its own
    // turn: the call comes through the main queue.
    template <typename... Args>
    std::function<void(Args...)> queuedHandler(const QUuid& lifecycleID,
                                               void (SessionServiceHandlers::*handle)(const QUuid&, Args...))
    {
        return
            [this, alive = std::weak_ptr<int>(lifetime_), lifecycleID, handle, &scheduler = scheduler_](Args... args) {
                scheduler.async([this, alive, lifecycleID, handle, ... copies = std::decay_t<Args>(args)] {
                    if (!alive.expired())
                        (this->*handle)(lifecycleID, copies...);
                });
            };
    }

    void handleEmergencyHotkey(const QUuid& lifecycleID);
    void handleSpaceChange(const QUuid& lifecycleID, const SpaceChangeContext& context);
    void handleAllowedWindowsOccluded(const QUuid& lifecycleID, const std::set<QString>& bundleIDs);
    void handleAllowedWindowsTemporarilyMissing(const QUuid& lifecycleID);
    void handleAllowedWindowsMissing(const QUuid& lifecycleID);
    void forwardPassthroughRects(const QUuid& lifecycleID, const std::vector<Rect>& rects);
    void handleAllowedWindowMotion(const QUuid& lifecycleID, const std::vector<OverlayWindowMotionEvent>& events);
    void handleSeamDragHandoff(const QUuid& lifecycleID, const QString& bundleID, Point point);
    void handleAllowedWindowControlClick(const QUuid& lifecycleID, const QString& bundleID,
                                         MouseBlockerControlAction action, Point clickPoint);
    void handleClickObserved(Point clickPoint);
    void handleDisallowedAppHidden(const QUuid& lifecycleID, const QString& bundleID);
    void handleAppLaunchNeedingDecision(const QUuid& lifecycleID, const QString& bundleID);
    void handleAppFullyClosed(const QUuid& lifecycleID, const QString& bundleID);

    const SessionServices& services_;
    const SessionState& state_;
    Scheduler& scheduler_;
    const Clock& clock_;
    Parts parts_;
    Hooks hooks_;
    VeskLogger logger_{QStringLiteral("SessionManager")};
    // Handlers hold it weakly: they find it gone once this object is.
    const std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

} // namespace vesk
