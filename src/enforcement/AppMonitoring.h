#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <set>

namespace vesk {

// Hides running applications that are not allowed and reports launches of
// applications that need an allow-or-block decision.
class AppMonitoring {
public:
    using BundleHandler = std::function<void(const QString& bundleID)>;

    virtual ~AppMonitoring() = default;

    virtual void activate(const std::set<QString>& allowedBundleIDs) = 0;
    // Replaces the allowed set.
    virtual void updateAllowlist(const std::set<QString>& allowedBundleIDs) = 0;
    virtual void deactivate() = 0;
    // Hides the running disallowed applications now (when active and not throttled).
    virtual void enforceAllowlist(const QString& reason) = 0;
    // Called after the monitor hid an application that is not allowed.
    virtual void setDisallowedAppHiddenHandler(BundleHandler handler) = 0;
    // Called when the user launched an application that is not allowed.
    virtual void setAppLaunchNeedingDecisionHandler(BundleHandler handler) = 0;
    virtual void setLastUserClickAt(std::optional<QDateTime> date) = 0;
    // The launched application no longer waits for a decision (answered or not needed).
    virtual void removePendingDecision(const QString& bundleID) = 0;
};

} // namespace vesk
