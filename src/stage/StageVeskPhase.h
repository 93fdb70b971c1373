#pragma once

#include "core/RawValue.h"

#include <QString>

#include <array>

namespace vesk {

// The layout of the allowed windows on one screen.
enum class StageVeskPhase { focus, split, tri, quad, freestyle };

QString toRaw(StageVeskPhase phase);

template <>
struct EnumCases<StageVeskPhase> {
    static constexpr std::array values{StageVeskPhase::focus, StageVeskPhase::split, StageVeskPhase::tri,
                                       StageVeskPhase::quad, StageVeskPhase::freestyle};
};

} // namespace vesk
