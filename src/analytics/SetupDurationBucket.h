#pragma once

#include <QString>

namespace vesk {

// The time spent on the setup screen before a start, as analytics reports it.
enum class SetupDurationBucket { under10Seconds, from10To30Seconds, from30To60Seconds, over60Seconds };

SetupDurationBucket setupDurationBucket(qint64 seconds);
// "<10s", "10-30s", "30-60s", ">60s".
QString label(SetupDurationBucket bucket);

} // namespace vesk
