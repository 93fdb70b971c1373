#include "enforcement/MouseBlockerClickDecision.h"

#include "overlay/OverlayBackingPanel.h"
#include "overlay/OverlayPanel.h"

#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

constexpr double registeredRectMargin = 4.0;
constexpr double controlZoneWidth = 88.0;
constexpr double controlZoneHeight = 32.0;
constexpr double edgeBand = 8.0;
constexpr double minimumAllowedWindowAlpha = 0.1;
constexpr double windowManagerDisplayTolerance = 32.0;
constexpr double screenCaptureDisplayTolerance = 2.0;

const QString screenCaptureBundleID = QStringLiteral("com.apple.screencaptureui");

using Reason = MouseBlockerClickDecision::Reason;

bool isOwnOverlayPanel(const AllowedWindowSnapshot& snapshot, const QString& veskBundleID)
{
    return snapshot.bundleID == veskBundleID && snapshot.layer == OverlayPanel::windowLevel();
}

bool isDisplaySizedWindowManagerSurface(const AllowedWindowSnapshot& snapshot, const DisplayGeometry& geometry)
{
    return snapshot.bundleID == kWindowManagerBundleID
           && geometry.matchesDisplay(snapshot.bounds, windowManagerDisplayTolerance);
}

// A display-sized surface above the normal layer: a screen capture's, or any full-display window.
bool isDisplaySizedSurfaceAboveNormal(const AllowedWindowSnapshot& snapshot, const DisplayGeometry& geometry)
{
    if (snapshot.layer < 1)
        return false;
    if (snapshot.bundleID == screenCaptureBundleID
        && geometry.matchesDisplay(snapshot.bounds, screenCaptureDisplayTolerance))
        return true;
    return geometry.isFullDisplayRect(snapshot.bounds);
}

bool anyContains(const std::vector<Rect>& rects, Point point)
{
    return std::any_of(rects.begin(), rects.end(), [point](const Rect& rect) { return rect.contains(point); });
}

bool inRegisteredVeskControlRect(const std::vector<Rect>& rects, Point cocoaPoint)
{
    return std::any_of(rects.begin(), rects.end(), [cocoaPoint](const Rect& rect) {
        return rect.insetBy(-registeredRectMargin, -registeredRectMargin).contains(cocoaPoint);
    });
}

// Within the edge band of a window rect: no more than 8 points from some edge.
bool inEdgeBand(const Rect& windowRect, Point point)
{
    return std::abs(point.x - windowRect.minX()) <= edgeBand || std::abs(windowRect.maxX() - point.x) <= edgeBand
           || std::abs(point.y - windowRect.minY()) <= edgeBand || std::abs(windowRect.maxY() - point.y) <= edgeBand;
}

// The first fragment whose window the click touches near an edge, outside
// its control zone.
const OverlayAllowedWindowFragment* edgeBandFragment(const std::vector<OverlayAllowedWindowFragment>& fragments,
                                                     Point cocoaPoint,
                                                     const platform::WindowControlZoneProviding* controlZones)
{
    for (const OverlayAllowedWindowFragment& fragment : fragments) {
        if (!fragment.rect.contains(cocoaPoint) || !fragment.windowRect.contains(cocoaPoint))
            continue;
        if (!inEdgeBand(fragment.windowRect, cocoaPoint)
            || windowControlZone(fragment.windowRect, fragment.windowID, controlZones).contains(cocoaPoint))
            continue;
        return &fragment;
    }
    return nullptr;
}

const OverlayAllowedWindowFragment* fragmentContaining(const std::vector<OverlayAllowedWindowFragment>& fragments,
                                                       Point cocoaPoint)
{
    for (const OverlayAllowedWindowFragment& fragment : fragments) {
        if (fragment.rect.contains(cocoaPoint))
            return &fragment;
    }
    return nullptr;
}

MouseBlockerClickDecision decided(MouseBlockerClickDecision decision, bool allowed, Reason reason,
                                  std::optional<QString> passthroughBundleID = std::nullopt)
{
    decision.isAllowed = allowed;
    decision.reason = reason;
    decision.passthroughBundleID = std::move(passthroughBundleID);
    return decision;
}

} // namespace

