#pragma once

#include "core/Geometry.h"
#include "overlay/AllowedWindowSnapshot.h"
#include "overlay/DisplayGeometry.h"
#include "overlay/OverlayAllowedWindowFragment.h"
#include "overlay/OverlayBlockerSnapshot.h"
#include "overlay/OverlaySuppressedWindowSnapshot.h"

#include <QString>

#include <map>
#include <set>
#include <vector>

namespace vesk {

// What one window list (front to back) means for the allowed applications.
// Every rect is in bottom-left (Cocoa) coordinates.
struct WindowClassification {
    // The whole rect of every counted allowed window (translucent and
    // off-screen ones included), per application, in window-list order.
    std::map<QString, std::vector<Rect>> allowedWindowRectsByBundleID;
    // The visible pieces of the opaque allowed windows.
    std::vector<OverlayAllowedWindowFragment> fragments;
    // Pieces of other windows that hide what lies behind them.
    std::vector<OverlayBlockerSnapshot> blockers;
    // Pieces of windows that are listed but hide nothing.
    std::vector<OverlayBlockerSnapshot> ignoredBlockers;
    // Allowed windows that are counted but get no fragment.
    std::vector<OverlaySuppressedWindowSnapshot> suppressedWindows;

    bool operator==(const WindowClassification&) const = default;
};

inline const QString kFinderBundleID = QStringLiteral("com.apple.finder");
inline const QString kWindowManagerBundleID = QStringLiteral("com.apple.WindowManager");

// Sorts every window of the list into the five parts above. Each allowed
// window is cut only by the blockers in front of it; allowed windows never cut
// each other; the own application's windows and negative layers are left out.
WindowClassification classifyWindowSnapshots(const std::vector<AllowedWindowSnapshot>& snapshots,
                                             const std::set<QString>& allowedBundleIDs, const QString& ownBundleID,
                                             const DisplayGeometry& geometry);

// One blocker per display piece of the window, or one with the fallback rect
// when the window covers no display.
std::vector<OverlayBlockerSnapshot> blockerSnapshots(const AllowedWindowSnapshot& snapshot,
                                                     const DisplayGeometry& geometry, const Rect& fallbackRect);
// The same appended to `blockers`, with `pieces` as working space.
void appendBlockerSnapshots(const AllowedWindowSnapshot& snapshot, const DisplayGeometry& geometry,
                            const Rect& fallbackRect, std::vector<OverlayBlockerSnapshot>& blockers,
                            std::vector<Rect>& pieces);

// The parts of `rect` not covered by `occluder`: above, below, left, right,
// pieces under one point dropped. A rect the occluder misses comes back whole.
std::vector<Rect> subtractRect(const Rect& rect, const Rect& occluder);
// The parts of `rect` not covered by any occluder.
std::vector<Rect> subtractRects(const Rect& rect, const std::vector<Rect>& occluders);
// The same into `pieces`, with `scratch` as working space; both keep their
// storage from call to call.
void subtractRects(const Rect& rect, const std::vector<Rect>& occluders, std::vector<Rect>& pieces,
                   std::vector<Rect>& scratch);

// The visible pieces of one allowed window: each display piece minus every
// blocker collected so far.
std::vector<OverlayAllowedWindowFragment>
buildAllowedWindowFragments(const std::vector<Rect>& displayPieces, const std::vector<OverlayBlockerSnapshot>& blockers,
                            const AllowedWindowSnapshot& snapshot, const Rect& windowRect);
// The same appended to `fragments`, cut by the blockers' rects; `pieces` and
// `scratch` are working space.
void appendAllowedWindowFragments(const std::vector<Rect>& displayPieces, const std::vector<Rect>& occluders,
                                  const AllowedWindowSnapshot& snapshot, const Rect& windowRect,
                                  std::vector<OverlayAllowedWindowFragment>& fragments, std::vector<Rect>& pieces,
                                  std::vector<Rect>& scratch);

// Finder's desktop: a display-sized Finder window at layer 0.
bool isFinderDesktopWindow(const AllowedWindowSnapshot& snapshot, const DisplayGeometry& geometry);
std::vector<AllowedWindowSnapshot> excludingFinderDesktopWindows(const std::vector<AllowedWindowSnapshot>& snapshots,
                                                                 const DisplayGeometry& geometry);

std::vector<Rect> fragmentRects(const std::vector<OverlayAllowedWindowFragment>& fragments);
// The same into `rects`, which keeps its storage.
void fragmentRects(const std::vector<OverlayAllowedWindowFragment>& fragments, std::vector<Rect>& rects);
std::set<QString> fragmentBundleIDs(const std::vector<OverlayAllowedWindowFragment>& fragments);
// The applications that have windows but none of whose windows has a visible piece.
std::set<QString> fullyOccludedBundleIDs(const std::map<QString, std::vector<Rect>>& rectsByBundleID,
                                         const std::vector<OverlayAllowedWindowFragment>& fragments);
// Makes `occluded` that set by adding and removing what changed: a set that
// stays the same costs no allocation.
void updateFullyOccludedBundleIDs(const std::map<QString, std::vector<Rect>>& rectsByBundleID,
                                  const std::vector<OverlayAllowedWindowFragment>& fragments,
                                  std::set<QString>& occluded);
int totalRectCount(const std::map<QString, std::vector<Rect>>& rectsByBundleID);

} // namespace vesk
