#pragma once

#include "logging/VeskLogger.h"
#include "session/SessionServices.h"
#include "session/SessionState.h"

#include <QString>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <map>
#include <set>

namespace vesk {

class AllowedAppLauncher;
class AllowedAppLookup;
class SessionControlling;
class SessionServiceHandlers;

// The services' side of a session's start, in two halves. The first holds
// the desktop from the first moment (hotkey, Space blocker and monitor,
// desktop isolation), launches the allowed applications and waits for one of
// their windows; the second, once one shows or the wait gave up, puts up the
// overlay, the mouse blocker, kiosk mode, the app monitor, the stage and the
// session's panels. The manager keeps the session's values and its
// observable state around them.
class SessionStartSequence {
public:
    SessionStartSequence(const SessionServices& services, SessionState& state, const AllowedAppLookup& lookup,
                         AllowedAppLauncher& launcher, SessionServiceHandlers& handlers, SessionControlling& session);

    // The screen the session is anchored on: the main window's, else the
    // pointer's, else the main screen.
    void captureAnchorScreen();
    void trackStarted(int durationSeconds, int allowedCount, bool hardcore, int setupSeconds, bool hasGoal);
    void activateServices(const QUuid& lifecycleID, const std::set<QString>& allowedBundleIDs,
                          const std::map<QString, QUrl>& appURLs, bool hardcore,
                          std::function<void()> onAllowedWindows);
    void logDisplayContext(const QUuid& lifecycleID, const std::set<QString>& allowlist);
    void completeServices(const QUuid& lifecycleID, const std::set<QString>& allowlist);

private:
    const SessionServices& services_;
    SessionState& state_;
    const AllowedAppLookup& lookup_;
    AllowedAppLauncher& launcher_;
    SessionServiceHandlers& handlers_;
    SessionControlling& session_;
    VeskLogger logger_{QStringLiteral("SessionManager")};
};

} // namespace vesk
