#pragma once

#include "enforcement/WindowMaterializing.h"
#include "enforcement/WorkspaceControlling.h"
#include "logging/VeskLogger.h"

#include <QStringList>

#include <memory>
#include <set>

namespace vesk {

// Makes a browser of the Chromium family show a window: the workspace opens
// it again as a new instance with the arguments for a new, blank window.
// Every other application is unsupported. The open request's outcome arrives
// later, on the workspace's thread, and is only logged.
class ChromiumWindowMaterializer final : public WindowMaterializing {
public:
    explicit ChromiumWindowMaterializer(std::shared_ptr<WorkspaceControlling> workspace);

    WindowMaterializationOutcome materialize(const QString& bundleID, const std::optional<QUrl>& applicationURL,
                                             const QString& reason) override;

    static const std::set<QString>& supportedBundleIDs();
    // "--new-window", "about:blank".
    static const QStringList& launchArguments();

private:
    std::shared_ptr<WorkspaceControlling> workspace_;
    VeskLogger logger_{QStringLiteral("ChromiumWindowMaterializer")};
};

} // namespace vesk
