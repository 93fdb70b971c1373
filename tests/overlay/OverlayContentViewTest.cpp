#include "overlay/OverlayContentView.h"

#include "PixelChecks.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

using namespace vesk;

namespace {

// A display at Cocoa (1000, 100) of 200 x 100 points; view rows run downwards
// from its top edge at y = 200.
const Rect kPanelFrame{1000, 100, 200, 100};

QImage render(OverlayContentView& view)
{
    return view.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

using test::isBlack;
using test::isTransparent;

// Samples the 200 x 100 view every 9 pixels; stops at the first that is not black.
void expectWholeViewBlack(OverlayContentView& view)
{
    const QImage image = render(view);
    for (int y = 0; y < 100; y += 9)
        for (int x = 0; x < 200; x += 9)
            ASSERT_TRUE(isBlack(image, x, y)) << x << "," << y;
}

struct ContentViewTest : testing::Test {
    ContentViewTest()
    {
        panel.resize(200, 100);
        view = new OverlayContentView(kPanelFrame, &panel);
        view->setGeometry(0, 0, 200, 100);
    }
    QWidget panel;
    OverlayContentView* view = nullptr;
};

} // namespace

TEST_F(ContentViewTest, WithoutHolesTheWholeDisplayIsBlack)
{
    expectWholeViewBlack(*view);
}

TEST_F(ContentViewTest, HoleIsTransparentExactlyWhereTheGlobalRectLies)
{
    view->setPassthroughRects({Rect{1050, 120, 40, 30}});
    const QImage image = render(*view);
    // Cocoa y 120..150 is view rows 50..80; x 1050..1090 is columns 50..90.
    EXPECT_TRUE(isTransparent(image, 50, 50));
    EXPECT_TRUE(isTransparent(image, 89, 79));
    EXPECT_TRUE(isBlack(image, 49, 60));
    EXPECT_TRUE(isBlack(image, 90, 60));
    EXPECT_TRUE(isBlack(image, 70, 49));
    EXPECT_TRUE(isBlack(image, 70, 80));
}

TEST_F(ContentViewTest, HolesOnAnotherDisplayOrNullLeaveThePanelBlack)
{
    view->setPassthroughRects({Rect{0, 0, 500, 500}, Rect::null(), Rect{1050, 120, 0, 30}});
    expectWholeViewBlack(*view);
}

TEST_F(ContentViewTest, HoleReachingBeyondTheViewIsClipped)
{
    view->setPassthroughRects({Rect{1150, 50, 400, 100}});
    const QImage image = render(*view);
    EXPECT_TRUE(isTransparent(image, 199, 99));
    EXPECT_TRUE(isTransparent(image, 150, 60));
    EXPECT_TRUE(isBlack(image, 149, 60));
    EXPECT_TRUE(isBlack(image, 150, 49)); // above the hole's top at Cocoa y 150
}

TEST(ContentViewDetachedTest, ViewOutsideAnyPanelDrawsOnlyBlack)
{
    OverlayContentView view(kPanelFrame);
    view.resize(200, 100);
    view.setPassthroughRects({Rect{1050, 120, 40, 30}});
    const QImage image = render(view);
    EXPECT_TRUE(isBlack(image, 60, 60));
}
