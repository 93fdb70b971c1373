#pragma once

#include "enforcement/MouseBlockerControlAction.h"

#include "core/Geometry.h"
#include <QString>

#include <functional>
#include <set>
#include <vector>

namespace vesk {

// Swallows mouse-down clicks outside the pass-through holes and outside the
// application's own panels while a session runs. Rects and the observer's
// point are in bottom-left (Cocoa) global coordinates; the control-click
// handler gets the click as the event reports it, top-left (Quartz).
class MouseBlocking {
public:
    using ControlClickHandler =
        std::function<void(const QString& bundleID, MouseBlockerControlAction action, Point clickPoint)>;
    using ClickObserver = std::function<void(Point clickPoint)>;

    virtual ~MouseBlocking() = default;

    // Installs the click tap, or waits for the Input Monitoring permission.
    virtual void activate(const std::set<QString>& allowedBundleIDs) = 0;
    // Replaces the allowed set.
    virtual void updateAllowlist(const std::set<QString>& allowedBundleIDs) = 0;
    // Removes the click tap.
    virtual void deactivate() = 0;
    // Frames of the application's own panels; clicks inside them always pass.
    virtual void updateVeskControlRects(const std::vector<Rect>& rects) = 0;
    // The overlay's holes; clicks inside them reach the allowed windows.
    virtual void setVisiblePassthroughRects(const std::vector<Rect>& rects) = 0;
    // Called for a swallowed click in the close, minimise or zoom zone of an
    // allowed window. An empty function clears it.
    virtual void setAllowedWindowControlClickHandler(ControlClickHandler handler) = 0;
    // Called for every observed mouse-down. An empty function clears it.
    virtual void setClickObserver(ClickObserver observer) = 0;
};

} // namespace vesk
