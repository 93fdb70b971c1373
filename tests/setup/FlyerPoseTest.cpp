#include "setup/FlyerPose.h"
#include "setup/WormveskFlyerOverlay.h"
#include "ui/ApplicationIcon.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace vesk {
namespace {

const QRectF tile(40, 300, 40, 40); // centre (60, 320)
const QPointF logo(180, 120);

// The signed side of point `p` relative to the line from the tile's centre to the logo.
double sideOfLine(const QPointF& p)
{
    const QPointF d = logo - tile.center();
    const QPointF v = p - tile.center();
    return d.x() * v.y() - d.y() * v.x();
}

TEST(FlyerPose, StartsOnTheTileAndEndsAtTheLogo)
{
    const FlyerPose atTile = flyerPose(WormveskStyle::cosmic, 0, tile, logo, 0);
    EXPECT_EQ(atTile.center, tile.center());
    EXPECT_DOUBLE_EQ(atTile.scale, 1);
    EXPECT_DOUBLE_EQ(atTile.opacity, 1);
    EXPECT_DOUBLE_EQ(atTile.shadowOpacity, 0);
    EXPECT_DOUBLE_EQ(atTile.shadowRadius, 4);

    const FlyerPose atLogo = flyerPose(WormveskStyle::solar, 1, tile, logo, 1);
    EXPECT_NEAR(atLogo.center.x(), logo.x(), 1e-9);
    EXPECT_NEAR(atLogo.center.y(), logo.y(), 1e-9);
    EXPECT_NEAR(atLogo.scale, 0.06, 1e-12);
    EXPECT_NEAR(atLogo.opacity, 0, 1e-12);
    EXPECT_DOUBLE_EQ(atLogo.rotationDegrees, 540);
    EXPECT_DOUBLE_EQ(atLogo.shadowOpacity, 0.6);
    EXPECT_DOUBLE_EQ(atLogo.shadowRadius, 12);
}

TEST(FlyerPose, LegBoundariesBelongToTheEarlierLeg)
{
    struct Case {
        double progress;
        double scale;
        double opacity;
    };
    for (const Case c : {Case{0.45, 0.72, 0.95}, Case{0.78, 0.30, 0.55},
                         Case{0.6, 0.72 - 0.42 * (0.15 / 0.33), 0.95 - 0.40 * (0.15 / 0.33)}}) {
        const FlyerPose pose = flyerPose(WormveskStyle::cosmic, 0, tile, logo, c.progress);
        EXPECT_NEAR(pose.scale, c.scale, 1e-12) << c.progress;
        EXPECT_NEAR(pose.opacity, c.opacity, 1e-12) << c.progress;
    }
}

TEST(FlyerPose, NeighboursBendAndSpinToOppositeSides)
{
    for (const WormveskStyle style : {WormveskStyle::cosmic, WormveskStyle::solar}) {
        const FlyerPose even = flyerPose(style, 0, tile, logo, 0.45);
        const FlyerPose odd = flyerPose(style, 1, tile, logo, 0.45);
        EXPECT_LT(sideOfLine(even.center), 0);
        EXPECT_GT(sideOfLine(odd.center), 0);
        EXPECT_LT(even.rotationDegrees, 0);
        EXPECT_GT(odd.rotationDegrees, 0);
    }
    // Solar bends twice as far: C1 lies 0.5 × bend × |D| off the line.
    const QPointF d = logo - tile.center();
    const double length = std::hypot(d.x(), d.y());
    const double cosmicOffset = sideOfLine(flyerPose(WormveskStyle::cosmic, 1, tile, logo, 0.45).center) / length;
    const double solarOffset = sideOfLine(flyerPose(WormveskStyle::solar, 1, tile, logo, 0.45).center) / length;
    EXPECT_NEAR(cosmicOffset, 0.5 * 0.15 * length, 1e-9);
    EXPECT_NEAR(solarOffset, 0.5 * 0.3 * length, 1e-9);
}

TEST(FlyerPose, ATileOnTheLogoOnlyShrinksSpinsAndFades)
{
    const QRectF onLogo(logo.x() - 20, logo.y() - 20, 40, 40);
    const FlyerPose pose = flyerPose(WormveskStyle::cosmic, 0, onLogo, logo, 0.6);
    EXPECT_EQ(pose.center, logo);
    EXPECT_LT(pose.scale, 1);
    EXPECT_NE(pose.rotationDegrees, 0);
}

// The mean position of the pixels drawn in `image`.
QPointF litCentroid(const QImage& image)
{
    double x = 0;
    double y = 0;
    int count = 0;
    for (int row = 0; row < image.height(); ++row) {
        for (int column = 0; column < image.width(); ++column) {
            if (qAlpha(image.pixel(column, row)) > 16) {
                x += column;
                y += row;
                ++count;
            }
        }
    }
    return count ? QPointF(x / count, y / count) : QPointF(-1, -1);
}

TEST(WormveskFlyerOverlay, RenderedFramesBendToOppositeSides)
{
    // Two tiles straight below the logo: the first flyer bends to the left
    // of the direct line, the second to the right, each frame drawn alone.
    const QPointF center(180, 100);
    FlyerScene scene;
    scene.style = WormveskStyle::cosmic;
    scene.apps = {{"com.a", genericApplicationIcon(40)}, {"com.b", genericApplicationIcon(40)}};
    scene.iconFrames = {{"com.a", QRectF(160, 360, 40, 40)}, {"com.b", QRectF(160, 360, 40, 40)}};
    scene.logoCenter = center;
    QDir().mkpath(VESK_GALLERY_DIR);

    for (const double p : {0.3, 0.6, 0.9}) {
        QImage frame(360, 440, QImage::Format_ARGB32_Premultiplied);
        frame.fill(Qt::black);
        std::vector<QPointF> centroids;
        for (const QString id : {"com.a", "com.b"}) {
            QImage alone(360, 440, QImage::Format_ARGB32_Premultiplied);
            alone.fill(Qt::transparent);
            FlyerScene one = scene;
            one.progress = {{"com.a", 0}, {"com.b", 0}};
            one.progress[id] = p;
            one.iconFrames = {{id, scene.iconFrames.at(id)}};
            QPainter painter(&alone);
            painter.setRenderHint(QPainter::Antialiasing);
            WormveskFlyerOverlay::paint(painter, one);
            painter.end();
            centroids.push_back(litCentroid(alone));
            QPainter onFrame(&frame);
            onFrame.drawImage(0, 0, alone);
        }
        frame.save(QStringLiteral(VESK_GALLERY_DIR "/flyers-p%1.png").arg(p * 10, 0, 'f', 0));
        EXPECT_LT(centroids[0].x(), 180 - 2) << "p=" << p;
        EXPECT_GT(centroids[1].x(), 180 + 2) << "p=" << p;
        EXPECT_LT(centroids[0].y(), 380) << "moved up towards the logo, p=" << p;
    }
}

} // namespace
} // namespace vesk
