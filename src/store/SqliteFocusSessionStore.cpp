#include "store/SqliteFocusSessionStore.h"

#include "core/TextFormat.h"
#include "store/GoalRule.h"

namespace vesk {

namespace {

template <typename E>
QString rawOrNil(const std::optional<E>& value)
{
    return value ? toRaw(*value) : QStringLiteral("nil");
}

void markEnded(FocusSession& session, const QDateTime& endedAt, SessionEndReason reason)
{
    session.endedAt = endedAt;
    session.endReason = toRaw(reason);
    session.isActive = false;
}

} // namespace

SqliteFocusSessionStore::SqliteFocusSessionStore(ModelContext& modelContext) : modelContext_(modelContext)
{
}

StoreResult<std::vector<std::shared_ptr<FocusSession>>> SqliteFocusSessionStore::fetchActiveSessions()
{
    return modelContext_.fetch<FocusSession>({
        .predicate = [](const FocusSession& session) { return session.isActive; },
        .sortBefore = [](const FocusSession& a, const FocusSession& b) { return a.startedAt < b.startedAt; },
    });
}

StoreResult<std::shared_ptr<FocusSession>> SqliteFocusSessionStore::fetchSession(const QUuid& id)
{
    auto fetched = modelContext_.fetch<FocusSession>({
        .predicate = [&id](const FocusSession& session) { return session.id == id; },
        .fetchLimit = 1,
    });
    if (!fetched)
        return fetched.error();
    return fetched.value().empty() ? nullptr : fetched.value().front();
}

StoreResult<> SqliteFocusSessionStore::changeSession(const QUuid& id, const QString& change,
                                                     const std::function<void(FocusSession&)>& apply,
                                                     const std::function<void(const FocusSession&)>& report)
{
    auto found = fetchSession(id);
    if (!found)
        return found.error();
    const std::shared_ptr<FocusSession>& session = found.value();
    if (!session) {
        logger_.log(
            VeskLogLevel::warning,
            QStringLiteral("Skipped FocusSession %1 because record was not found — id=%2").arg(change, uuidText(id)));
        return {};
    }
    apply(*session);
    if (auto saved = modelContext_.save(); !saved)
        return saved;
    report(*session);
    return {};
}

StoreResult<int> SqliteFocusSessionStore::closeActiveSessions(const QDateTime& endedAt, SessionEndReason reason)
{
    auto active = fetchActiveSessions();
    if (!active)
        return active.error();
    if (active.value().empty())
        return 0;
    for (const std::shared_ptr<FocusSession>& session : active.value())
        markEnded(*session, endedAt, reason);
    if (auto saved = modelContext_.save(); !saved)
        return saved.error();
    const int count = static_cast<int>(active.value().size());
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Closed %1 active persisted sessions — reason=%2").arg(count).arg(toRaw(reason)));
    return count;
}

StoreResult<int> SqliteFocusSessionStore::recoverOrphanedSessions(const QDateTime& recoveredAt)
{
    auto closed = closeActiveSessions(recoveredAt, SessionEndReason::crash);
    if (!closed)
        return closed;
    if (closed.value() <= 0) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("No orphaned persisted sessions found during launch recovery"));
    } else {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Recovered %1 orphaned persisted sessions").arg(closed.value()));
    }
    return closed;
}

StoreResult<> SqliteFocusSessionStore::createSessionRecord(const QUuid& id, const QDateTime& startedAt,
                                                           qint64 durationSeconds, const std::optional<QString>& goal,
                                                           const QStringList& allowedAppBundleIDs,
                                                           const QStringList& allAllowedAppBundleIDs)
{
    auto session = std::make_shared<FocusSession>(
        FocusSession::make(id, startedAt, durationSeconds, goal, allowedAppBundleIDs, allAllowedAppBundleIDs));
    modelContext_.insert(session);
    if (auto saved = modelContext_.save(); !saved)
        return saved;
    logger_.log(VeskLogLevel::info, QStringLiteral("Created FocusSession record — id=%1, allowedApps=%2, hasGoal=%3")
                                        .arg(uuidText(id))
                                        .arg(allowedAppBundleIDs.size())
                                        .arg(boolText(session->goalText.has_value())));
    return {};
}

StoreResult<> SqliteFocusSessionStore::updateSessionAllowlist(const QUuid& id, const QStringList& allowedAppBundleIDs,
                                                              const QStringList& allAllowedAppBundleIDs)
{
    return changeSession(
        id, QStringLiteral("update"),
        [&](FocusSession& session) {
            session.allowedAppBundleIDs = allowedAppBundleIDs;
            session.allAllowedAppBundleIDs = allAllowedAppBundleIDs;
        },
        [&](const FocusSession&) {
            logger_.log(VeskLogLevel::info,
                        QStringLiteral("Updated FocusSession allowlist — id=%1, currentApps=%2, historicalApps=%3")
                            .arg(uuidText(id))
                            .arg(allowedAppBundleIDs.size())
                            .arg(allAllowedAppBundleIDs.size()));
        });
}

StoreResult<> SqliteFocusSessionStore::stopSessionRecord(const QUuid& id, const QDateTime& endedAt,
                                                         SessionEndReason reason,
                                                         const QStringList& allowedAppBundleIDs,
                                                         const QStringList& allAllowedAppBundleIDs)
{
    return changeSession(
        id, QStringLiteral("stop"),
        [&](FocusSession& session) {
            session.allowedAppBundleIDs = allowedAppBundleIDs;
            session.allAllowedAppBundleIDs = allAllowedAppBundleIDs;
            markEnded(session, endedAt, reason);
        },
        [&](const FocusSession&) {
            logger_.log(VeskLogLevel::info, QStringLiteral("Stopped FocusSession record — id=%1, reason=%2")
                                                .arg(uuidText(id), toRaw(reason)));
        });
}

StoreResult<> SqliteFocusSessionStore::updateSessionReflection(const QUuid& id, std::optional<GoalStatus> goalStatus,
                                                               std::optional<VeskHelpful> veskHelpful,
                                                               const std::optional<QString>& note,
                                                               const QDateTime& answeredAt)
{
    return changeSession(
        id, QStringLiteral("reflection update"),
        [&](FocusSession& session) {
            session.goalStatus = goalStatus;
            session.veskHelpful = veskHelpful;
            session.goalNote = noteRule(note);
            session.goalAnsweredAt = answeredAt;
        },
        [&](const FocusSession& session) {
            logger_.log(VeskLogLevel::info,
                        QStringLiteral(
                            "Updated FocusSession reflection — id=%1, goalStatus=%2, veskHelpful=%3, hasNote=%4")
                            .arg(uuidText(id), rawOrNil(goalStatus), rawOrNil(veskHelpful),
                                 boolText(session.goalNote.has_value())));
        });
}

} // namespace vesk
