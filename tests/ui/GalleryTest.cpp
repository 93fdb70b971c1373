// Renders the toolkit's art into PNGs in the build folder (build/gallery) and
// checks what a person looking at them must see.

#include "UiFixture.h"

#include "ui/AnimatedValue.h"
#include "ui/ApplicationIcon.h"
#include "ui/FittedText.h"
#include "ui/GalaxyBackdropView.h"
#include "ui/GoalTargetIcon.h"
#include "ui/Symbol.h"
#include "ui/VeskTheme.h"
#include "ui/WormveskSymbol.h"

#include <QDir>
#include <QLineF>
#include <QPainter>

#include <cmath>
#include <tuple>

namespace vesk {
namespace {

void save(const QImage& image, const QString& name)
{
    QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR));
    EXPECT_TRUE(image.save(QStringLiteral(VESK_GALLERY_DIR "/") + name)) << name.toStdString();
}

// Small renders also go out four times enlarged, pixel for pixel, for looking at.
void saveWithZoom(const QImage& image, const QString& name)
{
    save(image, name + QStringLiteral(".png"));
    save(image.scaled(image.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation),
         name + QStringLiteral("@zoom4.png"));
}

QImage canvas(const QSize& size, const QColor& fill, double dpr = 1)
{
    QImage image(size * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(fill);
    return image;
}

// The symbol `size` points square at the centre of a canvas with `margin`
// points around it for the glow.
QImage renderSymbol(double size, double margin, const WormveskSymbolMotion& motion, bool ready,
                    const QColor& background = Qt::transparent)
{
    const int side = static_cast<int>(size + 2 * margin);
    QImage image = canvas(QSize(side, side), background);
    QPainter painter(&image);
    WormveskSymbol::paint(painter, QRectF(margin, margin, size, size), motion, ready);
    return image;
}

// A canvas point given in the symbol's 480-point layout: tilted by the pose
// about the centre, scaled to `size`, at the centre of the image.
QPoint symbolPixel(const QImage& image, double size, double tilt, const QPointF& layoutPoint)
{
    const double a = tilt * std::acos(-1.0) / 180;
    const QPointF turned(layoutPoint.x() * std::cos(a) - layoutPoint.y() * std::sin(a),
                         layoutPoint.x() * std::sin(a) + layoutPoint.y() * std::cos(a));
    const QPointF center(image.width() / 2.0, image.height() / 2.0);
    return (center + turned * size / 480).toPoint();
}

int alphaAt(const QImage& image, const QPoint& point)
{
    return image.pixelColor(point).alpha();
}

TEST(Gallery, EverySymbolAtFourteenPoints)
{
    const VeskTheme& theme = VeskTheme::shared();
    TextStyle caption;
    caption.font = VeskFont::interface(9);
    for (const double dpr : {1.0, 3.0}) {
        const int columns = 4;
        const QSizeF cell(150, 30);
        const int rows = static_cast<int>((allSymbols().size() + 2 + columns - 1) / columns);
        QImage image = canvas(QSize(columns * 150, rows * 30), theme.panelTop, dpr);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        int index = 0;
        const auto nextCell = [&] {
            const QPointF origin((index % columns) * cell.width(), (index / columns) * cell.height());
            ++index;
            return QRectF(origin, cell);
        };
        for (const Symbol symbol : allSymbols()) {
            const QRectF box = nextCell();
            const double side = symbolSide(14);
            paintSymbol(painter, symbol, QRectF(box.left() + 6, box.center().y() - side / 2, side, side),
                        theme.textPrimary);
            FittedText::fit(symbolName(symbol), caption, 120)
                .paint(painter, box.adjusted(30, 0, 0, 0), theme.textMuted);
        }
        QRectF box = nextCell();
        paintGenericApplicationIcon(painter, QRectF(box.left() + 4, box.top() + 3, 24, 24));
        FittedText::fit(QStringLiteral("generic application"), caption, 120)
            .paint(painter, box.adjusted(30, 0, 0, 0), theme.textMuted);
        box = nextCell();
        GoalTargetIcon::paint(painter, QRectF(box.left() + 8, box.top() + 8, 14, 14));
        FittedText::fit(QStringLiteral("GoalTargetIcon 14"), caption, 120)
            .paint(painter, box.adjusted(30, 0, 0, 0), theme.textMuted);
        painter.end();
        if (dpr == 1)
            saveWithZoom(image, QStringLiteral("symbols-14pt"));
        else
            save(image, QStringLiteral("symbols-14pt@3x.png"));

        // Each symbol left ink in its cell.
        for (std::size_t i = 0; i < allSymbols().size(); ++i) {
            const QRectF symbolBox(QPointF((i % columns) * cell.width() + 6, (i / columns) * cell.height() + 5),
                                   QSizeF(symbolSide(14), symbolSide(14)));
            int lit = 0;
            for (int y = static_cast<int>(symbolBox.top() * dpr); y < symbolBox.bottom() * dpr; ++y)
                for (int x = static_cast<int>(symbolBox.left() * dpr); x < symbolBox.right() * dpr; ++x)
                    lit += image.pixelColor(x, y).lightness() > 120 ? 1 : 0;
            EXPECT_GT(lit, 8 * dpr * dpr) << symbolName(allSymbols()[i]).toStdString();
        }
    }
}

TEST(Gallery, SymbolAtRestReadsAsItsLayers)
{
    const double size = 220, margin = 60;
    const WormveskSymbolMotion still = WormveskSymbolMotion::still();
    const QImage ready = renderSymbol(size, margin, still, true);
    const QImage notReady = renderSymbol(size, margin, still, false);
    save(renderSymbol(size, margin, still, true, VeskTheme::shared().panelTop), "symbol-220-reduced-ready.png");
    save(renderSymbol(size, margin, still, false, VeskTheme::shared().panelTop), "symbol-220-reduced.png");

    // The throat is black around (6, 4) from the centre of the tilted core:
    // 58 points to its right it still is, 62 to its left the bowl shows.
    const QColor throat = notReady.pixelColor(symbolPixel(notReady, size, -22, {6, 4}));
    EXPECT_EQ(throat.alpha(), 255);
    EXPECT_LT(throat.lightness(), 6);
    EXPECT_LT(notReady.pixelColor(symbolPixel(notReady, size, -22, {6 + 54, 4})).lightness(), 6);
    EXPECT_GT(notReady.pixelColor(symbolPixel(notReady, size, -22, {6 - 62, 4})).lightness(), 12);
    // The hot spot shines at (−65, 34), pulse-scaled.
    const QColor hotSpot = notReady.pixelColor(symbolPixel(notReady, size, -22, QPointF(-65, 34) * 1.0175));
    EXPECT_GT(hotSpot.lightness(), 200);
    // The halo's ring sits at 0.78 of its radius, above the bowl.
    const int halo = alphaAt(notReady, symbolPixel(notReady, size, 0, {0, -0.78 * 240}));
    EXPECT_GT(halo, 18);
    EXPECT_LT(halo, 45);
    // Tilted by −22°: the bowl's left end lies lower than its mirror image above.
    const QPointF onAxis(-200 * std::cos(22 * std::acos(-1.0) / 180), 200 * std::sin(22 * std::acos(-1.0) / 180));
    const int lowerLeft = alphaAt(notReady, symbolPixel(notReady, size, 0, onAxis));
    const int upperLeft = alphaAt(notReady, symbolPixel(notReady, size, 0, {onAxis.x(), -onAxis.y()}));
    EXPECT_GT(lowerLeft, upperLeft + 15);

    // Not ready: nothing beyond the halo. Ready: the accent glow around it.
    const auto beyondHalo = [&](const QImage& image) {
        double alpha = 0, red = 0, blue = 0;
        const QPointF center(image.width() / 2.0, image.height() / 2.0);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (QLineF(center, QPointF(x + 0.5, y + 0.5)).length() < 242 * size / 480)
                    continue;
                const QColor color = image.pixelColor(x, y);
                alpha += color.alpha();
                red += color.red() * color.alpha();
                blue += color.blue() * color.alpha();
            }
        }
        return std::tuple{alpha, red, blue};
    };
    EXPECT_EQ(std::get<0>(beyondHalo(notReady)), 0);
    const auto [glowAlpha, glowRed, glowBlue] = beyondHalo(ready);
    EXPECT_GT(glowAlpha, 5000);
    EXPECT_GT(glowRed, glowBlue * 1.05) << "a warm sand glow";
    EXPECT_EQ(alphaAt(ready, QPoint(2, 2)), 0);
}

