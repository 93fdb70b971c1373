#include "session/ClockText.h"

#include <algorithm>
#include <cmath>

namespace vesk {

qint64 elapsedWholeSeconds(const QDateTime& start, const QDateTime& end)
{
    const double seconds = static_cast<double>(start.msecsTo(end)) / 1000.0;
    return std::max<qint64>(0, std::llround(seconds));
}

QString minutesSecondsText(qint64 seconds)
{
    const qint64 s = std::max<qint64>(0, seconds);
    return QString::asprintf("%02lld:%02lld", s / 60, s % 60);
}

QString hoursMinutesSecondsText(qint64 seconds)
{
    const qint64 s = std::max<qint64>(0, seconds);
    return QString::asprintf("%02lld:%02lld:%02lld", s / 3600, (s % 3600) / 60, s % 60);
}

QString clockText(const QDateTime& start, const QDateTime& end)
{
    return hoursMinutesSecondsText(elapsedWholeSeconds(start, end));
}

} // namespace vesk
