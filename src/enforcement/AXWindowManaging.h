#pragma once

#include <QString>

namespace vesk {

// Acts on an application's windows through the Accessibility API, by bundle
// identifier. Only the operations the session core uses are declared here;
// the window-manager implementation adds the rest as its callers need them.
class AXWindowManaging {
public:
    struct WindowCounts {
        int minimized = 0;
        int total = 0;

        bool operator==(const WindowCounts&) const = default;
    };

    virtual ~AXWindowManaging() = default;
    // Minimized and total Accessibility windows; both 0 when not running.
    virtual WindowCounts minimizedWindowCounts(const QString& bundleID) = 0;
    // Makes the application frontmost and raises its main window.
    virtual bool raise(const QString& bundleID) = 0;
    // Sets the minimized flag on every window; false when there is none.
    virtual bool setMinimized(const QString& bundleID, bool minimized) = 0;
};

} // namespace vesk
