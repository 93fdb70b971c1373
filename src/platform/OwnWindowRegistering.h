#pragma once

#include "platform/Identifiers.h"
#include "platform/OwnWindowInfo.h"
#include "platform/OwnWindowSpec.h"

#include <QImage>
#include <QSize>

#include <functional>
#include <optional>
#include <vector>

class QWindow;

namespace vesk::platform {

// How a screen capture draws one of Vesk's windows: an image of the window's
// content at its size in points (a widget's grab(), say), with the room for
// its shadow around it where the window has some.
using OwnWindowRenderer = std::function<QImage(const QSize& sizeInPoints)>;

// Vesk's own windows and panels as the window server knows them: each
// registers so that it appears in the window list with Vesk's process
// identifier at its level, and updates itself on every move, show or hide.
// The registry outlives every window that registers with it.
class OwnWindowRegistering {
public:
    virtual ~OwnWindowRegistering() = default;

    virtual WindowNumber addOwnWindow(const OwnWindowSpec& spec) = 0;
    // False when no such window is registered.
    virtual bool updateOwnWindow(WindowNumber number, const OwnWindowSpec& spec) = 0;
    virtual void removeOwnWindow(WindowNumber number) = 0;
    virtual void setOwnWindowRenderer(WindowNumber number, OwnWindowRenderer renderer) = 0;
    // The real window that shows it, so that a desktop on a real display can
    // keep the real windows stacked as listed and hand them their input.
    virtual void setOwnWindowHandle(WindowNumber number, QWindow* window) = 0;
    // The window takes the keyboard (a panel that can become key), without
    // activating Vesk: key presses go to it until it is ordered out, goes
    // away or another application is activated.
    virtual void makeOwnWindowKey(WindowNumber number) = 0;
    // Vesk's key window while it is on screen; none otherwise.
    virtual std::optional<WindowNumber> keyOwnWindow() const = 0;
    // Vesk's windows in the platform's order (front to back).
    virtual std::vector<OwnWindowInfo> ownWindows() const = 0;
};

} // namespace vesk::platform
