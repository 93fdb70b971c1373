#pragma once

#include "logging/VeskLogger.h"
#include "session/SessionServices.h"
#include "session/SessionState.h"
#include "store/SessionEndReason.h"

#include <QDateTime>
#include <QString>
#include <QUuid>

#include <optional>

namespace vesk {

// The session's record in the store: created at the start, kept in step with
// the allowlist, closed at the stop; records an earlier run left open are
// closed at launch. A store failure is logged and the session goes on.
class SessionRecords {
public:
    SessionRecords(const SessionServices& services, const SessionState& state);

    // Closes records left active (as crashes), then creates the session's one.
    void persistStart(const QUuid& focusSessionID, const QDateTime& startedAt, int durationSeconds,
                      const std::optional<QString>& goal);
    void persistAllowlistUpdate();
    void persistStop(SessionEndReason reason, const QDateTime& stoppedAt);
    void recoverOrphanedSessions(const QDateTime& now);

private:
    const SessionServices& services_;
    const SessionState& state_;
    VeskLogger logger_{QStringLiteral("SessionManager")};
};

} // namespace vesk
