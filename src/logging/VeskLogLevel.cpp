#include "logging/VeskLogLevel.h"

namespace vesk {

QString logLevelLabel(VeskLogLevel level)
{
    switch (level) {
    case VeskLogLevel::debug:
        return QStringLiteral("DEBUG");
    case VeskLogLevel::info:
        return QStringLiteral("INFO");
    case VeskLogLevel::warning:
        return QStringLiteral("WARNING");
    case VeskLogLevel::error:
        return QStringLiteral("ERROR");
    }
    return QStringLiteral("INFO");
}

} // namespace vesk
