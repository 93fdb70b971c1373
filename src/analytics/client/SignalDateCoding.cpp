#include "analytics/client/SignalDateCoding.h"

#include <QRegularExpression>
#include <QTimeZone>

#include <cmath>

namespace vesk::telemetry {

namespace {

constexpr qint64 kReferenceDateMSecsSinceEpoch = 978307200000; // 2001-01-01T00:00:00Z

} // namespace

QString wireDateText(const QDateTime& date)
{
    return date.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + QStringLiteral("+0000");
}

std::optional<QDateTime> dateFromWireText(const QString& text)
{
    static const QRegularExpression form(QStringLiteral(R"(^(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)([+-])(\d\d)(\d\d)$)"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int offsetSeconds = (match.captured(3).toInt() * 3600 + match.captured(4).toInt() * 60)
                              * (match.captured(2) == QLatin1String("-") ? -1 : 1);
    const QDateTime local = QDateTime::fromString(match.captured(1), QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    if (!local.isValid())
        return std::nullopt;
    return QDateTime(local.date(), local.time(), QTimeZone(offsetSeconds)).toUTC();
}

double secondsSinceReferenceDate(const QDateTime& date)
{
    return static_cast<double>(date.toMSecsSinceEpoch() - kReferenceDateMSecsSinceEpoch) / 1000.0;
}

QDateTime dateFromSecondsSinceReferenceDate(double seconds)
{
    return QDateTime::fromMSecsSinceEpoch(kReferenceDateMSecsSinceEpoch + std::llround(seconds * 1000.0), Qt::UTC);
}

} // namespace vesk::telemetry
