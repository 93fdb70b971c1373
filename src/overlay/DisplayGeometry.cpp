#include "overlay/DisplayGeometry.h"

#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

constexpr double fullDisplayTolerance = 32.0;
constexpr double minimumPieceSize = 1.0;

bool hasPositiveSize(const Rect& rect)
{
    return !rect.isNull() && rect.width > 0 && rect.height > 0;
}

bool agreeWithin(double a, double b, double tolerance)
{
    return std::abs(a - b) <= tolerance;
}

// The display whose frame in one coordinate system (`frameIn` picks which)
// overlaps the rect most; ties and no overlap go to the first display.
DisplayGeometry::DisplayFrame mostOverlappingFrame(const std::vector<DisplayGeometry::DisplayFrame>& frames,
                                                   const Rect& rect, Rect DisplayGeometry::DisplayFrame::*frameIn)
{
    if (frames.empty())
        return {};
    const DisplayGeometry::DisplayFrame* best = &frames.front();
    double bestArea = intersectionArea(rect, best->*frameIn);
    for (const DisplayGeometry::DisplayFrame& frame : frames) {
        const double area = intersectionArea(rect, frame.*frameIn);
        if (area > bestArea) {
            best = &frame;
            bestArea = area;
        }
    }
    return *best;
}

} // namespace

bool rectsApproximatelyEqual(const Rect& a, const Rect& b, double tolerance)
{
    return agreeWithin(a.minX(), b.minX(), tolerance) && agreeWithin(a.minY(), b.minY(), tolerance)
           && agreeWithin(a.standardWidth(), b.standardWidth(), tolerance)
           && agreeWithin(a.standardHeight(), b.standardHeight(), tolerance);
}

double intersectionArea(const Rect& a, const Rect& b)
{
    const Rect overlap = a.intersected(b);
    if (overlap.isEmpty())
        return 0;
    return overlap.width * overlap.height;
}

DisplayGeometry::DisplayGeometry(std::vector<DisplayFrame> displayFrames)
{
    displayFrames_.reserve(displayFrames.size());
    screenFrames_.reserve(displayFrames.size());
    for (const DisplayFrame& frame : displayFrames) {
        if (!hasPositiveSize(frame.cocoaFrame) || !hasPositiveSize(frame.quartzFrame))
            continue;
        displayFrames_.push_back(frame);
        screenFrames_.push_back(frame.cocoaFrame);
        globalFrame_ = globalFrame_.united(frame.cocoaFrame);
        quartzGlobalFrame_ = quartzGlobalFrame_.united(frame.quartzFrame);
    }
}

DisplayGeometry DisplayGeometry::fromScreenFrames(const std::vector<Rect>& cocoaFrames)
{
    Rect usableUnion = Rect::null();
    for (const Rect& frame : cocoaFrames) {
        if (hasPositiveSize(frame))
            usableUnion = usableUnion.united(frame);
    }
    std::vector<DisplayFrame> frames;
    frames.reserve(cocoaFrames.size());
    for (const Rect& frame : cocoaFrames) {
        if (!hasPositiveSize(frame))
            continue;
        const Rect quartz{frame.minX(), usableUnion.maxY() - frame.maxY(), frame.width, frame.height};
        frames.push_back({frame, quartz});
    }
    return DisplayGeometry(std::move(frames));
}

std::optional<DisplayGeometry> DisplayGeometry::current(const platform::ScreenProviding& screens)
{
    std::vector<platform::ScreenInfo> usableScreens;
    std::vector<Rect> cocoaFrames;
    for (const platform::ScreenInfo& screen : screens.screens()) {
        const Rect frame = rectFromQRectF(screen.frame);
        if (!hasPositiveSize(frame))
            continue;
        usableScreens.push_back(screen);
        cocoaFrames.push_back(frame);
    }
    if (usableScreens.empty())
        return std::nullopt;

    const DisplayGeometry fallback = fromScreenFrames(cocoaFrames);
    std::vector<DisplayFrame> frames;
    frames.reserve(usableScreens.size());
    for (size_t i = 0; i < usableScreens.size(); ++i) {
        std::optional<QRectF> bounds;
        if (usableScreens[i].displayID)
            bounds = screens.displayBounds(*usableScreens[i].displayID);
        if (bounds && hasPositiveSize(rectFromQRectF(*bounds)))
            frames.push_back({cocoaFrames[i], rectFromQRectF(*bounds)});
        else
            frames.push_back(fallback.displayFrames()[i]);
    }
    return DisplayGeometry(std::move(frames));
}

