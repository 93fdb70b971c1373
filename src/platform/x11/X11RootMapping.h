#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>

#include <vector>

namespace vesk::platform {

// Between the root window's device pixels and the top-left system of the
// platform interfaces: Qt's logical coordinates less the primary display's
// top-left corner. Each display has its root rect, its logical top-left
// corner and its scale (Qt keeps a display's corner where it is and scales
// what lies within it). Without displays the two systems are the same.
struct X11RootMapping {
    struct Display {
        QRect rootRect;
        QPointF logicalOrigin;
        double scale = 1.0;

        bool operator==(const Display&) const = default;
    };

    std::vector<Display> displays;
    QPointF primaryOrigin; // logical

    // Through the display that holds the rect's centre (else the first).
    QRectF quartzFromRoot(const QRect& rootRect) const;
    QRect rootFromQuartz(const QRectF& quartzRect) const;

    bool operator==(const X11RootMapping&) const = default;
};

} // namespace vesk::platform
