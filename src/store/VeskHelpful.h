#pragma once

#include "core/RawValue.h"

#include <QHashFunctions>
#include <QString>

#include <array>

namespace vesk {

// The reflection answer to "did the session help". Stored as its raw text.
enum class VeskHelpful { yes, somewhat, no };

inline QString toRaw(VeskHelpful helpful)
{
    switch (helpful) {
    case VeskHelpful::yes:
        return QStringLiteral("yes");
    case VeskHelpful::somewhat:
        return QStringLiteral("somewhat");
    case VeskHelpful::no:
        return QStringLiteral("no");
    }
    return {};
}

template <>
struct EnumCases<VeskHelpful> {
    static constexpr std::array values{VeskHelpful::yes, VeskHelpful::somewhat, VeskHelpful::no};
};

inline size_t qHash(VeskHelpful helpful, size_t seed = 0) noexcept
{
    return qHash(toRaw(helpful), seed);
}

} // namespace vesk
