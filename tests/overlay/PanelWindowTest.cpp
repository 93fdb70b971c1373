#include "overlay/PanelWindow.h"
#include "core/ManualScheduler.h"
#include "platform/InputEvent.h"
#include "platform/ScreenProviding.h"
#include "platform/WindowLevel.h"
#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/SimulatedDesktop.h"

#include "DesktopSpecs.h"

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vesk;

namespace {

// A panel that counts the Escape presses that reach it.
class CountingPanel final : public PanelWindow {
public:
    using PanelWindow::PanelWindow;
    int cancels = 0;

protected:
    void cancelOperation() override { ++cancels; }
};

// Two displays: 1440 × 900 and, to its right with its top edge level, a
// smaller one of 1280 × 720.
class PanelWindowTest : public testing::Test {
protected:
    PanelWindowTest()
    {
        desktop.addDisplay(test::display(1, QRectF(0, 0, 1440, 900)));
        desktop.addDisplay(test::display(2, QRectF(1440, 0, 1280, 720)));
        platform::ApplicationSpec editor;
        editor.bundleIdentifier = QStringLiteral("com.example.editor");
        editorPID = desktop.addRunningApplication(editor);
        desktop.activate(editorPID, 0);
    }

    static PanelWindow::Configuration configuration(bool canBecomeKey)
    {
        PanelWindow::Configuration configuration;
        configuration.title = QStringLiteral("Test Panel");
        configuration.level = platform::shieldingWindowLevel() + 3;
        configuration.canBecomeKey = canBecomeKey;
        configuration.movableByWindowBackground = true;
        return configuration;
    }

    const platform::OwnWindowInfo* listed(const PanelWindow& panel) const
    {
        for (const auto& window : ownWindows) {
            if (panel.windowNumber() && window.number == *panel.windowNumber())
                return &window;
        }
        return nullptr;
    }

    QTemporaryDir root;
    ManualScheduler scheduler;
    platform::SimulatedDesktop desktop{scheduler, root.path()};
    const platform::ScreenProviding& screens = desktop.interfaces().screens;
    platform::ProcessID editorPID = 0;
    std::vector<platform::OwnWindowInfo> ownWindows;
};

} // namespace

TEST_F(PanelWindowTest, IsPlacedThroughTheDisplayItLiesOnAndListedAtItsLevel)
{
    // The second display's bottom edge lies at y 180 of the bottom-left
    // system (900 - 720); the panel stands 100 points above it.
    CountingPanel panel(configuration(false), Rect{1500, 280, 300, 200}, screens, &desktop);
    EXPECT_EQ(panel.geometry(), QRect(1500, 420, 300, 200)) << "top-left: 720 - 100 - 200";
    EXPECT_EQ(panel.styleMask(), 144);
    EXPECT_EQ(panel.collectionBehavior(), 273);
    EXPECT_FALSE(panel.windowNumber()) << "listed only once ordered in";

    panel.orderFrontRegardless();
    ownWindows = desktop.ownWindows();
    const auto* window = listed(panel);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isPanel);
    EXPECT_TRUE(window->visible);
    EXPECT_EQ(window->level, platform::shieldingWindowLevel() + 3);
    EXPECT_EQ(window->frame, QRectF(1500, 280, 300, 200));
    EXPECT_EQ(panel.screenLabel(), desktop.displays()[1].name);

    panel.setFrameOrigin(Point{20, 30});
    EXPECT_EQ(panel.geometry(), QRect(20, 670, 300, 200));
    ownWindows = desktop.ownWindows();
    EXPECT_EQ(listed(panel)->frame, QRectF(20, 30, 300, 200));

    panel.orderOut();
    ownWindows = desktop.ownWindows();
    EXPECT_FALSE(listed(panel)->visible);
    EXPECT_FALSE(panel.isVisible());
}

TEST_F(PanelWindowTest, KeyPanelTakesTheKeyboardWithoutActivatingVesk)
{
    CountingPanel keyPanel(configuration(true), Rect{100, 100, 380, 420}, screens, &desktop);
    CountingPanel plainPanel(configuration(false), Rect{600, 100, 320, 132}, screens, &desktop);
    plainPanel.makeKeyAndOrderFront();
    EXPECT_FALSE(desktop.keyOwnWindow()) << "a panel that cannot become key stays out of the keyboard";
    EXPECT_TRUE(plainPanel.testAttribute(Qt::WA_ShowWithoutActivating));

    keyPanel.makeKeyAndOrderFront();
    EXPECT_EQ(desktop.keyOwnWindow(), keyPanel.windowNumber());
    EXPECT_EQ(desktop.frontmostPID(), editorPID) << "Vesk is not activated";
    const platform::EventOutcome escape = desktop.events().keyPress(53, 0);
    EXPECT_EQ(escape.targetPID, desktop.ownPID());
    EXPECT_EQ(escape.targetWindow, keyPanel.windowNumber());

    keyPanel.orderOut();
    EXPECT_FALSE(desktop.keyOwnWindow());
    EXPECT_EQ(desktop.events().keyPress(53, 0).targetPID, editorPID);

    keyPanel.makeKeyAndOrderFront();
    desktop.activate(editorPID, 0);
    EXPECT_FALSE(desktop.keyOwnWindow()) << "another application took the keyboard";
}

// Vesk stays inactive while its panels are up (they take the keyboard
// without activating it, or not at all), and Qt shows a help text over an
// inactive window only when that window asks for it.
TEST_F(PanelWindowTest, APanelShowsItsControlsHelpTextsWhileVeskIsInactive)
{
    for (const bool canBecomeKey : {false, true}) {
        CountingPanel panel(configuration(canBecomeKey), Rect{100, 100, 320, 132}, screens, &desktop);
        panel.makeKeyAndOrderFront();
        EXPECT_FALSE(panel.isActiveWindow());
        EXPECT_TRUE(panel.testAttribute(Qt::WA_AlwaysShowToolTips)) << "canBecomeKey=" << canBecomeKey;
    }
}

TEST_F(PanelWindowTest, EscapeReachesCancelOperationAndIsNotPassedOn)
{
    CountingPanel panel(configuration(true), Rect{100, 100, 380, 420}, screens, &desktop);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&panel, &escape);
    EXPECT_EQ(panel.cancels, 1);
    EXPECT_TRUE(escape.isAccepted());
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(&panel, &other);
    EXPECT_EQ(panel.cancels, 1);
}

// A window system without compositing keeps a window's old pixels where
// nothing paints; an opaque panel paints black under its content on every
// pass, so content that hides leaves nothing behind.
TEST_F(PanelWindowTest, AnOpaquePanelPaintsBlackUnderItsContentEveryPass)
{
    PanelWindow::Configuration opaque = configuration(false);
    opaque.opaque = true;
    CountingPanel panel(opaque, Rect{100, 100, 40, 30}, screens, &desktop);

    QImage pixels(panel.size(), QImage::Format_RGB32);
    pixels.fill(Qt::red); // what the window showed before
    panel.render(&pixels);

    EXPECT_EQ(pixels.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(pixels.pixelColor(39, 29), QColor(Qt::black));
}
