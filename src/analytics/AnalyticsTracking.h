#pragma once

#include "analytics/AnalyticsEvent.h"

namespace vesk {

// Sends usage events as analytics signals, unless the user switched analytics off.
class AnalyticsTracking {
public:
    virtual ~AnalyticsTracking() = default;
    // Never fails towards the caller.
    virtual void track(const AnalyticsEvent& event) = 0;
};

} // namespace vesk
