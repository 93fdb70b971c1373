#include "ui/FilledButton.h"

#include "ui/VeskFont.h"

#include <QFontMetricsF>
#include <QImage>
#include <gtest/gtest.h>

#include <cmath>

namespace vesk {
namespace {

const QColor fillColor(0, 0, 255);
const QColor strokeColor(255, 0, 0);

// The button at its size, on a transparent canvas of two device pixels per point.
QImage render(FilledButton& button, const QSize& size)
{
    button.resize(size);
    QImage image(size * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::transparent);
    button.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

bool isClose(const QColor& pixel, const QColor& expected)
{
    return std::abs(pixel.red() - expected.red()) < 16 && std::abs(pixel.green() - expected.green()) < 16
           && std::abs(pixel.blue() - expected.blue()) < 16 && std::abs(pixel.alpha() - expected.alpha()) < 16;
}

FilledButton::Look roundedLook(std::optional<QColor> stroke)
{
    FilledButton::Look look = FilledButton::Look::filled(VeskFont::interface(12), Qt::white, fillColor);
    look.cornerRadius = 8;
    look.stroke = stroke;
    return look;
}

// Along each straight edge, away from the title and the corners: a stroked
// button shows its line on the outer point (two device pixels) and the fill
// inside it; an unstroked one fills up to its bounds.
TEST(FilledButton, AStrokeIsAOnePointLineInsideTheBoundsAroundTheFill)
{
    FilledButton stroked(QString(), roundedLook(strokeColor));
    const QImage image = render(stroked, QSize(100, 30));
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    for (const QPoint& edge : {QPoint(0, 30), QPoint(right, 30), QPoint(100, 0), QPoint(100, bottom)}) {
        const QPoint inward(edge.x() == 0       ? 1
                            : edge.x() == right ? -1
                                                : 0,
                            edge.y() == 0        ? 1
                            : edge.y() == bottom ? -1
                                                 : 0);
        EXPECT_TRUE(isClose(image.pixelColor(edge), strokeColor)) << edge.x() << "," << edge.y();
        EXPECT_TRUE(isClose(image.pixelColor(edge + inward), strokeColor)) << edge.x() << "," << edge.y();
        EXPECT_TRUE(isClose(image.pixelColor(edge + 2 * inward), fillColor)) << edge.x() << "," << edge.y();
    }
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << "the corners are rounded";

    FilledButton plain(QString(), roundedLook(std::nullopt));
    const QImage filled = render(plain, QSize(100, 30));
    EXPECT_TRUE(isClose(filled.pixelColor(0, 30), fillColor));
    EXPECT_TRUE(isClose(filled.pixelColor(100, 0), fillColor));
}

TEST(FilledButton, ATitleAsksForItsAdvanceAndLineHeightPlusThePadding)
{
    FilledButton::Look look = roundedLook(std::nullopt);
    look.padding = {8, 6, 8, 6};
    FilledButton button(QStringLiteral("Einstellungen"), look);
    const QFontMetricsF metrics(look.textStyle.font);
    EXPECT_EQ(button.sizeHint(), QSize(static_cast<int>(std::ceil(metrics.horizontalAdvance(button.text()) + 16)),
                                       static_cast<int>(std::ceil(metrics.height() + 12))));
    EXPECT_EQ(button.minimumSizeHint(), QSize(0, button.sizeHint().height())) << "a title may shrink";
}

} // namespace
} // namespace vesk
