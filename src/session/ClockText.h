#pragma once

#include <QDateTime>
#include <QString>

namespace vesk {

// The clock texts of sessions: elapsed and planned times as the countdown,
// the reflection card and the history show them. Hours and minutes are never
// capped ("100:00:00", "125:07").

// Whole seconds from `start` to `end`, rounded to the nearest second (halves
// away from zero); an end before the start gives 0.
qint64 elapsedWholeSeconds(const QDateTime& start, const QDateTime& end);

// "MM:SS": minutes and seconds; negative seconds count as 0.
QString minutesSecondsText(qint64 seconds);

// "HH:MM:SS": hours, minutes and seconds; negative seconds count as 0.
QString hoursMinutesSecondsText(qint64 seconds);

// The elapsed time from `start` to `end` as "HH:MM:SS": the countdown of an
// open-ended session (start of the session, now).
QString clockText(const QDateTime& start, const QDateTime& end);

} // namespace vesk
