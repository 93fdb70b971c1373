#include "analytics/NoopAnalyticsService.h"

namespace vesk {

void NoopAnalyticsService::track(const AnalyticsEvent&)
{
}

} // namespace vesk
