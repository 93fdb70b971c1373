#pragma once

#include "enforcement/RunningApplicationControlling.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace vesk {

struct WorkspaceOpenConfiguration {
    bool activates = true;
    // Start another instance even when the application already runs.
    bool createsNewApplicationInstance = false;
    QStringList arguments;

    bool operator==(const WorkspaceOpenConfiguration&) const = default;
};

// The workspace: running applications, installed bundles, launching.
class WorkspaceControlling {
public:
    // The running application (or none) and an error text (or none). Called on
    // a thread of the workspace's choosing.
    using OpenCompletion =
        std::function<void(std::shared_ptr<RunningApplicationControlling> application, std::optional<QString> error)>;

    virtual ~WorkspaceControlling() = default;

    // Every running application, in the workspace's order.
    virtual std::vector<std::shared_ptr<RunningApplicationControlling>> runningApplications() const = 0;
    // The bundle location of an installed application; none when not installed.
    virtual std::optional<QUrl> urlForApplication(const QString& bundleID) const = 0;
    // Launches or activates the application.
    virtual void openApplication(const QUrl& applicationURL, const WorkspaceOpenConfiguration& configuration,
                                 OpenCompletion completion) = 0;
    // Opens documents with the application.
    virtual void open(const std::vector<QUrl>& urls, const QUrl& applicationURL,
                      const WorkspaceOpenConfiguration& configuration, OpenCompletion completion) = 0;
};

} // namespace vesk
