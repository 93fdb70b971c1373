#pragma once

#include "core/Geometry.h"

#include <functional>
#include <vector>

namespace vesk {

class SessionControlling;
class StageVeskControlling;

// The manager of a session's stage control bars as the session UI controller
// holds it: it shows the bars of every screen, reports their frames and
// closes its settings panel on a click outside it.
class StageVeskPanelManaging {
public:
    virtual ~StageVeskPanelManaging() = default;

    // Called whenever bars are shown, moved or hidden.
    virtual void setControlRectsChangedHandler(std::function<void()> handler) = 0;
    // Shows the bars for the session and its stage (held weakly).
    virtual void show(SessionControlling& session, StageVeskControlling& stage) = 0;
    // Closes every bar and the settings panel.
    virtual void dismiss() = 0;
    // Frames of the visible bars and settings panel, bottom-left global.
    virtual std::vector<Rect> controlRects() const = 0;
    virtual void dismissSettingsIfClickOutside(Point cocoaPoint) = 0;
};

} // namespace vesk
