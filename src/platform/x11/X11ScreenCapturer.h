#pragma once

#include "platform/ScreenCapturing.h"
#include "platform/x11/X11RootMapping.h"

#include <QRect>

#include <functional>

namespace vesk::platform {

class ScreenProviding;
class X11Connection;

// Captures what the X server shows: each display's bounds cut out of the
// root window (xcb_get_image), so every client's window and Vesk's own are
// in it as they are on the screen. Needs a true-colour root of 24 or 32 bits
// per pixel with the usual channel masks; anything else gives null images.
class X11ScreenCapturer final : public ScreenCapturing {
public:
    // `rootMapping()` takes the displays' bounds to the root window (none
    // given: they are the root's).
    X11ScreenCapturer(X11Connection& connection, const ScreenProviding& screens,
                      std::function<const X11RootMapping&()> rootMapping = {});

    QImage capture(int displayIndex) const override;
    std::vector<QImage> captureAll() const override;

    // A rect of the root window; null when it is off the root or the server
    // refuses it.
    QImage captureRect(const QRect& rootRect) const;

private:
    X11Connection& connection_;
    const ScreenProviding& screens_;
    std::function<const X11RootMapping&()> rootMapping_;
};

} // namespace vesk::platform
