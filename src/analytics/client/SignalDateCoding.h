#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace vesk::telemetry {

// The two forms a signal's date takes: on the wire a fixed text, in the cache
// file a number.

// "2024-03-05T14:07:09+0000": whole seconds in UTC, whatever the machine's
// time zone and locale.
QString wireDateText(const QDateTime& date);
// Reads "yyyy-MM-ddTHH:mm:ss" followed by an offset "+hhmm" or "-hhmm".
std::optional<QDateTime> dateFromWireText(const QString& text);

// Seconds since 2001-01-01 00:00:00 UTC, with the milliseconds as a fraction.
double secondsSinceReferenceDate(const QDateTime& date);
QDateTime dateFromSecondsSinceReferenceDate(double seconds);

} // namespace vesk::telemetry
