#pragma once

#include "analytics/client/SignalParameters.h"

#include <optional>

namespace vesk::telemetry {

// An extra provider of payload entries, asked for every signal.
class SignalEnricher {
public:
    virtual ~SignalEnricher() = default;
    virtual SignalParameters payloadAdditions(const QString& signalType, const QString& clientUser,
                                              std::optional<double> floatValue) const = 0;
};

} // namespace vesk::telemetry
