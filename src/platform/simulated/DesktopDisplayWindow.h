#pragma once

#include "platform/simulated/DesktopScreenCapturer.h"

#include <QRasterWindow>

namespace vesk::platform {

// One display of the simulated desktop on a real screen: a frameless window
// over the display's bounds, kept at the bottom of the stack, that paints the
// display as a capture composes it, less the windows the filter leaves out.
class DesktopDisplayWindow final : public QRasterWindow {
    Q_OBJECT

public:
    DesktopDisplayWindow(const DesktopScreenCapturer& capturer, int displayIndex, const QRect& bounds,
                         DesktopScreenCapturer::WindowFilter drawn);

    int displayIndex() const { return displayIndex_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const DesktopScreenCapturer& capturer_;
    int displayIndex_;
    DesktopScreenCapturer::WindowFilter drawn_;
};

} // namespace vesk::platform
