#pragma once

#include "platform/Identifiers.h"

#include <QRectF>

#include <optional>

namespace vesk::platform {

// Vesk's own window as the application object lists it: a panel or not, and
// the display it is on.
struct OwnWindowInfo {
    WindowNumber number = 0;
    bool isPanel = false;
    bool visible = false;
    int level = 0;
    QRectF frame; // bottom-left system
    std::optional<int> displayIndex;
};

} // namespace vesk::platform
