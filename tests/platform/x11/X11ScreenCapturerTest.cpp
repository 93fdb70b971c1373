#include "platform/x11/X11ScreenCapturer.h"
#include "X11DesktopScene.h"
#include "platform/ScreenProviding.h"

namespace vesk::platform::testing {
namespace {

// The test server's one screen, whatever screens Qt's offscreen platform has.
class ServerScreen final : public ScreenProviding {
public:
    explicit ServerScreen(QRectF bounds) : bounds_(bounds) { }
    std::vector<ScreenInfo> screens() const override { return {ScreenInfo{1, bounds_, bounds_, "screen", 1.0}}; }
    std::optional<ScreenInfo> mainScreen() const override { return screens().front(); }
    std::optional<QRectF> displayBounds(quint32 id) const override
    {
        return id == 1 ? std::optional(bounds_) : std::nullopt;
    }

private:
    QRectF bounds_;
};

class X11ScreenCapturerTest : public X11DesktopScene { };

TEST_F(X11ScreenCapturerTest, CapturesTheDisplayAsTheServerShowsIt)
{
    const xcb_window_t id = openWindow({"--geometry", "200x120+300+200"});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    ASSERT_TRUE(waitFor([&] { return !windowOf(id).frameExtents.isNull(); }));
    const QRect client = windowOf(id).clientGeometry;
    const QRect frame = windowOf(id).bounds();

    const ServerScreen screen(QRectF(0, 0, screenWidth, screenHeight));
    const X11ScreenCapturer capturer(*connection, screen);
    const QPoint titleBar(frame.center().x(), frame.top() + windowOf(id).frameExtents.top() / 2);
    QImage image;
    // openbox draws the frame a moment after it has put it up.
    auto titleBarDrawn = [&] {
        image = capturer.capture(0);
        return !image.isNull() && image.pixel(titleBar) != qRgb(255, 255, 255)
               && image.pixel(titleBar) != qRgb(0, 0, 0);
    };
    EXPECT_TRUE(waitFor(titleBarDrawn));
    ASSERT_EQ(image.size(), QSize(screenWidth, screenHeight));
    // The client paints itself white on the black root.
    EXPECT_EQ(image.pixel(client.center()), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 0));
    // Stored opaque, as the image format requires, whatever the server sends in the fourth byte.
    EXPECT_EQ(qAlpha(reinterpret_cast<const QRgb*>(image.constScanLine(10))[10]), 255);

    EXPECT_TRUE(capturer.capture(1).isNull());
    EXPECT_EQ(capturer.captureAll().size(), 1u);
}

TEST_F(X11ScreenCapturerTest, FindsADisplayFromThePrimaryDisplaysCorner)
{
    const xcb_window_t id = openWindow({"--geometry", "200x120+350+250"});
    ASSERT_NE(id, XCB_WINDOW_NONE);
    ASSERT_TRUE(waitFor([&] { return !windowOf(id).frameExtents.isNull(); }));
    // The display at (0, 0) from the primary display's corner, which lies at (300, 200) in the root.
    const ServerScreen screen(QRectF(0, 0, 400, 300));
    X11RootMapping mapping;
    mapping.primaryOrigin = QPointF(300, 200);
    const X11ScreenCapturer capturer(*connection, screen, [&]() -> const X11RootMapping& { return mapping; });
    const QImage image = capturer.capture(0);
    ASSERT_EQ(image.size(), QSize(400, 300));
    // The client (white) lies at its place less the corner; the root (black) around it.
    EXPECT_EQ(image.pixel(windowOf(id).clientGeometry.center() - QPoint(300, 200)), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 0));
}

TEST_F(X11ScreenCapturerTest, CutsARectToTheRootWindow)
{
    const ServerScreen screen(QRectF(0, 0, screenWidth, screenHeight));
    const X11ScreenCapturer capturer(*connection, screen);
    EXPECT_EQ(capturer.captureRect(QRect(screenWidth - 50, screenHeight - 40, 200, 200)).size(), QSize(50, 40));
    EXPECT_TRUE(capturer.captureRect(QRect(screenWidth + 10, 0, 100, 100)).isNull());
}

} // namespace
} // namespace vesk::platform::testing
