#include "enforcement/AppMonitorPolicy.h"

namespace vesk {

bool AppMonitorPolicy::allowsFullSweep(const QString& reason, const std::optional<QDateTime>& lastFullSweepAt,
                                       const QDateTime& now) const
{
    if (reason == throttleExemptReason || !lastFullSweepAt)
        return true;
    return lastFullSweepAt->msecsTo(now) >= qint64(fullSweepThrottleInterval * 1000);
}

} // namespace vesk
