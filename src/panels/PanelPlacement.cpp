#include "panels/PanelPlacement.h"

#include <algorithm>

namespace vesk {

std::optional<Point> panelOriginNearMouse(Size panelSize, Point mouseLocation,
                                          const std::vector<platform::ScreenInfo>& screens,
                                          const std::optional<platform::ScreenInfo>& mainScreen)
{
    const auto underMouse = std::find_if(screens.begin(), screens.end(), [&](const platform::ScreenInfo& screen) {
        return rectFromQRectF(screen.frame).contains(mouseLocation);
    });
    std::optional<platform::ScreenInfo> target = underMouse != screens.end() ? *underMouse : mainScreen;
    if (!target)
        return std::nullopt;

    const Rect visible = rectFromQRectF(target->visibleFrame);
    // max first, then min: the right and top edges win over the left and bottom.
    const double x = std::min(std::max(mouseLocation.x, visible.minX()), visible.maxX() - panelSize.width);
    const double y =
        std::min(std::max(mouseLocation.y - panelSize.height, visible.minY()), visible.maxY() - panelSize.height);
    return Point{x, y};
}

std::optional<Point> panelOriginNearMouse(Size panelSize, Point mouseLocation, const platform::ScreenProviding& screens)
{
    return panelOriginNearMouse(panelSize, mouseLocation, screens.screens(), screens.mainScreen());
}

} // namespace vesk
