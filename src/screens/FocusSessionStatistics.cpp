#include "screens/FocusSessionStatistics.h"

#include "core/Clock.h"
#include "screens/FocusSessionPresentation.h"

#include <QLocale>

#include <cmath>

namespace vesk {

namespace {

double helpfulValue(VeskHelpful helpful)
{
    switch (helpful) {
    case VeskHelpful::yes:
        return 1.0;
    case VeskHelpful::somewhat:
        return 0.5;
    case VeskHelpful::no:
        return 0.0;
    }
    return 0.0;
}

bool isAnswered(const FocusSession& session)
{
    return session.goalStatus || session.veskHelpful || trimmedGoalNote(session);
}

// Tenths of an hour, a tie going to the even tenth; counted in whole seconds
// so that no binary fraction decides a tie.
qint64 roundedTenthsOfHour(qint64 seconds)
{
    const qint64 secondsPerTenth = 360;
    qint64 tenths = seconds / secondsPerTenth;
    const qint64 rest = seconds % secondsPerTenth;
    if (2 * rest > secondsPerTenth || (2 * rest == secondsPerTenth && tenths % 2 == 1))
        ++tenths;
    return tenths;
}

} // namespace

FocusSessionStatistics computeHistoryStatistics(const std::vector<std::shared_ptr<FocusSession>>& sessions,
                                                const Clock& clock)
{
    FocusSessionStatistics statistics;
    statistics.sessionCount = static_cast<qint64>(sessions.size());
    double helpfulSum = 0;
    qint64 helpfulAnswers = 0;
    for (const auto& session : sessions) {
        if (session->goalStatus == GoalStatus::done)
            ++statistics.doneCount;
        else if (session->goalStatus == GoalStatus::partial)
            ++statistics.partialCount;
        else if (session->goalStatus == GoalStatus::failed)
            ++statistics.failedCount;
        if (session->veskHelpful == VeskHelpful::yes)
            ++statistics.helpfulYesCount;
        else if (session->veskHelpful == VeskHelpful::somewhat)
            ++statistics.helpfulSomewhatCount;
        else if (session->veskHelpful == VeskHelpful::no)
            ++statistics.helpfulNoCount;
        if (session->veskHelpful) {
            helpfulSum += helpfulValue(*session->veskHelpful);
            ++helpfulAnswers;
        }
        if (isAnswered(*session))
            ++statistics.answeredCount;
        statistics.totalFocusSeconds += effectiveDurationSeconds(*session, clock.now());
    }
    if (helpfulAnswers > 0)
        statistics.helpfulScore = helpfulSum / static_cast<double>(helpfulAnswers);
    return statistics;
}

QString FocusSessionStatistics::percentText() const
{
    if (!helpfulScore)
        return QStringLiteral("—");
    return QString::number(std::llround(*helpfulScore * 100.0)) + QStringLiteral(" %");
}

QString FocusSessionStatistics::focusMinutesText() const
{
    if (totalFocusSeconds < 3600)
        return QString::number(totalFocusSeconds / 60) + QStringLiteral(" min");
    const qint64 tenths = roundedTenthsOfHour(totalFocusSeconds);
    QLocale german(QLocale::German, QLocale::Germany);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString hours =
        tenths % 10 == 0 ? german.toString(tenths / 10) : german.toString(static_cast<double>(tenths) / 10.0, 'f', 1);
    return hours + QStringLiteral(" h");
}

QString FocusSessionStatistics::outcomeCountsText() const
{
    return QStringLiteral("%1 · %2 · %3").arg(doneCount).arg(partialCount).arg(failedCount);
}

} // namespace vesk
