#include "overlay/WindowClassification.h"

namespace vesk {

namespace {

constexpr double minimumAlpha = 0.01;
constexpr double opaqueAlpha = 0.98;
constexpr double minimumPieceSize = 1.0;

void appendRectMinus(std::vector<Rect>& pieces, const Rect& rect, const Rect& occluder)
{
    const Rect covered = rect.intersected(occluder);
    if (covered.isEmpty()) {
        pieces.push_back(rect);
        return;
    }
    const Rect candidates[] = {
        {rect.minX(), covered.maxY(), rect.standardWidth(), rect.maxY() - covered.maxY()},  // above
        {rect.minX(), rect.minY(), rect.standardWidth(), covered.minY() - rect.minY()},     // below
        {rect.minX(), covered.minY(), covered.minX() - rect.minX(), covered.standardHeight()}, // left
        {covered.maxX(), covered.minY(), rect.maxX() - covered.maxX(), covered.standardHeight()}, // right
    };
    for (const Rect& piece : candidates) {
        if (piece.width >= minimumPieceSize && piece.height >= minimumPieceSize)
            pieces.push_back(piece);
    }
}

std::vector<Rect> subtractAll(const Rect& rect, const std::vector<Rect>& occluders)
{
    std::vector<Rect> pieces{rect};
    std::vector<Rect> next;
    for (const Rect& occluder : occluders) {
        next.clear();
        for (const Rect& piece : pieces)
            appendRectMinus(next, piece, occluder);
        pieces.swap(next);
        if (pieces.empty())
            break;
    }
    return pieces;
}

void appendFragments(std::vector<OverlayAllowedWindowFragment>& fragments,
                     const std::vector<Rect>& displayPieces, const std::vector<Rect>& occluders,
                     const AllowedWindowSnapshot& snapshot, const Rect& windowRect)
{
    for (const Rect& displayPiece : displayPieces) {
        for (const Rect& visible : subtractAll(displayPiece, occluders))
            fragments.push_back({snapshot.bundleID, snapshot.windowID, visible, windowRect});
    }
}

void appendBlockers(std::vector<OverlayBlockerSnapshot>& list, std::vector<Rect>* occluders,
                    const std::vector<OverlayBlockerSnapshot>& pieces)
{
    for (const OverlayBlockerSnapshot& piece : pieces) {
        list.push_back(piece);
        if (occluders)
            occluders->push_back(piece.rect);
    }
}

OverlaySuppressedWindowSnapshot suppressed(const AllowedWindowSnapshot& snapshot, const Rect& windowRect,
                                           OverlaySuppressedWindowSnapshot::Reason reason)
{
    return {snapshot.bundleID, snapshot.windowID, snapshot.alpha, windowRect, reason};
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
    return subtractAll(rect, occluders);
}

std::vector<OverlayBlockerSnapshot> blockerSnapshots(const AllowedWindowSnapshot& snapshot,
                                                     const DisplayGeometry& geometry,
                                                     const Rect& fallbackRect)
{
    std::vector<OverlayBlockerSnapshot> blockers;
    for (const Rect& piece : geometry.cocoaRectsForQuartzRect(snapshot.bounds))
        blockers.push_back({snapshot.bundleID, snapshot.layer, snapshot.alpha, snapshot.ownerName, piece});
    if (blockers.empty())
        blockers.push_back({snapshot.bundleID, snapshot.layer, snapshot.alpha, snapshot.ownerName, fallbackRect});
    return blockers;
}

std::vector<OverlayAllowedWindowFragment>
buildAllowedWindowFragments(const std::vector<Rect>& displayPieces,
                            const std::vector<OverlayBlockerSnapshot>& blockers,
                            const AllowedWindowSnapshot& snapshot, const Rect& windowRect)
{
    std::vector<Rect> occluders;
    occluders.reserve(blockers.size());
    for (const OverlayBlockerSnapshot& blocker : blockers)
        occluders.push_back(blocker.rect);
    std::vector<OverlayAllowedWindowFragment> fragments;
    appendFragments(fragments, displayPieces, occluders, snapshot, windowRect);
    return fragments;
}

bool isFinderDesktopWindow(const AllowedWindowSnapshot& snapshot, const DisplayGeometry& geometry)
{
    return snapshot.bundleID == kFinderBundleID && snapshot.layer == 0
        && geometry.isFullDisplayRect(snapshot.bounds);
}

WindowClassification classifyWindowSnapshots(const std::vector<AllowedWindowSnapshot>& snapshots,
                                             const std::set<QString>& allowedBundleIDs,
                                             const QString& ownBundleID,
                                             const DisplayGeometry& geometry)
{
    WindowClassification result;
    // The rects of `result.blockers`, kept alongside to cut allowed windows.
    std::vector<Rect> occluders;

    for (const AllowedWindowSnapshot& snapshot : snapshots) {
        const Rect& bounds = snapshot.bounds;
        if (bounds.width <= 0 || bounds.height <= 0 || snapshot.alpha <= minimumAlpha)
            continue;
        if (snapshot.layer < 0 || snapshot.bundleID == ownBundleID)
            continue;
        const Rect windowRect =
            DisplayGeometry::cocoaRect(bounds, geometry.displayFrameForQuartzRect(bounds));

        if (allowedBundleIDs.count(snapshot.bundleID)) {
            if (isFinderDesktopWindow(snapshot, geometry)) {
                appendBlockers(result.ignoredBlockers, nullptr, blockerSnapshots(snapshot, geometry, windowRect));
                continue;
            }
            result.allowedWindowRectsByBundleID[snapshot.bundleID].push_back(windowRect);
            if (snapshot.alpha < opaqueAlpha) {
                result.suppressedWindows.push_back(
                    suppressed(snapshot, windowRect, OverlaySuppressedWindowSnapshot::Reason::translucent));
                continue;
            }
            const std::vector<Rect> displayPieces = geometry.cocoaRectsForQuartzRect(bounds);
            if (displayPieces.empty()) {
                result.suppressedWindows.push_back(
                    suppressed(snapshot, windowRect, OverlaySuppressedWindowSnapshot::Reason::offscreen));
                continue;
            }
            appendFragments(result.fragments, displayPieces, occluders, snapshot, windowRect);
            continue;
        }

        // Ordinary windows of other applications always hide what lies behind
        // them; surfaces above them only when they are not display-sized.
        const bool hidesNothing = snapshot.layer != 0 || snapshot.bundleID == kWindowManagerBundleID
            ? geometry.isFullDisplayRect(bounds)
            : false;
        const std::vector<OverlayBlockerSnapshot> pieces = blockerSnapshots(snapshot, geometry, windowRect);
        if (hidesNothing)
            appendBlockers(result.ignoredBlockers, nullptr, pieces);
        else
            appendBlockers(result.blockers, &occluders, pieces);
    }
    return result;
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
    rects.reserve(fragments.size());
    for (const OverlayAllowedWindowFragment& fragment : fragments)
        rects.push_back(fragment.rect);
    return rects;
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
    const std::set<QString> visible = fragmentBundleIDs(fragments);
    std::set<QString> occluded;
    for (const auto& [bundleID, rects] : rectsByBundleID) {
        if (!visible.count(bundleID))
            occluded.insert(bundleID);
    }
    return occluded;
}

int totalRectCount(const std::map<QString, std::vector<Rect>>& rectsByBundleID)
{
    int count = 0;
    for (const auto& [bundleID, rects] : rectsByBundleID)
        count += int(rects.size());
    return count;
}

} // namespace vesk
