#pragma once

#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

namespace vesk::platform {

// One display as the application sees it. Frames are in the bottom-left
// (Cocoa) coordinate system; `displayID` is the "NSScreenNumber" entry, which
// may be missing.
struct ScreenInfo {
    std::optional<quint32> displayID;
    QRectF frame;
    QRectF visibleFrame;
    QString name;
    double scale = 1.0;

    bool operator==(const ScreenInfo&) const = default;
};

// The displays, in the system's order; the first is the primary display.
class ScreenProviding {
public:
    virtual ~ScreenProviding() = default;
    virtual std::vector<ScreenInfo> screens() const = 0;
    // The display with the key window, or none when there is no screen.
    virtual std::optional<ScreenInfo> mainScreen() const = 0;
    // A display's bounds in the top-left (Quartz) coordinate system.
    virtual std::optional<QRectF> displayBounds(quint32 displayID) const = 0;
};

} // namespace vesk::platform
