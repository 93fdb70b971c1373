#include "overlay/ScreenSeams.h"

#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

constexpr double minimumBridgeSize = 1.0;
constexpr double seamLabelTolerance = 2.0;
constexpr double seamLabelProbeOffset = 1.0;

bool within(double a, double b, double tolerance)
{
    return std::abs(a - b) <= tolerance;
}

bool overlapsHorizontally(const Rect& a, const Rect& b)
{
    return std::max(a.minX(), b.minX()) < std::min(a.maxX(), b.maxX());
}

bool overlapsVertically(const Rect& a, const Rect& b)
{
    return std::max(a.minY(), b.minY()) < std::min(a.maxY(), b.maxY());
}

void appendBridge(std::vector<Rect>& rects, const Rect& bridge)
{
    if (bridge.isEmpty() || bridge.width < minimumBridgeSize || bridge.height < minimumBridgeSize)
        return;
    if (std::find(rects.begin(), rects.end(), bridge) == rects.end())
        rects.push_back(bridge);
}

// Another display has an edge at `edge` (within the tolerance), as read by `edgeOf`.
template <typename EdgeOf>
bool hasNeighbour(const DisplayGeometry& geometry, const Rect& screenFrame, double edge, EdgeOf edgeOf)
{
    for (const Rect& other : geometry.screenFrames()) {
        if (other != screenFrame && within(edgeOf(other), edge, seamLabelTolerance))
            return true;
    }
    return false;
}

QString seamLabel(const char* edge, double coordinate)
{
    return QLatin1String(edge) + QString::number(qint64(std::trunc(coordinate)));
}

} // namespace

void appendSeamBridgeRects(const DisplayGeometry& geometry, std::vector<Rect>& rects, const Rect& windowRect,
                           const Rect& screenFrame)
{
    const Rect& w = windowRect;
    const Rect& s = screenFrame;
    const std::vector<Rect>& displays = geometry.screenFrames();

    if (within(w.maxY(), s.maxY(), kBridgeEdgeTolerance)) {
        for (const Rect& t : displays) {
            if (t != s && within(t.minY(), s.maxY(), kBridgeEdgeTolerance) && overlapsHorizontally(w, t))
                appendBridge(rects, t.intersected(Rect{w.minX(), s.maxY(), w.standardWidth(), kBridgeDepth}));
        }
    }
    if (within(w.minY(), s.minY(), kBridgeEdgeTolerance)) {
        for (const Rect& t : displays) {
            if (t != s && within(t.maxY(), s.minY(), kBridgeEdgeTolerance) && overlapsHorizontally(w, t))
                appendBridge(rects,
                             t.intersected(Rect{w.minX(), s.minY() - kBridgeDepth, w.standardWidth(), kBridgeDepth}));
        }
    }
    if (within(w.maxX(), s.maxX(), kBridgeEdgeTolerance)) {
        for (const Rect& t : displays) {
            if (t != s && within(t.minX(), s.maxX(), kBridgeEdgeTolerance) && overlapsVertically(w, t))
                appendBridge(rects, t.intersected(Rect{s.maxX(), w.minY(), kBridgeDepth, w.standardHeight()}));
        }
    }
    if (within(w.minX(), s.minX(), kBridgeEdgeTolerance)) {
        for (const Rect& t : displays) {
            if (t != s && within(t.maxX(), s.minX(), kBridgeEdgeTolerance) && overlapsVertically(w, t))
                appendBridge(rects,
                             t.intersected(Rect{s.minX() - kBridgeDepth, w.minY(), kBridgeDepth, w.standardHeight()}));
        }
    }
}

std::vector<Rect> dragBridgeRects(const std::map<QString, Rect>& dragPassthroughWindowRectsByBundleID,
                                  const DisplayGeometry& geometry)
{
    std::vector<Rect> bridges;
    std::vector<Rect> windowBridges;
    for (const auto& [bundleID, windowRect] : dragPassthroughWindowRectsByBundleID) {
        if (windowRect.isEmpty())
            continue;
        windowBridges.clear();
        for (const Rect& screenFrame : geometry.screenFrames()) {
            if (screenFrame.intersects(windowRect))
                appendSeamBridgeRects(geometry, windowBridges, windowRect, screenFrame);
        }
        for (const Rect& bridge : windowBridges) {
            if (std::find(bridges.begin(), bridges.end(), bridge) == bridges.end())
                bridges.push_back(bridge);
        }
    }
    return bridges;
}

QString describeSeamEdge(const Rect& rect, const DisplayGeometry& geometry)
{
    const auto minX = [](const Rect& r) { return r.minX(); };
    const auto maxX = [](const Rect& r) { return r.maxX(); };
    const auto minY = [](const Rect& r) { return r.minY(); };
    const auto maxY = [](const Rect& r) { return r.maxY(); };

    for (const Rect& s : geometry.screenFrames()) {
        if (within(rect.maxY(), s.maxY(), seamLabelTolerance)
            && !s.contains(Point{rect.midX(), rect.maxY() + seamLabelProbeOffset})
            && hasNeighbour(geometry, s, s.maxY(), minY))
            return seamLabel("top@", s.maxY());
        if (within(rect.minY(), s.minY(), seamLabelTolerance)
            && !s.contains(Point{rect.midX(), rect.minY() - seamLabelProbeOffset})
            && hasNeighbour(geometry, s, s.minY(), maxY))
            return seamLabel("bottom@", s.minY());
        if (within(rect.maxX(), s.maxX(), seamLabelTolerance)
            && !s.contains(Point{rect.maxX() + seamLabelProbeOffset, rect.midY()})
            && hasNeighbour(geometry, s, s.maxX(), minX))
            return seamLabel("right@", s.maxX());
        if (within(rect.minX(), s.minX(), seamLabelTolerance)
            && !s.contains(Point{rect.minX() - seamLabelProbeOffset, rect.midY()})
            && hasNeighbour(geometry, s, s.minX(), maxX))
            return seamLabel("left@", s.minX());
    }
    return QStringLiteral("none");
}

QString describeScreenForRect(const Rect& rect, const DisplayGeometry& geometry,
                              const std::vector<platform::ScreenInfo>& screens)
{
    const std::vector<Rect>& frames = geometry.screenFrames();
    std::optional<size_t> best;
    double bestArea = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        const double area = intersectionArea(rect, frames[i]);
        if (area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    if (!best)
        return QStringLiteral("n/a");

    QString name = QStringLiteral("screen") + QString::number(*best);
    for (const platform::ScreenInfo& screen : screens) {
        if (rectFromQRectF(screen.frame) == frames[*best]) {
            name = screen.name;
            break;
        }
    }
    return QLatin1Char('[') + QString::number(*best) + QLatin1Char(']') + name;
}

std::optional<QString> describeScreenContainingPoint(Point cocoaPoint, const std::vector<platform::ScreenInfo>& screens)
{
    for (size_t i = 0; i < screens.size(); ++i) {
        if (rectFromQRectF(screens[i].frame).contains(cocoaPoint))
            return QLatin1Char('[') + QString::number(i) + QLatin1Char(']') + screens[i].name;
    }
    return std::nullopt;
}

} // namespace vesk
