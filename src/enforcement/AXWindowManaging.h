#pragma once

#include "core/Geometry.h"

#include <QString>

#include <optional>

namespace vesk {

// Acts on another application's windows through the Accessibility API. The
// application is named by bundle identifier and looked up anew on every call;
// nothing is kept between calls. Frames are in the bottom-left (Cocoa)
// system, the close point in the top-left (Quartz) one. Failures come back as
// false (or zero counts), never as exceptions.
class AXWindowManaging {
public:
    struct WindowCounts {
        int minimized = 0;
        int total = 0;

        bool operator==(const WindowCounts&) const = default;
    };

    virtual ~AXWindowManaging() = default;

    // Moves and sizes the main window; true when position and size were written.
    virtual bool setFrame(const QString& bundleID, const Rect& cocoaFrame) = 0;
    // Moves the main window to the frame's origin; true when it was written.
    virtual bool setPosition(const QString& bundleID, const Rect& cocoaFrame) = 0;
    // Unhides and activates the application and raises its main window; true
    // whenever the application runs.
    virtual bool raise(const QString& bundleID) = 0;
    // Sets the minimized flag on every window; true when one took it or the
    // application does not run. When none takes the flag true, the
    // application is hidden instead.
    virtual bool setMinimized(const QString& bundleID, bool minimized) = 0;
    // Minimized and total Accessibility windows; both 0 when not running.
    virtual WindowCounts minimizedWindowCounts(const QString& bundleID) = 0;
    // True when hidden, or when the application does not run.
    virtual bool hide(const QString& bundleID) = 0;
    // Closes the window under the point, else the main window; true when a
    // close was performed or the application does not run.
    virtual bool closeWindow(const QString& bundleID, std::optional<Point> quartzPoint) = 0;
    // The main window is in native full screen.
    virtual bool isFullScreen(const QString& bundleID) = 0;
    // Takes the main window out of native full screen.
    virtual bool exitFullScreen(const QString& bundleID) = 0;
};

} // namespace vesk
