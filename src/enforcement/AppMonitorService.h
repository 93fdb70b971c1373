#pragma once

#include "core/MainQueueTimer.h"
#include "enforcement/AppMonitorPolicy.h"
#include "enforcement/AppMonitoring.h"
#include "logging/VeskLogger.h"
#include "platform/Workspace.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>
#include <set>

namespace vesk {

class Clock;
class Scheduler;

// Keeps disallowed applications out of sight during a session: it hides every
// regular or accessory application that is not allowed when it is switched
// on, on every allowlist change, once a second, and whenever the workspace
// reports a launch or an activation. A regular application the user has just
// launched, or brought forward within 3 s of a click, is reported once to the
// session core for an allow-or-block decision. It never unhides anything.
class AppMonitorService final : public AppMonitoring {
public:
    static constexpr double periodicEnforcementInterval = 1.0;
    static constexpr double recentClickWindow = 3.0;

    AppMonitorService(Scheduler& scheduler, Clock& clock, platform::Workspace& workspace, QString veskBundleID);
    ~AppMonitorService() override;
    AppMonitorService(const AppMonitorService&) = delete;
    AppMonitorService& operator=(const AppMonitorService&) = delete;

    void activate(const std::set<QString>& allowedBundleIDs) override;
    void updateAllowlist(const std::set<QString>& allowedBundleIDs) override;
    void deactivate() override;
    void enforceAllowlist(const QString& reason) override;
    void setDisallowedAppHiddenHandler(BundleHandler handler) override;
    void setAppLaunchNeedingDecisionHandler(BundleHandler handler) override;
    void setLastUserClickAt(std::optional<QDateTime> date) override;
    void removePendingDecision(const QString& bundleID) override;

    bool isActive() const { return isActive_; }
    const std::set<QString>& allowedBundleIDs() const { return allowedBundleIDs_; }
    // Applications reported for a decision that the session core has not answered yet.
    const std::set<QString>& pendingDecisionBundleIDs() const { return pendingDecisionBundleIDs_; }

private:
    // Hides every running application that may not be seen; not throttled.
    void hideDisallowedApps(const QString& reason);
    // One launch or activation notification.
    void hideApp(const std::shared_ptr<platform::RunningApplication>& application, const QString& event);
    void handleLaunchOrActivation(const platform::RunningApplication& application, const QString& bundleID,
                                  const QString& event);
    void startPeriodicEnforcement();
    void removeObservers();
    // Milliseconds since the user's last click; -1 when there was none.
    qint64 millisecondsSinceLastClick(const QDateTime& now) const;

    Scheduler& scheduler_;
    Clock& clock_;
    platform::Workspace& workspace_;

    std::set<QString> allowedBundleIDs_;
    std::optional<platform::WorkspaceObserverToken> launchObserver_;
    std::optional<platform::WorkspaceObserverToken> activateObserver_;
    std::unique_ptr<MainQueueTimer> enforcementTimer_;
    bool isActive_ = false;
    BundleHandler disallowedAppHiddenHandler_;
    BundleHandler appLaunchNeedingDecisionHandler_;
    std::set<QString> pendingDecisionBundleIDs_;
    std::set<QString> bundleIDsRunningAtActivation_;
    std::optional<QDateTime> lastUserClickAt_;
    std::optional<QDateTime> lastFullSweepAt_;
    AppMonitorPolicy policy_;
    VeskLogger logger_{QStringLiteral("AppMonitorService")};
    const QString veskBundleID_;
};

} // namespace vesk
