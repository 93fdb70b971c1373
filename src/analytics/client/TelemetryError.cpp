#include "analytics/client/TelemetryError.h"

namespace vesk::telemetry {

QString TelemetryError::localizedDescription() const
{
    switch (kind) {
    case Kind::encodeFailed:
        return QStringLiteral("Failed to encode signal batch: ") + underlyingError;
    case Kind::invalidEndpointUrl:
        return QStringLiteral("Invalid endpoint URL");
    }
    return {};
}

} // namespace vesk::telemetry
