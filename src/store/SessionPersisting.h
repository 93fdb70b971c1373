#pragma once

#include "store/GoalStatus.h"
#include "store/SessionEndReason.h"
#include "store/StoreResult.h"
#include "store/VeskHelpful.h"

#include <QDateTime>
#include <QStringList>
#include <QUuid>

#include <optional>

namespace vesk {

// Where the session engine records its sessions. Called on the main thread
// only. Every operation reports a store failure as a StoreError; the caller
// logs it and goes on. The current allowlist is kept in allowedAppBundleIDs,
// the historical one in allAllowedAppBundleIDs, both exactly as passed.
class SessionPersisting {
public:
    virtual ~SessionPersisting() = default;

    // Closes every record still marked active with the end reason crash, at
    // launch. Returns the number closed.
    virtual StoreResult<int> recoverOrphanedSessions(const QDateTime& recoveredAt) = 0;
    // Closes every record still marked active. Returns the number closed.
    virtual StoreResult<int> closeActiveSessions(const QDateTime& endedAt, SessionEndReason reason) = 0;
    virtual StoreResult<> createSessionRecord(const QUuid& id, const QDateTime& startedAt, qint64 durationSeconds,
                                              const std::optional<QString>& goal,
                                              const QStringList& allowedAppBundleIDs,
                                              const QStringList& allAllowedAppBundleIDs) = 0;
    virtual StoreResult<> updateSessionAllowlist(const QUuid& id, const QStringList& allowedAppBundleIDs,
                                                 const QStringList& allAllowedAppBundleIDs) = 0;
    virtual StoreResult<> stopSessionRecord(const QUuid& id, const QDateTime& endedAt, SessionEndReason reason,
                                            const QStringList& allowedAppBundleIDs,
                                            const QStringList& allAllowedAppBundleIDs) = 0;
    virtual StoreResult<> updateSessionReflection(const QUuid& id, std::optional<GoalStatus> goalStatus,
                                                  std::optional<VeskHelpful> veskHelpful,
                                                  const std::optional<QString>& note, const QDateTime& answeredAt) = 0;
};

} // namespace vesk
