#include "analytics/ReflectionReasonCategory.h"

namespace vesk {

QString toRaw(ReflectionReasonCategory category)
{
    switch (category) {
    case ReflectionReasonCategory::distractionGotThrough:
        return QStringLiteral("distractionGotThrough");
    case ReflectionReasonCategory::veskDisturbed:
        return QStringLiteral("veskDisturbed");
    case ReflectionReasonCategory::goalUnclear:
        return QStringLiteral("goalUnclear");
    case ReflectionReasonCategory::technicalProblem:
        return QStringLiteral("technicalProblem");
    case ReflectionReasonCategory::other:
        return QStringLiteral("other");
    }
    return {};
}

} // namespace vesk
