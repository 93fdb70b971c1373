#pragma once

#include "overlay/WindowClassification.h"

namespace vesk {

// Classifies the window list of every frame into one value that it keeps, so
// that a frame reuses the storage of the frame before instead of allocating
// its own: a steady scene classifies without touching the heap.
class WindowClassifier {
public:
    // The classification of `snapshots` (as classifyWindowSnapshots gives it),
    // valid until the next call.
    const WindowClassification& classify(const std::vector<AllowedWindowSnapshot>& snapshots,
                                         const std::set<QString>& allowedBundleIDs, const QString& ownBundleID,
                                         const DisplayGeometry& geometry);
    // Five empty collections, for a frame without displays.
    const WindowClassification& classifyNothing();

private:
    void beginFrame();
    void addAllowedWindow(const AllowedWindowSnapshot& snapshot, const Rect& windowRect,
                          const DisplayGeometry& geometry);
    void addBlockers(const AllowedWindowSnapshot& snapshot, const Rect& windowRect, const DisplayGeometry& geometry,
                     bool hidesNothing);

    WindowClassification result_;
    // The rects of the blockers so far, which cut the allowed windows behind them.
    std::vector<Rect> occluders_;
    // Working space of one window.
    std::vector<Rect> displayPieces_;
    std::vector<Rect> visiblePieces_;
    std::vector<Rect> scratch_;
};

} // namespace vesk
