#include "stage/StageVeskScreenID.h"

namespace vesk {

StageVeskScreenID StageVeskScreenID::of(const platform::ScreenInfo& screen)
{
    return StageVeskScreenID{screen.displayID.value_or(0)};
}

std::optional<StageVeskScreenID> StageVeskScreenID::forPoint(const platform::ScreenProviding& screens,
                                                             Point cocoaPoint)
{
    for (const platform::ScreenInfo& screen : screens.screens()) {
        if (rectFromQRectF(screen.frame).contains(cocoaPoint))
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
