#pragma once

#include "enforcement/WorkspaceControlling.h"

namespace vesk {

namespace platform {
class Workspace;
}

// The platform's workspace as the session core sees it. Completions arrive on
// the workspace's own thread; this adapter does not move them.
class SystemWorkspace final : public WorkspaceControlling {
public:
    explicit SystemWorkspace(platform::Workspace& workspace);

    std::vector<std::shared_ptr<RunningApplicationControlling>> runningApplications() const override;
    std::optional<QUrl> urlForApplication(const QString& bundleID) const override;
    void openApplication(const QUrl& applicationURL, const WorkspaceOpenConfiguration& configuration,
                         OpenCompletion completion) override;
    void open(const std::vector<QUrl>& urls, const QUrl& applicationURL,
              const WorkspaceOpenConfiguration& configuration, OpenCompletion completion) override;

private:
    platform::Workspace& workspace_;
};

} // namespace vesk
