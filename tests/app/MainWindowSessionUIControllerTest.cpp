#include "app/MainWindowSessionUIController.h"

#include "QtPrinters.h"
#include "panels/StageBarsScene.h"
#include "panels/StageVeskControlPanel.h"
#include "panels/StageVeskPanelPresenter.h"

#include <gtest/gtest.h>

using namespace vesk;

TEST(MainWindowSessionUIControllerTest, PublishesTheStageBarsFramesAsItsControlRects)
{
    test::StageBarsScene scene;
    StageVeskPanelPresenter presenter(scene.environment(), scene.session, *scene.stage.service);
    MainWindowSessionUIController controller;
    std::vector<std::vector<Rect>> published;
    controller.setVeskControlRectsChangedHandler([&](const std::vector<Rect>& rects) { published.push_back(rects); });
    controller.setStagePanelPresenter(&presenter);

    presenter.show();
    ASSERT_FALSE(published.empty());
    EXPECT_EQ(published.back(),
              (std::vector<Rect>{{0, 0, 46, 900}, {1440, 0, 46, 1080}, {410, 848, 620, 42}, {530, 16, 380, 42}}));
    EXPECT_TRUE(scene.stage.logs.messages("SessionUIController").contains("StageVesk panel shown"));

    // An observed click outside the bars closes the settings panel, and the rects follow.
    presenter.panel()->toggleSettingsPanel();
    EXPECT_EQ(published.back().size(), 5u);
    controller.handleGlobalClick({1200, 600});
    EXPECT_EQ(published.back().size(), 4u);

    controller.dismissStageVeskPanel();
    EXPECT_TRUE(published.back().empty());
    EXPECT_FALSE(presenter.panel());
}
