#include "DesktopTestScene.h"

#include "platform/simulated/DesktopEventSystem.h"

#include <functional>

using namespace vesk::platform;
using namespace vesk::platform::testing;

namespace {

// The editor's window is at (100, 100, 600, 400), behind the browser's; its
// title bar is the top 28 points, its buttons start at (107, 106).
class TitleBarInteractionTest : public DesktopTestScene {
protected:
    EventOutcome post(int type, QPointF point)
    {
        const int button = type == EventType::leftMouseDragged ? -1 : 0;
        return desktop->events().post(InputEvent::mouse(type, point, button));
    }

    void drag(QPointF from, QPointF to)
    {
        post(EventType::leftMouseDown, from);
        post(EventType::leftMouseDragged, (from + to) / 2);
        post(EventType::leftMouseDragged, to);
        post(EventType::leftMouseUp, to);
    }

    const DesktopWindow& editorWindow() const { return *desktop->window(firstWindowOf("com.example.editor")); }
};

TEST_F(TitleBarInteractionTest, ADragOnTheTitleBarMovesTheWindowAndOneOnItsBodyDoesNot)
{
    drag(QPointF(200, 110), QPointF(260, 150));
    EXPECT_EQ(editorWindow().bounds, QRectF(160, 140, 600, 400));
    EXPECT_EQ(desktop->frontmostPID(), pidOf("com.example.editor"));

    drag(QPointF(200, 300), QPointF(400, 500));
    EXPECT_EQ(editorWindow().bounds, QRectF(160, 140, 600, 400));

    // After the release, moving with the button down again starts nothing.
    post(EventType::leftMouseDragged, QPointF(500, 500));
    EXPECT_EQ(editorWindow().bounds, QRectF(160, 140, 600, 400));
}

TEST_F(TitleBarInteractionTest, APressAndAReleaseOnOneButtonPressIt)
{
    struct Case {
        const char* button;
        QPointF point;
        std::function<bool(const DesktopWindow*)> pressed;
    };
    const Case cases[] = {
        {"close", QPointF(114, 113), [](const DesktopWindow* window) { return window == nullptr; }},
        {"minimise", QPointF(134, 113), [](const DesktopWindow* window) { return window && window->minimized; }},
        {"zoom", QPointF(154, 113), [](const DesktopWindow* window) { return window && window->fullScreen; }},
    };
    for (const Case& c : cases) {
        build(twoDisplayScenario());
        const WindowNumber editor = firstWindowOf("com.example.editor");
        // Released away from the button: nothing.
        post(EventType::leftMouseDown, c.point);
        post(EventType::leftMouseUp, c.point + QPointF(100, 0));
        EXPECT_FALSE(c.pressed(desktop->window(editor))) << c.button;

        desktop->events().click(c.point);
        EXPECT_TRUE(c.pressed(desktop->window(editor))) << c.button;
    }
}

TEST_F(TitleBarInteractionTest, ASwallowedPressStartsNeitherADragNorAButton)
{
    const auto tap =
        desktop->events().createTap(TapLocation::session, TapPlacement::headInsert, TapOptions::defaultFilter,
                                    eventMaskBit(EventType::leftMouseDown),
                                    [](int, const InputEvent&) -> std::optional<InputEvent> { return std::nullopt; });
    ASSERT_TRUE(tap);
    drag(QPointF(200, 110), QPointF(260, 150));
    desktop->events().click(QPointF(114, 113));
    EXPECT_EQ(editorWindow().bounds, QRectF(100, 100, 600, 400));
    EXPECT_NE(desktop->window(firstWindowOf("com.example.editor")), nullptr);
}

TEST_F(TitleBarInteractionTest, ACoveredTitleBarIsNotTheEditorsAndVeskWindowsHaveNone)
{
    // The browser covers the editor's bar from x = 300 on; y = 210 is the browser's bar.
    drag(QPointF(400, 210), QPointF(450, 260));
    EXPECT_EQ(desktop->window(firstWindowOf("com.example.browser"))->bounds, QRectF(350, 250, 800, 500));
    EXPECT_EQ(editorWindow().bounds, QRectF(100, 100, 600, 400));

    OwnWindowSpec own;
    own.frame = desktop->cocoaRect(QRectF(900, 600, 300, 200));
    own.isPanel = false;
    own.canBecomeKey = true;
    own.visible = true;
    const WindowNumber vesk = desktop->addOwnWindow(own);
    drag(QPointF(950, 610), QPointF(1000, 700));
    EXPECT_EQ(desktop->window(vesk)->bounds, QRectF(900, 600, 300, 200));
    // A click on a window of Vesk's that can become key brings Vesk forward.
    EXPECT_EQ(desktop->frontmostPID(), desktop->ownPID());
}

} // namespace
