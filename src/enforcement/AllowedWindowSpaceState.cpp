#include "enforcement/AllowedWindowSpaceState.h"

namespace vesk {

QString toRaw(AllowedWindowSpaceState state)
{
    switch (state) {
    case AllowedWindowSpaceState::notRunning:
        return QStringLiteral("notRunning");
    case AllowedWindowSpaceState::hidden:
        return QStringLiteral("hidden");
    case AllowedWindowSpaceState::onActiveSpace:
        return QStringLiteral("onActiveSpace");
    case AllowedWindowSpaceState::minimized:
        return QStringLiteral("minimized");
    case AllowedWindowSpaceState::onOtherSpace:
        return QStringLiteral("onOtherSpace");
    case AllowedWindowSpaceState::noWindows:
        return QStringLiteral("noWindows");
    }
    return {};
}

} // namespace vesk
