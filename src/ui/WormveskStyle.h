#pragma once

#include "core/RawValue.h"

#include <QHashFunctions>
#include <QString>

#include <array>

namespace vesk {

// The two looks of the start animation; the symbol and the galaxy backdrop
// follow it. Stored and logged by its raw text.
enum class WormveskStyle { cosmic, solar };

inline QString toRaw(WormveskStyle style)
{
    return style == WormveskStyle::cosmic ? QStringLiteral("cosmic") : QStringLiteral("solar");
}

template <>
struct EnumCases<WormveskStyle> {
    static constexpr std::array values{WormveskStyle::cosmic, WormveskStyle::solar};
};

inline size_t qHash(WormveskStyle style, size_t seed = 0) noexcept
{
    return qHash(toRaw(style), seed);
}

} // namespace vesk
