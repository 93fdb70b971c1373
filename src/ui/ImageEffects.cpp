#include "ui/ImageEffects.h"

#include "ui/Gradient.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace vesk {

namespace {

// Widths of three box blurs whose succession approximates a Gaussian of
// standard deviation `sigma`.
std::array<int, 3> boxWidths(double sigma)
{
    constexpr int passes = 3;
    const double ideal = std::sqrt(12 * sigma * sigma / passes + 1);
    int lower = static_cast<int>(std::floor(ideal));
    if (lower % 2 == 0)
        --lower;
    const int upper = lower + 2;
    const double m =
        (12 * sigma * sigma - passes * lower * lower - 4 * passes * lower - 3 * passes) / (-4.0 * lower - 4);
    const int lowerCount = static_cast<int>(std::lround(m));
    std::array<int, 3> widths{};
    for (int i = 0; i < passes; ++i)
        widths[static_cast<std::size_t>(i)] = i < lowerCount ? lower : upper;
    return widths;
}

// One box pass along a line of `count` pixels of `Channels` bytes: from the
// contiguous `source` to `target`, whose pixels lie `step` bytes apart.
// Outside the line counts as transparent.
template <int Channels>
void boxPass(const quint8* source, quint8* target, int count, std::ptrdiff_t step, int radius)
{
    const std::uint32_t width = 2 * static_cast<std::uint32_t>(radius) + 1;
    // sum / width, rounded, as a multiplication: exact for sums up to 255 × width.
    const std::uint64_t reciprocal = ((std::uint64_t{1} << 32) + width - 1) / width;
    std::array<std::uint32_t, Channels> sums{};
    for (int i = 0; i < std::min(radius, count); ++i)
        for (int c = 0; c < Channels; ++c)
            sums[c] += source[i * Channels + c];
    for (int i = 0; i < count; ++i) {
        const int entering = i + radius;
        if (entering < count)
            for (int c = 0; c < Channels; ++c)
                sums[c] += source[entering * Channels + c];
        for (int c = 0; c < Channels; ++c)
            target[i * step + c] = static_cast<quint8>(((sums[c] + width / 2) * reciprocal) >> 32);
        const int leaving = i - radius;
        if (leaving >= 0)
            for (int c = 0; c < Channels; ++c)
                sums[c] -= source[leaving * Channels + c];
    }
}

// One box pass along every row (horizontal) or every column.
template <int Channels>
void blurAxis(QImage& image, int radius, bool horizontal)
{
    const int lines = horizontal ? image.height() : image.width();
    const int count = horizontal ? image.width() : image.height();
    const std::ptrdiff_t step = horizontal ? Channels : image.bytesPerLine();
    std::vector<quint8> line(static_cast<std::size_t>(count) * Channels);
    for (int index = 0; index < lines; ++index) {
        quint8* start = horizontal ? image.scanLine(index) : image.bits() + index * Channels;
        for (int i = 0; i < count; ++i)
            std::copy_n(start + i * step, Channels, line.data() + i * Channels);
        boxPass<Channels>(line.data(), start, count, step, radius);
    }
}

template <int Channels>
void blurImage(QImage& image, double radius)
{
    for (const int width : boxWidths(radius)) {
        const int boxRadius = (width - 1) / 2;
        if (boxRadius <= 0)
            continue;
        blurAxis<Channels>(image, boxRadius, true);
        blurAxis<Channels>(image, boxRadius, false);
    }
}

} // namespace

QMargins shadowMargins(const Shadow& shadow)
{
    const double reach = 3 * shadow.radius;
    const auto side = [reach](double shift) { return static_cast<int>(std::ceil(std::max(0.0, reach + shift))); };
    return {side(-shadow.offset.x()), side(-shadow.offset.y()), side(shadow.offset.x()), side(shadow.offset.y())};
}

void gaussianBlur(QImage& image, double radius)
{
    if (radius <= 0 || image.isNull())
        return;
    if (image.format() == QImage::Format_Alpha8) {
        blurImage<1>(image, radius);
        return;
    }
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    blurImage<4>(image, radius);
}

void offsetBrightness(QImage& image, double amount)
{
    if (amount == 0 || image.isNull())
        return;
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        auto* pixel = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(pixel[x]);
            const int delta = static_cast<int>(std::lround(amount * alpha));
            const auto shift = [&](int channel) { return std::clamp(channel + delta, 0, alpha); };
            pixel[x] = qRgba(shift(qRed(pixel[x])), shift(qGreen(pixel[x])), shift(qBlue(pixel[x])), alpha);
        }
    }
}

QImage tintedMask(const QImage& image, const QColor& color)
{
    QImage mask = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&mask);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(mask.rect(), color);
    return mask;
}

void paintLayer(QPainter& painter, const QRectF& bounds, const LayerEffects& effects,
                const std::function<void(QPainter&)>& draw)
{
    if (effects.opacity <= 0)
        return;
    const QTransform toDevice = painter.deviceTransform();
    // A child widget's painter draws into its window's backing store: the
    // device transform then carries the widget's offset there, which the
    // device's own size and the drawn layer must not get a second time.
    const QPointF redirection = (painter.worldTransform().inverted() * toDevice).map(QPointF(0, 0));
    const double scale = std::sqrt(std::abs(toDevice.determinant()));
    const double shadowReach =
        effects.shadow ? 3 * effects.shadow->radius
                             + std::max(std::abs(effects.shadow->offset.x()), std::abs(effects.shadow->offset.y()))
                       : 0;
    const double reach = (3 * effects.blurRadius + shadowReach) * scale;

    // The layer covers the drawing and its reach, cut to the device (with
    // room for the blur to pull in what lies just outside).
    QRect pixels = toDevice.mapRect(bounds).adjusted(-reach, -reach, reach, reach).toAlignedRect();
    const QPaintDevice* device = painter.device();
    const double dpr = device->devicePixelRatioF();
    const QRect deviceRect = QRect(0, 0, static_cast<int>(std::ceil(device->width() * dpr)),
                                   static_cast<int>(std::ceil(device->height() * dpr)))
                                 .translated(redirection.toPoint());
    const int margin = static_cast<int>(std::ceil(reach));
    pixels &= deviceRect.adjusted(-margin, -margin, margin, margin);
    if (pixels.isEmpty())
        return;

    QImage layer(pixels.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter layerPainter(&layer);
        layerPainter.setRenderHints(painter.renderHints());
        layerPainter.setTransform(toDevice * QTransform::fromTranslate(-pixels.left(), -pixels.top()));
        draw(layerPainter);
    }
    offsetBrightness(layer, effects.brightness);
    gaussianBlur(layer, effects.blurRadius * scale);

    painter.save();
    painter.resetTransform();
    painter.setOpacity(painter.opacity() * effects.opacity);
    layer.setDevicePixelRatio(dpr);
    const QPointF origin = (QPointF(pixels.topLeft()) - redirection) / dpr;
    if (effects.shadow && effects.shadow->color.alpha() > 0) {
        QImage shape = layer.convertToFormat(QImage::Format_Alpha8);
        gaussianBlur(shape, effects.shadow->radius * scale);
        // Tinted opaque and faded while drawn, to keep the faint edges' precision.
        QImage shadow = tintedMask(shape, withOpacity(effects.shadow->color, 1));
        shadow.setDevicePixelRatio(dpr);
        painter.save();
        painter.setOpacity(painter.opacity() * effects.shadow->color.alphaF());
        painter.drawImage(origin + effects.shadow->offset * scale / dpr, shadow);
        painter.restore();
    }
    painter.drawImage(origin, layer);
    painter.restore();
}

} // namespace vesk
