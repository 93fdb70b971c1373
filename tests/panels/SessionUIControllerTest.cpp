#include "panels/SessionUIController.h"
#include "stage/NoOpStageVeskService.h"

#include "FakeSession.h"
#include "PanelScene.h"
#include "platform/VirtualKeyCodes.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPointer>

using namespace vesk;

namespace {

// Stage bars that report the frames a test gives them.
class FakeStageBars final : public StageVeskPanelManaging {
public:
    explicit FakeStageBars(QStringList& trace) : trace_(trace) { }
    void setControlRectsChangedHandler(std::function<void()> handler) override { changed = std::move(handler); }
    void show(SessionControlling&, StageVeskControlling&) override
    {
        trace_ << QStringLiteral("show");
        rects = {Rect{0, 0, 1440, 40}};
    }
    void dismiss() override
    {
        trace_ << QStringLiteral("dismiss");
        rects.clear();
    }
    std::vector<Rect> controlRects() const override { return rects; }
    void dismissSettingsIfClickOutside(Point point) override
    {
        trace_ << QStringLiteral("settingsClick %1,%2").arg(point.x).arg(point.y);
    }

    std::vector<Rect> rects;
    std::function<void()> changed;

private:
    QStringList& trace_;
};

// Plain views, and a record of what the controller asked for.
class FakeContent final : public SessionPanelContentProviding {
public:
    QWidget* makeHUDView(SessionControlling&) override { return new QWidget; }
    QWidget* makeQuickAccessView(SessionControlling&, std::function<void()> onClose) override
    {
        quickAccessClose = std::move(onClose);
        return new QWidget;
    }
    QWidget* makeAppLaunchPromptView(SessionControlling&, const AppLaunchPrompt& prompt) override
    {
        trace << QStringLiteral("prompt view for ") + prompt.bundleID;
        return new QWidget;
    }
    QWidget* makeBugReportView(std::function<void()> onClose) override
    {
        bugReportClose = std::move(onClose);
        return new QWidget;
    }
    std::unique_ptr<StageVeskPanelManaging> makeStageVeskPanel() override
    {
        auto bars = std::make_unique<FakeStageBars>(trace);
        stageBars = bars.get();
        return bars;
    }

    std::function<void()> quickAccessClose;
    std::function<void()> bugReportClose;
    FakeStageBars* stageBars = nullptr;
    QStringList trace;
};

class SessionUIControllerTest : public test::PanelScene {
protected:
    SessionUIControllerTest()
    {
        controller->setVeskControlRectsChangedHandler(
            [this](const std::vector<Rect>& rects) { published.push_back(rects); });
    }

    static AppLaunchPrompt prompt(const QString& bundleID)
    {
        return AppLaunchPrompt{QUuid::createUuid(), bundleID, bundleID.section('.', -1)};
    }

    // The recovery requests the session received.
    qsizetype recoveries() const
    {
        return session.calls.filter(QStringLiteral("scheduleAllowedAppsRecovery(quickAccessPanelClosed, none, false)"))
            .size();
    }

    void pressEscape(QWidget& panel)
    {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&panel, &escape);
    }

    test::FakeSession session;
    NoOpStageVeskService stage;
    std::shared_ptr<FakeContent> content = std::make_shared<FakeContent>();
    int activations = 0;
    std::unique_ptr<SessionUIController> controller =
        std::make_unique<SessionUIController>(SessionUIController::Environment{environment, [this] { ++activations; }},
                                              content);
    std::vector<std::vector<Rect>> published;
};

} // namespace

