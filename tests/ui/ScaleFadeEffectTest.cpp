#include "ui/ScaleFadeEffect.h"

#include "core/ManualScheduler.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

namespace vesk::test {
namespace {

// A red square of 100 points in the middle of a white 200-point window,
// scaled to half its size while it is gone.
class ScaleFadeEffectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(200, 200);
        paint(window, Qt::white);
        square = new QWidget(&window);
        square->setGeometry(50, 50, 100, 100);
        paint(*square, Qt::red);
        effect = new ScaleFadeEffect(scheduler, 0.5, square);
        square->setGraphicsEffect(effect);
    }

    static void paint(QWidget& widget, const QColor& color)
    {
        QPalette palette = widget.palette();
        palette.setColor(QPalette::Window, color);
        widget.setPalette(palette);
        widget.setAutoFillBackground(true);
    }

    QColor pixel(int x, int y) { return window.grab().toImage().pixelColor(x, y); }

    ManualScheduler scheduler;
    QWidget window;
    QWidget* square = nullptr;
    ScaleFadeEffect* effect = nullptr;
};

TEST_F(ScaleFadeEffectTest, DrawsTheWidgetFadedAndScaledAboutItsCentreOnTheWay)
{
    effect->moveTo(false, 0);
    EXPECT_EQ(pixel(100, 100), QColor(Qt::white)) << "gone: nothing drawn";

    effect->moveTo(true, 1.0);
    scheduler.advance(0.5);
    // 68 % of the way: 84 points wide about the centre, red at 68 % over white.
    EXPECT_NEAR(effect->scale(), 0.842, 0.002);
    EXPECT_EQ(pixel(53, 100), QColor(Qt::white)) << "beside the scaled square";
    EXPECT_EQ(pixel(100, 53), QColor(Qt::white));
    const QColor middle = pixel(100, 100);
    EXPECT_EQ(middle.red(), 255);
    EXPECT_NEAR(middle.green(), 255 * (1 - 0.685), 3);
    EXPECT_NEAR(pixel(62, 138).green(), middle.green(), 3) << "inside the scaled square's corner";
    EXPECT_TRUE(effect->isMoving());

    scheduler.advance(0.5);
    effect->settle();
    EXPECT_FALSE(effect->isMoving());
    EXPECT_FALSE(effect->isEnabled());
    EXPECT_EQ(pixel(51, 51), QColor(Qt::red));
    EXPECT_EQ(pixel(49, 49), QColor(Qt::white));
}

} // namespace
} // namespace vesk::test
