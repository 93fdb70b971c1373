#pragma once

#include "core/RawValue.h"

#include <QHashFunctions>
#include <QString>

#include <array>

namespace vesk {

// The reflection answer to "was the goal reached". Stored as its raw text.
enum class GoalStatus { done, partial, failed };

inline QString toRaw(GoalStatus status)
{
    switch (status) {
    case GoalStatus::done:
        return QStringLiteral("done");
    case GoalStatus::partial:
        return QStringLiteral("partial");
    case GoalStatus::failed:
        return QStringLiteral("failed");
    }
    return {};
}

template <>
struct EnumCases<GoalStatus> {
    static constexpr std::array values{GoalStatus::done, GoalStatus::partial, GoalStatus::failed};
};

inline size_t qHash(GoalStatus status, size_t seed = 0) noexcept
{
    return qHash(toRaw(status), seed);
}

} // namespace vesk