TEST_F(SessionUIControllerTest, PublishesVisiblePanelsInOrderThenTheStageBars)
{
    ASSERT_EQ(published.size(), 1u);
    EXPECT_TRUE(published.front().empty()) << "installing the handler publishes at once";
    EXPECT_TRUE(logs.contains(QStringLiteral("Vesk control rects published — count=0, rects=[]")));

    session.setPendingPrompt(prompt(QStringLiteral("com.example.chat")));
    desktop.setMouseLocation(QPointF(100, 800));
    controller->showAppLaunchPrompt(session);
    controller->toggleBugReportPanel();
    desktop.setMouseLocation(QPointF(700, 700));
    controller->toggleQuickAccessPanel(session);
    controller->showHUD(session);
    controller->showStageVeskPanel(session, stage);

    const Rect hud{1100, 621, 320, 234}, quickAccess{700, 280, 380, 420}, bugReport{100, 280, 460, 520},
        prompt{560, 371.5, 320, 132}, bar{0, 0, 1440, 40};
    EXPECT_EQ(published.back(), (std::vector<Rect>{hud, quickAccess, bugReport, prompt, bar}));
    EXPECT_TRUE(logs.contains(QStringLiteral(
        "Vesk control rects published — count=5, rects=[(1100.0, 621.0, 320.0, 234.0), (700.0, 280.0, 380.0, 420.0), "
        "(100.0, 280.0, 460.0, 520.0), (560.0, 371.5, 320.0, 132.0), (0.0, 0.0, 1440.0, 40.0)]")));

    controller->quickAccessPanel()->orderOut();
    controller->publishVeskControlRects();
    EXPECT_EQ(published.back(), (std::vector<Rect>{hud, bugReport, prompt, bar}))
        << "a held panel off screen counts not";

    content->stageBars->rects.push_back(Rect{0, 860, 1440, 40});
    content->stageBars->changed();
    EXPECT_EQ(published.back().size(), 5u) << "the bars' own changes publish too";
}

