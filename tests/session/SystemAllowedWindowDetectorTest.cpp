#include "session/SystemAllowedWindowDetector.h"
#include "DesktopSpecs.h"
#include "core/ManualScheduler.h"
#include "overlay/WindowSnapshotReader.h"
#include "platform/simulated/DesktopScenario.h"
#include "platform/simulated/DesktopScreenProvider.h"
#include "platform/simulated/DesktopWindowListProvider.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vesk;
namespace p = vesk::platform;

namespace {

const QString editor = "com.example.editor";
const QString browser = "com.example.browser";
const QString notes = "com.example.notes";
const QString idle = "com.example.idle";

using test::application;
using test::windowSpec;

// One 1440×900 display. Front to back: a browser window that wholly covers
// the editor's window, a notes window beside them, the editor window. The
// idle application has no window.
class SystemAllowedWindowDetectorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        p::DesktopScenario scenario;
        p::DisplaySpec display;
        display.displayID = 1;
        display.bounds = QRectF(0, 0, 1440, 900);
        scenario.displays = {display};
        scenario.applications = {
            application(editor, {windowSpec(QRectF(100, 100, 400, 300))}),
            application(notes, {windowSpec(QRectF(900, 100, 300, 300))}),
            application(browser, {windowSpec(QRectF(50, 50, 600, 500))}),
            application(idle, {}),
        };
        scenario.frontmost = browser;
        desktop = std::make_unique<p::SimulatedDesktop>(scheduler, root.path());
        ASSERT_TRUE(desktop->applyScenario(scenario).isEmpty());
        windowList = std::make_unique<p::DesktopWindowListProvider>(*desktop);
        screens = std::make_unique<p::DesktopScreenProvider>(*desktop);
        reader = std::make_unique<WindowSnapshotReader>(*windowList, test::applicationBundleIdentifierLookup(*desktop));
        detector = std::make_unique<SystemAllowedWindowDetector>(*reader, *screens, "com.vesk.app");
    }

    ManualScheduler scheduler;
    QTemporaryDir root;
    std::unique_ptr<p::SimulatedDesktop> desktop;
    std::unique_ptr<p::DesktopWindowListProvider> windowList;
    std::unique_ptr<p::DesktopScreenProvider> screens;
    std::unique_ptr<WindowSnapshotReader> reader;
    std::unique_ptr<SystemAllowedWindowDetector> detector;
};

} // namespace

TEST_F(SystemAllowedWindowDetectorTest, AWhollyCoveredWindowIsCoveredNotVisible)
{
    const auto result = detector->detectAllowedWindows({editor, notes, idle});
    EXPECT_EQ(result.visible, std::set<QString>{notes});
    EXPECT_EQ(result.covered, std::set<QString>{editor});
}

TEST_F(SystemAllowedWindowDetectorTest, AnAllowedWindowInFrontHidesNoOtherAllowedWindow)
{
    const auto result = detector->detectAllowedWindows({editor, browser});
    EXPECT_EQ(result.visible, (std::set<QString>{browser, editor}));
    EXPECT_TRUE(result.covered.empty());
}

TEST_F(SystemAllowedWindowDetectorTest, EmptyAllowlistGivesTwoEmptySets)
{
    EXPECT_EQ(detector->detectAllowedWindows({}), AllowedWindowDetecting::Result{});
}
