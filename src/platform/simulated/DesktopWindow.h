#pragma once

#include "platform/simulated/WindowSpec.h"

#include <QMargins>
#include <QRectF>
#include <QString>

#include <optional>

namespace vesk::platform {

// The height of the title bar of other applications' windows, in points.
inline constexpr double kTitleBarHeight = 28.0;

// One window of the desktop as the model holds it.
struct DesktopWindow {
    WindowNumber number = 0;
    ProcessID ownerPID = 0;
    QString title;
    int layer = 0;
    QRectF bounds; // top-left system
    double alpha = 1.0;
    int spaceID = 0; // 0: on every Space
    bool minimized = false;
    bool fullScreen = false;
    bool zoomed = false;
    QRectF restoreBounds; // before full screen or zoom
    bool desktopElement = false;
    bool hasTitleBarButtons = true;
    bool accessibilityWritable = true;
    // Vesk's own windows: ordered in (shown) or out, a panel or not, and
    // whether clicks go through them.
    bool orderedIn = true;
    bool isPanel = false;
    bool ignoresMouseEvents = false;
    bool canBecomeKey = false;
    // Room around the bounds that a capture draws the window's shadow into.
    QMargins shadowMargins;

    bool operator==(const DesktopWindow&) const = default;
};

} // namespace vesk::platform