TEST(Gallery, HotSpotSitsWhereThePulseCarriesIt)
{
    // Drawn at 480 points, one point a pixel: the hot spot's core is where
    // (−65, 34), scaled with the pulse about the centre and tilted, falls.
    for (const WormveskSymbolMotion& motion : {WormveskSymbolMotion::still(), WormveskSymbolMotion::at(1.25)}) {
        const QImage image = renderSymbol(480, 0, motion, false);
        const double a = motion.tilt * std::acos(-1.0) / 180;
        const QPointF spot = QPointF(-65, 34 * motion.breathe) * motion.pulseScale();
        const QPointF expected(240 + spot.x() * std::cos(a) - spot.y() * std::sin(a),
                               240 + spot.x() * std::sin(a) + spot.y() * std::cos(a));
        QPointF sum;
        double weight = 0;
        for (int y = static_cast<int>(expected.y()) - 12; y <= expected.y() + 12; ++y) {
            for (int x = static_cast<int>(expected.x()) - 12; x <= expected.x() + 12; ++x) {
                const double light = std::max(0, image.pixelColor(x, y).lightness() - 240);
                sum += QPointF(x + 0.5, y + 0.5) * light;
                weight += light;
            }
        }
        ASSERT_GT(weight, 0);
        EXPECT_LT(QLineF(sum / weight, expected).length(), 0.5) << "pulse " << motion.pulse;
    }
}

