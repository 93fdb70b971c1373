#include "app/PresentedStageVeskPanel.h"
#include "app/SessionManagerComposition.h"

#include "core/ManualScheduler.h"
#include "core/UserDefaults.h"
#include "feedback/BugReportView.h"
#include "panels/BugReportPanel.h"
#include "panels/QuickAccessPanel.h"
#include "panels/QuickAccessPanelView.h"
#include "panels/SessionHUDPanel.h"
#include "panels/SessionHUDView.h"
#include "panels/SessionUIController.h"
#include "panels/StageVeskCard.h"
#include "panels/StageVeskControlPanel.h"
#include "panels/StageVeskTopControlView.h"
#include "platform/VirtualKeyCodes.h"
#include "platform/WindowLevel.h"
#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/DesktopScreenCapturer.h"
#include "platform/simulated/DesktopWorkspace.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "scripted/VirtualTimeDriver.h"
#include "session/SchedulerSessionTimerFactory.h"
#include "session/SessionManager.h"
#include "stage/StageVeskService.h"
#include "ui/FilledButton.h"
#include "ui/TextLabel.h"

#include "LogCapture.h"
#include "QtPrinters.h"
#include "TestDesktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>

using namespace vesk;

namespace {

// The application's session manager with its in-session windows, over two
// displays of different heights: the 1440 × 900 one with the editor and,
// to its right with the top edges level, a 1280 × 720 one.
class SessionWindowsCompositionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::DesktopScenario scenario = test::oneDisplayScenario();
        platform::DisplaySpec second;
        second.displayID = 2;
        second.bounds = QRectF(1440, 0, 1280, 720);
        second.name = QStringLiteral("Side Display");
        scenario.displays.push_back(second);
        ASSERT_TRUE(desktop_.applyScenario(scenario).isEmpty());
        defaults_ = std::make_unique<UserDefaults>(QStringLiteral("windows-test"), root_.filePath("defaults"));
        composition_ =
            std::make_unique<SessionManagerComposition>(scheduler_, scheduler_, desktop_.interfaces(), *defaults_,
                                                        std::make_shared<SchedulerSessionTimerFactory>(scheduler_),
                                                        desktopFolder());
    }

    void TearDown() override
    {
        composition_.reset();
        time_.settle();
        // Panels the controller let go leave the window list while the desktop is still here.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    SessionManager& manager() const { return composition_->manager(); }
    SessionUIController& ui() const { return composition_->uiController(); }
    QString desktopFolder() const { return root_.filePath("Desktop"); }

    void startEditorSession()
    {
        manager().startSession(600, {test::kEditorBundleID}, {}, std::nullopt, false, 3);
        time_.advance(2.0);
        ASSERT_TRUE(manager().isSessionActive());
        ASSERT_FALSE(manager().isStartingSession());
    }

    // Adds the chat application from the quick-access panel, as its tile
    // does, and lets it launch and take its place on the stage.
    QuickAccessPanel& addChatFromQuickAccess()
    {
        manager().toggleQuickAccessPanel(std::nullopt);
        QuickAccessPanel* panel = ui().quickAccessPanel();
        EXPECT_NE(panel, nullptr);
        manager().addApp(test::kChatBundleID, desktop_.workspace().urlForApplication(test::kChatBundleID),
                         manager().quickAccessTargetScreenID());
        time_.advance(3.0);
        EXPECT_NE(desktop_.runningApplication(test::kChatBundleID), nullptr);
        return *panel;
    }

    const platform::DesktopWindow& chatWindow() const
    {
        return *desktop_.windowsOf(desktop_.runningApplication(test::kChatBundleID)->pid).front();
    }

    // Our visible windows at the transition's level.
    std::vector<platform::OwnWindowInfo> transitionPanels() const
    {
        std::vector<platform::OwnWindowInfo> panels;
        for (const auto& window : desktop_.ownWindows()) {
            if (window.visible && window.level == platform::shieldingWindowLevel() + 3)
                panels.push_back(window);
        }
        return panels;
    }

    QTemporaryDir root_;
    test::LogCapture logs_;
    ManualScheduler scheduler_;
    platform::SimulatedDesktop desktop_{scheduler_, root_.filePath("desktop")};
    VirtualTimeDriver time_{scheduler_, desktop_};
    std::unique_ptr<UserDefaults> defaults_;
    std::unique_ptr<SessionManagerComposition> composition_;
};

} // namespace

