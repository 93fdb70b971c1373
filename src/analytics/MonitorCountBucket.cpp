#include "analytics/MonitorCountBucket.h"

namespace vesk {

MonitorCountBucket monitorCountBucket(qint64 screenCount)
{
    if (screenCount < 2)
        return MonitorCountBucket::one;
    if (screenCount == 2)
        return MonitorCountBucket::two;
    return MonitorCountBucket::threeOrMore;
}

QString label(MonitorCountBucket bucket)
{
    switch (bucket) {
    case MonitorCountBucket::one:
        return QStringLiteral("1");
    case MonitorCountBucket::two:
        return QStringLiteral("2");
    case MonitorCountBucket::threeOrMore:
        return QStringLiteral("3+");
    }
    return {};
}

} // namespace vesk
