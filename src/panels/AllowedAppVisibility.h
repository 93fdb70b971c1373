#pragma once

#include <QString>

namespace vesk {

// What the HUD and the quick-access panel show for an allowed application.
enum class AllowedAppVisibility { visible, occluded, minimized, onOtherSpace, notRunning };

inline QString toRaw(AllowedAppVisibility visibility)
{
    switch (visibility) {
    case AllowedAppVisibility::visible:
        return QStringLiteral("visible");
    case AllowedAppVisibility::occluded:
        return QStringLiteral("occluded");
    case AllowedAppVisibility::minimized:
        return QStringLiteral("minimized");
    case AllowedAppVisibility::onOtherSpace:
        return QStringLiteral("onOtherSpace");
    case AllowedAppVisibility::notRunning:
        return QStringLiteral("notRunning");
    }
    return {};
}

} // namespace vesk
