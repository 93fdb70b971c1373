#include "PanelsFixture.h"

#include "panels/QuickAccessAppTile.h"
#include "ui/Gradient.h"
#include "ui/VeskTheme.h"

#include <QEnterEvent>

namespace vesk::test {
namespace {

using Visibility = AllowedAppVisibility;

class QuickAccessAppTileTest : public PanelsFixture {
protected:
    QuickAccessAppTile& makeTile(Visibility visibility, bool canRemove)
    {
        const InstalledApp mail = installedApps()[1];
        tile = std::make_unique<QuickAccessAppTile>(QuickAccessAppDisplay{mail.id, mail.name, mail.icon, visibility},
                                                    canRemove,
                                                    QuickAccessAppTile::Actions{[this] { ++restores; },
                                                                                [this] { ++removes; }},
                                                    scheduler, scheduler, Localizer());
        tile->resize(64, tile->sizeHint().height());
        tile->show();
        return *tile;
    }

    void hover(bool inside)
    {
        if (inside) {
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QCoreApplication::sendEvent(tile.get(), &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(tile.get(), &leave);
        }
    }

    // The tile's corner where the remove button stands, as drawn now.
    QImage removeButtonCorner() const
    {
        return tile->grab(tile->removeButtonRect().toAlignedRect().intersected(tile->rect())).toImage();
    }

    std::unique_ptr<QuickAccessAppTile> tile;
    int restores = 0;
    int removes = 0;
};

TEST_F(QuickAccessAppTileTest, DotTooltipAndClickFollowTheVisibility)
{
    struct Case {
        Visibility visibility;
        QColor dot;
        QString tooltip;
        int restores;
    };
    const VeskTheme& theme = VeskTheme::shared();
    const std::vector<Case> cases = {
        {Visibility::visible, rgb(52, 199, 89), "Mail", 0},
        {Visibility::occluded, theme.accent, "Mail öffnen", 1},
        {Visibility::minimized, rgb(255, 189, 46), "Mail öffnen", 1},
        {Visibility::onOtherSpace, rgb(100, 210, 255), "Mail ist auf einem anderen Schreibtisch", 1},
        {Visibility::notRunning, theme.textDim, "Mail öffnen", 1},
    };
    for (const Case& c : cases) {
        restores = 0;
        QuickAccessAppTile& shown = makeTile(c.visibility, false);
        EXPECT_EQ(QuickAccessAppTile::dotColor(c.visibility), c.dot);
        EXPECT_EQ(shown.accessibleName(), c.tooltip);
        // Anywhere on the cell, the empty corner too.
        click(&shown, QPoint(1, shown.height() - 1));
        EXPECT_EQ(restores, c.restores) << c.tooltip.toStdString();
    }
}

TEST_F(QuickAccessAppTileTest, TheRemoveButtonShowsOnlyWhileHoveredAndOnlyWhenAllowed)
{
    QuickAccessAppTile& locked = makeTile(Visibility::visible, false);
    hover(true);
    EXPECT_FALSE(locked.isRemoveButtonShown());
    click(&locked, locked.removeButtonRect().center().toPoint());
    EXPECT_EQ(removes, 0);

    QuickAccessAppTile& removable = makeTile(Visibility::occluded, true);
    EXPECT_FALSE(removable.isRemoveButtonShown());
    click(&removable, removable.removeButtonRect().center().toPoint());
    EXPECT_EQ(removes, 0) << "not hovered: the click restores";
    EXPECT_EQ(restores, 1);

    hover(true);
    EXPECT_TRUE(removable.isRemoveButtonShown());
    click(&removable, removable.removeButtonRect().center().toPoint());
    EXPECT_EQ(removes, 1);
    EXPECT_EQ(restores, 1) << "the remove button does not restore too";

    hover(false);
    EXPECT_FALSE(removable.isRemoveButtonShown());
}

TEST_F(QuickAccessAppTileTest, TheRemoveButtonFadesInAndOutOverTwelveHundredthsOfASecond)
{
    makeTile(Visibility::occluded, true);
    const QImage without = removeButtonCorner();

    hover(true);
    EXPECT_EQ(removeButtonCorner(), without) << "the fade starts from nothing";
    scheduler.advance(0.06);
    const QImage halfway = removeButtonCorner();
    EXPECT_NE(halfway, without);
    scheduler.advance(0.06);
    const QImage with = removeButtonCorner();
    EXPECT_NE(with, halfway) << "the fade goes on after half its time";
    scheduler.advance(1.0);
    EXPECT_EQ(removeButtonCorner(), with) << "and is over after 0.12 s";

    hover(false);
    scheduler.advance(0.06);
    EXPECT_NE(removeButtonCorner(), with);
    EXPECT_NE(removeButtonCorner(), without);
    scheduler.advance(0.06);
    EXPECT_EQ(removeButtonCorner(), without);
}

} // namespace
} // namespace vesk::test
