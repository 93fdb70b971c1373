#include "screens/FocusSessionPresentation.h"

#include "core/RawValue.h"
#include "platform/FileBrowsing.h"
#include "platform/Workspace.h"
#include "session/ClockText.h"
#include "store/SessionEndReason.h"

#include <QCollator>

#include <algorithm>

namespace vesk {

namespace {

constexpr const char* context = "SessionHistoryView";

// The day-and-time pattern per language, in the order each writes them.
QString dateTimePattern(const QLocale& locale)
{
    switch (locale.language()) {
    case QLocale::English:
        return locale.territory() == QLocale::UnitedStates || locale.territory() == QLocale::AnyTerritory
                   ? QStringLiteral("MM/dd/yyyy, HH:mm")
                   : QStringLiteral("dd/MM/yyyy, HH:mm");
    case QLocale::French:
        return QStringLiteral("dd/MM/yyyy HH:mm");
    case QLocale::Italian:
    case QLocale::Spanish:
        return QStringLiteral("dd/MM/yyyy, HH:mm");
    default:
        return QStringLiteral("dd.MM.yyyy, HH:mm");
    }
}

const char* endReasonText(const std::optional<QString>& raw)
{
    const auto reason = raw ? fromRaw<SessionEndReason>(*raw) : std::nullopt;
    if (!reason)
        return QT_TRANSLATE_NOOP("SessionHistoryView", "Unbekannter Abschluss");
    switch (*reason) {
    case SessionEndReason::timerExpired:
        return QT_TRANSLATE_NOOP("SessionHistoryView", "Timer abgelaufen");
    case SessionEndReason::manualStop:
        return QT_TRANSLATE_NOOP("SessionHistoryView", "Manuell beendet");
    case SessionEndReason::emergencyExit:
        return QT_TRANSLATE_NOOP("SessionHistoryView", "Notausgang");
    case SessionEndReason::noAllowedWindows:
        return QT_TRANSLATE_NOOP("SessionHistoryView", "Keine erlaubten Fenster");
    case SessionEndReason::appTerminate:
        return QT_TRANSLATE_NOOP("SessionHistoryView", "App wurde beendet");
    case SessionEndReason::crash:
        return QT_TRANSLATE_NOOP("SessionHistoryView", "Nach Absturz beendet");
    }
    return QT_TRANSLATE_NOOP("SessionHistoryView", "Unbekannter Abschluss");
}

const char* goalStatusText(std::optional<GoalStatus> status)
{
    if (!status)
        return QT_TRANSLATE_NOOP("SessionHistoryView", "Nicht beantwortet");
    switch (*status) {
    case GoalStatus::done:
        return QT_TRANSLATE_NOOP("SessionHistoryView", "Erledigt");
    case GoalStatus::partial:
        return QT_TRANSLATE_NOOP("SessionHistoryView", "Teilweise");
    case GoalStatus::failed:
        return QT_TRANSLATE_NOOP("SessionHistoryView", "Nicht geschafft");
    }
    return QT_TRANSLATE_NOOP("SessionHistoryView", "Nicht beantwortet");
}

const char* helpfulText(std::optional<VeskHelpful> helpful)
{
    if (!helpful)
        return QT_TRANSLATE_NOOP("SessionHistoryView", "Nicht beantwortet");
    switch (*helpful) {
    case VeskHelpful::yes:
        return QT_TRANSLATE_NOOP("SessionHistoryView", "Ja");
    case VeskHelpful::somewhat:
        return QT_TRANSLATE_NOOP("SessionHistoryView", "Etwas");
    case VeskHelpful::no:
        return QT_TRANSLATE_NOOP("SessionHistoryView", "Nein");
    }
    return QT_TRANSLATE_NOOP("SessionHistoryView", "Nicht beantwortet");
}

QString appName(const QString& bundleID, const AppDirectory& apps)
{
    const auto location = apps.workspace.urlForApplication(bundleID);
    return location ? apps.files.displayNameAtPath(*location) : bundleID;
}

} // namespace

QTimeZone historyTimeZoneNamed(const QByteArray& zoneID)
{
    QTimeZone zone(zoneID);
    return zone.isValid() ? zone : QTimeZone::systemTimeZone();
}

const QTimeZone& historyTimeZone()
{
    static const QTimeZone zone = historyTimeZoneNamed("Europe/Berlin");
    return zone;
}

QString dateLabel(const FocusSession& session, const QLocale& locale, const QTimeZone& zone)
{
    return locale.toString(session.startedAt.toTimeZone(zone), dateTimePattern(locale));
}

qint64 effectiveDurationSeconds(const FocusSession& session, const QDateTime& now)
{
    if (session.endedAt)
        return elapsedWholeSeconds(session.startedAt, *session.endedAt);
    if (session.durationSeconds != 0)
        return std::max<qint64>(0, session.durationSeconds);
    return elapsedWholeSeconds(session.startedAt, now);
}

QString durationClockText(qint64 seconds)
{
    return seconds < 3600 ? minutesSecondsText(seconds) : hoursMinutesSecondsText(seconds);
}

const QStringList& shownAppBundleIDs(const FocusSession& session)
{
    return session.allAllowedAppBundleIDs.isEmpty() ? session.allowedAppBundleIDs : session.allAllowedAppBundleIDs;
}

QString allowedAppsSummary(const FocusSession& session, const Localizer& localizer, const AppDirectory& apps)
{
    QStringList names;
    for (const QString& bundleID : shownAppBundleIDs(session))
        names.append(appName(bundleID, apps));
    if (names.isEmpty())
        return localizer.translate("SessionHistoryView", "Keine Apps gespeichert");
    QCollator collator(localizer.locale());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(),
                     [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    return names.join(QStringLiteral(", "));
}

QString endReasonLabel(const FocusSession& session, const Localizer& localizer)
{
    return localizer.translate(context, endReasonText(session.endReason));
}

QString goalStatusLabel(const FocusSession& session, const Localizer& localizer)
{
    return localizer.translate(context, goalStatusText(session.goalStatus));
}

QString veskHelpfulLabel(const FocusSession& session, const Localizer& localizer)
{
    return localizer.translate(context, helpfulText(session.veskHelpful));
}

std::optional<QString> trimmedSessionText(std::optional<QString> FocusSession::*field, const FocusSession& session)
{
    const std::optional<QString>& text = session.*field;
    if (!text)
        return std::nullopt;
    QString trimmed = text->trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    return trimmed;
}

std::optional<QString> trimmedGoalText(const FocusSession& session)
{
    return trimmedSessionText(&FocusSession::goalText, session);
}

std::optional<QString> trimmedGoalNote(const FocusSession& session)
{
    return trimmedSessionText(&FocusSession::goalNote, session);
}

} // namespace vesk
