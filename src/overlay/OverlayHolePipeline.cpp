#include "overlay/OverlayHolePipeline.h"

#include "core/TextFormat.h"
#include "overlay/AllowedWindowDragTracker.h"
#include "overlay/OverlayLogText.h"
#include "overlay/PassthroughRects.h"
#include "overlay/ScreenSeams.h"
#include "platform/ScreenProviding.h"

#include <QStringList>

#include <algorithm>

namespace vesk {

namespace {

constexpr int kMaxListedHoles = 6;
constexpr double kUncoveredAreaThreshold = 1.0;

double area(const Rect& rect)
{
    return rect.isNull() ? 0 : rect.standardWidth() * rect.standardHeight();
}

} // namespace

OverlayHolePipeline::OverlayHolePipeline(const platform::ScreenProviding& screens, WindowSnapshotReader windowSnapshots,
                                         QString veskBundleID, VeskLogger logger)
    : screens_(screens)
    , windowSnapshots_(std::move(windowSnapshots))
    , veskBundleID_(std::move(veskBundleID))
    , logger_(std::move(logger))
{
}

const std::optional<DisplayGeometry>& OverlayHolePipeline::geometry()
{
    // The displays change only with a screen-parameters notice; until the
    // next one, the geometry read last still holds.
    if (!isGeometryCurrent_) {
        geometry_ = DisplayGeometry::current(screens_);
        isGeometryCurrent_ = true;
    }
    return geometry_;
}

const WindowClassification& OverlayHolePipeline::classify(const std::set<QString>& allowedBundleIDs)
{
    if (!geometry())
        return classifier_.classifyNothing();
    return classifier_.classify(windowSnapshots_.onScreenWindowSnapshots(), allowedBundleIDs, veskBundleID_,
                                *geometry());
}

const std::set<QString>& OverlayHolePipeline::fullyOccluded(const WindowClassification& classification)
{
    updateFullyOccludedBundleIDs(classification.allowedWindowRectsByBundleID, classification.fragments, fullyOccluded_);
    return fullyOccluded_;
}

const std::vector<Rect>& OverlayHolePipeline::visibleRects(const WindowClassification& classification,
                                                           const std::set<QString>& suppressedBundleIDs)
{
    excludingSuppressedFragments(classification.fragments, suppressedBundleIDs, visibleFragments_);
    fragmentRects(visibleFragments_, visibleRects_);
    return visibleRects_;
}

const std::vector<Rect>& OverlayHolePipeline::holes(const AllowedWindowDragTracker& drags)
{
    // The handlers the tick called before may have changed the displays: the
    // holes are bridged, checked and clipped against the displays as they are now.
    const std::optional<DisplayGeometry>& current = geometry();
    const std::vector<Rect> bridge =
        current ? dragBridgeRects(drags.dragPassthroughWindowRectsByBundleID(), *current) : std::vector<Rect>();
    logDragBridge(bridge);
    holes_.clear();
    if (!visibleRects_.empty()) {
        composePassthroughRects(visibleFragments_, drags.dragPassthroughBundleIDs(),
                                drags.dragPassthroughWindowRectsByBundleID(), bridge, holes_);
    }
    checkUncoveredHoles(holes_, drags, current);
    return holes_;
}

void OverlayHolePipeline::resetSession()
{
    lastLoggedDragBridgeRects_.clear();
    lastLoggedUncoveredHoles_.clear();
}

void OverlayHolePipeline::logDragBridge(const std::vector<Rect>& bridge)
{
    if (bridge == lastLoggedDragBridgeRects_)
        return;
    if (bridge.empty())
        logger_.log(VeskLogLevel::debug, QStringLiteral("Drag bridge passthrough ended"));
    else
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Drag bridge passthrough active — rects=") + rectArrayText(bridge));
    lastLoggedDragBridgeRects_ = bridge;
}

void OverlayHolePipeline::checkUncoveredHoles(const std::vector<Rect>& holes, const AllowedWindowDragTracker& drags,
                                              const std::optional<DisplayGeometry>& geometry)
{
    if (!geometry)
        return;
    const std::vector<OverlayAllowedWindowFragment>& fragments = visibleFragments_;
    std::vector<Rect> uncovered;
    std::vector<Rect> touching;
    size_t next = 0;
    for (const Rect& hole : holes) {
        if (area(hole) <= kUncoveredAreaThreshold)
            continue;
        // Nearly every hole is an inset piece of one fragment, in fragment
        // order: look for it from where the last one was found. Only the other
        // holes need the subtraction, against the fragments they touch.
        bool insideOneFragment = false;
        for (size_t step = 0; step < fragments.size() && !insideOneFragment; ++step) {
            const size_t index = (next + step) % fragments.size();
            if (fragments[index].rect.contains(hole)) {
                insideOneFragment = true;
                next = index + 1;
            }
        }
        if (insideOneFragment)
            continue;
        touching.clear();
        for (const auto& fragment : fragments) {
            if (fragment.rect.intersects(hole))
                touching.push_back(fragment.rect);
        }
        double uncoveredArea = 0;
        for (const Rect& piece : subtractRects(hole, touching))
            uncoveredArea += area(piece);
        if (uncoveredArea > kUncoveredAreaThreshold)
            uncovered.push_back(hole);
    }
    if (uncovered == lastLoggedUncoveredHoles_)
        return;
    lastLoggedUncoveredHoles_ = uncovered;
    if (uncovered.empty()) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Passthrough holes fully covered by allowed windows again"));
        return;
    }
    const auto& relaxed = drags.dragPassthroughWindowRectsByBundleID();
    const std::vector<platform::ScreenInfo> screens = screens_.screens();
    QStringList items;
    for (const Rect& hole : uncovered) {
        if (items.size() == kMaxListedHoles)
            break;
        const bool isRelaxed =
            std::any_of(relaxed.begin(), relaxed.end(), [&hole](const auto& entry) { return entry.second == hole; });
        items << toString(hole) + QLatin1Char('@') + describeScreenForRect(hole, *geometry, screens)
                     + (isRelaxed ? QStringLiteral("[relaxed]") : QStringLiteral("[bridge/other]"));
    }
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Uncovered passthrough holes — count=%1, activeDrag=%2, holes=%3")
                    .arg(uncovered.size())
                    .arg(sortedArrayText(drags.recentAllowedWindowMotionBundleIDs()), arrayText(items)));
}

} // namespace vesk
