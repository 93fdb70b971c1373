#include "session/SessionExits.h"

#include "core/TextFormat.h"
#include "overlay/OverlayLogText.h"
#include "overlay/WindowClassification.h"
#include "session/ClockText.h"

#include <QPointer>
#include <QStringList>

namespace vesk {

namespace {

// "[com.a:[12, 13], com.b:[14]]", entries sorted.
QString processIdentifierListText(const std::map<QString, std::set<qint32>>& pids)
{
    QStringList entries;
    for (const auto& [bundleID, ids] : pids) {
        QStringList numbers;
        for (qint32 pid : ids)
            numbers << QString::number(pid);
        entries << bundleID + QStringLiteral(":[") + numbers.join(QStringLiteral(", ")) + QStringLiteral("]");
    }
    entries.sort();
    return QStringLiteral("[") + entries.join(QStringLiteral(", ")) + QStringLiteral("]");
}

QString runningApplicationText(const RunningApplicationControlling& app)
{
    return QStringLiteral("bundleID=%1, pid=%2, policy=%3, hidden=%4, terminated=%5")
        .arg(app.bundleIdentifier().value_or(QStringLiteral("nil")))
        .arg(app.processIdentifier())
        .arg(toRaw(app.activationPolicy()), boolText(app.isHidden()), boolText(app.isTerminated()));
}

} // namespace

SessionExits::SessionExits(const SessionServices& services, const SessionState& state, Scheduler& scheduler,
                           Hooks hooks)
    : services_(services)
    , state_(state)
    , scheduler_(scheduler)
    , hooks_(std::move(hooks))
{
}

// MARK: - Countdown

void SessionExits::setRemainingSeconds(int seconds)
{
    if (remainingSeconds_ == seconds)
        return;
    remainingSeconds_ = seconds;
    hooks_.remainingSecondsChanged();
}

void SessionExits::startCountdown(const QUuid& lifecycleID)
{
    const QPointer<SessionExits> self(this);
    // The handler runs on the timer's queue and only hops to the main queue.
    timer_ = services_.timerFactory->makeTimer(1.0, [self, lifecycleID, &scheduler = scheduler_] {
        scheduler.async([self, lifecycleID] {
            if (self)
                self->handleTick(lifecycleID);
        });
    });
    logger_.log(VeskLogLevel::debug, QStringLiteral("Session timer started — %1s remaining").arg(remainingSeconds_));
}

void SessionExits::handleTick(const QUuid& lifecycleID)
{
    if (!state_.isCurrentLifecycle(lifecycleID) || !state_.isSessionActive) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Ignoring timer tick for stale lifecycle=") + uuidText(lifecycleID));
        return;
    }
    setRemainingSeconds(remainingSeconds_ - 1);
    if (remainingSeconds_ > 0)
        return;
    logger_.log(VeskLogLevel::info, QStringLiteral("Session timer expired"));
    hooks_.stop(SessionStopReason::timerExpired, SessionExitAppDisposition::leaveOpen);
}

void SessionExits::stopCountdown()
{
    if (timer_)
        timer_->cancel();
    timer_.reset();
    logger_.log(VeskLogLevel::debug, QStringLiteral("Session timer stopped"));
}

bool SessionExits::isOpenEndedSession() const
{
    return state_.sessionDurationSeconds == 0 && (state_.isSessionActive || state_.isStartingSession);
}

QString SessionExits::remainingTimeText(const QDateTime& now) const
{
    if (isOpenEndedSession())
        return state_.sessionStartedAt ? clockText(*state_.sessionStartedAt, now) : hoursMinutesSecondsText(0);
    return minutesSecondsText(remainingSeconds_);
}

// MARK: - Manual exit, forced stop, hotkey

void SessionExits::requestManualExitConfirmation()
{
    if (!state_.isRunning()) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral(
                        "Ignoring manual stop confirmation request because no active session is available — ")
                        + hooks_.diagnostics());
        return;
    }
    if (state_.isHardcoreSession) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring manual stop confirmation request — hardcore session "
                                   "(only timer/restart end the session)"));
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("HUD manual exit confirmation shown — ") + hooks_.diagnostics());
}

void SessionExits::confirmManualExit(SessionExitAppDisposition disposition)
{
    if (state_.isHardcoreSession) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral(
                        "Ignoring manual stop confirmation — hardcore session (only timer/restart end the session)"));
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("HUD manual exit confirmed — appDisposition=%1, %2")
                                        .arg(toRaw(disposition), hooks_.diagnostics()));
    hooks_.stop(SessionStopReason::manualStop, disposition);
}

void SessionExits::debugForceStop()
{
    if (!state_.isRunning()) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring debug force stop — no active session — ") + hooks_.diagnostics());
        return;
    }
    logger_.log(VeskLogLevel::warning, QStringLiteral("DEBUG force stop invoked — bypassing hardcore guard, hardcore=")
                                           + boolText(state_.isHardcoreSession));
    hooks_.stop(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
}

