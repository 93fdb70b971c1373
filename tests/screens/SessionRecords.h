#pragma once

#include "store/FocusSession.h"

#include <QDateTime>

#include <memory>
#include <optional>

namespace vesk::test {

// A finished session record as the history reads it: started at `start`
// (UTC), lasting `seconds`, ended by `endReason`.
inline std::shared_ptr<FocusSession> finishedSession(const QDateTime& start, qint64 seconds,
                                                     std::optional<QString> endReason = QStringLiteral("timerExpired"))
{
    auto session = std::make_shared<FocusSession>();
    session->id = QUuid::createUuid();
    session->startedAt = start;
    session->endedAt = start.addSecs(seconds);
    session->durationSeconds = seconds;
    session->isActive = false;
    session->endReason = std::move(endReason);
    return session;
}

inline QDateTime utc(int year, int month, int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

} // namespace vesk::test
