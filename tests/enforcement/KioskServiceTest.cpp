#include "enforcement/KioskService.h"

#include "LogCapture.h"
#include "platform/PresentationOptionsControlling.h"
#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/DesktopTestScene.h"

using namespace vesk;

namespace {

class KioskServiceTest : public platform::testing::DesktopTestScene {
protected:
    QStringList kioskLog() const { return logs.messages(QStringLiteral("KioskService")); }

    test::LogCapture logs;
};

TEST_F(KioskServiceTest, ASessionSetsTheKioskOptionsAndTheStopClearsThemAll)
{
    // Options from before the session are not brought back.
    desktop->setPresentationOptions(platform::PresentationAutoHideMenuBar | platform::PresentationDisableForceQuit);
    KioskService kiosk(*desktop);
    kiosk.activate();
    EXPECT_EQ(desktop->presentationOptions(), 314);
    kiosk.activate();
    EXPECT_EQ(desktop->presentationOptions(), 314);
    kiosk.deactivate();
    EXPECT_EQ(desktop->presentationOptions(), 0);
    EXPECT_EQ(kioskLog(),
              (QStringList{"Activating kiosk mode (current options: [autoHideMenuBar, disableForceQuit])",
                           "Kiosk mode activated — options: [hideDock, hideMenuBar, disableAppleMenu, "
                           "disableProcessSwitching, disableHideApplication]",
                           "Activating kiosk mode (current options: [hideDock, hideMenuBar, disableAppleMenu, "
                           "disableProcessSwitching, disableHideApplication])",
                           "Kiosk mode activated — options: [hideDock, hideMenuBar, disableAppleMenu, "
                           "disableProcessSwitching, disableHideApplication]",
                           "Kiosk mode deactivated — presentationOptions reset to default []"}));
}

TEST_F(KioskServiceTest, WhileVeskIsInFrontTheDockMenuBarAppSwitchingAndHidingAreGone)
{
    const platform::ProcessID vesk = desktop->ownPID();
    desktop->activate(vesk, 0);
    ASSERT_EQ(desktop->frontmostPID(), vesk);
    KioskService kiosk(*desktop);
    kiosk.activate();

    EXPECT_FALSE(desktop->isDockShown());
    EXPECT_FALSE(desktop->isMenuBarShown());
    desktop->events().keyPress(48, platform::EventFlag::command);
    EXPECT_EQ(desktop->frontmostPID(), vesk);
    EXPECT_FALSE(desktop->hide(vesk));

    kiosk.deactivate();
    EXPECT_TRUE(desktop->isDockShown());
    EXPECT_TRUE(desktop->isMenuBarShown());
    EXPECT_TRUE(desktop->hide(vesk));
}

TEST(KioskServiceOptionsTextTest, NamesEveryOption)
{
    EXPECT_EQ(KioskService::optionsText(0), "[]");
    EXPECT_EQ(KioskService::optionsText(511),
              "[autoHideDock, hideDock, autoHideMenuBar, hideMenuBar, disableAppleMenu, disableProcessSwitching, "
              "disableForceQuit, disableSessionTermination, disableHideApplication]");
    EXPECT_EQ(KioskService::optionsText(2 | 1024), "[hideDock, rawValue(1024)]");
}

} // namespace
