#include "overlay/PanelScreen.h"

namespace vesk {

std::optional<QString> panelScreenName(const platform::ScreenProviding& screens, const Rect& cocoaFrame)
{
    std::optional<QString> best;
    double bestArea = 0;
    for (const auto& screen : screens.screens()) {
        const Rect common = rectFromQRectF(screen.frame).intersected(cocoaFrame);
        const double area = common.isNull() ? 0 : common.standardWidth() * common.standardHeight();
        if (area > bestArea) {
            bestArea = area;
            best = screen.name;
        }
    }
    return best;
}

QString panelScreenLabel(const platform::ScreenProviding& screens, const Rect& cocoaFrame)
{
    return panelScreenName(screens, cocoaFrame).value_or(QStringLiteral("unknown"));
}

} // namespace vesk
