#include "platform/simulated/DesktopScreenProvider.h"

#include "platform/simulated/SimulatedDesktop.h"

namespace vesk::platform {

namespace {
ScreenInfo screenInfo(const DesktopDisplay& display)
{
    return ScreenInfo{display.displayID, display.frame, display.visibleFrame, display.name, display.scale};
}
} // namespace

std::vector<ScreenInfo> DesktopScreenProvider::screens() const
{
    std::vector<ScreenInfo> result;
    for (const DesktopDisplay& display : desktop_.displays())
        result.push_back(screenInfo(display));
    return result;
}

std::optional<ScreenInfo> DesktopScreenProvider::mainScreen() const
{
    const auto index = desktop_.mainDisplayIndex();
    if (!index)
        return std::nullopt;
    return screenInfo(desktop_.displays()[*index]);
}

QMetaObject::Connection DesktopScreenProvider::observeScreenParameters(QObject* receiver,
                                                                       std::function<void()> handler) const
{
    return QObject::connect(&desktop_, &SimulatedDesktop::screenParametersChanged, receiver, std::move(handler));
}

std::optional<QRectF> DesktopScreenProvider::displayBounds(quint32 displayID) const
{
    for (const DesktopDisplay& display : desktop_.displays()) {
        if (display.displayID == displayID) {
            if (!display.reportsBounds)
                return QRectF();
            return display.bounds;
        }
    }
    return std::nullopt;
}

} // namespace vesk::platform
