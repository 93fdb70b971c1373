#pragma once

#include "logging/VeskLogger.h"
#include "panels/AppLaunchPrompt.h"
#include "session/AllowedAppLookup.h"
#include "session/AllowedAppRecovery.h"
#include "session/AllowedAppReveal.h"
#include "session/SessionRecords.h"
#include "session/SessionServices.h"
#include "session/SessionState.h"
#include "session/WindowMaterializationFlight.h"
#include "stage/StageVeskScreenID.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace vesk {

// Widens and narrows the allowlist while a session runs, and the prompt that
// asks whether an application launched outside the allowlist may stay. A
// change reaches every service that enforces the allowlist, the session's
// record, and the reveal and recovery of the allowed applications. One prompt
// at a time; launches meanwhile wait for their decision. Main thread only.
class DynamicAllowlistController {
public:
    DynamicAllowlistController(const SessionServices& services, SessionState& state, const AllowedAppLookup& lookup,
                               SessionRecords& records, AllowedAppReveal& reveal, AllowedAppRecovery& recovery,
                               WindowMaterializationFlight& flight, std::function<void()> promptChanged);

    void add(const QString& bundleID, const std::optional<QUrl>& applicationURL,
             std::optional<StageVeskScreenID> targetScreen);
    // Only an added application, and only while another allowed one is usable.
    bool canRemove(const QString& bundleID) const;
    void remove(const QString& bundleID);
    // The stage closed the application's last window through the session.
    void handleAppFullyClosed(const QString& bundleID);

    const std::optional<AppLaunchPrompt>& pendingPrompt() const { return pendingPrompt_; }
    // A launched application that is not allowed waits for a decision; true
    // when its prompt is now the pending one.
    bool presentPrompt(const QString& bundleID);
    // The prompt's answer: true adds the application, false quits it.
    void confirmPrompt(bool allow);
    void clearPrompt();

private:
    void synchronize();
    void hideRemovedApp(const QString& bundleID);
    void terminateDeclinedApp(const QString& bundleID);
    void setPendingPrompt(std::optional<AppLaunchPrompt> prompt);

    const SessionServices& services_;
    SessionState& state_;
    const AllowedAppLookup& lookup_;
    SessionRecords& records_;
    AllowedAppReveal& reveal_;
    AllowedAppRecovery& recovery_;
    WindowMaterializationFlight& flight_;
    std::function<void()> promptChanged_;
    VeskLogger logger_{QStringLiteral("SessionManager")};
    std::optional<AppLaunchPrompt> pendingPrompt_;
};

} // namespace vesk
