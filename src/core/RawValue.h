#pragma once

#include <QString>

#include <optional>

namespace vesk {

// Enumerations stored by their raw text specialise EnumCases with the list of
// all cases in declaration order and provide toRaw(E) next to the enum.
template <typename E>
struct EnumCases;

template <typename E>
constexpr auto allCases()
{
    return EnumCases<E>::values;
}

// Exact, case-sensitive match against the raw texts; anything else is no value.
template <typename E>
std::optional<E> fromRaw(const QString& raw)
{
    for (E value : allCases<E>()) {
        if (toRaw(value) == raw)
            return value;
    }
    return std::nullopt;
}

} // namespace vesk
