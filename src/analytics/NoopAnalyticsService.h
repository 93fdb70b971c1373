#pragma once

#include "analytics/AnalyticsTracking.h"

namespace vesk {

// Drops every event; held until the application start-up sets the real service.
class NoopAnalyticsService final : public AnalyticsTracking {
public:
    void track(const AnalyticsEvent& event) override;
};

} // namespace vesk
