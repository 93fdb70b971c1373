#pragma once

#include "platform/Identifiers.h"

#include <QRectF>
#include <QString>

#include <optional>

namespace vesk::platform {

// A window to add for an application. Bounds are top-left (Quartz). The
// window goes on `display` (default: the display that holds most of it) and on
// that display's Space number `space` (default: the active one).
struct WindowSpec {
    QString title;
    QRectF bounds;
    int layer = 0;
    double alpha = 1.0;
    std::optional<int> display;
    std::optional<int> space;
    bool minimized = false;
    bool fullScreen = false;
    bool desktopElement = false;
    // Visible on every Space (the desktop, panels that join all Spaces).
    bool onAllSpaces = false;
    // Standard windows have the three title-bar buttons; panels and desktop
    // windows have none.
    bool hasTitleBarButtons = true;
    // False: the accessibility API refuses to change the window.
    bool accessibilityWritable = true;

    bool operator==(const WindowSpec&) const = default;
};

} // namespace vesk::platform
