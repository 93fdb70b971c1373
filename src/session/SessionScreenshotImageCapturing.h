#pragma once

#include <QImage>

namespace vesk {

// One image of every display, composed into the union of their bounds.
class SessionScreenshotImageCapturing {
public:
    virtual ~SessionScreenshotImageCapturing() = default;
    // A null image when no display was captured or no composite was made.
    virtual QImage captureImage() const = 0;
};

} // namespace vesk
