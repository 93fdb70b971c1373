#pragma once

#include "enforcement/DynamicAllowlistState.h"
#include "stage/StageVeskScreenID.h"

#include <QDateTime>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <map>
#include <optional>
#include <set>

namespace vesk {

// What the session core knows about the current session. The manager owns it
// and its parts read it; the four flags and the identifiers are written by the
// manager alone (they are part of its observable surface), the allowlist and
// the application sets also by the part that changes them.
struct SessionState {
    bool isSessionActive = false;
    bool isStartingSession = false;
    bool isStoppingSession = false;
    bool isHardcoreSession = false;

    // A new identifier per start; every callback of the session carries it.
    std::optional<QUuid> activeLifecycleID;
    // The identifier of the session's stored record.
    std::optional<QUuid> activeFocusSessionID;
    int sessionDurationSeconds = 0; // 0: no limit
    std::optional<QDateTime> sessionStartedAt;

    DynamicAllowlistState dynamicAllowlist;
    std::map<QString, QUrl> appURLsByBundleID;
    // Every application allowed at some point of the session.
    std::set<QString> allPersistedAllowedBundleIDs;
    std::set<QString> initiallyRunningAllowedBundleIDs;
    // Allowed applications the session launched itself.
    std::set<QString> veskStartedBundleIDs;
    StageVeskScreenID sessionAnchorScreenID;

    std::set<QString> currentAllowlist() const { return dynamicAllowlist.allowedBundleIDs(); }
    bool isCurrentLifecycle(const QUuid& lifecycleID) const
    {
        return activeLifecycleID && *activeLifecycleID == lifecycleID;
    }
    // A session runs and is not being stopped: requests of the session's
    // panels and its delayed work may act.
    bool isRunning() const { return isSessionActive && !isStoppingSession; }
};

} // namespace vesk
