#pragma once

#include "core/Geometry.h"
#include "overlay/DisplayGeometry.h"
#include "platform/ScreenProviding.h"

#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace vesk {

// Geometry of the borders between displays (seams) for windows being dragged
// across them. Everything is in bottom-left (Cocoa) coordinates.

// A window edge this close to a display edge touches it, and a neighbour's edge
// this close to it borders it.
inline constexpr double kBridgeEdgeTolerance = 24.0;
// How far a bridge reaches into the neighbouring display.
inline constexpr double kBridgeDepth = 160.0;

// For each dragged window (in ascending order of bundle identifier), the strips
// of neighbouring displays just beyond the seams it touches; equal strips once.
std::vector<Rect> dragBridgeRects(const std::map<QString, Rect>& dragPassthroughWindowRectsByBundleID,
                                  const DisplayGeometry& geometry);

// Appends the bridges from the edges of display `screenFrame` that the window
// touches into the displays bordering them, skipping strips under one point
// and strips already in the list.
void appendSeamBridgeRects(const DisplayGeometry& geometry, std::vector<Rect>& rects, const Rect& windowRect,
                           const Rect& screenFrame);

// "top@900", "bottom@0", "right@1440", "left@1440" for the first seam the rect
// lies against, else "none".
QString describeSeamEdge(const Rect& rect, const DisplayGeometry& geometry);

// "[index]name" of the display the rect overlaps most, the name taken from the
// screen with exactly that frame ("screen<index>" when none has it); "n/a"
// when the rect overlaps no display.
QString describeScreenForRect(const Rect& rect, const DisplayGeometry& geometry,
                              const std::vector<platform::ScreenInfo>& screens);

// "[index]name" of the first screen that contains the point; none when no
// screen does.
std::optional<QString> describeScreenContainingPoint(Point cocoaPoint,
                                                     const std::vector<platform::ScreenInfo>& screens);

} // namespace vesk
