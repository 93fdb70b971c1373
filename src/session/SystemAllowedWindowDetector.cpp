#include "session/SystemAllowedWindowDetector.h"

#include "overlay/DisplayGeometry.h"
#include "overlay/WindowClassification.h"

namespace vesk {

namespace {

// Without a usable display the classification still runs, over one wide strip
// as tall as the first screen.
DisplayGeometry standByGeometry(const platform::ScreenProviding& screens)
{
    const auto all = screens.screens();
    const double height = all.empty() ? 0 : all.front().frame.height();
    const Rect strip{-100000, 0, 200000, height};
    return DisplayGeometry({DisplayGeometry::DisplayFrame{strip, strip}});
}

} // namespace

SystemAllowedWindowDetector::SystemAllowedWindowDetector(const WindowSnapshotReader& reader,
                                                         const platform::ScreenProviding& screens, QString veskBundleID)
    : reader_(reader)
    , screens_(screens)
    , veskBundleID_(std::move(veskBundleID))
{
}

AllowedWindowDetecting::Result
SystemAllowedWindowDetector::detectAllowedWindows(const std::set<QString>& allowedBundleIDs) const
{
    Result result;
    if (allowedBundleIDs.empty())
        return result;
    const auto snapshots = reader_.copyOnScreenWindowSnapshots();
    const DisplayGeometry geometry = DisplayGeometry::current(screens_).value_or(standByGeometry(screens_));
    const WindowClassification classification =
        classifyWindowSnapshots(snapshots, allowedBundleIDs, veskBundleID_, geometry);
    for (const auto& fragment : classification.fragments)
        result.visible.insert(fragment.bundleID);
    for (const auto& [bundleID, rects] : classification.allowedWindowRectsByBundleID) {
        if (!result.visible.contains(bundleID))
            result.covered.insert(bundleID);
    }
    return result;
}

} // namespace vesk
