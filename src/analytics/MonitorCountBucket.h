#pragma once

#include <QString>

namespace vesk {

// The number of screens at a session start, as analytics reports it.
enum class MonitorCountBucket { one, two, threeOrMore };

// Fewer than two screens (also none) count as one.
MonitorCountBucket monitorCountBucket(qint64 screenCount);
// "1", "2", "3+".
QString label(MonitorCountBucket bucket);

} // namespace vesk
