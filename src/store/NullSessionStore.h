#pragma once

#include "store/SessionPersisting.h"

namespace vesk {

// Stores nothing: the session engine's store until start-up hands it the real one.
class NullSessionStore final : public SessionPersisting {
public:
    StoreResult<int> recoverOrphanedSessions(const QDateTime&) override { return 0; }
    StoreResult<int> closeActiveSessions(const QDateTime&, SessionEndReason) override { return 0; }
    StoreResult<> createSessionRecord(const QUuid&, const QDateTime&, qint64, const std::optional<QString>&,
                                      const QStringList&, const QStringList&) override
    {
        return {};
    }
    StoreResult<> updateSessionAllowlist(const QUuid&, const QStringList&, const QStringList&) override { return {}; }
    StoreResult<> stopSessionRecord(const QUuid&, const QDateTime&, SessionEndReason, const QStringList&,
                                    const QStringList&) override
    {
        return {};
    }
    StoreResult<> updateSessionReflection(const QUuid&, std::optional<GoalStatus>, std::optional<VeskHelpful>,
                                          const std::optional<QString>&, const QDateTime&) override
    {
        return {};
    }
};

} // namespace vesk
