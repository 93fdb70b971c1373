#include "stage/StageVeskPhase.h"

namespace vesk {

QString toRaw(StageVeskPhase phase)
{
    switch (phase) {
    case StageVeskPhase::focus:
        return QStringLiteral("focus");
    case StageVeskPhase::split:
        return QStringLiteral("split");
    case StageVeskPhase::tri:
        return QStringLiteral("tri");
    case StageVeskPhase::quad:
        return QStringLiteral("quad");
    case StageVeskPhase::freestyle:
        return QStringLiteral("freestyle");
    }
    return {};
}

} // namespace vesk