TEST_F(SessionUIControllerTest, DismissingTheHUDStageAndQuickAccessAlwaysPublishesThePromptAndBugReportOnlyWhenHeld)
{
    struct Case {
        const char* name;
        std::function<void()> dismiss;
        QString message;
        bool publishes;
    };
    const std::vector<Case> cases = {
        {"HUD", [this] { controller->dismissHUD(); }, QStringLiteral("HUD panel dismissed"), true},
        {"stage", [this] { controller->dismissStageVeskPanel(); }, QStringLiteral("StageVesk panel dismissed"), true},
        {"quick access", [this] { controller->dismissQuickAccessPanel(); },
         QStringLiteral("Quick access panel dismissed"), true},
        {"prompt", [this] { controller->dismissAppLaunchPrompt(); },
         QStringLiteral("App-launch prompt panel dismissed"), false},
        {"bug report", [this] { controller->dismissBugReportPanel(); }, QStringLiteral("Bug report panel dismissed"),
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        logs.clear();
        const size_t before = published.size();
        c.dismiss();
        EXPECT_EQ(published.size() > before, c.publishes);
        EXPECT_EQ(logs.messages(QStringLiteral("SessionUIController")).contains(c.message), c.publishes);
    }
    EXPECT_EQ(recoveries(), 0) << "closing quick access from the stop asks for no recovery";
}

TEST_F(SessionUIControllerTest, HUDIsSkippedWhileStageBarsAreHeldEvenWithoutAMainScreen)
{
    desktop.removeDisplay(0);
    controller->showStageVeskPanel(session, stage);
    EXPECT_TRUE(content->trace.isEmpty()) << "without a main screen the bars are held but not shown";
    ASSERT_NE(controller->stageVeskPanel(), nullptr);
    controller->showHUD(session);
    EXPECT_EQ(controller->hudPanel(), nullptr);
    EXPECT_TRUE(logs.contains(QStringLiteral("HUD panel skipped because StageVesk panel is active")));

    controller->dismissStageVeskPanel();
    controller->showHUD(session);
    ASSERT_NE(controller->hudPanel(), nullptr);
    const auto firstHUD = controller->hudPanel()->windowNumber();
    controller->showHUD(session);
    EXPECT_FALSE(listed(firstHUD)) << "the second HUD replaces the first";
    EXPECT_TRUE(controller->hudPanel()->isVisible());
}

TEST_F(SessionUIControllerTest, StageBarsAreClosedBeforeTheyAreShownAndTheOldOnesGo)
{
    controller->showStageVeskPanel(session, stage);
    EXPECT_EQ(content->trace, (QStringList{"dismiss", "show"}));
    controller->showStageVeskPanel(session, stage);
    EXPECT_EQ(content->trace, (QStringList{"dismiss", "show", "dismiss", "dismiss", "show"}));
}

TEST_F(SessionUIControllerTest, QuickAccessClosesByToggleEscapeOrOutsideClickAndAsksForRecovery)
{
    controller->toggleQuickAccessPanel(session);
    QuickAccessPanel* panel = controller->quickAccessPanel();
    ASSERT_NE(panel, nullptr);
    controller->toggleQuickAccessPanel(session);
    EXPECT_EQ(controller->quickAccessPanel(), nullptr);
    EXPECT_EQ(recoveries(), 1);

    controller->toggleQuickAccessPanel(session);
    panel = controller->quickAccessPanel();
    pressEscape(*panel);
    EXPECT_EQ(controller->quickAccessPanel(), nullptr);
    EXPECT_EQ(recoveries(), 2);
    EXPECT_FALSE(panel->hasOnDismiss()) << "a second Escape on the closed panel does nothing";
    pressEscape(*panel);
    EXPECT_EQ(recoveries(), 2);

    desktop.setMouseLocation(QPointF(300, 600));
    controller->toggleQuickAccessPanel(session);
    controller->handleGlobalClick(Point{310, 500}); // inside
    EXPECT_NE(controller->quickAccessPanel(), nullptr);
    controller->handleGlobalClick(Point{1300, 100});
    EXPECT_EQ(controller->quickAccessPanel(), nullptr);
    EXPECT_EQ(recoveries(), 3);
    EXPECT_TRUE(
        logs.contains(QStringLiteral("Quick access panel dismissing via user interaction — reason=clickOutside")));

    // The view's close button after the controller is gone still asks for the recovery.
    controller->toggleQuickAccessPanel(session);
    const std::function<void()> close = content->quickAccessClose;
    controller.reset();
    close();
    EXPECT_EQ(recoveries(), 4);
}

// An app that the panel brought forward takes the keyboard from it; an Escape
// that goes to that app still closes the open panel, other keys do not.
TEST_F(SessionUIControllerTest, EscapeToAnotherAppClosesTheOpenQuickAccessPanel)
{
    controller = std::make_unique<SessionUIController>(
        SessionUIController::Environment{environment, [this] { ++activations; }, &desktop.events()}, content);
    const int monitors = desktop.events().monitorCount();
    controller->toggleQuickAccessPanel(session);
    ASSERT_NE(controller->quickAccessPanel(), nullptr);
    desktop.activate(editorPID, 0);
    ASSERT_EQ(desktop.keyOwnWindow(), std::nullopt);

    EXPECT_EQ(desktop.events().keyPress(platform::KeyCode::space, 0).targetPID, editorPID);
    ASSERT_NE(controller->quickAccessPanel(), nullptr) << "another key leaves it open";

    // Held but ordered out, the panel is not what the user sees.
    controller->quickAccessPanel()->orderOut();
    desktop.events().keyPress(platform::KeyCode::escape, 0);
    ASSERT_NE(controller->quickAccessPanel(), nullptr);
    controller->quickAccessPanel()->orderFrontRegardless();

    EXPECT_EQ(desktop.events().keyPress(platform::KeyCode::escape, 0).targetPID, editorPID);
    EXPECT_EQ(controller->quickAccessPanel(), nullptr);
    EXPECT_EQ(recoveries(), 1);
    EXPECT_TRUE(logs.contains(QStringLiteral("Quick access panel dismissing via user interaction — reason=escapeKey")));
    EXPECT_EQ(desktop.events().monitorCount(), monitors) << "the keys are watched only while the panel is open";
}

TEST_F(SessionUIControllerTest, ClicksGoToQuickAccessBugReportAndStageButNeverCloseTheHUDOrPrompt)
{
    session.setPendingPrompt(prompt(QStringLiteral("com.example.chat")));
    controller->showHUD(session);
    controller->showAppLaunchPrompt(session);
    controller->handleGlobalClick(Point{5, 5});
    EXPECT_NE(controller->hudPanel(), nullptr);
    EXPECT_NE(controller->appLaunchPromptPanel(), nullptr);

    controller->toggleBugReportPanel();
    controller->showStageVeskPanel(session, stage);
    content->trace.clear();
    controller->handleGlobalClick(Point{1400, 20});
    EXPECT_EQ(controller->bugReportPanel(), nullptr);
    EXPECT_EQ(content->trace, QStringList{"settingsClick 1400,20"});
    EXPECT_TRUE(
        logs.contains(QStringLiteral("Bug report panel dismissing via user interaction — reason=clickOutside")));

    controller->toggleBugReportPanel();
    const std::function<void()> close = content->bugReportClose;
    controller.reset();
    close(); // does nothing once the controller is gone
}

TEST_F(SessionUIControllerTest, PromptNeedsAPendingPromptAndReplacesTheOpenOne)
{
    controller->showAppLaunchPrompt(session);
    EXPECT_EQ(controller->appLaunchPromptPanel(), nullptr);
    EXPECT_TRUE(logs.contains(QStringLiteral("showAppLaunchPrompt called without a pending prompt")));

    session.setPendingPrompt(prompt(QStringLiteral("com.example.chat")));
    controller->showAppLaunchPrompt(session);
    const auto first = controller->appLaunchPromptPanel()->windowNumber();
    session.setPendingPrompt(std::nullopt);
    controller->showAppLaunchPrompt(session);
    EXPECT_NE(controller->appLaunchPromptPanel(), nullptr) << "an open prompt stays without a new one";

    session.setPendingPrompt(prompt(QStringLiteral("com.example.mail")));
    controller->showAppLaunchPrompt(session);
    EXPECT_FALSE(listed(first)) << "the replaced prompt leaves the window list";
    EXPECT_TRUE(logs.contains(QStringLiteral("App-launch prompt panel shown — bundleID=com.example.mail")));
    EXPECT_EQ(content->trace, (QStringList{"prompt view for com.example.chat", "prompt view for com.example.mail"}));
    EXPECT_TRUE(logs.contains(QStringLiteral("App-launch prompt dismissed")));
}

// A closed panel is deleted on a later turn of the event loop, when the
// desktop it was listed on may be gone (at quit, or when the application
// that held it goes): it leaves the window list as it closes, and the panels
// still open go with the controller itself.
TEST_F(SessionUIControllerTest, ClosedPanelsLeaveTheWindowListAtOnceAndOpenOnesGoWithTheController)
{
    session.setPendingPrompt(prompt(QStringLiteral("com.example.chat")));
    const auto showAll = [this] {
        controller->showHUD(session);
        controller->showAppLaunchPrompt(session);
        controller->toggleQuickAccessPanel(session);
        controller->toggleBugReportPanel();
        return std::vector<QPointer<InSessionPanel>>{controller->hudPanel(), controller->appLaunchPromptPanel(),
                                                     controller->quickAccessPanel(), controller->bugReportPanel()};
    };
    const auto windowNumbers = [](const std::vector<QPointer<InSessionPanel>>& panels) {
        std::vector<std::optional<quint32>> numbers;
        for (const auto& panel : panels)
            numbers.push_back(panel->windowNumber());
        return numbers;
    };

    const std::vector<QPointer<InSessionPanel>> closed = showAll();
    const std::vector<std::optional<quint32>> closedNumbers = windowNumbers(closed);
    controller->dismissHUD();
    controller->dismissAppLaunchPrompt();
    controller->dismissQuickAccessPanel();
    controller->dismissBugReportPanel();
    for (size_t index = 0; index < closed.size(); ++index) {
        SCOPED_TRACE(index);
        ASSERT_TRUE(closedNumbers[index]);
        EXPECT_FALSE(listed(closedNumbers[index])) << "listed until the panel is deleted";
        ASSERT_FALSE(closed[index].isNull()) << "a closed panel is deleted later";
        EXPECT_FALSE(closed[index]->windowNumber());
    }

    const std::vector<QPointer<InSessionPanel>> open = showAll();
    const std::vector<std::optional<quint32>> openNumbers = windowNumbers(open);
    controller.reset();
    for (size_t index = 0; index < open.size(); ++index) {
        SCOPED_TRACE(index);
        EXPECT_TRUE(open[index].isNull()) << "an open panel outlives its controller";
        EXPECT_FALSE(listed(openNumbers[index]));
    }
    EXPECT_TRUE(desktop.ownWindows().empty());
}

TEST_F(SessionUIControllerTest, TheRegisteredMainWindowIsHiddenAndShownNotTheSettingsWindow)
{
    QWidget settings; // shown first, so the first window that is not a panel
    settings.show();
    QMainWindow main;
    main.show();
    controller->setMainWindow(&main);

    controller->hideMainWindow();
    EXPECT_FALSE(main.isVisible());
    EXPECT_TRUE(settings.isVisible());
    controller->showMainWindow();
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(activations, 1);
    EXPECT_TRUE(logs.contains(QStringLiteral("Main window hidden")));
    EXPECT_TRUE(logs.contains(QStringLiteral("Main window shown")));
}

TEST_F(SessionUIControllerTest, WithoutARegisteredMainWindowTheFirstWindowThatIsNotAPanelStandsIn)
{
    controller->showHUD(session); // a panel, passed over
    QMainWindow window;
    window.show();
    controller->hideMainWindow();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(controller->hudPanel()->isVisible());
}
