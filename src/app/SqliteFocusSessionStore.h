#pragma once

#include "app/ModelContext.h"
#include "app/SessionPersisting.h"
#include "app/VeskLogger.h"

namespace vesk {

// The session records in the SQLite store, through the container's main
// context. Keeps no state of its own: every operation reads the records afresh.
class SqliteFocusSessionStore final : public SessionPersisting {
public:
    explicit SqliteFocusSessionStore(ModelContext& modelContext);

    StoreResult<int> recoverOrphanedSessions(const QDateTime& recoveredAt) override;
    StoreResult<int> closeActiveSessions(const QDateTime& endedAt, SessionEndReason reason) override;
    StoreResult<> createSessionRecord(const QUuid& id, const QDateTime& startedAt, qint64 durationSeconds,
                                      const std::optional<QString>& goal, const QStringList& allowedAppBundleIDs,
                                      const QStringList& allAllowedAppBundleIDs) override;
    StoreResult<> updateSessionAllowlist(const QUuid& id, const QStringList& allowedAppBundleIDs,
                                         const QStringList& allAllowedAppBundleIDs) override;
    StoreResult<> stopSessionRecord(const QUuid& id, const QDateTime& endedAt, SessionEndReason reason,
                                    const QStringList& allowedAppBundleIDs,
                                    const QStringList& allAllowedAppBundleIDs) override;
    StoreResult<> updateSessionReflection(const QUuid& id, std::optional<GoalStatus> goalStatus,
                                          std::optional<VeskHelpful> veskHelpful, const std::optional<QString>& note,
                                          const QDateTime& answeredAt) override;

private:
    // Active records, oldest start first.
    StoreResult<std::vector<std::shared_ptr<FocusSession>>> fetchActiveSessions();
    StoreResult<std::shared_ptr<FocusSession>> fetchSession(const QUuid& id);
    // The record a change is made to; none, with a warning that the change was
    // skipped, when there is no such record.
    StoreResult<std::shared_ptr<FocusSession>> fetchSessionToChange(const QUuid& id, const QString& change);

    ModelContext& modelContext_;
    const VeskLogger logger_{QStringLiteral("SqliteFocusSessionStore")};
};

} // namespace vesk
