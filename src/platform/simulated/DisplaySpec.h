#pragma once

#include <QRectF>
#include <QString>

#include <optional>

namespace vesk::platform {

// A display to add to the simulated desktop. `bounds` is the display's rect in
// the top-left (Quartz) system; the first display sits at (0, 0) and is the
// primary one. The bottom-left (Cocoa) frame is derived from the primary
// display unless `frame` is given; the visible frame leaves out the menu bar.
struct DisplaySpec {
    std::optional<quint32> displayID;
    QRectF bounds;
    std::optional<QRectF> frame;
    std::optional<QRectF> visibleFrame;
    QString name;
    double scale = 1.0;
    int spaceCount = 1;
    // False simulates a display whose bounds the system does not report.
    bool reportsBounds = true;

    bool operator==(const DisplaySpec&) const = default;
};

} // namespace vesk::platform
