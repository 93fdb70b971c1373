#pragma once

#include "analytics/client/SignalParameters.h"

#include <QString>

#include <optional>

namespace vesk::telemetry {

class TelemetryManagerConfiguration;

// What the client's manager asks of the part that builds, caches and sends signals.
class SignalManageable {
public:
    virtual ~SignalManageable() = default;
    // Builds the signal's body and adds it to the cache.
    virtual void processSignal(const QString& signalType, const SignalParameters& parameters,
                               std::optional<double> floatValue, const std::optional<QString>& customUserID,
                               const TelemetryManagerConfiguration& configuration) = 0;
    // Sends the next batch of cached signals now.
    virtual void attemptToSendNextBatchOfCachedSignals() = 0;
    // The configuration's default user, else the identifier kept in the
    // client's suite (created on first use), else a fresh one.
    virtual QString defaultUserIdentifier() = 0;
};

} // namespace vesk::telemetry
