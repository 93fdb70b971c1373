#pragma once

#include <QImage>

#include <vector>

namespace vesk::platform {

// Captures what the displays show, one image per display in display order.
class ScreenCapturing {
public:
    virtual ~ScreenCapturing() = default;
    // A null image when there is no such display.
    virtual QImage capture(int displayIndex) const = 0;
    virtual std::vector<QImage> captureAll() const = 0;
};

} // namespace vesk::platform
