#pragma once

namespace vesk {

// Switches the floating screenshot thumbnail off for a session and restores
// the user's preference afterwards.
class ScreenshotThumbnailSuppressing {
public:
    virtual ~ScreenshotThumbnailSuppressing() = default;
    virtual void activate() = 0;
    virtual void deactivate() = 0;
};

} // namespace vesk
