#pragma once

#include "core/Geometry.h"
#include "overlay/OverlayAllowedWindowFragment.h"

#include <QString>

#include <map>
#include <set>
#include <vector>

namespace vesk {

// Inset of an ordinary hole from the visible piece of its window, on every side.
inline constexpr double kPassthroughHoleInset = 4.0;

// The fragments whose application is not in the set, in order.
std::vector<OverlayAllowedWindowFragment>
excludingSuppressedFragments(const std::vector<OverlayAllowedWindowFragment>& fragments,
                             const std::set<QString>& suppressedBundleIDs);
// The same into `kept`, which keeps its storage.
void excludingSuppressedFragments(const std::vector<OverlayAllowedWindowFragment>& fragments,
                                  const std::set<QString>& suppressedBundleIDs,
                                  std::vector<OverlayAllowedWindowFragment>& kept);

// The hole list of one frame, without duplicates, in bottom-left (Cocoa)
// coordinates. A fragment gives its visible piece inset by 4 points, or, when
// its application is being dragged, the recorded drag rect or else its whole
// window; the bridge rects follow. A piece narrower or lower than 8 points
// gives the null rect, which cuts nothing: consumers must skip or ignore it
// (Rect::contains and Rect::intersected already do).
std::vector<Rect> composePassthroughRects(const std::vector<OverlayAllowedWindowFragment>& fragments,
                                          const std::set<QString>& dragPassthroughBundleIDs,
                                          const std::map<QString, Rect>& dragPassthroughWindowRectsByBundleID,
                                          const std::vector<Rect>& bridgeRects);
// The same into `holes`, which keeps its storage.
void composePassthroughRects(const std::vector<OverlayAllowedWindowFragment>& fragments,
                             const std::set<QString>& dragPassthroughBundleIDs,
                             const std::map<QString, Rect>& dragPassthroughWindowRectsByBundleID,
                             const std::vector<Rect>& bridgeRects, std::vector<Rect>& holes);

} // namespace vesk
