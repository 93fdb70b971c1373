#include "session/CompositeDisplayScreenshotCapturer.h"

#include "core/Geometry.h"

#include <QPainter>

#include <cmath>
#include <vector>

namespace vesk {

namespace {

struct DisplaySnapshot {
    Rect bounds; // top-left (Quartz), points
    QImage image;
};

// The display's top-left bounds: the system's, else its bottom-left frame
// flipped at the top edge of the primary display.
Rect quartzBounds(const platform::ScreenInfo& screen, const platform::ScreenProviding& screens,
                  const platform::ScreenInfo& primary)
{
    if (screen.displayID) {
        if (const auto bounds = screens.displayBounds(*screen.displayID))
            return rectFromQRectF(*bounds);
    }
    const QRectF& frame = screen.frame;
    return Rect{frame.x(), primary.frame.bottom() - frame.bottom(), frame.width(), frame.height()};
}

int wholePoints(double length)
{
    return std::max(1, int(std::ceil(length)));
}

} // namespace

CompositeDisplayScreenshotCapturer::CompositeDisplayScreenshotCapturer(const platform::ScreenProviding& screens,
                                                                       const platform::ScreenCapturing& capture)
    : screens_(screens)
    , capture_(capture)
{
}

QImage CompositeDisplayScreenshotCapturer::captureImage() const
{
    const std::vector<platform::ScreenInfo> displays = screens_.screens();
    std::vector<DisplaySnapshot> snapshots;
    for (int index = 0; index < int(displays.size()); ++index) {
        QImage image = capture_.capture(index);
        if (image.isNull())
            continue;
        const Rect bounds = quartzBounds(displays[size_t(index)], screens_, displays.front());
        const QSize onePixelPerPoint(wholePoints(bounds.width), wholePoints(bounds.height));
        if (image.size() != onePixelPerPoint)
            image = image.scaled(onePixelPerPoint, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        snapshots.push_back({bounds, std::move(image)});
    }
    if (snapshots.empty())
        return QImage();

    Rect all = Rect::null();
    for (const DisplaySnapshot& snapshot : snapshots)
        all = all.united(snapshot.bounds);
    const int width = int(std::ceil(all.width));
    const int height = int(std::ceil(all.height));
    if (width < 1 || height < 1)
        return QImage();

    QImage composite(width, height, QImage::Format_ARGB32_Premultiplied);
    if (composite.isNull())
        return QImage();
    composite.fill(Qt::black);
    QPainter painter(&composite);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const DisplaySnapshot& snapshot : snapshots) {
        const QRectF target(snapshot.bounds.x - all.x, snapshot.bounds.y - all.y, snapshot.bounds.width,
                            snapshot.bounds.height);
        painter.drawImage(target, snapshot.image);
    }
    painter.end();
    return composite;
}

} // namespace vesk
