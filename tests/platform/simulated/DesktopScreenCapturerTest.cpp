#include "DesktopTestScene.h"

#include "platform/simulated/DesktopScreenCapturer.h"

#include <QPainter>

using namespace vesk;
using namespace vesk::platform;
using vesk::platform::testing::DesktopTestScene;

namespace {

class DesktopScreenCapturerTest : public DesktopTestScene {
protected:
    QRgb pixel(int display, QPoint point) const
    {
        return DesktopScreenCapturer(*desktop).capture(display).pixel(point);
    }

    static QRgb colourOf(const char* bundleID) { return DesktopScreenCapturer::windowColour(bundleID).rgb(); }
    static QRgb wallpaper() { return DesktopScreenCapturer::wallpaperColour().rgb(); }
};

TEST_F(DesktopScreenCapturerTest, DisplaysShowTheirWindowsBackToFront)
{
    const auto images = DesktopScreenCapturer(*desktop).captureAll();
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].size(), QSize(1440, 900));
    EXPECT_EQ(images[1].size(), QSize(1920, 1080));
    // The browser (300, 200, 800, 500) lies over the editor (100, 100, 600, 400).
    EXPECT_EQ(pixel(0, QPoint(500, 400)), colourOf("com.example.browser"));
    EXPECT_EQ(pixel(0, QPoint(150, 250)), colourOf("com.example.editor"));
    EXPECT_EQ(pixel(0, QPoint(1300, 850)), wallpaper());
    EXPECT_EQ(pixel(1, QPoint(100, 100)), wallpaper());

    desktop->setWindowMinimized(firstWindowOf("com.example.browser"), true);
    EXPECT_EQ(pixel(0, QPoint(500, 400)), colourOf("com.example.editor"));
    EXPECT_EQ(pixel(0, QPoint(900, 600)), wallpaper());
}

TEST_F(DesktopScreenCapturerTest, VeskPanelsAreDrawnByTheirRendererWithTheirHoles)
{
    OwnWindowSpec overlay;
    overlay.level = shieldingWindowLevel() + 1;
    overlay.frame = QRectF(0, 0, 1440, 900);
    overlay.ignoresMouseEvents = true;
    const WindowNumber number = desktop->addOwnWindow(overlay);
    QSize requested;
    desktop->setOwnWindowRenderer(number, [&](const QSize& size) {
        requested = size;
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(QRect(400, 300, 200, 100), Qt::transparent); // a hole over the browser
        return image;
    });
    EXPECT_EQ(pixel(0, QPoint(500, 350)), colourOf("com.example.browser"));
    EXPECT_EQ(pixel(0, QPoint(150, 250)), qRgb(0, 0, 0));
    EXPECT_EQ(requested, QSize(1440, 900));

    desktop->removeOwnWindow(number);
    EXPECT_EQ(pixel(0, QPoint(150, 250)), colourOf("com.example.editor"));
}

} // namespace
