#pragma once

#include "analytics/client/SystemFacts.h"

#include <QTimeZone>

namespace vesk::telemetry {

// The one source of system facts the analytics client reads.
class SystemFactsProviding {
public:
    virtual ~SystemFactsProviding() = default;
    virtual SystemFacts currentFacts() const = 0;
    // The current time zone (the one `currentFacts` holds), which day texts use.
    virtual QTimeZone timeZone() const = 0;
};

} // namespace vesk::telemetry
