#include "stage/StageVeskScreenID.h"

namespace vesk {

namespace {

bool frameContains(const QRectF& frame, QPointF point)
{
    const QRectF r = frame.normalized();
    return point.x() >= r.left() && point.x() < r.right() && point.y() >= r.top() && point.y() < r.bottom();
}

} // namespace

StageVeskScreenID StageVeskScreenID::of(const platform::ScreenInfo& screen)
{
    return StageVeskScreenID{screen.displayID.value_or(0)};
}

std::optional<StageVeskScreenID> StageVeskScreenID::forPoint(const platform::ScreenProviding& screens,
                                                             QPointF cocoaPoint)
{
    for (const platform::ScreenInfo& screen : screens.screens()) {
        if (frameContains(screen.frame, cocoaPoint))
            return of(screen);
    }
    return std::nullopt;
}

StageVeskScreenID StageVeskScreenID::mainScreenID(const platform::ScreenProviding& screens)
{
    if (const auto main = screens.mainScreen())
        return of(*main);
    const auto all = screens.screens();
    return all.empty() ? StageVeskScreenID{} : of(all.front());
}

} // namespace vesk
