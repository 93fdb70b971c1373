#include "DesktopTestScene.h"

#include "platform/simulated/DesktopDisplayWindow.h"
#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/RealDisplayPresenter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRasterWindow>
#include <QTest>

using namespace vesk::platform;
using namespace vesk::platform::testing;

namespace {

// One of Vesk's windows as a real window: it counts the input it gets.
class CountingWindow final : public QRasterWindow {
public:
    int presses = 0;
    int keys = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
    void keyPressEvent(QKeyEvent*) override { ++keys; }
};

// The desktop shown through the presenter (headless here): the editor's
// window is at (100, 100, 600, 400) behind the browser's at (300, 200, 800,
// 500); Vesk's window is at (650, 650, 200, 100), over the browser's corner.
class RealDisplayPresenterTest : public DesktopTestScene {
protected:
    void SetUp() override
    {
        DesktopTestScene::SetUp();
        presenter = std::make_unique<RealDisplayPresenter>(*desktop);
        own.setGeometry(650, 650, 200, 100);
        own.show();
        OwnWindowSpec spec;
        spec.frame = desktop->cocoaRect(QRectF(own.geometry()));
        spec.isPanel = false;
        spec.canBecomeKey = true;
        spec.joinsAllSpaces = false;
        number = desktop->addOwnWindow(spec);
        desktop->setOwnWindowHandle(number, &own);
        QCoreApplication::processEvents();
    }

    DesktopDisplayWindow& firstDisplay() const { return *presenter->displayWindows().front(); }

    void clickOnDesktop(QPointF quartzPoint)
    {
        QTest::mouseClick(&firstDisplay(), Qt::LeftButton, {}, quartzPoint.toPoint());
        QCoreApplication::processEvents();
    }

    CountingWindow own;
    WindowNumber number = 0;
    std::unique_ptr<RealDisplayPresenter> presenter;
};

TEST_F(RealDisplayPresenterTest, EveryDisplayHasAWindowAtItsPlace)
{
    ASSERT_EQ(presenter->displayWindows().size(), 2u);
    EXPECT_EQ(presenter->displayWindows()[1]->geometry(), QRect(1440, 0, 1920, 1080));
    desktop->removeDisplay(1);
    EXPECT_EQ(presenter->displayWindows().size(), 1u);
}

TEST_F(RealDisplayPresenterTest, AClickOnTheDesktopWindowReachesTheApplicationUnderThePointer)
{
    ASSERT_TRUE(presenter->showsRealWindow(number));
    clickOnDesktop(QPointF(150, 150));
    EXPECT_EQ(desktop->frontmostPID(), pidOf("com.example.editor"));
    EXPECT_EQ(own.presses, 0);

    // The browser comes over Vesk's window: the desktop draws that window now.
    clickOnDesktop(QPointF(1000, 600));
    EXPECT_EQ(desktop->frontmostPID(), pidOf("com.example.browser"));
    EXPECT_FALSE(presenter->showsRealWindow(number));

    // A click on the part of it the desktop draws brings it forward.
    clickOnDesktop(QPointF(800, 720));
    EXPECT_EQ(own.presses, 1);
    EXPECT_EQ(desktop->frontmostPID(), desktop->ownPID());
    EXPECT_TRUE(presenter->showsRealWindow(number));
}

TEST_F(RealDisplayPresenterTest, InputToVeskPassesTheTapsFirst)
{
    QTest::mouseClick(&own, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(own.presses, 1);
    EXPECT_EQ(desktop->frontmostPID(), desktop->ownPID());

    const auto tap =
        desktop->events().createTap(TapLocation::session, TapPlacement::headInsert, TapOptions::defaultFilter,
                                    eventMaskBit(EventType::leftMouseDown) | eventMaskBit(EventType::keyDown),
                                    [](int, const InputEvent&) -> std::optional<InputEvent> { return std::nullopt; });
    ASSERT_TRUE(tap);
    QTest::mouseClick(&own, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::keyClick(&own, Qt::Key_A);
    EXPECT_EQ(own.presses, 1) << "the swallowed click reached the window";
    EXPECT_EQ(own.keys, 0) << "the swallowed key reached the window";

    desktop->events().enableTap(*tap, false);
    QTest::keyClick(&own, Qt::Key_A);
    EXPECT_EQ(own.keys, 1);
}

TEST_F(RealDisplayPresenterTest, KeysGoToTheApplicationInFrontAndItsShortcutsApply)
{
    clickOnDesktop(QPointF(150, 150));
    const int space = desktop->activeSpaceID(0);
    QTest::keyClick(&firstDisplay(), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_NE(desktop->activeSpaceID(0), space);
    EXPECT_EQ(own.keys, 0);
    ASSERT_FALSE(desktop->events().deliveredEvents().empty());
    EXPECT_EQ(desktop->events().deliveredEvents().back().second.targetPID, pidOf("com.example.editor"));
}

} // namespace