TEST_F(SessionWindowsCompositionTest, EnteringCoversEachDisplayUntilTheStageBarsTakeOverFromTheHUD)
{
    // The chat application is launched and its window awaited: the start takes a while.
    manager().startSession(600, {test::kChatBundleID}, {}, std::nullopt, false, 3);
    ASSERT_TRUE(manager().isStartingSession());
    const auto covers = transitionPanels();
    ASSERT_EQ(covers.size(), 2u);
    for (const auto& display : desktop_.displays()) {
        EXPECT_TRUE(std::any_of(covers.begin(), covers.end(),
                                [&display](const auto& cover) { return cover.frame == display.frame; }));
    }
    const platform::EventOutcome click = desktop_.events().click(QPointF(2000, 600));
    EXPECT_EQ(click.targetPID, desktop_.ownPID());
    EXPECT_TRUE(click.targetWindow == covers[0].number || click.targetWindow == covers[1].number);

    time_.advance(5.0);
    ASSERT_TRUE(manager().isSessionActive());
    ASSERT_FALSE(manager().isStartingSession());
    EXPECT_TRUE(transitionPanels().empty());
    EXPECT_NE(ui().stageVeskPanel(), nullptr);
    EXPECT_EQ(ui().hudPanel(), nullptr);
    EXPECT_TRUE(logs_.contains(QStringLiteral("Entering-VESK transition shown — style=immediateBlack, panels=2")));
    EXPECT_TRUE(logs_.contains(QStringLiteral("HUD panel skipped because StageVesk panel is active")));
    EXPECT_TRUE(logs_.contains(QStringLiteral("Entering-VESK transition dismissed — animated=false")));
}

TEST_F(SessionWindowsCompositionTest, AScreenshotFromTheSessionIsSavedUprightWithBothDisplays)
{
    startEditorSession();
    manager().requestScreenshot(scheduler_.now());
    EXPECT_EQ(manager().screenshotFeedback(), SessionScreenshotFeedback::saved);
    const QStringList files = QDir(desktopFolder()).entryList({QStringLiteral("vesk-screenshot-*.png")});
    ASSERT_EQ(files.size(), 1);
    const QImage image(QDir(desktopFolder()).filePath(files.front()));
    ASSERT_EQ(image.size(), QSize(2720, 900));
    EXPECT_EQ(image.pixel(2000, 800), qRgb(0, 0, 0)) << "below the smaller display";

    // The editor's window stands where it is on the display, not mirrored.
    const platform::DesktopWindow& editor =
        *desktop_.windowsOf(desktop_.runningApplication(test::kEditorBundleID)->pid).front();
    const QRgb editorColour = platform::DesktopScreenCapturer::windowColour(test::kEditorBundleID).rgb();
    const QRect bounds = editor.bounds.toRect();
    EXPECT_EQ(image.pixel(bounds.center().x(), bounds.top() + 40), editorColour);
    EXPECT_EQ(image.pixel(bounds.center().x(), bounds.bottom() - 10), editorColour);
    if (bounds.bottom() + 10 < 900) {
        EXPECT_NE(image.pixel(bounds.center().x(), bounds.bottom() + 10), editorColour);
    }
}