Rect windowControlZone(const Rect& cocoaWindowRect)
{
    // Hung from the window's top edge, so that a window lower than the zone
    // is control zone all the way up.
    const double height = std::min(cocoaWindowRect.standardHeight(), controlZoneHeight);
    return Rect{cocoaWindowRect.minX(), cocoaWindowRect.maxY() - height,
                std::min(cocoaWindowRect.standardWidth(), controlZoneWidth), height};
}

Rect windowControlZone(const Rect& cocoaWindowRect, std::optional<quint32> windowID,
                       const platform::WindowControlZoneProviding* controlZones)
{
    if (!controlZones)
        return windowControlZone(cocoaWindowRect);
    return rectFromQRectF(controlZones->controlZone(windowID, toQRectF(cocoaWindowRect)));
}

const AllowedWindowSnapshot* topmostWindow(const std::vector<AllowedWindowSnapshot>& snapshots,
                                           const QString& veskBundleID, Point quartzPoint)
{
    for (const AllowedWindowSnapshot& snapshot : snapshots) {
        if (snapshot.bounds.contains(quartzPoint) && !isOwnOverlayPanel(snapshot, veskBundleID))
            return &snapshot;
    }
    return nullptr;
}

const AllowedWindowSnapshot* hitWindow(const std::vector<AllowedWindowSnapshot>& snapshots, const QString& veskBundleID,
                                       const DisplayGeometry& geometry, Point quartzPoint)
{
    for (const AllowedWindowSnapshot& snapshot : snapshots) {
        if (!snapshot.bounds.contains(quartzPoint) || isOwnOverlayPanel(snapshot, veskBundleID))
            continue;
        if (snapshot.bundleID == kWindowManagerBundleID) {
            if (isDisplaySizedWindowManagerSurface(snapshot, geometry))
                continue;
            return &snapshot;
        }
        if (isDisplaySizedSurfaceAboveNormal(snapshot, geometry))
            continue;
        return &snapshot;
    }
    return nullptr;
}

bool isAllowedHit(const AllowedWindowSnapshot* hit, const std::set<QString>& allowedBundleIDs,
                  const QString& veskBundleID)
{
    if (!hit || hit->bundleID == veskBundleID || hit->layer < 0)
        return false;
    return allowedBundleIDs.count(hit->bundleID) > 0;
}

const AllowedWindowSnapshot* frontmostAllowedWindow(const std::vector<AllowedWindowSnapshot>& snapshots,
                                                    const std::set<QString>& allowedBundleIDs,
                                                    const QString& veskBundleID, const DisplayGeometry& geometry,
                                                    Point quartzPoint)
{
    for (const AllowedWindowSnapshot& snapshot : snapshots) {
        if (!snapshot.bounds.contains(quartzPoint) || snapshot.alpha <= minimumAllowedWindowAlpha)
            continue;
        if (isDisplaySizedWindowManagerSurface(snapshot, geometry)
            || isDisplaySizedSurfaceAboveNormal(snapshot, geometry))
            continue;
        if (snapshot.layer < 0 || snapshot.bundleID == veskBundleID)
            continue;
        if (allowedBundleIDs.count(snapshot.bundleID))
            return &snapshot;
    }
    return nullptr;
}

