#pragma once

#include "store/GoalStatus.h"
#include "store/ModelColumn.h"
#include "store/StoreResult.h"
#include "store/VeskHelpful.h"

#include <QDateTime>
#include <QStringList>
#include <QUuid>
#include <QVariantList>

#include <optional>
#include <vector>

namespace vesk {

// The stored record of one focus session. Records live in a ModelContext and
// are shared by pointer: two records are the same record when they are the
// same object, never because their fields match.
struct FocusSession {
    QUuid id;
    QDateTime startedAt;
    std::optional<QDateTime> endedAt;
    // Planned duration; 0 means open-ended.
    qint64 durationSeconds = 0;
    // The allowlist at the moment, and every app allowed at some point.
    QStringList allowedAppBundleIDs;
    QStringList allAllowedAppBundleIDs;
    bool isActive = true;
    // Raw text of SessionEndReason.
    std::optional<QString> endReason;
    std::optional<QString> goalText;
    std::optional<GoalStatus> goalStatus;
    std::optional<VeskHelpful> veskHelpful;
    std::optional<QString> goalNote;
    std::optional<QDateTime> goalAnsweredAt;

    // A new, active record; the goal goes through the goal rule.
    static FocusSession make(const QUuid& id, const QDateTime& startedAt, qint64 durationSeconds,
                             const std::optional<QString>& goal, const QStringList& allowedAppBundleIDs,
                             const QStringList& allAllowedAppBundleIDs);

    // Mapping to the table "FocusSession", one column per field in this order.
    static const char* tableName() { return "FocusSession"; }
    static const std::vector<ModelColumn>& columns();
    QVariantList toColumns() const;
    static StoreResult<FocusSession> fromColumns(const QVariantList& values);
};

} // namespace vesk
