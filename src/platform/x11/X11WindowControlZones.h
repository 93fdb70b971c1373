#pragma once

#include "platform/WindowControlZoneProviding.h"
#include "platform/x11/X11RootMapping.h"

#include <functional>

namespace vesk::platform {

class X11WindowCache;

// The title-bar buttons of a managed window, from the window cache: where
// `X11Accessibility` places them, at the right end of the title bar, so the
// zone runs from the minimise button's left edge to the window's right edge
// and from its top edge down through the frame's top extent. A window without
// a title bar (or one the cache does not hold, such as Vesk's own) has none.
class X11WindowControlZones final : public WindowControlZoneProviding {
public:
    X11WindowControlZones(const X11WindowCache& cache, std::function<const X11RootMapping&()> rootMapping);

    QRectF controlZone(std::optional<WindowNumber> window, const QRectF& cocoaWindowRect) const override;

private:
    const X11WindowCache& cache_;
    std::function<const X11RootMapping&()> rootMapping_;
};

} // namespace vesk::platform
