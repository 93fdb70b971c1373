#pragma once

#include "core/RawValue.h"

#include <QHashFunctions>
#include <QString>

#include <array>

namespace vesk {

// A stage function that can be switched on or off per screen.
enum class VeskScreenFunction { appsBar, targetMode, controlBar };

inline QString toRaw(VeskScreenFunction function)
{
    switch (function) {
    case VeskScreenFunction::appsBar:
        return QStringLiteral("appsBar");
    case VeskScreenFunction::targetMode:
        return QStringLiteral("targetMode");
    case VeskScreenFunction::controlBar:
        return QStringLiteral("controlBar");
    }
    return {};
}

// The identifier of a screen function is its raw value.
inline QString identifier(VeskScreenFunction function)
{
    return toRaw(function);
}

template <>
struct EnumCases<VeskScreenFunction> {
    static constexpr std::array values{VeskScreenFunction::appsBar, VeskScreenFunction::targetMode,
                                       VeskScreenFunction::controlBar};
};

inline size_t qHash(VeskScreenFunction function, size_t seed = 0) noexcept
{
    return qHash(toRaw(function), seed);
}

} // namespace vesk
