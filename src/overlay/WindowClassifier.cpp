#include "overlay/WindowClassifier.h"

namespace vesk {

namespace {

constexpr double minimumAlpha = 0.01;
constexpr double opaqueAlpha = 0.98;

} // namespace

void WindowClassifier::beginFrame()
{
    // The applications' entries keep their storage; those still empty at the
    // end of the frame go.
    for (auto& [bundleID, rects] : result_.allowedWindowRectsByBundleID)
        rects.clear();
    result_.fragments.clear();
    result_.blockers.clear();
    result_.ignoredBlockers.clear();
    result_.suppressedWindows.clear();
    occluders_.clear();
}

const WindowClassification& WindowClassifier::classifyNothing()
{
    beginFrame();
    result_.allowedWindowRectsByBundleID.clear();
    return result_;
}

const WindowClassification& WindowClassifier::classify(const std::vector<AllowedWindowSnapshot>& snapshots,
                                                       const std::set<QString>& allowedBundleIDs,
                                                       const QString& ownBundleID, const DisplayGeometry& geometry)
{
    beginFrame();
    for (const AllowedWindowSnapshot& snapshot : snapshots) {
        const Rect& bounds = snapshot.bounds;
        if (bounds.width <= 0 || bounds.height <= 0 || snapshot.alpha <= minimumAlpha)
            continue;
        if (snapshot.layer < 0 || snapshot.bundleID == ownBundleID)
            continue;
        const Rect windowRect = DisplayGeometry::cocoaRect(bounds, geometry.displayFrameForQuartzRect(bounds));

        if (allowedBundleIDs.count(snapshot.bundleID)) {
            if (isFinderDesktopWindow(snapshot, geometry))
                addBlockers(snapshot, windowRect, geometry, true);
            else
                addAllowedWindow(snapshot, windowRect, geometry);
            continue;
        }
        // Ordinary windows of other applications always hide what lies behind
        // them; surfaces above them only when they are not display-sized.
        const bool hidesNothing = snapshot.layer != 0 || snapshot.bundleID == kWindowManagerBundleID
                                      ? geometry.isFullDisplayRect(bounds)
                                      : false;
        addBlockers(snapshot, windowRect, geometry, hidesNothing);
    }
    std::erase_if(result_.allowedWindowRectsByBundleID, [](const auto& entry) { return entry.second.empty(); });
    return result_;
}

void WindowClassifier::addAllowedWindow(const AllowedWindowSnapshot& snapshot, const Rect& windowRect,
                                        const DisplayGeometry& geometry)
{
    result_.allowedWindowRectsByBundleID[snapshot.bundleID].push_back(windowRect);
    using Reason = OverlaySuppressedWindowSnapshot::Reason;
    if (snapshot.alpha < opaqueAlpha) {
        result_.suppressedWindows.push_back(
            {snapshot.bundleID, snapshot.windowID, snapshot.alpha, windowRect, Reason::translucent});
        return;
    }
    geometry.cocoaRectsForQuartzRect(snapshot.bounds, displayPieces_);
    if (displayPieces_.empty()) {
        result_.suppressedWindows.push_back(
            {snapshot.bundleID, snapshot.windowID, snapshot.alpha, windowRect, Reason::offscreen});
        return;
    }
    // Only the blockers in front of the window cut it: those collected so far.
    appendAllowedWindowFragments(displayPieces_, occluders_, snapshot, windowRect, result_.fragments, visiblePieces_,
                                 scratch_);
}

void WindowClassifier::addBlockers(const AllowedWindowSnapshot& snapshot, const Rect& windowRect,
                                   const DisplayGeometry& geometry, bool hidesNothing)
{
    std::vector<OverlayBlockerSnapshot>& list = hidesNothing ? result_.ignoredBlockers : result_.blockers;
    const size_t first = list.size();
    appendBlockerSnapshots(snapshot, geometry, windowRect, list, displayPieces_);
    if (hidesNothing)
        return;
    for (size_t index = first; index < list.size(); ++index)
        occluders_.push_back(list[index].rect);
}

} // namespace vesk
