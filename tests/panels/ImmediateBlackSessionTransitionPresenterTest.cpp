#include "panels/ImmediateBlackSessionTransitionPresenter.h"
#include "panels/SessionTransitionPanel.h"
#include "platform/WindowLevel.h"

#include "PanelScene.h"

using namespace vesk;

namespace {

// The scene's display and a second one of 1280 × 720 to its right.
class ImmediateBlackSessionTransitionPresenterTest : public test::PanelScene {
protected:
    ImmediateBlackSessionTransitionPresenterTest() { desktop.addDisplay(test::display(2, QRectF(1440, 0, 1280, 720))); }

    ImmediateBlackSessionTransitionPresenter presenter{desktop.interfaces().screens, desktop};
};

} // namespace

TEST_F(ImmediateBlackSessionTransitionPresenterTest, CoversEveryDisplayInBlackAndTakesItsClicks)
{
    presenter.showEnteringTransition();
    ASSERT_EQ(presenter.panels().size(), 2u);
    for (size_t index = 0; index < 2; ++index) {
        const SessionTransitionPanel& panel = *presenter.panels()[index];
        const auto window = listed(panel.windowNumber());
        ASSERT_TRUE(window);
        EXPECT_EQ(window->frame, desktop.displays()[index].frame) << "the full frame, menu bar included";
        EXPECT_EQ(window->level, platform::shieldingWindowLevel() + 3);
        EXPECT_FALSE(desktop.window(window->number)->canBecomeKey);
        EXPECT_EQ(panel.styleMask(), 128);
        EXPECT_TRUE(panel.isOpaque());
        EXPECT_FALSE(panel.hasShadow());
        EXPECT_EQ(panel.palette().color(QPalette::Window), QColor(Qt::black));
    }
    // Anywhere on a covered display, the click lands on its black panel.
    for (const QPointF quartzPoint : {QPointF(5, 5), QPointF(1439, 899), QPointF(2000, 700)}) {
        const platform::EventOutcome outcome = desktop.events().click(quartzPoint);
        EXPECT_EQ(outcome.targetPID, desktop.ownPID());
        EXPECT_TRUE(outcome.targetWindow == presenter.panels()[0]->windowNumber()
                    || outcome.targetWindow == presenter.panels()[1]->windowNumber());
    }
    EXPECT_EQ(desktop.frontmostPID(), editorPID) << "a click on the cover does not activate Vesk";
    EXPECT_TRUE(logs.contains(QStringLiteral("Entering-VESK transition shown — style=immediateBlack, panels=2")));
    EXPECT_TRUE(logs.contains(QStringLiteral("Session transition panel created — screen=Display 1")));
    EXPECT_TRUE(logs.contains(QStringLiteral("Session transition panel shown — screen=Display 2")));
}

TEST_F(ImmediateBlackSessionTransitionPresenterTest, ShowsOneSetAtATimeAndGoesAtOnceEvenWhenAnimated)
{
    presenter.showEnteringTransition();
    const auto firstNumber = presenter.panels()[0]->windowNumber();
    presenter.showEnteringTransition();
    EXPECT_EQ(presenter.panels().size(), 2u);
    EXPECT_FALSE(listed(firstNumber)) << "the first set is gone";
    EXPECT_EQ(logs.count(QStringLiteral("Entering-VESK transition dismissed — animated=false")), 1);

    presenter.dismissEnteringTransition(true);
    EXPECT_TRUE(presenter.panels().empty());
    for (const auto& window : desktop.ownWindows())
        EXPECT_FALSE(window.visible);
    EXPECT_TRUE(logs.contains(QStringLiteral("Entering-VESK transition dismissed — animated=true")));
    EXPECT_EQ(logs.count(QStringLiteral("Session transition panel dismissed")), 4);

    logs.clear();
    presenter.dismissEnteringTransition(false);
    EXPECT_EQ(logs.count(QStringLiteral("transition")), 0) << "nothing shown: nothing logged";
}

TEST_F(ImmediateBlackSessionTransitionPresenterTest, WithoutDisplaysShowsNothing)
{
    desktop.removeDisplay(1);
    desktop.removeDisplay(0);
    presenter.showEnteringTransition();
    EXPECT_TRUE(presenter.panels().empty());
    EXPECT_TRUE(logs.contains(QStringLiteral("Entering-VESK transition shown — style=immediateBlack, panels=0")));
    presenter.dismissEnteringTransition(false);
    EXPECT_FALSE(logs.contains(QStringLiteral("Entering-VESK transition dismissed")));
}