TEST_F(SessionWindowsCompositionTest, QuickAccessTakesTheKeyboardAndClosesWithEscapeAskingForRecovery)
{
    startEditorSession();
    manager().toggleQuickAccessPanel(std::nullopt);
    QuickAccessPanel* panel = ui().quickAccessPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(desktop_.keyOwnWindow(), panel->windowNumber());
    ASSERT_NE(qobject_cast<QuickAccessPanelView*>(panel->contentView()), nullptr);
    QDir().mkpath(VESK_GALLERY_DIR);
    panel->grab().save(QStringLiteral(VESK_GALLERY_DIR "/quick-access-panel.png"));

    const platform::EventOutcome escape = desktop_.events().keyPress(53, 0);
    ASSERT_EQ(escape.targetWindow, panel->windowNumber());
    // The window system hands the key to the panel the desktop chose.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(desktop_.ownWindowHandle(*escape.targetWindow), &press);
    EXPECT_EQ(ui().quickAccessPanel(), nullptr);
    EXPECT_TRUE(
        logs_.contains(QStringLiteral("Quick access panel dismissing via user interaction — reason=escapeKey")));
    EXPECT_TRUE(logs_.contains(QStringLiteral("Scheduled allowed-app recovery — reason=quickAccessPanelClosed")));
}

// The application added from the panel comes to the front and takes the
// keyboard from it; Escape, now going to that application, still closes the
// panel and asks for the recovery.
TEST_F(SessionWindowsCompositionTest, EscapeClosesQuickAccessAfterTheAppItAddedTookTheKeyboard)
{
    startEditorSession();
    addChatFromQuickAccess();
    const auto chat = desktop_.runningApplication(test::kChatBundleID)->pid;
    ASSERT_EQ(desktop_.frontmostPID(), chat);
    ASSERT_EQ(desktop_.keyOwnWindow(), std::nullopt);

    const platform::EventOutcome escape = desktop_.events().keyPress(platform::KeyCode::escape, 0);
    EXPECT_EQ(escape.targetPID, chat);
    EXPECT_EQ(ui().quickAccessPanel(), nullptr);
    EXPECT_TRUE(
        logs_.contains(QStringLiteral("Quick access panel dismissing via user interaction — reason=escapeKey")));
    EXPECT_EQ(logs_.count(QStringLiteral("Scheduled allowed-app recovery — reason=quickAccessPanelClosed")), 1);
}

// The recovery that follows the panel's closing brings every allowed
// application forward; it keeps the one just added, which the stage placed in
// front on top of the editor, in front.
TEST_F(SessionWindowsCompositionTest, AnAppAddedFromQuickAccessStaysInFrontOnItsStageFrameWhenThePanelCloses)
{
    startEditorSession();
    addChatFromQuickAccess();
    manager().toggleQuickAccessPanel(std::nullopt);
    ASSERT_EQ(ui().quickAccessPanel(), nullptr);
    time_.advance(2.0);
    ASSERT_TRUE(logs_.contains(QStringLiteral("Allowed-app recovery completed — reason=quickAccessPanelClosed")));

    const StageVeskAppState& chat = composition_->stage().state().apps.at(test::kChatBundleID);
    ASSERT_TRUE(chat.position.has_value());
    const double displayHeight = 900;
    const QRectF stageFrame(chat.position->x, displayHeight - chat.position->y - chat.position->height,
                            chat.position->width, chat.position->height);
    EXPECT_EQ(chatWindow().bounds, stageFrame);
    const platform::DesktopWindow& editor =
        *desktop_.windowsOf(desktop_.runningApplication(test::kEditorBundleID)->pid).front();
    const QRectF overlap = editor.bounds.intersected(stageFrame);
    ASSERT_FALSE(overlap.isEmpty()) << "the stage puts the chat over the editor";

    const QImage display = desktop_.interfaces().screenCapture.capture(0);
    QDir().mkpath(VESK_GALLERY_DIR);
    display.save(QStringLiteral(VESK_GALLERY_DIR "/session-added-app-in-front.png"));
    const QRgb chatColour = platform::DesktopScreenCapturer::windowColour(test::kChatBundleID).rgb();
    EXPECT_EQ(display.pixel(overlap.center().toPoint()), chatColour);
    EXPECT_EQ(display.pixel(stageFrame.center().toPoint()), chatColour);
    EXPECT_EQ(desktop_.frontmostPID(), desktop_.runningApplication(test::kChatBundleID)->pid);
}

