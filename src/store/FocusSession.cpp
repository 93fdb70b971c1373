#include "store/FocusSession.h"

#include "store/ColumnReader.h"
#include "store/GoalRule.h"

namespace vesk {

FocusSession FocusSession::make(const QUuid& id, const QDateTime& startedAt, qint64 durationSeconds,
                                const std::optional<QString>& goal, const QStringList& allowedAppBundleIDs,
                                const QStringList& allAllowedAppBundleIDs)
{
    FocusSession session;
    session.id = id;
    session.startedAt = startedAt;
    session.durationSeconds = durationSeconds;
    session.allowedAppBundleIDs = allowedAppBundleIDs;
    session.allAllowedAppBundleIDs = allAllowedAppBundleIDs;
    session.isActive = true;
    session.goalText = goalRule(goal);
    return session;
}

const std::vector<ModelColumn>& FocusSession::columns()
{
    static const std::vector<ModelColumn> columns{
        {"id", "TEXT"},
        {"startedAt", "TEXT"},
        {"endedAt", "TEXT"},
        {"durationSeconds", "INTEGER"},
        {"allowedAppBundleIDs", "TEXT"},
        {"allAllowedAppBundleIDs", "TEXT"},
        {"isActive", "INTEGER"},
        {"endReason", "TEXT"},
        {"goalText", "TEXT"},
        {"goalStatus", "TEXT"},
        {"veskHelpful", "TEXT"},
        {"goalNote", "TEXT"},
        {"goalAnsweredAt", "TEXT"},
    };
    return columns;
}

QVariantList FocusSession::toColumns() const
{
    return {
        encodeUuid(id),
        encodeDate(startedAt),
        encodeDate(endedAt),
        QVariant::fromValue(durationSeconds),
        encodeList(allowedAppBundleIDs),
        encodeList(allAllowedAppBundleIDs),
        QVariant::fromValue(isActive ? 1 : 0),
        encodeText(endReason),
        encodeText(goalText),
        goalStatus ? QVariant(toRaw(*goalStatus)) : QVariant(),
        veskHelpful ? QVariant(toRaw(*veskHelpful)) : QVariant(),
        encodeText(goalNote),
        encodeDate(goalAnsweredAt),
    };
}

StoreResult<FocusSession> FocusSession::fromColumns(const QVariantList& values)
{
    ColumnReader reader(tableName(), columns(), values);
    FocusSession session;
    session.id = reader.uuid(0);
    session.startedAt = reader.date(1);
    session.endedAt = reader.optionalDate(2);
    session.durationSeconds = reader.integer(3);
    session.allowedAppBundleIDs = reader.list(4);
    session.allAllowedAppBundleIDs = reader.list(5);
    session.isActive = reader.boolean(6);
    session.endReason = reader.optionalText(7);
    session.goalText = reader.optionalText(8);
    session.goalStatus = reader.optionalRaw<GoalStatus>(9);
    session.veskHelpful = reader.optionalRaw<VeskHelpful>(10);
    session.goalNote = reader.optionalText(11);
    session.goalAnsweredAt = reader.optionalDate(12);
    if (reader.error())
        return *reader.error();
    return session;
}

} // namespace vesk
