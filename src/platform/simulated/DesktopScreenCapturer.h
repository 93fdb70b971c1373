#pragma once

#include "platform/ScreenCapturing.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace vesk::platform {

class SimulatedDesktop;
struct DesktopWindow;

// Captures the displays of the simulated desktop: each display is composed,
// back to front, from the windows on screen over it. Other applications'
// windows are drawn as plain windows (a colour per application, a title bar
// with the title and the three buttons); the desktop's own windows are the
// wallpaper; Vesk's windows are drawn with their registered renderer (see
// OwnWindowRegistering::setOwnWindowRenderer), so that the overlay's black panels
// and their holes show as they are. One pixel per point.
class DesktopScreenCapturer final : public ScreenCapturing {
public:
    explicit DesktopScreenCapturer(const SimulatedDesktop& desktop);

    // A null image when there is no such display.
    QImage capture(int displayIndex) const override;
    std::vector<QImage> captureAll() const override;

    // Which windows a composition draws.
    using WindowFilter = std::function<bool(const DesktopWindow& window)>;
    // Paints one display, back to front, with the painter's origin at the
    // display's top-left corner: every on-screen window over it that the
    // filter takes (a capture takes all; the desktop shown on a real display
    // leaves out Vesk's windows that are real windows above it).
    void paintDisplay(QPainter& painter, int displayIndex, const WindowFilter& includes) const;

    // The colour an application's windows are drawn in.
    static QColor windowColour(const QString& applicationKey);
    static QColor wallpaperColour();

private:
    void drawWindow(QPainter& painter, const DesktopWindow& window, const QRectF& rect) const;

    const SimulatedDesktop& desktop_;
};

} // namespace vesk::platform
