#pragma once

#include "core/Scheduler.h"
#include "core/WorkItem.h"
#include "logging/VeskLogger.h"
#include "panels/SessionExitAppDisposition.h"
#include "session/SessionServices.h"
#include "session/SessionState.h"
#include "session/SessionStopReason.h"
#include "session/SessionTimerControlling.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QUuid>

#include <functional>
#include <map>
#include <memory>
#include <set>

namespace vesk {

// The ways a session ends other than a direct stop request, each ending in the
// manager's stop: the countdown of a timed session, the HUD's two-step manual
// exit and the emergency hotkey (both refused in a hardcore session), and the
// development-only forced stop. Also the quitting of the allowed applications
// that an exit may ask for, with its delayed check. Main thread only.
class SessionExits final : public QObject {
public:
    struct Hooks {
        std::function<void(SessionStopReason, SessionExitAppDisposition)> stop;
        std::function<void()> remainingSecondsChanged;
        // The manager's one-line state text that the exit log lines end with.
        std::function<QString()> diagnostics;
    };

    SessionExits(const SessionServices& services, const SessionState& state, Scheduler& scheduler, Hooks hooks);

    int remainingSeconds() const { return remainingSeconds_; }
    void setRemainingSeconds(int seconds);
    // Ticks once a second from the timer's queue; each tick reaches the main queue.
    void startCountdown(const QUuid& lifecycleID);
    void stopCountdown();
    // "mm:ss" left, or "hh:mm:ss" elapsed in a session without limit.
    QString remainingTimeText(const QDateTime& now) const;
    bool isOpenEndedSession() const;

    void requestManualExitConfirmation();
    void confirmManualExit(SessionExitAppDisposition disposition);
    // Ends the session even when it is hardcore.
    void debugForceStop();
    void handleEmergencyHotkey(const QUuid& lifecycleID);

    // Asks every running allowed application but the Finder to quit, and
    // checks 1.5 s later which did not.
    void quitAllowedApps(const std::set<QString>& allowlist, const std::set<QString>& veskStarted,
                         const std::set<QString>& initiallyRunning);
    void cancelQuitVerification();

private:
    void handleTick(const QUuid& lifecycleID);
    void scheduleQuitVerification(const std::map<QString, std::set<qint32>>& requestedPIDs);
    void verifyQuit(const std::map<QString, std::set<qint32>>& requestedPIDs);

    const SessionServices& services_;
    const SessionState& state_;
    Scheduler& scheduler_;
    Hooks hooks_;
    VeskLogger logger_{QStringLiteral("SessionManager")};
    int remainingSeconds_ = 0;
    std::unique_ptr<SessionTimerControlling> timer_;
    WorkItem pendingQuitVerification_;
};

} // namespace vesk
