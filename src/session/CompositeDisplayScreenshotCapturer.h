#pragma once

#include "platform/ScreenCapturing.h"
#include "platform/ScreenProviding.h"
#include "session/SessionScreenshotImageCapturing.h"

namespace vesk {

// Captures every display, one pixel per point, and draws the captures upright
// into one image over the union of the displays' top-left (Quartz) bounds, on
// black: each display at its offset in the union, later displays over earlier
// ones, gaps between displays black. A display whose capture comes back empty
// is left out, and so are its bounds. The platform's capture answers at once,
// on the calling thread, so no wait for an image is involved.
class CompositeDisplayScreenshotCapturer final : public SessionScreenshotImageCapturing {
public:
    CompositeDisplayScreenshotCapturer(const platform::ScreenProviding& screens,
                                       const platform::ScreenCapturing& capture);

    QImage captureImage() const override;

private:
    const platform::ScreenProviding& screens_;
    const platform::ScreenCapturing& capture_;
};

} // namespace vesk
