#include "analytics/SetupDurationBucket.h"

namespace vesk {

SetupDurationBucket setupDurationBucket(qint64 seconds)
{
    if (seconds < 10)
        return SetupDurationBucket::under10Seconds;
    if (seconds < 30)
        return SetupDurationBucket::from10To30Seconds;
    if (seconds < 60)
        return SetupDurationBucket::from30To60Seconds;
    return SetupDurationBucket::over60Seconds;
}

QString label(SetupDurationBucket bucket)
{
    switch (bucket) {
    case SetupDurationBucket::under10Seconds:
        return QStringLiteral("<10s");
    case SetupDurationBucket::from10To30Seconds:
        return QStringLiteral("10-30s");
    case SetupDurationBucket::from30To60Seconds:
        return QStringLiteral("30-60s");
    case SetupDurationBucket::over60Seconds:
        return QStringLiteral(">60s");
    }
    return {};
}

} // namespace vesk
