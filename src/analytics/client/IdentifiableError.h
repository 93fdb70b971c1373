#pragma once

#include <QString>

namespace vesk::telemetry {

// An error that names itself with a stable identifier for error signals.
class IdentifiableError {
public:
    virtual ~IdentifiableError() = default;
    virtual QString id() const = 0;
    virtual QString localizedDescription() const = 0;
};

} // namespace vesk::telemetry