TEST(Gallery, SymbolInMotionAtFiveAndAHalfSeconds)
{
    const WormveskSymbolMotion motion = WormveskSymbolMotion::at(5.5);
    const QImage image = renderSymbol(220, 60, motion, true, VeskTheme::shared().panelTop);
    save(image, "symbol-220-t5.5-ready.png");
    const QImage clear = renderSymbol(220, 60, motion, false);
    const QColor throat = clear.pixelColor(symbolPixel(clear, 220, -14, {6 * 1.0, 4 * motion.breathe}));
    EXPECT_LT(throat.lightness(), 12);
    EXPECT_EQ(throat.alpha(), 255);
}

using GallerySymbolView = test::UiFixture;

TEST_F(GallerySymbolView, PaintsTheSymbolAtTheClocksInstant)
{
    scheduler.setDate(referenceDatePlus(5.5));
    WormveskSymbol symbol(scheduler, scheduler, reducedMotion, WormveskStyle::solar, 48, true);
    symbol.resize(48 + 2 * 30, 48 + 2 * 30);
    const auto grab = [&] {
        QImage image = canvas(symbol.size(), VeskTheme::shared().panelTop);
        symbol.render(&image);
        return image;
    };
    const QImage moving = grab();
    saveWithZoom(moving, "symbol-48-ready");
    EXPECT_EQ(moving, renderSymbol(48, 30, WormveskSymbolMotion::at(5.5), true, VeskTheme::shared().panelTop));

    desktop.setReduceMotion(true);
    EXPECT_EQ(grab(), renderSymbol(48, 30, WormveskSymbolMotion::still(), true, VeskTheme::shared().panelTop));
    symbol.setReady(false);
    const QImage plain = grab();
    saveWithZoom(plain, "symbol-48");

    // Legible at 48: a dark throat inside a lighter rim of bowl, and the hot spot.
    const QColor throat = plain.pixelColor(symbolPixel(plain, 48, -22, {6, 4}));
    const QColor bowlRing = plain.pixelColor(symbolPixel(plain, 48, -22, {170, 0}));
    const QColor hotSpot = plain.pixelColor(symbolPixel(plain, 48, -22, QPointF(-65, 34) * 1.0175));
    EXPECT_LT(throat.lightness(), 14);
    EXPECT_GT(bowlRing.lightness(), throat.lightness() + 25);
    EXPECT_GT(hotSpot.lightness(), 120);
}

