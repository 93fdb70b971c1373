#pragma once

#include "platform/Identifiers.h"

#include <QRectF>

#include <optional>

namespace vesk::platform {

// Where a window's title-bar buttons (close, minimise, zoom) sit, which is
// the desktop's to say. It is asked for each click, so it answers from what
// it holds, without asking the system.
class WindowControlZoneProviding {
public:
    virtual ~WindowControlZoneProviding() = default;

    // The zone of a window of the window list, from its number (none when the
    // list gave none) and its rect in the bottom-left system, in that system;
    // null (QRectF()) when the window has no such buttons.
    virtual QRectF controlZone(std::optional<WindowNumber> window, const QRectF& cocoaWindowRect) const = 0;
};

} // namespace vesk::platform
