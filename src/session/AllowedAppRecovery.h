#pragma once

#include "core/Clock.h"
#include "core/Scheduler.h"
#include "core/WorkItem.h"
#include "logging/VeskLogger.h"
#include "session/AllowedAppLookup.h"
#include "session/AllowedWindowSpaceClassifier.h"
#include "session/SessionServices.h"
#include "session/SessionState.h"
#include "session/WindowMaterializationFlight.h"

#include <QObject>
#include <QString>
#include <QUuid>

#include <optional>
#include <set>
#include <vector>

namespace vesk {

// Brings the usable allowed applications back to the front after something
// covered, hid or moved them, in one pass a short delay after the request.
//
// A new request replaces a pending one. A request that may wait for a drag is
// checked when it is asked for and again when it fires: it is discarded when
// the windows it is about are visible again, and deferred while an allowed
// window is being dragged. A general pass never brings back what the user
// minimised or moved to another Space; a targeted one does.
//
// Missing windows take the fail-open path: after a short confirmation delay
// running allowed applications are treated as minimised and recovered; the
// session is never ended for it. Main thread only.
class AllowedAppRecovery final : public QObject {
public:
    AllowedAppRecovery(const SessionServices& services, const SessionState& state, const AllowedAppLookup& lookup,
                       const AllowedWindowSpaceClassifier& classifier, WindowMaterializationFlight& flight,
                       Scheduler& scheduler, const Clock& clock, double delay);

    // `targets`: the applications the request is about (all allowed ones when none).
    void schedule(const QString& reason, const std::optional<std::set<QString>>& targets, bool dragDeferrable);
    void cancel();

    // The overlay's reports: every allowed window of these applications is covered;
    void handleWindowsOccluded(const std::set<QString>& bundleIDs);
    // no allowed window is visible any more (its grace period starts);
    void handleWindowsTemporarilyMissing();
    // none has been seen for the grace period: confirmed after a short delay.
    void confirmMissingWindows(const QUuid& lifecycleID);
    void cancelMissingWindowsConfirmation();

private:
    bool discardIfWindowsVisible(const QString& reason, const std::optional<std::set<QString>>& targets);
    std::optional<double> deferralDuringDrag(const QString& reason);
    void scheduleWorkItem(const QString& reason, const std::optional<std::set<QString>>& targets, bool dragDeferrable,
                          double delay);
    // The checks a request passes when it is asked for and again when it
    // fires: true when it was skipped (no session), discarded (the windows are
    // visible) or deferred (a drag is settling).
    bool skippedOrDeferred(const QString& reason, const std::optional<std::set<QString>>& targets, bool dragDeferrable);
    void fire(const QString& reason, const std::optional<std::set<QString>>& targets, bool dragDeferrable);
    void perform(const QString& reason, const std::optional<std::set<QString>>& targets);
    std::vector<QString> activationOrder(const std::set<QString>& allowlist, const std::set<QString>& targeted) const;
    void recoverApp(const QString& bundleID, const QString& reason, bool targeted, int& activated,
                    int& skippedSpaceBlocked);
    void confirmFailOpen(const QUuid& lifecycleID);

    const SessionServices& services_;
    const SessionState& state_;
    const AllowedAppLookup& lookup_;
    const AllowedWindowSpaceClassifier& classifier_;
    WindowMaterializationFlight& flight_;
    Scheduler& scheduler_;
    const Clock& clock_;
    double delay_;
    VeskLogger logger_{QStringLiteral("SessionManager")};
    WorkItem pendingRecovery_;
    WorkItem pendingMissingWindowsConfirmation_;
};

} // namespace vesk
