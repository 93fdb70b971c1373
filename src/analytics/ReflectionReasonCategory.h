#pragma once

#include "core/RawValue.h"

#include <QString>

#include <array>

namespace vesk {

// Why a session went wrong, as the reflection card asks it. Stored and sent as
// its raw text; `fromRaw<ReflectionReasonCategory>` accepts exactly the five texts.
enum class ReflectionReasonCategory { distractionGotThrough, veskDisturbed, goalUnclear, technicalProblem, other };

QString toRaw(ReflectionReasonCategory category);

template <>
struct EnumCases<ReflectionReasonCategory> {
    static constexpr std::array values{ReflectionReasonCategory::distractionGotThrough,
                                       ReflectionReasonCategory::veskDisturbed, ReflectionReasonCategory::goalUnclear,
                                       ReflectionReasonCategory::technicalProblem, ReflectionReasonCategory::other};
};

} // namespace vesk
