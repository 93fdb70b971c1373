#pragma once

#include "enforcement/WorkspaceControlling.h"
#include "session/SessionState.h"
#include "stage/StageVeskControlling.h"

#include <QString>
#include <QUrl>

#include <memory>
#include <optional>
#include <set>
#include <utility>

namespace vesk {

// What the workspace tells about the allowed applications, shared by the
// session manager's parts.
class AllowedAppLookup {
public:
    AllowedAppLookup(const WorkspaceControlling& workspace, const SessionState& state);

    // The given identifiers that belong to running, not terminated, regular applications.
    std::set<QString> runningAllowedBundleIDs(const std::set<QString>& bundleIDs) const;
    // The first running, not terminated application with that identifier.
    std::shared_ptr<RunningApplicationControlling> runningApplication(const QString& bundleID) const;
    // The location the session knows for the application, else the workspace's.
    std::optional<QUrl> applicationURL(const QString& bundleID) const;
    // The application's display name: the bundle's name, else the identifier.
    std::pair<QString, QString> displayNameEntry(const QString& bundleID) const;
    StageVeskControlling::DisplayNames displayNames(const std::set<QString>& bundleIDs) const;

private:
    const WorkspaceControlling& workspace_;
    const SessionState& state_;
};

} // namespace vesk
