#include "SetupFixture.h"

#include "setup/MetaLineButtonStyle.h"
#include "setup/SelectedAppTile.h"

#include <QDir>
#include <QPainter>
#include <QTest>

namespace vesk::test {
namespace {

InstalledApp editorApp()
{
    QImage icon(InstalledApp::iconSize, InstalledApp::iconSize, QImage::Format_ARGB32_Premultiplied);
    icon.fill(QColor(70, 130, 230));
    QPainter painter(&icon);
    painter.fillRect(QRect(6, 6, 20, 4), Qt::white);
    painter.fillRect(QRect(6, 14, 14, 4), Qt::white);
    return {"com.example.editor", "Editor", icon, QUrl::fromLocalFile("/Applications/Editor.app")};
}

class SelectedAppTileTest : public SetupFixture {
protected:
    void SetUp() override
    {
        root.resize(360, 200);
        tile = new SelectedAppTile(
            editorApp(), scheduler, scheduler, reducedMotion, [this] { ++removals; }, {}, &root);
        tile->setCoordinateRoot(&root);
        tile->setGeometry(100, 40, 62, tile->sizeHint().height());
        root.show();
        QCoreApplication::processEvents();
    }

    void advance(double seconds) { scheduler.advance(seconds); }
    void click(const QPointF& point)
    {
        QTest::mouseClick(tile, Qt::LeftButton, {}, point.toPoint());
        scheduler.advance(0);
    }
    QImage render() const
    {
        QImage image(tile->size() * 4, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(4);
        image.fill(Qt::transparent);
        tile->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }

    QWidget root;
    SelectedAppTile* tile = nullptr;
    int removals = 0;
};

TEST(SelectedAppTileSwing, SwingsBetweenMinusAndPlusOnePointTwoDegrees)
{
    const std::vector<std::pair<double, double>> cases{
        {0, -1.2}, {0.06, 0}, {0.12, 1.2}, {0.18, 0}, {0.24, -1.2}, {0.36, 1.2}, {120.0, -1.2},
    };
    for (const auto& [seconds, degrees] : cases)
        EXPECT_NEAR(SelectedAppTile::swingAngle(seconds), degrees, 1e-9) << seconds;
    // Ease in and out: a quarter through a half swing has gone less than a quarter of the way.
    EXPECT_LT(SelectedAppTile::swingAngle(0.03), -1.2 + 0.25 * 2.4);
}

TEST_F(SelectedAppTileTest, AQuietTileHasNoTiltAndNoRemoveButton)
{
    EXPECT_EQ(tile->iconAngleAt(scheduler.now()), 0);
    click(tile->removeButtonRect().center());
    EXPECT_EQ(removals, 0);
}

TEST_F(SelectedAppTileTest, HoveringSwingsTheIconAndLeavingSettlesItInAnEaseOut)
{
    tile->handleHover(true);
    EXPECT_NEAR(tile->iconAngleAt(scheduler.now()), -1.2, 1e-9);
    advance(0.12);
    EXPECT_NEAR(tile->iconAngleAt(scheduler.now()), 1.2, 1e-9);
    advance(0.12 * 5);
    EXPECT_NEAR(tile->iconAngleAt(scheduler.now()), -1.2, 1e-9) << "the swing goes on while the pointer stays";

    advance(0.12);
    tile->handleHover(false);
    EXPECT_NEAR(tile->iconAngleAt(scheduler.now()), 1.2, 1e-9) << "no jump when the pointer leaves";
    advance(0.06);
    const double eased = 1.2 * (1 - CubicBezierCurve::easeOut().valueAt(0.5));
    EXPECT_NEAR(tile->iconAngleAt(scheduler.now()), eased, 0.02) << "the clock counts whole milliseconds";
    advance(0.06);
    EXPECT_EQ(tile->iconAngleAt(scheduler.now()), 0);
    advance(1);
    EXPECT_EQ(tile->iconAngleAt(scheduler.now()), 0);
}

TEST_F(SelectedAppTileTest, UnderReducedMotionTheIconStaysUpright)
{
    settings.setReducedMotion(true);
    tile->handleHover(true);
    advance(0.12);
    EXPECT_EQ(tile->iconAngleAt(scheduler.now()), 0);
}

TEST_F(SelectedAppTileTest, OnlyTheRemoveButtonActsAndOnlyOnce)
{
    tile->handleHover(true);
    advance(0.2);
    click(QPointF(tile->width() / 2.0, 30));
    EXPECT_EQ(removals, 0) << "the tile itself has no tap action";
    click(tile->removeButtonRect().center());
    EXPECT_EQ(removals, 1);
}

TEST_F(SelectedAppTileTest, TheRemoveHandlerMayDestroyTheTile)
{
    SelectedAppTile* doomed = nullptr;
    doomed = new SelectedAppTile(
        editorApp(), scheduler, scheduler, reducedMotion, [&] { delete doomed; }, {}, &root);
    doomed->setGeometry(200, 40, 62, doomed->sizeHint().height());
    doomed->show();
    QPointer<SelectedAppTile> watch(doomed);
    doomed->handleHover(true);
    QTest::mouseClick(doomed, Qt::LeftButton, {}, doomed->removeButtonRect().center().toPoint());
    EXPECT_TRUE(watch) << "not during the click";
    scheduler.advance(0);
    EXPECT_FALSE(watch);
}

TEST_F(SelectedAppTileTest, ReportsItsUpright44PointIconInTheRootsCoordinates)
{
    const QRectF frame = tile->iconFrame();
    EXPECT_EQ(frame.size(), QSizeF(44, 44));
    EXPECT_DOUBLE_EQ(frame.center().x(), 100 + 31.0);
    EXPECT_DOUBLE_EQ(frame.top(), 40 + SelectedAppTile::topOverhang + 3);
    tile->handleHover(true);
    advance(0.05);
    EXPECT_EQ(tile->iconFrame(), frame) << "the swing does not move the reported frame";

    int reports = 0;
    QObject::connect(tile, &SelectedAppTile::iconFrameChanged, [&] { ++reports; });
    tile->move(10, 10);
    EXPECT_GE(reports, 1);
    EXPECT_EQ(tile->iconFrame().topLeft(), frame.topLeft() - QPointF(90, 30));
}

TEST_F(SelectedAppTileTest, HiddenForSuctionItDrawsNothingButKeepsItsPlaceAndFrame)
{
    const QRectF frame = tile->iconFrame();
    const QSize size = tile->size();
    tile->setHiddenForSuction(true);
    const QImage image = render();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(qAlpha(image.pixel(x, y)), 0) << x << "," << y;
    EXPECT_EQ(tile->size(), size);
    EXPECT_EQ(tile->iconFrame(), frame);
}

TEST_F(SelectedAppTileTest, RendersHoveredAtItsTiltWithTheRemoveButton)
{
    const QImage quiet = render();
    tile->handleHover(true);
    advance(0.12);
    const QImage hovered = render();
    QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR));
    QImage canvas(hovered.size(), QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(4);
    canvas.fill(QColor(15, 15, 18));
    QPainter(&canvas).drawImage(0, 0, hovered);
    EXPECT_TRUE(canvas.save(QStringLiteral(VESK_GALLERY_DIR "/selected-tile-hovered.png")));

    // The remove button's dark disc covers its centre only while hovered.
    const QPoint button = (tile->removeButtonRect().center() * 4).toPoint() + QPoint(0, 10);
    EXPECT_EQ(qAlpha(quiet.pixel(button)), 0);
    EXPECT_GT(qAlpha(hovered.pixel(button)), 150);
    // Tilted by +1.2 degrees (clockwise) about its centre, the icon's top edge
    // rises on the left and sinks on the right: 22 points apart that is
    // 22 × tan(1.2°) ≈ 0.46 points, about 2 pixels at this scale.
    const QRectF icon = tile->iconFrame().translated(-tile->pos());
    const auto topEdge = [](const QImage& image, double x) {
        const int column = static_cast<int>(x * 4);
        for (int y = 0; y < image.height(); ++y) {
            if (qAlpha(image.pixel(column, y)) > 128)
                return y;
        }
        return -1;
    };
    const double left = icon.left() + 11;
    const double right = icon.right() - 11;
    EXPECT_EQ(topEdge(quiet, left), topEdge(quiet, right));
    EXPECT_GE(topEdge(hovered, right) - topEdge(hovered, left), 1);
    EXPECT_LE(topEdge(hovered, right) - topEdge(hovered, left), 3);
}

TEST(MetaLineButtonStyle, TurnsThePrimaryColourOverAHoverAndBack)
{
    const VeskTheme& theme = VeskTheme::shared();
    const QDateTime start = QDateTime::fromSecsSinceEpoch(1000, Qt::UTC);
    MetaLineButtonStyle style;
    EXPECT_EQ(style.labelColor(start).rgba(), theme.textSecondary.rgba());
    style.setHovered(true, start);
    EXPECT_EQ(style.labelColor(start).rgba(), theme.textSecondary.rgba());
    const QColor midway = style.labelColor(start.addMSecs(75));
    EXPECT_GT(midway.red(), theme.textSecondary.red());
    EXPECT_LT(midway.red(), theme.textPrimary.red());
    EXPECT_EQ(style.labelColor(start.addMSecs(150)).rgba(), theme.textPrimary.rgba());
    EXPECT_FALSE(style.isAnimating(start.addMSecs(150)));
    style.setHovered(false, start.addMSecs(1000));
    EXPECT_EQ(style.labelColor(start.addMSecs(1150)).rgba(), theme.textSecondary.rgba());
}

} // namespace
} // namespace vesk::test
