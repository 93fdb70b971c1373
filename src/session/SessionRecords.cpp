#include "session/SessionRecords.h"

#include "core/TextFormat.h"

#include <QStringList>

namespace vesk {

namespace {

QStringList sortedList(const std::set<QString>& ids)
{
    return QStringList(ids.begin(), ids.end());
}

} // namespace

SessionRecords::SessionRecords(const SessionServices& services, const SessionState& state)
    : services_(services)
    , state_(state)
{
}

void SessionRecords::persistStart(const QUuid& focusSessionID, const QDateTime& startedAt, int durationSeconds,
                                  const std::optional<QString>& goal)
{
    const auto closed = services_.sessionStore->closeActiveSessions(startedAt, SessionEndReason::crash);
    if (!closed) {
        logger_.log(VeskLogLevel::error,
                    QStringLiteral("Failed to persist session start: ") + closed.error().description);
        return;
    }
    if (closed.value() >= 1)
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Closed %1 stale active FocusSession records before starting a new session")
                        .arg(closed.value()));
    const auto created = services_.sessionStore->createSessionRecord(focusSessionID, startedAt, durationSeconds, goal,
                                                                     sortedList(state_.currentAllowlist()),
                                                                     sortedList(state_.allPersistedAllowedBundleIDs));
    if (!created) {
        logger_.log(VeskLogLevel::error,
                    QStringLiteral("Failed to persist session start: ") + created.error().description);
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Persisted session start — focusSessionID=%1, hasGoal=%2")
                                        .arg(uuidText(focusSessionID), boolText(goal.has_value())));
}

void SessionRecords::persistAllowlistUpdate()
{
    if (!state_.activeFocusSessionID) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Skipping allowlist persistence update because no active "
                                                        "FocusSession ID is available"));
        return;
    }
    const auto stored = services_.sessionStore->updateSessionAllowlist(*state_.activeFocusSessionID,
                                                                       sortedList(state_.currentAllowlist()),
                                                                       sortedList(state_.allPersistedAllowedBundleIDs));
    if (!stored) {
        logger_.log(VeskLogLevel::error,
                    QStringLiteral("Failed to persist dynamic allowlist update: ") + stored.error().description);
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Persisted dynamic allowlist update — focusSessionID=")
                                        + uuidText(*state_.activeFocusSessionID));
}

void SessionRecords::persistStop(SessionEndReason reason, const QDateTime& stoppedAt)
{
    if (!state_.activeFocusSessionID) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Skipping session stop persistence because no active FocusSession ID is available"));
        return;
    }
    const auto stored = services_.sessionStore->stopSessionRecord(*state_.activeFocusSessionID, stoppedAt, reason,
                                                                  sortedList(state_.currentAllowlist()),
                                                                  sortedList(state_.allPersistedAllowedBundleIDs));
    if (!stored) {
        logger_.log(VeskLogLevel::error,
                    QStringLiteral("Failed to persist session stop: ") + stored.error().description);
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Persisted session stop — focusSessionID=%1, reason=%2")
                                        .arg(uuidText(*state_.activeFocusSessionID), toRaw(reason)));
}

void SessionRecords::recoverOrphanedSessions(const QDateTime& now)
{
    const auto recovered = services_.sessionStore->recoverOrphanedSessions(now);
    if (!recovered) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Failed to recover orphaned FocusSession records: ")
                                             + recovered.error().description);
        return;
    }
    if (recovered.value() < 1)
        logger_.log(VeskLogLevel::debug, QStringLiteral("No orphaned FocusSession records required launch recovery"));
    else
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Recovered %1 orphaned FocusSession records on launch").arg(recovered.value()));
}

} // namespace vesk
