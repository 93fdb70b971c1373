#pragma once

#include "core/RawValue.h"

#include <QHashFunctions>
#include <QString>

#include <array>

namespace vesk {

// The title-bar control of an allowed window that a swallowed click hit.
enum class MouseBlockerControlAction { close, minimize, zoom };

inline QString toRaw(MouseBlockerControlAction action)
{
    switch (action) {
    case MouseBlockerControlAction::close:
        return QStringLiteral("close");
    case MouseBlockerControlAction::minimize:
        return QStringLiteral("minimize");
    case MouseBlockerControlAction::zoom:
        return QStringLiteral("zoom");
    }
    return {};
}

template <>
struct EnumCases<MouseBlockerControlAction> {
    static constexpr std::array values{MouseBlockerControlAction::close, MouseBlockerControlAction::minimize,
                                       MouseBlockerControlAction::zoom};
};

inline size_t qHash(MouseBlockerControlAction action, size_t seed = 0) noexcept
{
    return qHash(toRaw(action), seed);
}

} // namespace vesk
