#include "ui/ImageEffects.h"
#include "ui/OpacityOffsetBlurEffect.h"

#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>

namespace vesk {
namespace {

QImage transparentImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

double alphaSum(const QImage& image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qAlpha(image.pixel(x, y));
    return sum;
}

// The variance of the alpha along one row, about `centerX`.
double horizontalVariance(const QImage& image, int y, double centerX)
{
    double mass = 0, moment = 0;
    for (int x = 0; x < image.width(); ++x) {
        const double a = qAlpha(image.pixel(x, y));
        mass += a;
        moment += a * (x - centerX) * (x - centerX);
    }
    return moment / mass;
}

TEST(ImageEffects, BlurSpreadsLikeAGaussianOfTheRadius)
{
    for (const double radius : {1.5, 5.0, 16.0}) {
        // A 20-pixel square: blurred, its row profile has the square's own
        // variance (20² / 12) plus the radius squared.
        QImage image = transparentImage(201, 201);
        QPainter(&image).fillRect(QRect(91, 91, 20, 20), Qt::white);
        const double before = alphaSum(image);
        gaussianBlur(image, radius);
        EXPECT_NEAR(alphaSum(image), before, before * 0.02) << "blur keeps the amount of ink, radius " << radius;
        const double spread = std::sqrt(horizontalVariance(image, 100, 100.5) - 400.0 / 12);
        EXPECT_NEAR(spread, radius, radius * 0.1 + 0.3) << radius;
        EXPECT_EQ(qAlpha(image.pixel(100, 40)), qAlpha(image.pixel(100, 161))) << "spread evenly both ways";
        EXPECT_EQ(qAlpha(image.pixel(40, 100)), qAlpha(image.pixel(161, 100)));
    }
}

TEST(ImageEffects, BlurOfZeroLeavesTheImage)
{
    QImage image = transparentImage(5, 5);
    image.setPixel(2, 2, qRgba(10, 20, 30, 255));
    const QImage before = image;
    gaussianBlur(image, 0);
    EXPECT_EQ(image, before);
}

TEST(ImageEffects, BrightnessOffsetLiftsColourButNotTransparency)
{
    QImage image = transparentImage(2, 1);
    image.setPixel(0, 0, qRgba(100, 100, 100, 255));
    offsetBrightness(image, 0.45);
    EXPECT_EQ(qRed(image.pixel(0, 0)), 100 + 115);
    EXPECT_EQ(qAlpha(image.pixel(1, 0)), 0);
    EXPECT_EQ(qRed(image.pixel(1, 0)), 0);
    offsetBrightness(image, 1.0);
    EXPECT_EQ(qRed(image.pixel(0, 0)), 255) << "clamped";
}

TEST(ImageEffects, TintedMaskKeepsTheShapeInOneColour)
{
    QImage image = transparentImage(2, 1);
    image.setPixelColor(0, 0, QColor(0, 0, 255, 128));
    const QImage mask = tintedMask(image, QColor(217, 210, 196, 128));
    EXPECT_NEAR(mask.pixelColor(0, 0).alphaF(), 0.25, 0.01);
    EXPECT_NEAR(mask.pixelColor(0, 0).red(), 217, 3);
    EXPECT_EQ(mask.pixelColor(1, 0).alpha(), 0);
}

TEST(ImageEffects, LayerAppliesOpacityToTheGroupAsAWhole)
{
    // Two overlapping squares at 50 %: as a group the overlap is no darker.
    QImage image = transparentImage(40, 20);
    QPainter painter(&image);
    LayerEffects effects;
    effects.opacity = 0.5;
    paintLayer(painter, QRectF(0, 0, 40, 20), effects, [](QPainter& layer) {
        layer.fillRect(QRectF(0, 0, 25, 20), Qt::black);
        layer.fillRect(QRectF(15, 0, 25, 20), Qt::black);
    });
    painter.end();
    EXPECT_NEAR(qAlpha(image.pixel(5, 10)), 128, 1);
    EXPECT_EQ(qAlpha(image.pixel(20, 10)), qAlpha(image.pixel(5, 10)));
}

TEST(ImageEffects, LayerShadowFallsOutsideTheShapeAndFollowsTheTransform)
{
    QImage image = transparentImage(120, 120);
    image.setDevicePixelRatio(2);
    QPainter painter(&image);
    painter.translate(10, 10);
    const Shadow glow{QColor(217, 210, 196, 255), 4, {}};
    paintLayer(painter, QRectF(20, 20, 20, 20), LayerEffects::shadowed(glow),
               [](QPainter& layer) { layer.fillRect(QRectF(20, 20, 20, 20), Qt::black); });
    painter.end();
    // The square lies at device pixels 60 to 100; its glow reaches about 3 × 4 points × 2.
    EXPECT_EQ(image.pixelColor(80, 80), QColor(Qt::black));
    const QColor glowPixel = image.pixelColor(80, 104);
    EXPECT_GT(glowPixel.alpha(), 40);
    EXPECT_GT(glowPixel.red(), 150) << "the glow is the shadow's colour";
    EXPECT_GT(glowPixel.alpha(), image.pixelColor(80, 112).alpha());
    EXPECT_GT(image.pixelColor(80, 112).alpha(), image.pixelColor(80, 119).alpha());
    EXPECT_EQ(image.pixelColor(10, 10).alpha(), 0);
}

// A child widget that fills itself red through a layer.
class LayeredSquare final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        paintLayer(painter, QRectF(rect()), LayerEffects::shadowed({QColor(0, 0, 0, 128), 1, {}}),
                   [this](QPainter& layer) { layer.fillRect(rect(), Qt::red); });
    }
};

TEST(ImageEffects, LayerOfAChildWidgetLandsWhereTheChildIs)
{
    QWidget window;
    window.resize(100, 100);
    window.setAutoFillBackground(true);
    window.setPalette(QPalette(Qt::white));
    auto* child = new LayeredSquare(&window);
    child->setGeometry(40, 40, 20, 20);
    const QImage image = window.grab().toImage();
    EXPECT_EQ(image.pixelColor(42, 42), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(57, 57), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(70, 70), QColor(Qt::red)) << "not moved by the child's offset a second time";
    EXPECT_NE(image.pixelColor(90, 90), QColor(Qt::red));
}

TEST(OpacityOffsetBlurEffect, DrawsTheWidgetMovedFadedAndBlurred)
{
    QWidget host;
    host.resize(100, 200);
    host.setAttribute(Qt::WA_TranslucentBackground);
    QWidget* box = new QWidget(&host);
    box->setGeometry(20, 120, 60, 40);
    box->setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::white);
    box->setPalette(palette);
    auto* effect = new OpacityOffsetBlurEffect;
    box->setGraphicsEffect(effect);

    const auto render = [&] {
        QImage image(host.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        host.render(&image);
        return image;
    };
    EXPECT_EQ(render().pixelColor(50, 140), QColor(Qt::white)) << "unchanged with the defaults";

    effect->setOpacity(0.5);
    effect->setOffset(QPointF(0, -90));
    effect->setBlurRadius(1.5);
    const QImage moved = render();
    EXPECT_NEAR(moved.pixelColor(50, 50).red(), 128, 3) << "moved up 90 points at half opacity";
    EXPECT_EQ(moved.pixelColor(50, 140), QColor(Qt::black));
    // The blurred edge: between full and none.
    const int edge = moved.pixelColor(50, 30).red();
    EXPECT_GT(edge, 10);
    EXPECT_LT(edge, 120);
}

} // namespace
} // namespace vesk
