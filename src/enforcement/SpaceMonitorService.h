#pragma once

#include "enforcement/SpaceMonitoring.h"
#include "logging/VeskLogger.h"
#include "platform/Workspace.h"

#include <optional>

namespace vesk {

// Counts the changes of the active Space while a session runs and reports
// each, with the frontmost application, to the session core.
class SpaceMonitorService final : public SpaceMonitoring {
public:
    explicit SpaceMonitorService(platform::Workspace& workspace);
    ~SpaceMonitorService() override;
    SpaceMonitorService(const SpaceMonitorService&) = delete;
    SpaceMonitorService& operator=(const SpaceMonitorService&) = delete;

    void activate(SpaceChangeHandler onSpaceChange) override;
    void deactivate() override;

    bool isActive() const { return isActive_; }
    int spaceChangesSinceActivation() const { return spaceChangesSinceActivation_; }

private:
    void handleActiveSpaceChange();

    platform::Workspace& workspace_;
    VeskLogger logger_{QStringLiteral("SpaceMonitorService")};
    std::optional<platform::WorkspaceObserverToken> observer_;
    SpaceChangeHandler onSpaceChange_;
    bool isActive_ = false;
    int spaceChangesSinceActivation_ = 0;
};

} // namespace vesk
