#include "stage/StageVeskFrames.h"

#include <algorithm>

namespace vesk {

Rect clampFrameToVisible(const Rect& frame, const Rect& area)
{
    const double lowestX = area.minX() - 0.7 * frame.width;
    const double highestX = area.maxX() - 0.3 * frame.width;
    const double x = std::min(highestX, std::max(frame.minX(), lowestX));
    const double y = std::min(area.maxY() - 28, std::max(frame.minY(), area.minY()));
    return {x, y, frame.width, frame.height};
}

Rect fitScaledFrame(const Rect& frame, double scale, const Rect& area)
{
    const double width = std::min(area.width * scale, frame.width);
    const double height = std::min(area.height * scale, frame.height);
    const double x = std::min(area.maxX() - width, std::max(frame.minX(), area.minX()));
    const double y = std::min(area.maxY() - height, std::max(frame.minY(), area.minY()));
    return {x, y, width, height};
}

} // namespace vesk
