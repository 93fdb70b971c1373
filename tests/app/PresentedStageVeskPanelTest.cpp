#include "app/PresentedStageVeskPanel.h"

#include "QtPrinters.h"
#include "panels/SessionUIController.h"
#include "panels/StageBarsScene.h"
#include "panels/StageVeskControlPanel.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "stage/StageVeskService.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vesk;

namespace {

// Only the stage bars; the other panels are not opened here.
class StageBarsContent final : public SessionPanelContentProviding {
public:
    explicit StageBarsContent(test::StageBarsScene& scene) : scene_(scene) { }
    QWidget* makeHUDView(SessionControlling&) override { return new QWidget; }
    QWidget* makeQuickAccessView(SessionControlling&, std::function<void()>) override { return new QWidget; }
    QWidget* makeAppLaunchPromptView(SessionControlling&, const AppLaunchPrompt&) override { return new QWidget; }
    QWidget* makeBugReportView(std::function<void()>) override { return new QWidget; }
    std::unique_ptr<StageVeskPanelManaging> makeStageVeskPanel() override
    {
        auto bars = std::make_unique<PresentedStageVeskPanel>(scene_.environment(), *scene_.stage.service);
        shown = &bars->panel();
        return bars;
    }

    // The bars of the last show, gone with them.
    QPointer<StageVeskPanel> shown;

private:
    test::StageBarsScene& scene_;
};

} // namespace

TEST(PresentedStageVeskPanelTest, TheControllerPublishesTheStageBarsFramesAndRoutesClicksToThem)
{
    test::StageBarsScene scene;
    QTemporaryDir root;
    platform::SimulatedDesktop windowList(scene.stage.scheduler, root.path());
    const auto content = std::make_shared<StageBarsContent>(scene);
    SessionUIController controller(SessionUIController::Environment{PanelEnvironment{scene.stage.screens, scene.pointer,
                                                                                     windowList},
                                                                    [] {}, nullptr},
                                   content);
    std::vector<std::vector<Rect>> published;
    controller.setVeskControlRectsChangedHandler([&](const std::vector<Rect>& rects) { published.push_back(rects); });

    controller.showStageVeskPanel(scene.session, *scene.stage.service);
    EXPECT_EQ(published.back(),
              (std::vector<Rect>{{0, 0, 46, 900}, {1440, 0, 46, 1080}, {410, 848, 620, 42}, {530, 16, 380, 42}}));
    controller.showHUD(scene.session);
    EXPECT_EQ(controller.hudPanel(), nullptr) << "the bars are held: no HUD";

    // An observed click outside the bars closes the settings panel, and the rects follow.
    content->shown->toggleSettingsPanel();
    EXPECT_EQ(published.back().size(), 5u);
    controller.handleGlobalClick({1200, 600});
    EXPECT_EQ(published.back().size(), 4u);

    controller.dismissStageVeskPanel();
    EXPECT_TRUE(published.back().empty());
    EXPECT_FALSE(content->shown);
}
