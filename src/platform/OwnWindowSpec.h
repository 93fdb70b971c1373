#pragma once

#include "platform/OwnApplicationSpec.h"
#include "platform/WindowLevel.h"

#include <QRectF>
#include <QString>

#include <optional>

namespace vesk::platform {

// One of Vesk's own windows or panels as it reports itself to the desktop, so
// that it appears in the window list with Vesk's process identifier at its
// window level. The frame is bottom-left (Cocoa), as the panel knows it.
struct OwnWindowSpec {
    QString title;
    int level = WindowLevel::normal;
    QRectF frame;
    bool visible = true;
    bool isPanel = true;
    bool ignoresMouseEvents = false;
    bool joinsAllSpaces = true;
    bool canBecomeKey = false;
    double alpha = 1.0;

    bool operator==(const OwnWindowSpec&) const = default;
};

} // namespace vesk::platform
