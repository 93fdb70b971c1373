#pragma once

#include <QString>

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

} // namespace vesk
