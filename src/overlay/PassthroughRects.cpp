#include "overlay/PassthroughRects.h"

#include <algorithm>

namespace vesk {

namespace {

void appendUnlessPresent(std::vector<Rect>& rects, const Rect& rect)
{
    if (std::find(rects.begin(), rects.end(), rect) == rects.end())
        rects.push_back(rect);
}

} // namespace

std::vector<OverlayAllowedWindowFragment>
excludingSuppressedFragments(const std::vector<OverlayAllowedWindowFragment>& fragments,
                             const std::set<QString>& suppressedBundleIDs)
{
    std::vector<OverlayAllowedWindowFragment> kept;
    excludingSuppressedFragments(fragments, suppressedBundleIDs, kept);
    return kept;
}

void excludingSuppressedFragments(const std::vector<OverlayAllowedWindowFragment>& fragments,
                                  const std::set<QString>& suppressedBundleIDs,
                                  std::vector<OverlayAllowedWindowFragment>& kept)
{
    kept.clear();
    kept.reserve(fragments.size());
    for (const OverlayAllowedWindowFragment& fragment : fragments) {
        if (!suppressedBundleIDs.count(fragment.bundleID))
            kept.push_back(fragment);
    }
}

std::vector<Rect> composePassthroughRects(const std::vector<OverlayAllowedWindowFragment>& fragments,
                                          const std::set<QString>& dragPassthroughBundleIDs,
                                          const std::map<QString, Rect>& dragPassthroughWindowRectsByBundleID,
                                          const std::vector<Rect>& bridgeRects)
{
    std::vector<Rect> holes;
    composePassthroughRects(fragments, dragPassthroughBundleIDs, dragPassthroughWindowRectsByBundleID, bridgeRects,
                            holes);
    return holes;
}

void composePassthroughRects(const std::vector<OverlayAllowedWindowFragment>& fragments,
                             const std::set<QString>& dragPassthroughBundleIDs,
                             const std::map<QString, Rect>& dragPassthroughWindowRectsByBundleID,
                             const std::vector<Rect>& bridgeRects, std::vector<Rect>& holes)
{
    holes.clear();
    holes.reserve(fragments.size() + bridgeRects.size());
    for (const OverlayAllowedWindowFragment& fragment : fragments) {
        if (!dragPassthroughBundleIDs.count(fragment.bundleID)) {
            appendUnlessPresent(holes, fragment.rect.insetBy(kPassthroughHoleInset, kPassthroughHoleInset));
            continue;
        }
        const auto dragRect = dragPassthroughWindowRectsByBundleID.find(fragment.bundleID);
        appendUnlessPresent(holes, dragRect != dragPassthroughWindowRectsByBundleID.end() ? dragRect->second
                                                                                          : fragment.windowRect);
    }
    for (const Rect& bridge : bridgeRects)
        appendUnlessPresent(holes, bridge);
}

} // namespace vesk
