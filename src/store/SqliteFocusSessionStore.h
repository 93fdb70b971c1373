#pragma once

#include "logging/VeskLogger.h"
#include "store/ModelContext.h"
#include "store/SessionPersisting.h"

#include <functional>

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
    // Fetches the record, applies the change, saves and then reports it. A
    // missing record is skipped with a warning naming the change.
    StoreResult<> changeSession(const QUuid& id, const QString& change, const std::function<void(FocusSession&)>& apply,
                                const std::function<void(const FocusSession&)>& report);

    ModelContext& modelContext_;
    const VeskLogger logger_{QStringLiteral("SqliteFocusSessionStore")};
};

} // namespace vesk