void SessionExits::handleEmergencyHotkey(const QUuid& lifecycleID)
{
    if (!state_.isCurrentLifecycle(lifecycleID)) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring stale emergency hotkey callback for lifecycle=") + uuidText(lifecycleID));
        return;
    }
    if (state_.isHardcoreSession) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Emergency hotkey trigger IGNORED — hardcore session (only "
                                                          "timer/restart end the session)"));
        return;
    }
    hooks_.stop(SessionStopReason::emergencyExit, SessionExitAppDisposition::leaveOpen);
}

// MARK: - Quitting the allowed applications

void SessionExits::quitAllowedApps(const std::set<QString>& allowlist, const std::set<QString>& veskStarted,
                                   const std::set<QString>& initiallyRunning)
{
    if (allowlist.empty()) {
        logger_.log(VeskLogLevel::info, QStringLiteral("No allowed VESK apps to terminate"));
        return;
    }
    std::vector<std::shared_ptr<RunningApplicationControlling>> candidates;
    for (const auto& app : services_.workspace->runningApplications()) {
        const auto bundleID = app->bundleIdentifier();
        // The Finder is never asked to quit.
        if (bundleID && allowlist.contains(*bundleID) && *bundleID != kFinderBundleID && !app->isTerminated())
            candidates.push_back(app);
    }
    if (candidates.empty()) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("No running allowed VESK apps found for explicit termination — allowed=")
                        + sortedArrayText(allowlist));
        return;
    }
    QStringList candidateIDs;
    for (const auto& app : candidates)
        candidateIDs << *app->bundleIdentifier();
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Explicit VESK app termination requested — allowed=%1, veskStarted=%2, "
                               "initiallyRunning=%3, candidates=%4")
                    .arg(sortedArrayText(allowlist), sortedArrayText(veskStarted), sortedArrayText(initiallyRunning),
                         arrayText(candidateIDs)));

    std::map<QString, std::set<qint32>> requestedPIDs;
    int returnedTrue = 0;
    for (const auto& app : candidates) {
        const QString bundleID = *app->bundleIdentifier();
        const bool success = app->terminate();
        requestedPIDs[bundleID].insert(app->processIdentifier());
        if (success)
            ++returnedTrue;
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Requested allowed VESK app termination — bundleID=%1, pid=%2, veskStarted=%3, "
                                   "initiallyRunning=%4, success=%5")
                        .arg(bundleID)
                        .arg(app->processIdentifier())
                        .arg(boolText(veskStarted.contains(bundleID)), boolText(initiallyRunning.contains(bundleID)),
                             boolText(success)));
    }
    QStringList requestedIDs;
    for (const auto& [bundleID, pids] : requestedPIDs)
        requestedIDs << bundleID;
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Allowed VESK app termination requests completed — requestedBundleIDs=%1, "
                               "candidateProcesses=%2, terminateReturnedTrue=%3")
                    .arg(arrayText(requestedIDs))
                    .arg(candidates.size())
                    .arg(returnedTrue));
    scheduleQuitVerification(requestedPIDs);
}

void SessionExits::cancelQuitVerification()
{
    pendingQuitVerification_.cancelAndClear();
}

void SessionExits::scheduleQuitVerification(const std::map<QString, std::set<qint32>>& requestedPIDs)
{
    cancelQuitVerification();
    logger_.log(VeskLogLevel::debug, QStringLiteral("Scheduled allowed VESK app termination verification — delay=1.5s, "
                                                    "requestedPIDs=")
                                         + processIdentifierListText(requestedPIDs));
    const QPointer<SessionExits> self(this);
    pendingQuitVerification_ = scheduler_.asyncAfter(1.5, [self, requestedPIDs] {
        if (self)
            self->verifyQuit(requestedPIDs);
    });
}

void SessionExits::verifyQuit(const std::map<QString, std::set<qint32>>& requestedPIDs)
{
    pendingQuitVerification_ = WorkItem();
    QStringList stillRunning;
    for (const auto& app : services_.workspace->runningApplications()) {
        const auto bundleID = app->bundleIdentifier();
        if (!bundleID || app->isTerminated())
            continue;
        const auto it = requestedPIDs.find(*bundleID);
        if (it != requestedPIDs.end() && it->second.contains(app->processIdentifier()))
            stillRunning << runningApplicationText(*app);
    }
    if (!stillRunning.isEmpty())
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral(
                        "Allowed VESK app termination incomplete after graceful quit delay — stillRunning=[%1]")
                        .arg(stillRunning.join(QStringLiteral("; "))));
    else
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Allowed VESK app termination verified — no matching processes still running, "
                                   "requestedPIDs=")
                        + processIdentifierListText(requestedPIDs));
}

} // namespace vesk
