#include "scripted/TextControlClicker.h"

#include "overlay/OwnWindowRegistration.h"
#include "platform/WindowLevel.h"
#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/DesktopTestScene.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace vesk;

namespace {

// A panel of Vesk's listed on the desktop: a frameless widget at a top-left
// place, registered at a level.
class ListedPanel : public QWidget {
public:
    ListedPanel(platform::SimulatedDesktop& desktop, const QRect& quartzFrame, int level)
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
        , registration_(&desktop,
                        overlayPanelWindowSpec("Panel", level, rectFromQRectF(desktop.cocoaRect(QRectF(quartzFrame))),
                                               false),
                        this)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setGeometry(quartzFrame);
    }
    // Shows the panel with the controls given to it so far.
    void present()
    {
        show();
        registration_.orderIn();
    }
    void orderOut()
    {
        hide();
        registration_.orderOut();
    }

private:
    OwnWindowRegistration registration_;
};

class TextControlClickerTest : public platform::testing::DesktopTestScene {
protected:
    TextControlClicker clicker() { return TextControlClicker(*desktop); }

    // Clicks the control that shows the text; false when none does.
    bool clickText(const QString& text)
    {
        const auto target = clicker().find(text);
        if (!target)
            return false;
        clicker().click(*target);
        return true;
    }

    static int shieldingLevel() { return platform::shieldingWindowLevel(); }
};

} // namespace

TEST_F(TextControlClickerTest, FindsAControlByTextPlaceholderTooltipOrAccessibleNameAndClicksIt)
{
    ListedPanel panel(*desktop, QRect(200, 300, 300, 60), shieldingLevel() + 2);
    auto* leave = new QPushButton("Verlassen", &panel);
    leave->setGeometry(10, 10, 90, 30);
    auto* gear = new QPushButton(&panel);
    gear->setGeometry(110, 10, 30, 30);
    gear->setAccessibleName("Einstellungen");
    auto* plus = new QPushButton("+", &panel);
    plus->setGeometry(150, 10, 30, 30);
    plus->setToolTip("App zur Session hinzufuegen");
    auto* search = new QLineEdit(&panel);
    search->setGeometry(190, 10, 100, 30);
    search->setPlaceholderText("Suchen");
    int leaveClicks = 0;
    int gearClicks = 0;
    int plusClicks = 0;
    QObject::connect(leave, &QPushButton::clicked, [&] { ++leaveClicks; });
    QObject::connect(gear, &QPushButton::clicked, [&] { ++gearClicks; });
    QObject::connect(plus, &QPushButton::clicked, [&] { ++plusClicks; });
    panel.present();

    const auto target = clicker().find("Verlassen");
    ASSERT_TRUE(target);
    EXPECT_EQ(target->control, leave);
    EXPECT_EQ(target->quartzPoint, QPointF(leave->mapToGlobal(leave->rect().center())));
    const platform::EventOutcome outcome = clicker().click(*target);
    EXPECT_TRUE(outcome.delivered);
    EXPECT_EQ(outcome.targetPID, desktop->ownPID());
    EXPECT_EQ(leaveClicks, 1);

    EXPECT_TRUE(clickText("Einstellungen"));
    EXPECT_TRUE(clickText("App zur Session hinzufuegen"));
    EXPECT_EQ(gearClicks, 1);
    EXPECT_EQ(plusClicks, 1);
    ASSERT_TRUE(clicker().find("Suchen"));
    EXPECT_EQ(clicker().find("Suchen")->control, search);

    EXPECT_FALSE(clicker().find("Verlasse")) << "the whole text must match";
    leave->hide();
    EXPECT_FALSE(clicker().find("Verlassen")) << "a hidden control";
    leave->show();
    panel.orderOut();
    panel.show();
    EXPECT_FALSE(clicker().find("Verlassen")) << "a panel that is not on screen";
}

TEST_F(TextControlClickerTest, TheFrontmostMatchWinsAndACoveredControlIsPassedOver)
{
    ListedPanel back(*desktop, QRect(200, 300, 300, 60), shieldingLevel() + 1);
    auto* backButton = new QPushButton("OK", &back);
    backButton->setGeometry(10, 10, 90, 30);
    ListedPanel front(*desktop, QRect(600, 300, 300, 60), shieldingLevel() + 2);
    auto* frontButton = new QPushButton("OK", &front);
    frontButton->setGeometry(10, 10, 90, 30);
    back.present();
    front.present();
    EXPECT_EQ(clicker().find("OK")->control, frontButton);

    // A sibling created later lies over the front button's centre.
    auto* cover = new QLabel("cover", &front);
    cover->setGeometry(0, 0, 120, 60);
    cover->show();
    EXPECT_EQ(clicker().find("OK")->control, backButton);
}

TEST_F(TextControlClickerTest, AClickATapSwallowsNeverReachesTheControl)
{
    ListedPanel panel(*desktop, QRect(200, 300, 300, 60), shieldingLevel() + 2);
    auto* button = new QPushButton("Verlassen", &panel);
    button->setGeometry(10, 10, 90, 30);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    panel.present();
    const auto tap = desktop->events().createTap(platform::TapLocation::session, platform::TapPlacement::headInsert,
                                                 platform::TapOptions::defaultFilter, ~0ull,
                                                 [](int, const platform::InputEvent&) { return std::nullopt; });
    ASSERT_TRUE(tap);
    desktop->events().enableTap(*tap, true);

    const platform::EventOutcome outcome = clicker().click(*clicker().find("Verlassen"));
    EXPECT_FALSE(outcome.delivered);
    EXPECT_EQ(outcome.swallowedByTap, tap);
    EXPECT_EQ(clicks, 0);
}
