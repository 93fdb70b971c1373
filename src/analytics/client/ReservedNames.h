#pragma once

#include <QString>

namespace vesk::telemetry {

// Names the analytics service gives a meaning of its own.
class ReservedNames {
public:
    // Whether the name, in any letter case, is one of the service's own payload names.
    static bool isReservedName(const QString& name);
    // Whether the name begins with "Telemetry." in any letter case.
    static bool hasReservedPrefix(const QString& name);
    // The warnings logged for a signal name and a parameter key; none when
    // the name or key is free.
    static QString signalNameWarning(const QString& signalName);
    static QString parameterKeyWarning(const QString& key);
};

} // namespace vesk::telemetry
