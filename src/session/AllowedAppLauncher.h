#pragma once

#include "core/Scheduler.h"
#include "logging/VeskLogger.h"
#include "session/AllowedAppLookup.h"
#include "session/SessionServices.h"
#include "session/SessionState.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <map>
#include <optional>
#include <set>

namespace vesk {

// Opens allowed applications for the session and remembers those it started
// itself (in the session's `veskStartedBundleIDs`), so that they can be told
// apart from the ones that ran before. Main thread only; the workspace's
// completions arrive through the main queue.
class AllowedAppLauncher final : public QObject {
public:
    AllowedAppLauncher(const SessionServices& services, SessionState& state, const AllowedAppLookup& lookup,
                       Scheduler& scheduler);

    // Opens each allowed application at the start of the session.
    void launchInitialAllowlist(const std::set<QString>& allowedBundleIDs, const std::map<QString, QUrl>& appURLs);
    // Opens one; `source` names the caller in the log lines.
    void launch(const QString& bundleID, const QUrl& url, const QString& source, bool trackAsVeskStarted);
    // Whether a launch now would start the application, which then counts as started by the session.
    bool wouldStartApplication(const QString& bundleID) const;

private:
    void handleCompletion(const QString& bundleID, const QString& source, bool trackAsVeskStarted,
                          const std::optional<QUuid>& launchLifecycleID, const std::optional<QString>& error);

    const SessionServices& services_;
    SessionState& state_;
    const AllowedAppLookup& lookup_;
    Scheduler& scheduler_;
    VeskLogger logger_{QStringLiteral("SessionManager")};
};

} // namespace vesk
