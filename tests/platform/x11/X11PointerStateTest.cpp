#include "platform/x11/X11PointerState.h"
#include "X11DesktopScene.h"

#include "platform/x11/X11Connection.h"

#include <xcb/xcb.h>

namespace vesk::platform::testing {
namespace {

class X11PointerStateTest : public X11DesktopScene {
protected:
    void warpTo(int x, int y)
    {
        xcb_warp_pointer(connection->xcb(), XCB_WINDOW_NONE, connection->root(), 0, 0, 0, 0, qint16(x), qint16(y));
        connection->flush();
    }
};

TEST_F(X11PointerStateTest, FollowsThePointerAnywhereOnTheRootInTheGivenSystem)
{
    // The mapping flips about the screen's height, as the desktop's does.
    X11PointerState pointer(*connection, [](QPoint root) { return QPointF(root.x(), screenHeight - root.y()); });
    warpTo(300, 200);
    EXPECT_TRUE(waitFor([&] { return pointer.mouseLocation() == QPointF(300, screenHeight - 200); }))
        << pointer.mouseLocation().x() << ", " << pointer.mouseLocation().y();
    warpTo(1000, 700);
    EXPECT_TRUE(waitFor([&] { return pointer.mouseLocation() == QPointF(1000, screenHeight - 700); }));
    EXPECT_FALSE(pointer.isMouseButtonDown(0));
}

TEST_F(X11PointerStateTest, AnAskAfterTheFirstNeverWaitsForTheServer)
{
    const auto own = X11Connection::open(server.display());
    ASSERT_TRUE(own);
    X11PointerState pointer(*own, [](QPoint root) { return QPointF(root); });
    warpTo(10, 20);
    ASSERT_TRUE(waitFor([&] { return pointer.mouseLocation() == QPointF(10, 20); }));
    // While another client holds the server, no request of the pointer's
    // connection is answered: an ask that waited would never return.
    xcb_grab_server(connection->xcb());
    warpTo(40, 50);
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_EQ(pointer.mouseLocation(), QPointF(10, 20));
    xcb_ungrab_server(connection->xcb());
    connection->flush();
    EXPECT_TRUE(waitFor([&] { return pointer.mouseLocation() == QPointF(40, 50); }));
}

TEST(X11PointerStateButtonsTest, ReadsLeftRightAndCentreFromTheStateMask)
{
    struct Case {
        std::uint16_t mask;
        bool left, right, centre;
    };
    const Case cases[] = {
        {0, false, false, false},
        {XCB_KEY_BUT_MASK_BUTTON_1, true, false, false},
        {XCB_KEY_BUT_MASK_BUTTON_3, false, true, false},
        {XCB_KEY_BUT_MASK_BUTTON_2, false, false, true},
        {XCB_KEY_BUT_MASK_BUTTON_1 | XCB_KEY_BUT_MASK_BUTTON_3 | XCB_KEY_BUT_MASK_SHIFT, true, true, false},
        // The wheel's buttons and the modifiers are no buttons held down.
        {XCB_KEY_BUT_MASK_BUTTON_4 | XCB_KEY_BUT_MASK_BUTTON_5 | XCB_KEY_BUT_MASK_CONTROL, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        EXPECT_EQ(X11PointerState::isButtonInMask(c.mask, 0), c.left);
        EXPECT_EQ(X11PointerState::isButtonInMask(c.mask, 1), c.right);
        EXPECT_EQ(X11PointerState::isButtonInMask(c.mask, 2), c.centre);
        EXPECT_FALSE(X11PointerState::isButtonInMask(0xFFFF, 3));
    }
}

} // namespace
} // namespace vesk::platform::testing
