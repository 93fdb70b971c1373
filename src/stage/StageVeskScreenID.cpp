#include "stage/StageVeskScreenID.h"

#include <algorithm>

namespace vesk {

namespace {

double overlapArea(const Rect& a, const Rect& b)
{
    const Rect common = a.intersected(b);
    return common.isNull() ? 0 : common.width * common.height;
}

std::optional<platform::ScreenInfo> mainOrFirstScreen(const platform::ScreenProviding& screens)
{
    if (auto main = screens.mainScreen())
        return main;
    const auto all = screens.screens();
    if (all.empty())
        return std::nullopt;
    return all.front();
}

} // namespace

StageVeskScreenID StageVeskScreenID::of(const platform::ScreenInfo& screen)
{
    return StageVeskScreenID{screen.displayID.value_or(0)};
}

std::vector<StageVeskScreenID> StageVeskScreenID::allScreenIDs(const platform::ScreenProviding& screens)
{
    std::vector<StageVeskScreenID> ids;
    for (const platform::ScreenInfo& screen : screens.screens())
        ids.push_back(of(screen));
    return ids;
}

std::optional<StageVeskScreenID> StageVeskScreenID::forPoint(const platform::ScreenProviding& screens, Point cocoaPoint)
{
    for (const platform::ScreenInfo& screen : screens.screens()) {
        if (rectFromQRectF(screen.frame).contains(cocoaPoint))
            return of(screen);
    }
    return std::nullopt;
}

StageVeskScreenID StageVeskScreenID::forRect(const platform::ScreenProviding& screens, const Rect& cocoaRect)
{
    const auto all = screens.screens();
    if (all.empty())
        return {};
    const platform::ScreenInfo* best = &all.front();
    double bestOverlap = overlapArea(rectFromQRectF(best->frame), cocoaRect);
    for (const platform::ScreenInfo& screen : all) {
        const double overlap = overlapArea(rectFromQRectF(screen.frame), cocoaRect);
        if (overlap > bestOverlap) {
            best = &screen;
            bestOverlap = overlap;
        }
    }
    if (rectFromQRectF(best->frame).intersects(cocoaRect))
        return of(*best);
    if (auto holder = forPoint(screens, {cocoaRect.midX(), cocoaRect.midY()}))
        return *holder;
    return mainScreenID(screens);
}

StageVeskScreenID StageVeskScreenID::mainScreenID(const platform::ScreenProviding& screens)
{
    const auto main = mainOrFirstScreen(screens);
    return main ? of(*main) : StageVeskScreenID{};
}

std::optional<platform::ScreenInfo> StageVeskScreenID::screen(const platform::ScreenProviding& screens,
                                                              std::optional<StageVeskScreenID> id)
{
    if (!id)
        return mainOrFirstScreen(screens);
    for (const platform::ScreenInfo& candidate : screens.screens()) {
        if (of(candidate) == *id)
            return candidate;
    }
    return std::nullopt;
}

Rect StageVeskScreenID::defaultWindowFrame(const platform::ScreenProviding& screens,
                                           std::optional<StageVeskScreenID> id)
{
    auto found = screen(screens, id);
    if (!found)
        found = mainOrFirstScreen(screens);
    if (!found)
        return {220, 80, 1064, 664};
    const Rect frame = rectFromQRectF(found->frame);
    return {frame.minX() + 190, frame.minY() + 80, std::max(frame.width - 220, 640.0),
            std::max(frame.height - 160, 420.0)};
}

} // namespace vesk
