#include "overlay/WindowClassification.h"

#include "overlay/WindowClassifier.h"

#include <algorithm>

namespace vesk {

namespace {

constexpr double minimumPieceSize = 1.0;

void appendRectMinus(std::vector<Rect>& pieces, const Rect& rect, const Rect& occluder)
{
    const Rect covered = rect.intersected(occluder);
    if (covered.isEmpty()) {
        pieces.push_back(rect);
        return;
    }
    const Rect candidates[] = {
        {rect.minX(), covered.maxY(), rect.standardWidth(), rect.maxY() - covered.maxY()},        // above
        {rect.minX(), rect.minY(), rect.standardWidth(), covered.minY() - rect.minY()},           // below
        {rect.minX(), covered.minY(), covered.minX() - rect.minX(), covered.standardHeight()},    // left
        {covered.maxX(), covered.minY(), rect.maxX() - covered.maxX(), covered.standardHeight()}, // right
    };
    for (const Rect& piece : candidates) {
        if (piece.width >= minimumPieceSize && piece.height >= minimumPieceSize)
            pieces.push_back(piece);
    }
}

} // namespace

std::vector<Rect> subtractRect(const Rect& rect, const Rect& occluder)
{
    std::vector<Rect> pieces;
    appendRectMinus(pieces, rect, occluder);
    return pieces;
}

std::vector<Rect> subtractRects(const Rect& rect, const std::vector<Rect>& occluders)
{
    std::vector<Rect> pieces;
    std::vector<Rect> scratch;
    subtractRects(rect, occluders, pieces, scratch);
    return pieces;
}

void subtractRects(const Rect& rect, const std::vector<Rect>& occluders, std::vector<Rect>& pieces,
                   std::vector<Rect>& scratch)
{
    pieces.assign(1, rect);
    // An occluder that misses the pieces' common bounds leaves every piece as
    // it is: most windows of a crowded desktop miss any given one.
    Rect bounds = rect;
    for (const Rect& occluder : occluders) {
        if (bounds.intersected(occluder).isEmpty())
            continue;
        scratch.clear();
        for (const Rect& piece : pieces)
            appendRectMinus(scratch, piece, occluder);
        pieces.swap(scratch);
        if (pieces.empty())
            break;
        bounds = Rect::null();
        for (const Rect& piece : pieces)
            bounds = bounds.united(piece);
    }
}

std::vector<OverlayBlockerSnapshot> blockerSnapshots(const AllowedWindowSnapshot& snapshot,
                                                     const DisplayGeometry& geometry, const Rect& fallbackRect)
{
    std::vector<OverlayBlockerSnapshot> blockers;
    std::vector<Rect> pieces;
    appendBlockerSnapshots(snapshot, geometry, fallbackRect, blockers, pieces);
    return blockers;
}

void appendBlockerSnapshots(const AllowedWindowSnapshot& snapshot, const DisplayGeometry& geometry,
                            const Rect& fallbackRect, std::vector<OverlayBlockerSnapshot>& blockers,
                            std::vector<Rect>& pieces)
{
    geometry.cocoaRectsForQuartzRect(snapshot.bounds, pieces);
    if (pieces.empty())
        pieces.push_back(fallbackRect);
    for (const Rect& piece : pieces)
        blockers.push_back({snapshot.bundleID, snapshot.layer, snapshot.alpha, snapshot.ownerName, piece});
}

std::vector<OverlayAllowedWindowFragment>
buildAllowedWindowFragments(const std::vector<Rect>& displayPieces, const std::vector<OverlayBlockerSnapshot>& blockers,
                            const AllowedWindowSnapshot& snapshot, const Rect& windowRect)
{
    std::vector<Rect> occluders;
    occluders.reserve(blockers.size());
    for (const OverlayBlockerSnapshot& blocker : blockers)
        occluders.push_back(blocker.rect);
    std::vector<OverlayAllowedWindowFragment> fragments;
    std::vector<Rect> pieces;
    std::vector<Rect> scratch;
    appendAllowedWindowFragments(displayPieces, occluders, snapshot, windowRect, fragments, pieces, scratch);
    return fragments;
}

void appendAllowedWindowFragments(const std::vector<Rect>& displayPieces, const std::vector<Rect>& occluders,
                                  const AllowedWindowSnapshot& snapshot, const Rect& windowRect,
                                  std::vector<OverlayAllowedWindowFragment>& fragments, std::vector<Rect>& pieces,
                                  std::vector<Rect>& scratch)
{
    for (const Rect& displayPiece : displayPieces) {
        subtractRects(displayPiece, occluders, pieces, scratch);
        for (const Rect& visible : pieces)
            fragments.push_back({snapshot.bundleID, snapshot.windowID, visible, windowRect});
    }
}

bool isFinderDesktopWindow(const AllowedWindowSnapshot& snapshot, const DisplayGeometry& geometry)
{
    return snapshot.bundleID == kFinderBundleID && snapshot.layer == 0 && geometry.isFullDisplayRect(snapshot.bounds);
}

WindowClassification classifyWindowSnapshots(const std::vector<AllowedWindowSnapshot>& snapshots,
                                             const std::set<QString>& allowedBundleIDs, const QString& ownBundleID,
                                             const DisplayGeometry& geometry)
{
    WindowClassifier classifier;
    return classifier.classify(snapshots, allowedBundleIDs, ownBundleID, geometry);
}

std::vector<AllowedWindowSnapshot> excludingFinderDesktopWindows(const std::vector<AllowedWindowSnapshot>& snapshots,
                                                                 const DisplayGeometry& geometry)
{
    std::vector<AllowedWindowSnapshot> kept;
    kept.reserve(snapshots.size());
    for (const AllowedWindowSnapshot& snapshot : snapshots) {
        if (!isFinderDesktopWindow(snapshot, geometry))
            kept.push_back(snapshot);
    }
    return kept;
}

std::vector<Rect> fragmentRects(const std::vector<OverlayAllowedWindowFragment>& fragments)
{
    std::vector<Rect> rects;
    fragmentRects(fragments, rects);
    return rects;
}

void fragmentRects(const std::vector<OverlayAllowedWindowFragment>& fragments, std::vector<Rect>& rects)
{
    rects.clear();
    rects.reserve(fragments.size());
    for (const OverlayAllowedWindowFragment& fragment : fragments)
        rects.push_back(fragment.rect);
}

std::set<QString> fragmentBundleIDs(const std::vector<OverlayAllowedWindowFragment>& fragments)
{
    std::set<QString> bundleIDs;
    for (const OverlayAllowedWindowFragment& fragment : fragments)
        bundleIDs.insert(fragment.bundleID);
    return bundleIDs;
}

std::set<QString> fullyOccludedBundleIDs(const std::map<QString, std::vector<Rect>>& rectsByBundleID,
                                         const std::vector<OverlayAllowedWindowFragment>& fragments)
{
    std::set<QString> occluded;
    updateFullyOccludedBundleIDs(rectsByBundleID, fragments, occluded);
    return occluded;
}

void updateFullyOccludedBundleIDs(const std::map<QString, std::vector<Rect>>& rectsByBundleID,
                                  const std::vector<OverlayAllowedWindowFragment>& fragments,
                                  std::set<QString>& occluded)
{
    auto hasFragment = [&fragments](const QString& bundleID) {
        return std::any_of(fragments.begin(), fragments.end(),
                           [&bundleID](const auto& fragment) { return fragment.bundleID == bundleID; });
    };
    std::erase_if(occluded, [&](const QString& bundleID) {
        return !rectsByBundleID.contains(bundleID) || hasFragment(bundleID);
    });
    for (const auto& [bundleID, rects] : rectsByBundleID) {
        if (!hasFragment(bundleID))
            occluded.insert(bundleID);
    }
}

int totalRectCount(const std::map<QString, std::vector<Rect>>& rectsByBundleID)
{
    int count = 0;
    for (const auto& [bundleID, rects] : rectsByBundleID)
        count += int(rects.size());
    return count;
}

} // namespace vesk