MouseBlockerClickDecision decideMouseClick(const std::vector<AllowedWindowSnapshot>& snapshots,
                                           const std::set<QString>& allowedBundleIDs, const QString& veskBundleID,
                                           const DisplayGeometry& geometry, const std::vector<Rect>& passthroughRects,
                                           const std::vector<Rect>& registeredVeskControlRects, Point quartzPoint,
                                           const platform::WindowControlZoneProviding* controlZones)
{
    const std::vector<AllowedWindowSnapshot> windows = excludingFinderDesktopWindows(snapshots, geometry);
    const AllowedWindowSnapshot* top = topmostWindow(windows, veskBundleID, quartzPoint);

    MouseBlockerClickDecision decision;
    decision.quartzPoint = quartzPoint;
    decision.cocoaPoint = geometry.cocoaPointFromQuartz(quartzPoint);
    if (top) {
        decision.topWindowBundleID = top->bundleID;
        decision.topWindowLayer = top->layer;
    }
    decision.registeredVeskControlRectCount = int(registeredVeskControlRects.size());

    if (inRegisteredVeskControlRect(registeredVeskControlRects, decision.cocoaPoint))
        return decided(decision, true, Reason::registeredVeskControlRect);
    if (top && top->bundleID == veskBundleID && top->layer > OverlayPanel::windowLevel())
        return decided(decision, true, Reason::veskControlWindow);

    const WindowClassification classification =
        classifyWindowSnapshots(windows, allowedBundleIDs, veskBundleID, geometry);
    return decideClassifiedMouseClick(decision, classification, windows, allowedBundleIDs, veskBundleID, geometry,
                                      passthroughRects, controlZones);
}

MouseBlockerClickDecision decideClassifiedMouseClick(MouseBlockerClickDecision decision,
                                                     const WindowClassification& classification,
                                                     const std::vector<AllowedWindowSnapshot>& snapshots,
                                                     const std::set<QString>& allowedBundleIDs,
                                                     const QString& veskBundleID, const DisplayGeometry& geometry,
                                                     const std::vector<Rect>& passthroughRects,
                                                     const platform::WindowControlZoneProviding* controlZones)
{
    decision.rawAllowedWindowCount = totalRectCount(classification.allowedWindowRectsByBundleID);
    decision.passthroughRectCount = int(classification.fragments.size());
    decision.blockerCount = int(classification.blockers.size());
    decision.ignoredBlockerCount = int(classification.ignoredBlockers.size());
    const Point quartzPoint = decision.quartzPoint;
    const Point cocoaPoint = decision.cocoaPoint;

    // The title-bar controls of an allowed window count even under another
    // application's window: the click becomes a window action, never a click.
    if (const AllowedWindowSnapshot* allowedWindow =
            frontmostAllowedWindow(snapshots, allowedBundleIDs, veskBundleID, geometry, quartzPoint)) {
        const Rect windowRect = DisplayGeometry::cocoaRect(allowedWindow->bounds,
                                                           geometry.displayFrameForQuartzRect(allowedWindow->bounds));
        if (windowControlZone(windowRect, allowedWindow->windowID, controlZones).contains(cocoaPoint)) {
            decision.isInAllowedWindowControlZone = true;
            return decided(decision, false, Reason::visibleAllowedPassthrough, allowedWindow->bundleID);
        }
    }

    if (decision.topWindowBundleID == veskBundleID && decision.topWindowLayer == OverlayBackingPanel::windowLevel())
        return decided(decision, false, Reason::blockedOutsideVisiblePassthrough);

    const AllowedWindowSnapshot* hit = hitWindow(snapshots, veskBundleID, geometry, quartzPoint);
    const bool allowedHit = isAllowedHit(hit, allowedBundleIDs, veskBundleID);

    const OverlayAllowedWindowFragment* edgeFragment =
        edgeBandFragment(classification.fragments, cocoaPoint, controlZones);
    if (edgeFragment && allowedHit)
        return decided(decision, true, Reason::visibleAllowedPassthrough, edgeFragment->bundleID);

    const OverlayAllowedWindowFragment* holeFragment =
        anyContains(passthroughRects, cocoaPoint) ? fragmentContaining(classification.fragments, cocoaPoint) : nullptr;
    if (!holeFragment || !allowedHit)
        return decided(decision, false, Reason::blockedOutsideVisiblePassthrough);
    if (windowControlZone(holeFragment->windowRect, holeFragment->windowID, controlZones).contains(cocoaPoint)) {
        decision.isInAllowedWindowControlZone = true;
        return decided(decision, false, Reason::visibleAllowedPassthrough, holeFragment->bundleID);
    }
    return decided(decision, true, Reason::visibleAllowedPassthrough, holeFragment->bundleID);
}

} // namespace vesk
