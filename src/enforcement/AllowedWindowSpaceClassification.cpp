#include "enforcement/AllowedWindowSpaceClassification.h"

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

QString AllowedWindowSpaceClassification::description() const
{
    return QStringLiteral("spaceState=%1, onScreenWindows=%2, allWindows=%3, minimized=%4, axTotal=%5")
        .arg(toRaw(state))
        .arg(onScreenWindows)
        .arg(allWindows)
        .arg(minimizedWindows)
        .arg(totalAXWindows);
}

} // namespace vesk
