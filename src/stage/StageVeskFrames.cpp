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

Rect cappedFrame(const Rect& frame, const Rect& area)
{
    return {frame.x, frame.y, std::min(frame.width, stageSizeShare * area.width),
            std::min(frame.height, stageSizeShare * area.height)};
}

Rect freestyleFrame(const Rect& area, double anchorX, double anchorY, double divisorX, double divisorY)
{
    const double width = std::min(std::max(0.72 * area.width, 360.0), 620.0);
    const double height = std::min(std::max(0.72 * area.height, 240.0), 460.0);
    const double x = area.minX() + anchorX / std::max(divisorX, 1.0) * area.width - width / 2;
    const double y = area.minY() + anchorY / std::max(divisorY, 1.0) * area.height - 28;
    return clampFrameToVisible({x, y, width, height}, area);
}

} // namespace vesk
