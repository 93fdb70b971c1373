#include "ui/Symbol.h"
#include "ui/ApplicationIcon.h"
#include "ui/GoalTargetIcon.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace vesk {
namespace {

// The share of a 24 × 24 box a symbol's outline covers, sampled on a fine grid.
double coverage(const QPainterPath& path)
{
    int inside = 0, total = 0;
    for (double y = 0.125; y < 24; y += 0.25)
        for (double x = 0.125; x < 24; x += 0.25, ++total)
            inside += path.contains(QPointF(x, y)) ? 1 : 0;
    return static_cast<double>(inside) / total;
}

TEST(Symbol, EveryNamedSymbolHasItsName)
{
    const QStringList names{"camera.fill",
                            "xmark.circle.fill",
                            "xmark",
                            "plus",
                            "magnifyingglass",
                            "exclamationmark.triangle.fill",
                            "exclamationmark.triangle",
                            "exclamationmark.bubble",
                            "clock.arrow.circlepath",
                            "gearshape",
                            "lock.shield",
                            "lock.fill",
                            "checkmark",
                            "checkmark.circle",
                            "eye.slash",
                            "folder",
                            "arrow.down.circle",
                            "arrow.clockwise",
                            "paintbrush",
                            "rectangle.3.group",
                            "rectangle.on.rectangle",
                            "speaker.wave.2"};
    ASSERT_EQ(allSymbols().size(), static_cast<std::size_t>(names.size()));
    for (const QString& name : names) {
        const auto symbol = symbolNamed(name);
        ASSERT_TRUE(symbol.has_value()) << name.toStdString();
        EXPECT_EQ(symbolName(*symbol), name);
    }
    EXPECT_FALSE(symbolNamed("xmark.square").has_value());
}

TEST(Symbol, EveryOutlineIsInkInsideItsBoxAndFollowsTheWeight)
{
    for (const Symbol symbol : allSymbols()) {
        const bool filled = symbolName(symbol).endsWith(QStringLiteral(".fill"));
        const QPainterPath regular = symbolPath(symbol);
        const std::string name = symbolName(symbol).toStdString();
        EXPECT_TRUE(QRectF(0, 0, 24, 24).contains(regular.boundingRect())) << name;
        EXPECT_GT(regular.boundingRect().width(), 12) << name;
        const double ink = coverage(regular);
        EXPECT_GT(ink, 0.06) << name;
        EXPECT_LT(ink, 0.75) << name;
        // Heavier lines; in a filled symbol also wider cut-out marks.
        const double bold = coverage(symbolPath(symbol, QFont::Bold));
        const double light = coverage(symbolPath(symbol, QFont::Light));
        EXPECT_NE(bold, ink) << name;
        EXPECT_NE(light, ink) << name;
        if (!filled) {
            EXPECT_GT(bold, ink) << name;
            EXPECT_LT(light, ink) << name;
        }
    }
}

TEST(Symbol, FilledSymbolsLeaveTheirMarksOpen)
{
    // The cross of xmark.circle.fill and the lens of camera.fill are cut out.
    EXPECT_FALSE(symbolPath(Symbol::xmarkCircleFill).contains(QPointF(12, 12)));
    EXPECT_TRUE(symbolPath(Symbol::xmarkCircleFill).contains(QPointF(12, 4)));
    EXPECT_TRUE(symbolPath(Symbol::cameraFill).contains(QPointF(12, 13.7)));
    EXPECT_FALSE(symbolPath(Symbol::cameraFill).contains(QPointF(12 + 4.0, 13.7)));
    EXPECT_FALSE(symbolPath(Symbol::exclamationmarkTriangleFill).contains(QPointF(12, 11)));
    EXPECT_TRUE(symbolPath(Symbol::exclamationmarkTriangleFill).contains(QPointF(9, 17)));
}

TEST(Symbol, PixmapIsTheSymbolSquareInItsColour)
{
    const QPixmap pixmap = symbolPixmap(Symbol::lockFill, 14, QColor(217, 210, 196), QFont::Normal, 2);
    // The square, rounded up to whole pixels.
    EXPECT_NEAR(pixmap.deviceIndependentSize().width(), symbolSide(14), 0.5);
    EXPECT_EQ(pixmap.width(), 34);
    const QImage image = pixmap.toImage();
    const QPoint body(image.width() / 2, static_cast<int>(image.height() * 0.7));
    EXPECT_EQ(image.pixelColor(body), QColor(217, 210, 196));
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
}

TEST(ApplicationIcon, GenericIconIsALightTile)
{
    const QImage image = genericApplicationIcon(44, 1).toImage();
    EXPECT_EQ(image.size(), QSize(44, 44));
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << "rounded corners";
    EXPECT_GT(image.pixelColor(8, 22).lightness(), 180);
    EXPECT_EQ(image.pixelColor(8, 22).alpha(), 255);
}

TEST(GoalTargetIcon, LineWidthIsATwentiethButAtLeastOnePoint)
{
    EXPECT_EQ(GoalTargetIcon::lineWidth(10, 10), 1.0) << "u = 0.5 at size 10";
    EXPECT_EQ(GoalTargetIcon::lineWidth(20, 20), 1.0);
    EXPECT_EQ(GoalTargetIcon::lineWidth(40, 30), 1.5);
    EXPECT_EQ(GoalTargetIcon::color(), QColor(255, 159, 10));
}

TEST(GoalTargetIcon, DrawsRingsAndDotInOrange)
{
    GoalTargetIcon icon(40);
    EXPECT_EQ(icon.sizeHint(), QSize(40, 40));
    QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    icon.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    // Centre 20, 20; unit 2: outer ring at radius 18, middle at 10, dot 3.
    EXPECT_EQ(image.pixelColor(20, 20), QColor(255, 159, 10));
    EXPECT_EQ(image.pixelColor(20, 2), QColor(255, 159, 10));
    EXPECT_EQ(image.pixelColor(20, 10).alpha(), qRound(0.82 * 255));
    EXPECT_EQ(image.pixelColor(20, 6).alpha(), 0);
    EXPECT_EQ(image.pixelColor(20, 15).alpha(), 0);
}

} // namespace
} // namespace vesk
