#include "ui/HardcoreLockBadge.h"

#include "ui/Symbol.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace vesk {
namespace {

QImage render(HardcoreLockBadge& badge)
{
    badge.resize(badge.sizeHint());
    QImage image(badge.size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::black);
    badge.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The leftmost column (in device pixels) where a pixel is close to `color`.
int firstColumnOf(const QImage& image, const QColor& color)
{
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - color.red()) < 12 && std::abs(pixel.green() - color.green()) < 12
                && std::abs(pixel.blue() - color.blue()) < 12)
                return x;
        }
    }
    return -1;
}

TEST(HardcoreLockBadge, SaysHardcoreWithItsTooltip)
{
    HardcoreLockBadge badge;
    EXPECT_EQ(badge.title(), "Hardcore");
    EXPECT_EQ(badge.toolTip(), "Hardcore-Modus: Die Session endet nur durch Timer oder Neustart.");
}

// The HUD dresses it in white 0.7 on a white 0.1 capsule padded 12/4; the
// stage bar in a pale red on red 0.18 in a rounded rectangle of radius 7
// padded 10/6. The badge itself adds nothing.
TEST(HardcoreLockBadge, TakesTheColoursAndPaddingOfItsHost)
{
    HardcoreLockBadge plain;
    const QSize bare = plain.sizeHint();
    EXPECT_GE(bare.width(), symbolSide(HardcoreLockBadge::pointSize) + HardcoreLockBadge::spacing + 30);

    HardcoreLockBadge hud;
    hud.setColor(QColor(255, 255, 255, 179));
    hud.setBackground(QColor(255, 255, 255, 26));
    hud.setContentsMargins(12, 4, 12, 4);
    EXPECT_EQ(hud.sizeHint(), bare + QSize(24, 8));

    HardcoreLockBadge stage;
    const QColor pale(255, 181, 177);
    stage.setColor(pale);
    stage.setBackground(QColor(255, 69, 58, 46), 7);
    stage.setContentsMargins(10, 6, 10, 6);

    const QImage plainImage = render(plain);
    const QImage hudImage = render(hud);
    const QImage stageImage = render(stage);
    QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR));
    hudImage.save(QStringLiteral(VESK_GALLERY_DIR "/hardcore-badge-hud.png"));
    stageImage.save(QStringLiteral(VESK_GALLERY_DIR "/hardcore-badge-stage.png"));

    // Without a background the black canvas shows through everywhere but the label.
    EXPECT_EQ(plainImage.pixelColor(1, 1), QColor(Qt::black));
    // The capsule leaves its corners out and fills its middle edge.
    EXPECT_EQ(hudImage.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(hudImage.pixelColor(hudImage.width() / 2, 1), QColor(26, 26, 26));
    EXPECT_EQ(stageImage.pixelColor(stageImage.width() / 2, 1), QColor(46, 12, 10));
    // The label is drawn in the host's colour, moved in by the padding.
    const int plainStart = firstColumnOf(plainImage, Qt::white);
    ASSERT_GE(plainStart, 0);
    EXPECT_NEAR(firstColumnOf(stageImage, pale) - plainStart, 2 * 10, 1);
}

} // namespace
} // namespace vesk
