#pragma once

#include "enforcement/AppMonitoring.h"

namespace vesk {

// An application monitor that hides nothing and reports no launches.
class NoOpAppMonitorService final : public AppMonitoring {
public:
    void activate(const std::set<QString>&) override {}
    void updateAllowlist(const std::set<QString>&) override {}
    void deactivate() override {}
    void enforceAllowlist(const QString&) override {}
    void setDisallowedAppHiddenHandler(BundleHandler) override {}
    void setAppLaunchNeedingDecisionHandler(BundleHandler) override {}
    void setLastUserClickAt(std::optional<QDateTime>) override {}
    void removePendingDecision(const QString&) override {}
};

} // namespace vesk
