#include "enforcement/SpaceMonitorService.h"
#include "LogCapture.h"
#include "platform/simulated/DesktopTestScene.h"
#include "platform/simulated/DesktopWorkspace.h"

using namespace vesk;

namespace {

// The first display has two Spaces; each switch posts a Space change.
class SpaceMonitorServiceTest : public platform::testing::DesktopTestScene {
protected:
    void switchSpace()
    {
        const auto& display = desktop->displays()[0];
        const int other = display.activeSpaceID == display.spaceIDs[0] ? display.spaceIDs[1] : display.spaceIDs[0];
        desktop->switchToSpace(other);
        scheduler.runPending();
    }

    void activate()
    {
        monitor->activate([this](const SpaceChangeContext& context) { reports.push_back(context); });
    }

    std::vector<int> counts() const
    {
        std::vector<int> result;
        for (const SpaceChangeContext& context : reports)
            result.push_back(context.changesSinceActivation);
        return result;
    }

    void SetUp() override
    {
        DesktopTestScene::SetUp();
        monitor.emplace(desktop->workspace());
    }

    std::optional<SpaceMonitorService> monitor;
    std::vector<SpaceChangeContext> reports;
    test::LogCapture logs;
};

TEST_F(SpaceMonitorServiceTest, CountsTheChangesSinceEachActivation)
{
    switchSpace(); // before activation: not counted
    activate();
    for (int i = 0; i < 3; ++i)
        switchSpace();
    EXPECT_EQ(counts(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(reports.back().frontmostBundleID, "com.example.browser");
    EXPECT_TRUE(logs.contains("[SpaceMonitorService] active space changed — frontmost=com.example.browser, "
                              "sinceActivation=3"));

    monitor->deactivate();
    switchSpace();
    EXPECT_EQ(reports.size(), 3u);
    activate();
    switchSpace();
    EXPECT_EQ(counts(), (std::vector<int>{1, 2, 3, 1}));
}

TEST_F(SpaceMonitorServiceTest, ReportsNilWithoutAFrontmostApplicationAndWarnsOnASecondActivation)
{
    activate();
    monitor->activate([](const SpaceChangeContext&) { FAIL() << "the first callback stays"; });
    EXPECT_TRUE(logs.contains("[SpaceMonitorService] activate called while already active"));
    desktop->forceTerminate(pidOf("com.example.browser"));
    desktop->forceTerminate(pidOf("com.example.editor"));
    desktop->forceTerminate(pidOf("com.apple.finder"));
    scheduler.runPending();
    switchSpace();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].frontmostBundleID, std::nullopt);
    EXPECT_TRUE(logs.contains("frontmost=nil, sinceActivation=1"));
}

TEST_F(SpaceMonitorServiceTest, ACallbackMayDeactivateTheMonitor)
{
    monitor->activate([this](const SpaceChangeContext&) { monitor->deactivate(); });
    switchSpace();
    EXPECT_FALSE(monitor->isActive());
    EXPECT_EQ(logs.count("[SpaceMonitorService] deactivated"), 1);
    monitor->deactivate();
    EXPECT_EQ(logs.count("[SpaceMonitorService] deactivated"), 1) << "nothing to do the second time";
}

} // namespace
