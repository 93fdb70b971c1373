#pragma once

#include "core/Geometry.h"
#include "platform/ScreenProviding.h"

#include <QString>

#include <optional>

namespace vesk {

// The name of the display a panel is on: the one holding most of its
// bottom-left (Cocoa) frame, or none when the panel is on no display.
std::optional<QString> panelScreenName(const platform::ScreenProviding& screens, const Rect& cocoaFrame);

// The same, written "unknown" when the panel is on no display.
QString panelScreenLabel(const platform::ScreenProviding& screens, const Rect& cocoaFrame);

} // namespace vesk
