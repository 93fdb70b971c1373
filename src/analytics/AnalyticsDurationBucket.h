#pragma once

#include <QString>

namespace vesk {

// A session duration as analytics reports it.
enum class AnalyticsDurationBucket { under15Minutes, from15To30Minutes, from30To60Minutes, from1To2Hours, over2Hours };

// Each lower edge belongs to the higher bucket; negative seconds fall into the first.
AnalyticsDurationBucket analyticsDurationBucket(qint64 seconds);
// "<15m", "15-30m", "30-60m", "1-2h", ">2h".
QString label(AnalyticsDurationBucket bucket);

} // namespace vesk
