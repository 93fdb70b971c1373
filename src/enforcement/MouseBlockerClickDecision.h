#pragma once

#include "core/Geometry.h"
#include "core/RawValue.h"
#include "enforcement/MouseBlockerControlAction.h"
#include "overlay/AllowedWindowSnapshot.h"
#include "overlay/DisplayGeometry.h"
#include "overlay/WindowClassification.h"
#include "platform/WindowControlZoneProviding.h"

#include <QHashFunctions>
#include <QString>

#include <array>
#include <optional>
#include <set>
#include <vector>

namespace vesk {

// Whether one mouse-down may reach its target, which rule decided, and what
// the click landed on.
struct MouseBlockerClickDecision {
    using ControlAction = MouseBlockerControlAction;

    enum class Reason {
        veskControlWindow,                // one of Vesk's windows above the overlay
        registeredVeskControlRect,        // a registered frame of Vesk's session panels
        visibleAllowedPassthrough,        // an allowed window took it
        blockedOutsideVisiblePassthrough, // nothing let it through
    };

    bool isAllowed = false;
    Reason reason = Reason::blockedOutsideVisiblePassthrough;
    Point quartzPoint;
    Point cocoaPoint;
    // The allowed application whose window or hole took the decision.
    std::optional<QString> passthroughBundleID;
    // The topmost window under the point (Vesk's overlay panels never count).
    std::optional<QString> topWindowBundleID;
    std::optional<int> topWindowLayer;
    // The point lies in the title-bar control zone of an allowed window.
    bool isInAllowedWindowControlZone = false;
    // Never set by the decision itself; the blocker fills it once it knows the button.
    std::optional<ControlAction> controlAction;
    int rawAllowedWindowCount = 0;
    int passthroughRectCount = 0;
    int blockerCount = 0;
    int ignoredBlockerCount = 0;
    int registeredVeskControlRectCount = 0;

    bool operator==(const MouseBlockerClickDecision&) const = default;
};

inline QString toRaw(MouseBlockerClickDecision::Reason reason)
{
    using Reason = MouseBlockerClickDecision::Reason;
    switch (reason) {
    case Reason::veskControlWindow:
        return QStringLiteral("veskControlWindow");
    case Reason::registeredVeskControlRect:
        return QStringLiteral("registeredVeskControlRect");
    case Reason::visibleAllowedPassthrough:
        return QStringLiteral("visibleAllowedPassthrough");
    case Reason::blockedOutsideVisiblePassthrough:
        return QStringLiteral("blockedOutsideVisiblePassthrough");
    }
    return {};
}

template <>
struct EnumCases<MouseBlockerClickDecision::Reason> {
    using Reason = MouseBlockerClickDecision::Reason;
    static constexpr std::array values{Reason::veskControlWindow, Reason::registeredVeskControlRect,
                                       Reason::visibleAllowedPassthrough, Reason::blockedOutsideVisiblePassthrough};
};

inline size_t qHash(MouseBlockerClickDecision::Reason reason, size_t seed = 0) noexcept
{
    return qHash(toRaw(reason), seed);
}

// The click decision: a pure computation over one window list (front to
// back, top-left bounds), the allowlist, Vesk's own bundle identifier, the
// displays, the overlay's holes and the frames of Vesk's session panels (both
// bottom-left), for a click at a top-left point. It runs in the click tap for
// every mouse-down, so it reads nothing else and keeps nothing between clicks.
// The decision is the same for every mouse button. Where a window's title-bar
// buttons sit is the desktop's to say (`controlZones`; none: the top-left
// layout of `windowControlZone`).
MouseBlockerClickDecision decideMouseClick(const std::vector<AllowedWindowSnapshot>& snapshots,
                                           const std::set<QString>& allowedBundleIDs, const QString& veskBundleID,
                                           const DisplayGeometry& geometry, const std::vector<Rect>& passthroughRects,
                                           const std::vector<Rect>& registeredVeskControlRects, Point quartzPoint,
                                           const platform::WindowControlZoneProviding* controlZones = nullptr);

// The steps after the classification, for a click that none of Vesk's own
// panels took: the control zone of the frontmost allowed window, the bare
// backing panel, the edge band of a visible allowed window, the holes.
// `decision` carries both points, the top window and the registered count;
// `snapshots` are those the classification read (Finder's desktop dropped).
MouseBlockerClickDecision
decideClassifiedMouseClick(MouseBlockerClickDecision decision, const WindowClassification& classification,
                           const std::vector<AllowedWindowSnapshot>& snapshots,
                           const std::set<QString>& allowedBundleIDs, const QString& veskBundleID,
                           const DisplayGeometry& geometry, const std::vector<Rect>& passthroughRects,
                           const platform::WindowControlZoneProviding* controlZones = nullptr);

// The first window under the point, passing over Vesk's overlay panels.
const AllowedWindowSnapshot* topmostWindow(const std::vector<AllowedWindowSnapshot>& snapshots,
                                           const QString& veskBundleID, Point quartzPoint);

// The window that would receive the click: the first one under the point,
// passing over Vesk's overlay panels and the display-sized surfaces of the
// system (the window manager's, the screen capture's, full-display windows
// above the normal layer).
const AllowedWindowSnapshot* hitWindow(const std::vector<AllowedWindowSnapshot>& snapshots, const QString& veskBundleID,
                                       const DisplayGeometry& geometry, Point quartzPoint);

// The hit window belongs to an allowed application: not Vesk, not below the normal layer.
bool isAllowedHit(const AllowedWindowSnapshot* hit, const std::set<QString>& allowedBundleIDs,
                  const QString& veskBundleID);

// The frontmost visible window of an allowed application under the point,
// wherever other applications' windows lie in front of it.
const AllowedWindowSnapshot* frontmostAllowedWindow(const std::vector<AllowedWindowSnapshot>& snapshots,
                                                    const std::set<QString>& allowedBundleIDs,
                                                    const QString& veskBundleID, const DisplayGeometry& geometry,
                                                    Point quartzPoint);

// Where a window's close, minimise and zoom buttons sit: the top-left
// 88 x 32 points of a bottom-left window rect, cut to the window's size.
Rect windowControlZone(const Rect& cocoaWindowRect);
// The same as the desktop places them (null: the window has none); without
// `controlZones`, the top-left layout above.
Rect windowControlZone(const Rect& cocoaWindowRect, std::optional<quint32> windowID,
                       const platform::WindowControlZoneProviding* controlZones);

} // namespace vesk
