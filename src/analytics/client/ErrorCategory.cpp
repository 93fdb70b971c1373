#include "analytics/client/ErrorCategory.h"

namespace vesk::telemetry {

QString toRaw(ErrorCategory category)
{
    switch (category) {
    case ErrorCategory::thrownException:
        return QStringLiteral("thrown-exception");
    case ErrorCategory::userInput:
        return QStringLiteral("user-input");
    case ErrorCategory::appState:
        return QStringLiteral("app-state");
    }
    return QString();
}

} // namespace vesk::telemetry