// The bars are opaque windows, black wherever they are not see-through on a
// display without compositing; each is shaped to its rounded card, so that
// around the card the window beneath shows and no black band covers it.
TEST_F(SessionWindowsCompositionTest, TheTopBarCoversOnlyItsRoundedCardOfTheWindowBeneath)
{
    startEditorSession();
    addChatFromQuickAccess();
    manager().toggleQuickAccessPanel(std::nullopt);
    time_.advance(2.0);
    auto* bars = dynamic_cast<PresentedStageVeskPanel*>(ui().stageVeskPanel());
    ASSERT_NE(bars, nullptr);
    StageVeskControlPanel* topBar = nullptr;
    for (const auto& [screenID, panel] : bars->panel().topPanels()) {
        if (panel && panel->frame().minX() < 1440)
            topBar = panel;
    }
    ASSERT_NE(topBar, nullptr);
    auto* view = qobject_cast<StageVeskTopControlView*>(topBar->content());
    ASSERT_NE(view, nullptr);
    const double displayHeight = 900;
    const QPoint barTopLeft(int(topBar->frame().minX()), int(displayHeight - topBar->frame().maxY()));
    const QRect card = QRect(view->card()->mapTo(topBar, QPoint(0, 0)), view->card()->size()).translated(barTopLeft);
    ASSERT_GT(card.height(), 20);

    // Inside the bar's frame but outside its card: by its rounded corner and below it.
    const QPoint outsideCorner = card.bottomRight() + QPoint(-1, -1);
    const QPoint belowCard(card.right() - 40, card.bottom() + 6);
    ASSERT_TRUE(topBar->frame().contains(Point{double(belowCard.x()), displayHeight - belowCard.y()}));
    for (const QPoint point : {outsideCorner, belowCard})
        ASSERT_TRUE(chatWindow().bounds.contains(point)) << "the chat window lies under the bar's right end";

    const QImage withBar = desktop_.interfaces().screenCapture.capture(0);
    QDir().mkpath(VESK_GALLERY_DIR);
    withBar.save(QStringLiteral(VESK_GALLERY_DIR "/session-top-bar-over-window.png"));
    topBar->orderOut();
    const QImage beneath = desktop_.interfaces().screenCapture.capture(0);
    for (const QPoint point : {outsideCorner, belowCard}) {
        EXPECT_NE(QColor(beneath.pixel(point)).name(), QColor(Qt::black).name()) << point.x() << "," << point.y();
        EXPECT_EQ(QColor(withBar.pixel(point)).name(), QColor(beneath.pixel(point)).name())
            << point.x() << "," << point.y();
    }
    const QPoint inCard(card.right() - 14, card.center().y());
    EXPECT_NE(QColor(beneath.pixel(inCard)).name(), QColor(Qt::black).name())
        << "the chat window lies under the card too";
    EXPECT_LT(qGray(withBar.pixel(inCard)), 40) << "the card's dark fill";
}

