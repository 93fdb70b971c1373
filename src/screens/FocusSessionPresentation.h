#pragma once

#include "store/FocusSession.h"
#include "ui/Localizer.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTimeZone>

#include <optional>

namespace vesk {

namespace platform {
class FileBrowsing;
class Workspace;
} // namespace platform

// How the history shows one stored session: its texts and figures, read from
// the record and never written. Labels are German texts looked up through
// the caller's Localizer.

// "Europe/Berlin", the zone history dates are shown in on every machine; the
// system's own zone where that one is unknown. Made once, on first use.
const QTimeZone& historyTimeZone();
// The named zone, or the system's zone when the name is unknown.
QTimeZone historyTimeZoneNamed(const QByteArray& zoneID);

// The start as day and time in the locale's order ("05.03.2024, 15:07"),
// in `zone`.
QString dateLabel(const FocusSession& session, const QLocale& locale, const QTimeZone& zone);

// Seconds the session lasted: end minus start when it ended; else the planned
// duration; else (open-ended and still without an end) the time until `now`.
// Never negative.
qint64 effectiveDurationSeconds(const FocusSession& session, const QDateTime& now);

// "MM:SS" below an hour, "HH:MM:SS" from an hour on.
QString durationClockText(qint64 seconds);

// Where the history finds an application's location, shown name and icon.
struct AppDirectory {
    const platform::Workspace& workspace;
    const platform::FileBrowsing& files;
};

// The bundle identifiers the history shows for the session: every app allowed
// at some point, or the final allowlist when that list is empty.
const QStringList& shownAppBundleIDs(const FocusSession& session);

// The shown apps' names (a bundle identifier where no app is found), sorted
// case-insensitively for the locale, joined with ", ".
QString allowedAppsSummary(const FocusSession& session, const Localizer& localizer, const AppDirectory& apps);

QString endReasonLabel(const FocusSession& session, const Localizer& localizer);
QString goalStatusLabel(const FocusSession& session, const Localizer& localizer);
QString veskHelpfulLabel(const FocusSession& session, const Localizer& localizer);

// The goal and the note trimmed of whitespace and line breaks; none when
// missing or blank.
std::optional<QString> trimmedSessionText(std::optional<QString> FocusSession::*field, const FocusSession& session);
std::optional<QString> trimmedGoalText(const FocusSession& session);
std::optional<QString> trimmedGoalNote(const FocusSession& session);

} // namespace vesk
