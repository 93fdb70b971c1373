#include "platform/x11/X11ScreenCapturer.h"

#include "platform/ScreenProviding.h"
#include "platform/x11/X11Connection.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace vesk::platform {

namespace {

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};

const xcb_screen_t* rootScreen(xcb_connection_t* connection, xcb_window_t root)
{
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem > 0; xcb_screen_next(&it)) {
        if (it.data->root == root)
            return it.data;
    }
    return nullptr;
}

const xcb_visualtype_t* visualOf(const xcb_screen_t& screen, xcb_visualid_t id)
{
    for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem > 0; xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem > 0; xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == id)
                return visuals.data;
        }
    }
    return nullptr;
}

int bitsPerPixel(xcb_connection_t* connection, std::uint8_t depth)
{
    const xcb_setup_t* setup = xcb_get_setup(connection);
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem > 0; xcb_format_next(&formats)) {
        if (formats.data->depth == depth)
            return formats.data->bits_per_pixel;
    }
    return 0;
}

// The root's pixels are laid out as QImage's RGB32 is in memory: 32 bits a
// pixel, red, green and blue in the low three bytes, least significant first.
bool rootMatchesRgb32(xcb_connection_t* connection, const xcb_screen_t& screen)
{
    const xcb_visualtype_t* visual = visualOf(screen, screen.root_visual);
    return visual && visual->_class == XCB_VISUAL_CLASS_TRUE_COLOR && visual->red_mask == 0xff0000
           && visual->green_mask == 0x00ff00 && visual->blue_mask == 0x0000ff
           && bitsPerPixel(connection, screen.root_depth) == 32
           && xcb_get_setup(connection)->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
}

} // namespace

X11ScreenCapturer::X11ScreenCapturer(X11Connection& connection, const ScreenProviding& screens,
                                     std::function<const X11RootMapping&()> rootMapping)
    : connection_(connection)
    , screens_(screens)
    , rootMapping_(std::move(rootMapping))
{
}

QImage X11ScreenCapturer::capture(int displayIndex) const
{
    const std::vector<ScreenInfo> displays = screens_.screens();
    if (displayIndex < 0 || displayIndex >= int(displays.size()))
        return QImage();
    const ScreenInfo& display = displays[std::size_t(displayIndex)];
    const std::optional<QRectF> bounds = display.displayID ? screens_.displayBounds(*display.displayID) : std::nullopt;
    if (!bounds || bounds->isEmpty())
        return QImage();
    const X11RootMapping mapping = rootMapping_ ? rootMapping_() : X11RootMapping{};
    return captureRect(mapping.rootFromQuartz(*bounds));
}

std::vector<QImage> X11ScreenCapturer::captureAll() const
{
    std::vector<QImage> images;
    const int count = int(screens_.screens().size());
    for (int i = 0; i < count; ++i)
        images.push_back(capture(i));
    return images;
}

QImage X11ScreenCapturer::captureRect(const QRect& rootRect) const
{
    xcb_connection_t* c = connection_.xcb();
    const xcb_screen_t* screen = rootScreen(c, connection_.root());
    if (!screen || !rootMatchesRgb32(c, *screen))
        return QImage();
    const QRect rect = rootRect.intersected(QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels));
    if (rect.isEmpty())
        return QImage();
    const auto cookie =
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, connection_.root(), std::int16_t(rect.x()), std::int16_t(rect.y()),
                      std::uint16_t(rect.width()), std::uint16_t(rect.height()), ~0u);
    std::unique_ptr<xcb_get_image_reply_t, FreeDeleter> reply(xcb_get_image_reply(c, cookie, nullptr));
    if (!reply)
        return QImage();
    const int bytesPerLine = rect.width() * 4;
    if (xcb_get_image_data_length(reply.get()) < bytesPerLine * rect.height())
        return QImage();
    QImage image(rect.size(), QImage::Format_RGB32);
    const std::uint8_t* data = xcb_get_image_data(reply.get());
    for (int y = 0; y < rect.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::memcpy(line, data + std::ptrdiff_t(y) * bytesPerLine, std::size_t(bytesPerLine));
        // The server leaves the fourth byte undefined; RGB32 wants it opaque.
        for (int x = 0; x < rect.width(); ++x)
            line[x] |= 0xff000000u;
    }
    return image;
}

} // namespace vesk::platform