// The form keeps the height of its content in the taller panel: its rows are
// not pulled apart to fill the window.
TEST_F(SessionWindowsCompositionTest, TheBugReportPanelShowsTheFormAtItsOwnHeight)
{
    startEditorSession();
    manager().toggleBugReportPanel();
    BugReportPanel* panel = ui().bugReportPanel();
    ASSERT_NE(panel, nullptr);
    QWidget* form = panel->contentView();
    ASSERT_NE(qobject_cast<BugReportView*>(form), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const int contentHeight =
        form->hasHeightForWidth() ? form->heightForWidth(form->width()) : form->sizeHint().height();
    EXPECT_EQ(form->height(), contentHeight);
    EXPECT_LT(form->height(), panel->height());
    EXPECT_EQ(form->y(), 0) << "at the top of the panel";
    QDir().mkpath(VESK_GALLERY_DIR);
    panel->grab().save(QStringLiteral(VESK_GALLERY_DIR "/bug-report-panel.png"));
}

TEST_F(SessionWindowsCompositionTest, AClickWithinFourPointsOutsideAnOpenPanelPassesTheClickBlocker)
{
    startEditorSession();
    // On the side display, black but for the stage bars: nothing of the editor lets a click through there.
    const auto click = [this](QPointF cocoaPoint) { return desktop_.events().click(desktop_.quartzPoint(cocoaPoint)); };
    desktop_.setMouseLocation(QPointF(1900, 700));
    const Rect frame{1900, 280, 380, 420};
    const QPointF justOutside(frame.x - 3, frame.midY());
    ASSERT_TRUE(click(justOutside).swallowedByTap) << "no panel yet: the overlay holds the click";

    struct Case {
        const char* where;
        QPointF cocoaPoint;
        bool passes;
    };
    for (const Case& clicked :
         {Case{"3 points left of it", justOutside, true},
          Case{"3 points beyond its top-right corner", {frame.maxX() + 3, frame.maxY() + 3}, true},
          Case{"5 points left of it", {frame.x - 5, frame.midY()}, false},
          Case{"on it", {frame.midX(), frame.midY()}, true}}) {
        SCOPED_TRACE(clicked.where);
        // A click outside closes the panel: each case opens it anew, at the same place.
        desktop_.setMouseLocation(QPointF(1900, 700));
        if (!ui().quickAccessPanel())
            manager().toggleQuickAccessPanel(std::nullopt);
        QuickAccessPanel* panel = ui().quickAccessPanel();
        ASSERT_NE(panel, nullptr);
        ASSERT_EQ(panel->frame(), frame);
        const std::optional<platform::WindowNumber> panelWindow = panel->windowNumber();

        const platform::EventOutcome outcome = click(clicked.cocoaPoint);
        EXPECT_EQ(!outcome.swallowedByTap, clicked.passes);
        EXPECT_EQ(outcome.delivered, clicked.passes);
        // Only the one on the panel reaches its window: the others pass on the published frame grown by 4 points.
        EXPECT_EQ(outcome.targetWindow == panelWindow, clicked.cocoaPoint == QPointF(frame.midX(), frame.midY()));
        time_.advance(0.1);
    }

    if (ui().quickAccessPanel())
        manager().toggleQuickAccessPanel(std::nullopt);
    ASSERT_EQ(ui().quickAccessPanel(), nullptr);
    EXPECT_TRUE(click(justOutside).swallowedByTap) << "the panel's frame goes with it";
}

TEST_F(SessionWindowsCompositionTest, WithoutStageBarsTheHUDShowsTheTimeAndItsCameraSavesAScreenshot)
{
    startEditorSession();
    ui().dismissStageVeskPanel();
    ui().showHUD(manager());
    SessionHUDPanel* hud = ui().hudPanel();
    ASSERT_NE(hud, nullptr);
    const QRectF visible = desktop_.displays()[0].visibleFrame;
    EXPECT_EQ(hud->frame(), (Rect{visible.right() - 340, visible.bottom() - 254, 320, 234}));
    auto* view = qobject_cast<SessionHUDView*>(hud->contentView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->timeText()->text(), manager().remainingTimeText(scheduler_.now()));
    EXPECT_EQ(view->timeText()->text(), QStringLiteral("09:58")) << "ten minutes, two seconds after the start";
    QDir().mkpath(VESK_GALLERY_DIR);
    hud->grab().save(QStringLiteral(VESK_GALLERY_DIR "/session-hud-panel.png"));
    // A click on the HUD reaches it; the click blocker lets it through.
    const platform::EventOutcome onHUD = desktop_.events().click(desktop_.quartzPoint(QPointF(1260, 800)));
    EXPECT_TRUE(onHUD.delivered);
    EXPECT_EQ(onHUD.targetWindow, hud->windowNumber());

    view->screenshotButton()->click();
    EXPECT_EQ(manager().screenshotFeedback(), SessionScreenshotFeedback::saved);
    EXPECT_EQ(QDir(desktopFolder()).entryList({QStringLiteral("vesk-screenshot-*.png")}).size(), 1);
    EXPECT_EQ(view->statusLine()->text(), QStringLiteral("Screenshot gespeichert"));
    hud->grab().save(QStringLiteral(VESK_GALLERY_DIR "/session-hud-panel-screenshot-saved.png"));
}