class GalleryBackdrop : public test::UiFixture {
protected:
    QImage render(WormveskStyle style, int count, double t, bool reduced, QSize size = {360, 440}) const
    {
        QImage image = canvas(size, Qt::black);
        QPainter painter(&image);
        GalaxyBackdropView::paint(painter, QRectF(QPointF(), size), makeGalaxyStars(style, count), 28, t, reduced);
        return image;
    }
};

TEST_F(GalleryBackdrop, BothStylesAtSetupScreenSize)
{
    const VeskTheme& theme = VeskTheme::shared();
    for (const WormveskStyle style : allCases<WormveskStyle>()) {
        const QImage image = render(style, 140, 5.5, false);
        save(image, QStringLiteral("backdrop-%1-360x440.png").arg(toRaw(style)));
        // The window gradient at the top, stars below the inset only.
        EXPECT_NEAR(image.pixelColor(2, 0).red(), theme.panelTop.red(), 2);
        int starPixels = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y).lightness() > 45) {
                    ++starPixels;
                    EXPECT_GE(y, 10) << toRaw(style).toStdString() << " star at " << x << "," << y;
                }
            }
        }
        EXPECT_GT(starPixels, 60);
    }
}

TEST_F(GalleryBackdrop, ReducedMotionShowsEveryStarAtItsBrightest)
{
    const auto stars = makeGalaxyStars(WormveskStyle::cosmic, 140);
    const GalaxyBackdropStar& star = stars[0];
    const double dimmest = star.duration * 10 - star.delay;
    const double brightest = dimmest + star.duration / 2;
    const QPoint at = GalaxyBackdropView::starCenter(star, QSizeF(360, 440), 28).toPoint();
    const int dim = render(WormveskStyle::cosmic, 1, dimmest, false).pixelColor(at).lightness();
    const int bright = render(WormveskStyle::cosmic, 1, brightest, false).pixelColor(at).lightness();
    EXPECT_GT(bright, dim + 20);
    EXPECT_EQ(render(WormveskStyle::cosmic, 140, dimmest, true), render(WormveskStyle::cosmic, 140, brightest, true));
    EXPECT_NE(render(WormveskStyle::cosmic, 140, dimmest, false), render(WormveskStyle::cosmic, 140, brightest, false));
}

TEST_F(GalleryBackdrop, WithoutStarsTheGradientAndNebulaRemain)
{
    const QImage image = render(WormveskStyle::solar, 0, 0, false);
    save(image, "backdrop-no-stars.png");
    const QColor corner = image.pixelColor(1, 439);
    const QColor middle = image.pixelColor(180, 234);
    EXPECT_GT(middle.lightness(), corner.lightness() + 5) << "the nebula's glow at the centre";
}

TEST_F(GalleryBackdrop, TheViewPaintsAtTheClocksInstantAndIgnoresTheMouse)
{
    scheduler.setDate(referenceDatePlus(5.5));
    GalaxyBackdropView view(scheduler, scheduler, reducedMotion, WormveskStyle::solar, 140, 28);
    view.resize(360, 440);
    EXPECT_TRUE(view.testAttribute(Qt::WA_TransparentForMouseEvents));
    QImage image = canvas(view.size(), Qt::black);
    view.render(&image);
    EXPECT_EQ(image, render(WormveskStyle::solar, 140, 5.5, false));
    view.setStyle(WormveskStyle::cosmic);
    EXPECT_EQ(view.starCount(), 140);
    EXPECT_EQ(view.stars()[0].size, 1.5) << "the cosmic field";
}

} // namespace
} // namespace vesk
