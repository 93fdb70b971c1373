#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

namespace vesk::platform {

// Options of a window-list query, as bit flags.
enum WindowListOption : int {
    WindowListAll = 0,
    WindowListOnScreenOnly = 1,
    WindowListExcludeDesktopElements = 16,
};

// Keys of one window's dictionary in the window list.
inline const QString kWindowNumber = QStringLiteral("kCGWindowNumber");         // int
inline const QString kWindowOwnerPID = QStringLiteral("kCGWindowOwnerPID");     // int
inline const QString kWindowOwnerName = QStringLiteral("kCGWindowOwnerName");   // text, may be missing
inline const QString kWindowName = QStringLiteral("kCGWindowName");             // title, may be missing
inline const QString kWindowLayer = QStringLiteral("kCGWindowLayer");           // int
inline const QString kWindowBounds = QStringLiteral("kCGWindowBounds");         // map with X, Y, Width, Height
inline const QString kWindowAlpha = QStringLiteral("kCGWindowAlpha");           // double 0..1
inline const QString kWindowIsOnscreen = QStringLiteral("kCGWindowIsOnscreen"); // bool

// The system window list: one dictionary per window, front to back. Bounds are
// in the top-left (Quartz) coordinate system of the primary display.
class WindowListProviding {
public:
    virtual ~WindowListProviding() = default;
    virtual QList<QVariantMap> copyWindowInfo(int options) const = 0;
};

} // namespace vesk::platform
