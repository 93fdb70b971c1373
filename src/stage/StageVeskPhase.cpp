#include "stage/StageVeskPhase.h"

#include <array>

namespace vesk {

namespace {

constexpr std::array kPhases = {StageVeskPhase::focus, StageVeskPhase::split, StageVeskPhase::tri,
                                StageVeskPhase::quad, StageVeskPhase::freestyle};

} // namespace

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

std::optional<StageVeskPhase> stageVeskPhaseFromRaw(const QString& raw)
{
    for (StageVeskPhase phase : kPhases) {
        if (toRaw(phase) == raw)
            return phase;
    }
    return std::nullopt;
}

} // namespace vesk