DisplayGeometry::DisplayFrame DisplayGeometry::displayFrameForQuartzRect(const Rect& quartzRect) const
{
    return mostOverlappingFrame(displayFrames_, quartzRect, &DisplayFrame::quartzFrame);
}

DisplayGeometry::DisplayFrame DisplayGeometry::displayFrameForCocoaRect(const Rect& cocoaRect) const
{
    return mostOverlappingFrame(displayFrames_, cocoaRect, &DisplayFrame::cocoaFrame);
}

Rect DisplayGeometry::cocoaRect(const Rect& quartzRect, const DisplayFrame& display)
{
    return Rect{display.cocoaFrame.minX() + quartzRect.minX() - display.quartzFrame.minX(),
                display.cocoaFrame.minY() + display.quartzFrame.maxY() - quartzRect.maxY(), quartzRect.standardWidth(),
                quartzRect.standardHeight()};
}

Rect DisplayGeometry::quartzRect(const Rect& cocoaRect, const DisplayFrame& display)
{
    return Rect{display.quartzFrame.minX() + cocoaRect.minX() - display.cocoaFrame.minX(),
                display.quartzFrame.minY() + display.cocoaFrame.maxY() - cocoaRect.maxY(), cocoaRect.standardWidth(),
                cocoaRect.standardHeight()};
}

std::vector<Rect> DisplayGeometry::cocoaRectsForQuartzRect(const Rect& quartzRect) const
{
    std::vector<Rect> pieces;
    cocoaRectsForQuartzRect(quartzRect, pieces);
    return pieces;
}

void DisplayGeometry::cocoaRectsForQuartzRect(const Rect& quartzRect, std::vector<Rect>& pieces) const
{
    pieces.clear();
    for (const DisplayFrame& frame : displayFrames_) {
        const Rect piece = quartzRect.intersected(frame.quartzFrame);
        if (piece.isEmpty() || piece.width < minimumPieceSize || piece.height < minimumPieceSize)
            continue;
        pieces.push_back(cocoaRect(piece, frame));
    }
}

Point DisplayGeometry::cocoaPointFromQuartz(Point quartzPoint) const
{
    DisplayFrame display;
    bool found = false;
    for (const DisplayFrame& frame : displayFrames_) {
        if (frame.quartzFrame.contains(quartzPoint)) {
            display = frame;
            found = true;
            break;
        }
    }
    if (!found)
        display = nearestDisplayFrameToQuartzPoint(quartzPoint);
    return Point{display.cocoaFrame.minX() + quartzPoint.x - display.quartzFrame.minX(),
                 display.cocoaFrame.minY() + display.quartzFrame.maxY() - quartzPoint.y};
}

DisplayGeometry::DisplayFrame DisplayGeometry::nearestDisplayFrameToQuartzPoint(Point quartzPoint) const
{
    if (displayFrames_.empty())
        return {};
    const DisplayFrame* best = nullptr;
    double bestDistance = 0;
    for (const DisplayFrame& frame : displayFrames_) {
        const Rect& q = frame.quartzFrame;
        const double dx = std::max({0.0, q.minX() - quartzPoint.x, quartzPoint.x - q.maxX()});
        const double dy = std::max({0.0, q.minY() - quartzPoint.y, quartzPoint.y - q.maxY()});
        const double distance = dx * dx + dy * dy;
        if (!best || distance < bestDistance) {
            best = &frame;
            bestDistance = distance;
        }
    }
    return *best;
}

bool DisplayGeometry::matchesDisplay(const Rect& quartzRect, double tolerance) const
{
    for (const DisplayFrame& frame : displayFrames_) {
        if (rectsApproximatelyEqual(quartzRect, frame.quartzFrame, tolerance))
            return true;
    }
    if (quartzGlobalFrame_.isNull())
        return false;
    if (rectsApproximatelyEqual(quartzRect, quartzGlobalFrame_, tolerance))
        return true;
    return agreeWithin(quartzRect.minY(), quartzGlobalFrame_.minY(), tolerance)
           && agreeWithin(quartzRect.standardHeight(), quartzGlobalFrame_.standardHeight(), tolerance);
}

bool DisplayGeometry::isFullDisplayRect(const Rect& quartzRect) const
{
    return matchesDisplay(quartzRect, fullDisplayTolerance);
}

QString DisplayGeometry::description() const
{
    QString text;
    for (const DisplayFrame& frame : displayFrames_) {
        if (!text.isEmpty())
            text += QLatin1String("; ");
        text += QLatin1String("cocoa=") + toString(frame.cocoaFrame) + QLatin1String(", quartz=")
                + toString(frame.quartzFrame);
    }
    return text;
}

} // namespace vesk
