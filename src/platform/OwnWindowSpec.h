#pragma once

#include "platform/OwnApplicationSpec.h"
#include "platform/WindowLevel.h"

#include <QMargins>
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
    // Room around the frame the window draws its shadow into (top-left
    // system: top is the edge nearer the top of the screen). The shadow is
    // not part of the window: its frame, clicks and the window list leave it
    // out; a screen capture draws it.
    QMargins shadowMargins;

    bool operator==(const OwnWindowSpec&) const = default;
};

} // namespace vesk::platform
