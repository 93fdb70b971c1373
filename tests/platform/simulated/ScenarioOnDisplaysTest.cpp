#include "DesktopTestScene.h"

#include "platform/simulated/ScenarioOnDisplays.h"

using namespace vesk::platform;
using namespace vesk::platform::testing;

namespace {

class ScenarioOnDisplaysTest : public DesktopTestScene { };

TEST_F(ScenarioOnDisplaysTest, WindowsMoveToTheDisplayInTheirPlaceAndFitIntoIt)
{
    DesktopScenario scenario = twoDisplayScenario(); // 1440 × 900 with 2 Spaces, then 1920 × 1080 at x = 1440
    ApplicationSpec terminal;
    terminal.name = "Terminal";
    terminal.windows = {window("on the second", QRectF(1540, 50, 700, 500)),
                        window("too wide", QRectF(1500, 300, 2000, 300))};
    terminal.windows[1].display = 1;
    scenario.applications.push_back(terminal);
    scenario.bundles[0].launch.windows = {window("launched", QRectF(1000, 700, 600, 400))};

    const DesktopScenario moved = scenarioOnDisplays(scenario, {display(7, QRectF(0, 0, 1280, 800))});

    ASSERT_EQ(moved.displays.size(), 1u);
    EXPECT_EQ(moved.displays[0].bounds, QRectF(0, 0, 1280, 800));
    EXPECT_EQ(moved.displays[0].spaceCount, 2) << "the display in the first place keeps its Spaces";
    struct Case {
        const WindowSpec& window;
        QRectF bounds;
    };
    const Case cases[] = {
        {moved.applications[0].windows[0], QRectF(100, 100, 600, 400)},   // fits: stays
        {moved.applications[1].windows[0], QRectF(300, 200, 800, 500)},   // fits: stays
        {moved.applications[2].windows[0], QRectF(100, 50, 700, 500)},    // same offset on the first display
        {moved.applications[2].windows[1], QRectF(0, 300, 1280, 300)},    // shrunk to the display's width
        {moved.bundles[0].launch.windows[0], QRectF(680, 400, 600, 400)}, // moved up and left to fit
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.window.bounds, c.bounds) << c.window.title.toStdString();
        EXPECT_EQ(c.window.display, 0) << c.window.title.toStdString();
    }
    EXPECT_EQ(scenarioOnDisplays(scenario, {}), scenario);
}

TEST_F(ScenarioOnDisplaysTest, TheMachinesScreensBecomeTheDisplays)
{
    const std::vector<DisplaySpec> screens = SimulatedDesktop::qtScreenDisplays();
    ASSERT_FALSE(screens.empty());
    build(scenarioOnDisplays(twoDisplayScenario(), screens));
    ASSERT_EQ(desktop->displays().size(), screens.size());
    EXPECT_EQ(desktop->displays()[0].bounds, screens[0].bounds);
    EXPECT_TRUE(screens[0].bounds.contains(desktop->window(firstWindowOf("com.example.browser"))->bounds));
}

} // namespace
