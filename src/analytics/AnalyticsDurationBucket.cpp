#include "analytics/AnalyticsDurationBucket.h"

namespace vesk {

AnalyticsDurationBucket analyticsDurationBucket(qint64 seconds)
{
    if (seconds < 900)
        return AnalyticsDurationBucket::under15Minutes;
    if (seconds < 1800)
        return AnalyticsDurationBucket::from15To30Minutes;
    if (seconds < 3600)
        return AnalyticsDurationBucket::from30To60Minutes;
    if (seconds < 7200)
        return AnalyticsDurationBucket::from1To2Hours;
    return AnalyticsDurationBucket::over2Hours;
}

QString label(AnalyticsDurationBucket bucket)
{
    switch (bucket) {
    case AnalyticsDurationBucket::under15Minutes:
        return QStringLiteral("<15m");
    case AnalyticsDurationBucket::from15To30Minutes:
        return QStringLiteral("15-30m");
    case AnalyticsDurationBucket::from30To60Minutes:
        return QStringLiteral("30-60m");
    case AnalyticsDurationBucket::from1To2Hours:
        return QStringLiteral("1-2h");
    case AnalyticsDurationBucket::over2Hours:
        return QStringLiteral(">2h");
    }
    return {};
}

} // namespace vesk
