#pragma once

#include <QString>

namespace vesk::telemetry {

// Why a batch could not be sent.
struct TelemetryError {
    enum class Kind { encodeFailed, invalidEndpointUrl };

    Kind kind;
    // The encoder's own reason, for encodeFailed.
    QString underlyingError;

    // "Failed to encode signal batch: <reason>", "Invalid endpoint URL".
    QString localizedDescription() const;
};

} // namespace vesk::telemetry
