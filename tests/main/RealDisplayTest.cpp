#include "XvfbServer.h"

#include "app/MainWindow.h"
#include "app/SessionManagerComposition.h"
#include "app/SessionSetupView.h"
#include "app/VeskApp.h"
#include "core/ManualScheduler.h"
#include "core/QtScheduler.h"
#include "panels/SessionUIController.h"
#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/DesktopScenarioLoader.h"
#include "platform/simulated/DesktopScreenCapturer.h"
#include "platform/simulated/DesktopWorkspace.h"
#include "platform/simulated/RealDisplayPresenter.h"
#include "platform/simulated/ScenarioOnDisplays.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "session/SerialQueueSessionTimerFactory.h"
#include "session/SessionManager.h"
#include "setup/SessionSetupModel.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <set>

using namespace vesk;
using namespace vesk::platform;

namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 800;
const QString kEditor = QStringLiteral("org.example.TextEditor");

DisplaySpec xvfbScreen()
{
    DisplaySpec screen;
    screen.displayID = 1;
    screen.bounds = QRectF(0, 0, kScreenWidth, kScreenHeight);
    return screen;
}

// Where the screen and the model's own composition of display 0 differ, at
// every 8th point where the composition shows a plain colour (a window's body
// or title bar, the wallpaper) outside `excluded`; and which windows those
// points showed.
struct ScreenComparison {
    int compared = 0;
    QStringList differences;
    std::set<WindowNumber> windowsSeen;
};

ScreenComparison compareWithModel(const QImage& screen, const SimulatedDesktop& model, const QRect& excluded)
{
    ScreenComparison result;
    const QImage expected = DesktopScreenCapturer(model).capture(0);
    if (screen.isNull() || screen.size() != expected.size()) {
        result.differences << QStringLiteral("no screenshot of the expected size");
        return result;
    }
    std::set<QRgb> plain{DesktopScreenCapturer::wallpaperColour().rgb()};
    for (const DesktopApplication& application : model.applications()) {
        const QColor colour =
            DesktopScreenCapturer::windowColour(application.bundleIdentifier.value_or(application.name));
        plain.insert(colour.rgb());
        plain.insert(colour.darker(125).rgb());
    }
    for (int y = 4; y < expected.height(); y += 8) {
        for (int x = 4; x < expected.width(); x += 8) {
            const QRgb want = expected.pixel(x, y);
            if (excluded.contains(x, y) || !plain.count(want))
                continue;
            ++result.compared;
            if (const DesktopWindow* window = model.windowAt(QPointF(x, y)))
                result.windowsSeen.insert(window->number);
            if (screen.pixel(x, y) != want)
                result.differences << QStringLiteral("(%1, %2): %3 instead of %4")
                                          .arg(x)
                                          .arg(y)
                                          .arg(QColor(screen.pixel(x, y)).name(), QColor(want).name());
        }
    }
    return result;
}

// Where a screenshot goes for a look at what the test saw: the build folder,
// wherever the test runs from.
QString galleryPath(const QString& name)
{
    QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR));
    return QDir(QStringLiteral(VESK_GALLERY_DIR)).filePath(name);
}

// Waits (at most 20 s) until the screen shows what the model shows; returns
// the last comparison.
ScreenComparison waitForScreen(const XvfbServer& server, const SimulatedDesktop& model, const QRect& excluded,
                               const QString& savedAs)
{
    QDeadlineTimer deadline(20000);
    ScreenComparison comparison;
    QImage screen;
    do {
        screen = server.screenshot();
        comparison = compareWithModel(screen, model, excluded);
        if (comparison.differences.isEmpty())
            break;
        QThread::msleep(100);
    } while (!deadline.hasExpired());
    screen.save(galleryPath(savedAs));
    return comparison;
}

// The on-screen windows of the other applications (and the wallpaper).
std::set<WindowNumber> visibleWindows(const SimulatedDesktop& model)
{
    std::set<WindowNumber> numbers;
    for (const DesktopWindow* window : model.windowsFrontToBack()) {
        if (window->ownerPID != model.ownPID() && model.isOnScreen(*window))
            numbers.insert(window->number);
    }
    return numbers;
}

class RealDisplayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const QString missing = XvfbServer::missingTools(); !missing.isEmpty())
            GTEST_SKIP() << "needs an X server and its tools, missing: " << missing.toStdString()
                         << " (Debian packages xvfb, xdotool, x11-apps)";
        ASSERT_TRUE(home_.isValid());
        ASSERT_TRUE(server_.start(kScreenWidth, kScreenHeight)) << "Xvfb did not start";
    }

    QProcessEnvironment environmentOnDisplay() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("DISPLAY"), server_.display());
        environment.insert("XDG_DATA_HOME", home_.filePath("data"));
        environment.insert("XDG_CONFIG_HOME", home_.filePath("config"));
        environment.insert("XDG_RUNTIME_DIR", home_.path());
        environment.insert("VESK_LOGS_DIR", home_.filePath("logs"));
        return environment;
    }

    void runOnDisplay(const QString& filter) const;

    QTemporaryDir home_;
    XvfbServer server_;
};

// The log lines of one run of vesk on the display, with its own log folder.
QString logOfRun(QProcessEnvironment environment, const QString& logs, const QStringList& arguments)
{
    environment.insert("VESK_LOGS_DIR", logs);
    QProcess vesk;
    vesk.setProcessEnvironment(environment);
    vesk.setProcessChannelMode(QProcess::MergedChannels);
    vesk.start(QStringLiteral(VESK_EXECUTABLE), arguments);
    if (!vesk.waitForFinished(30000))
        vesk.kill();
    QString text;
    for (const QFileInfo& file : QDir(logs).entryInfoList({"*.md"}, QDir::Files)) {
        QFile log(file.filePath());
        if (log.open(QIODevice::ReadOnly))
            text += QString::fromUtf8(log.readAll());
    }
    return text;
}

TEST_F(RealDisplayTest, WithAnEwmhWindowManagerTheRealDesktopIsTheDefaultAndTheSimulatedOneIsAskedFor)
{
    if (QStandardPaths::findExecutable("openbox").isEmpty() || QStandardPaths::findExecutable("xprop").isEmpty())
        GTEST_SKIP() << "needs openbox and xprop (scripts/deps.sh installs them)";
    const QProcessEnvironment environment = environmentOnDisplay();
    // Without a window manager: the simulated desktop.
    EXPECT_TRUE(logOfRun(environment, home_.filePath("logs-bare"), {"--quit-after", "0"})
                    .contains("desktop=simulated reason=no window manager that speaks EWMH"));

    QProcess openbox;
    QProcessEnvironment openboxEnvironment = environment;
    openboxEnvironment.insert("HOME", home_.path());
    openbox.setProcessEnvironment(openboxEnvironment);
    openbox.start("openbox", QStringList());
    ASSERT_TRUE(openbox.waitForStarted());
    const bool managing = QTest::qWaitFor(
        [&] {
            QProcess xprop;
            xprop.setProcessEnvironment(environment);
            xprop.start("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"});
            return xprop.waitForFinished(5000) && xprop.readAllStandardOutput().contains("window id");
        },
        10000);
    ASSERT_TRUE(managing) << "openbox did not name itself";

    EXPECT_TRUE(logOfRun(environment, home_.filePath("logs-real"), {"--quit-after", "0"})
                    .contains("Desktop chosen — desktop=X11"));
    EXPECT_TRUE(logOfRun(environment, home_.filePath("logs-simulated"), {"--simulated", "--quit-after", "0"})
                    .contains("desktop=simulated reason=--simulated was given"));
    QProcessEnvironment wayland = environment;
    wayland.insert("WAYLAND_DISPLAY", "wayland-0");
    EXPECT_TRUE(logOfRun(wayland, home_.filePath("logs-wayland"), {"--quit-after", "0"})
                    .contains("desktop=simulated reason=Wayland session"));
    openbox.terminate();
    openbox.waitForFinished(5000);
}

TEST_F(RealDisplayTest, TheApplicationShowsTheDefaultDesktopOnTheScreenAndTakesRealInput)
{
    QProcess vesk;
    vesk.setProcessEnvironment(environmentOnDisplay());
    vesk.setProcessChannelMode(QProcess::MergedChannels);
    vesk.start(QStringLiteral(VESK_EXECUTABLE), QStringList());
    ASSERT_TRUE(vesk.waitForStarted());

    // The same desktop in the test: the default scenario on the server's screen.
    ManualScheduler scheduler;
    QTemporaryDir root;
    SimulatedDesktop model(scheduler, root.path());
    const ScenarioLoadResult scenario = DesktopScenarioLoader::loadDefault();
    ASSERT_TRUE(scenario.ok());
    ASSERT_TRUE(model.applyScenario(scenarioOnDisplays(*scenario.scenario, {xvfbScreen()})).isEmpty());
    // Vesk's main window, centred on the display, is a real window of its own.
    QRectF mainFrame(0, 0, MainWindow::defaultWidth, MainWindow::defaultHeight);
    mainFrame.moveCenter(model.displays()[0].visibleFrame.center());
    const QRect mainWindow = model.quartzRect(mainFrame).toAlignedRect();

    ScreenComparison shown = waitForScreen(server_, model, mainWindow, "real-display-start.png");
    EXPECT_TRUE(shown.differences.isEmpty()) << shown.differences.mid(0, 10).join('\n').toStdString();
    EXPECT_EQ(shown.windowsSeen, visibleWindows(model)) << "a window is not drawn where the model has it";
    EXPECT_GT(shown.compared, 1000);

    // A click on the editor's title bar, where it shows behind the browser,
    // brings the editor forward.
    const DesktopApplication* editor = model.runningApplication(kEditor);
    ASSERT_NE(editor, nullptr);
    const DesktopWindow* editorWindow = model.windowsOf(editor->pid).front();
    const QPointF onTitleBar = editorWindow->bounds.topLeft() + QPointF(editorWindow->bounds.width() - 20, 10);
    ASSERT_EQ(model.windowAt(onTitleBar), editorWindow);
    ASSERT_NE(model.frontmostPID(), editor->pid);
    ASSERT_TRUE(
        server_.xdotool({"mousemove", QString::number(onTitleBar.x()), QString::number(onTitleBar.y()), "click", "1"}));
    model.events().click(onTitleBar);
    ASSERT_EQ(model.frontmostPID(), editor->pid);
    shown = waitForScreen(server_, model, mainWindow, "real-display-click.png");
    EXPECT_TRUE(shown.differences.isEmpty()) << shown.differences.mid(0, 10).join('\n').toStdString();

    // A drag on its title bar moves it.
    const QPointF dropped = onTitleBar + QPointF(-60, 90);
    ASSERT_TRUE(server_.xdotool({"mousemove", QString::number(onTitleBar.x()), QString::number(onTitleBar.y()),
                                 "mousedown", "1", "mousemove", QString::number(dropped.x()),
                                 QString::number(dropped.y()), "mouseup", "1"}));
    model.events().post(InputEvent::mouse(EventType::leftMouseDown, onTitleBar, 0));
    model.events().post(InputEvent::mouse(EventType::leftMouseDragged, dropped));
    model.events().post(InputEvent::mouse(EventType::leftMouseUp, dropped, 0));
    ASSERT_EQ(model.windowsOf(editor->pid).front()->bounds.topLeft(), editorWindow->bounds.topLeft());
    shown = waitForScreen(server_, model, mainWindow, "real-display-drag.png");
    EXPECT_TRUE(shown.differences.isEmpty()) << shown.differences.mid(0, 10).join('\n').toStdString();

    // Ctrl+Right goes to the next Space, where the chat window is.
    ASSERT_TRUE(server_.xdotool({"key", "ctrl+Right"}));
    model.events().keyPress(124, EventFlag::control);
    shown = waitForScreen(server_, model, mainWindow, "real-display-space.png");
    EXPECT_TRUE(shown.differences.isEmpty()) << shown.differences.mid(0, 10).join('\n').toStdString();
    EXPECT_EQ(shown.windowsSeen, visibleWindows(model));

    ASSERT_EQ(::kill(static_cast<pid_t>(vesk.processId()), SIGINT), 0);
    EXPECT_TRUE(vesk.waitForFinished(30000));
    EXPECT_EQ(vesk.exitCode(), 0) << vesk.readAll().toStdString();
}

// Polls (at most 20 s) an X server's state that another process changes.
template <typename Condition>
bool eventually(Condition condition)
{
    QDeadlineTimer deadline(20000);
    while (!condition() && !deadline.hasExpired())
        QThread::msleep(50);
    return condition();
}

// Whether the first window named `upper` stands above the first named `lower`.
bool isAbove(const QStringList& stack, const QString& upper, const QString& lower)
{
    const qsizetype upperIndex = stack.indexOf(upper);
    const qsizetype lowerIndex = stack.indexOf(lower);
    return upperIndex >= 0 && lowerIndex >= 0 && upperIndex < lowerIndex;
}

// A start from the menu or the shell while Vesk runs: the main window comes
// back after it was closed, and comes up above another application's window
// that covers it; the later start ends with a line that says so.
TEST_F(RealDisplayTest, ASecondStartBringsBackTheClosedMainWindowAndRaisesIt)
{
    for (const char* tool : {"xwininfo", "xlogo"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << "needs " << tool << " (Debian packages x11-utils, x11-apps)";
    }
    QProcess vesk;
    vesk.setProcessEnvironment(environmentOnDisplay());
    vesk.setProcessChannelMode(QProcess::MergedChannels);
    vesk.start(QStringLiteral(VESK_EXECUTABLE), QStringList());
    ASSERT_TRUE(vesk.waitForStarted());
    const QString mainTitle = QStringLiteral("VESK");
    auto mainWindowShown = [&] {
        QString found;
        return server_.xdotool({"search", "--onlyvisible", "--name", "^VESK$"}, &found) && !found.trimmed().isEmpty();
    };
    ASSERT_TRUE(eventually(mainWindowShown)) << "the main window did not show";

    auto startAgain = [&] {
        QProcess second;
        second.setProcessEnvironment(environmentOnDisplay());
        second.start(QStringLiteral(VESK_EXECUTABLE), QStringList());
        if (!second.waitForFinished(30000))
            return QStringLiteral("still running");
        return QStringLiteral("%1: %2").arg(second.exitCode()).arg(QString::fromUtf8(second.readAllStandardOutput()));
    };
    const QString handedOver = "0: Vesk is already running with the data folder " + home_.filePath("data/Vesk")
                               + "; its main window was brought to the front\n";

    // Ctrl+W closes it (after a click on its background makes it the active window).
    QString geometry;
    ASSERT_TRUE(
        server_.xdotool({"search", "--onlyvisible", "--name", "^VESK$", "getwindowgeometry", "--shell"}, &geometry));
    const QRegularExpressionMatch x = QRegularExpression("X=(\\d+)").match(geometry);
    const QRegularExpressionMatch y = QRegularExpression("Y=(\\d+)").match(geometry);
    ASSERT_TRUE(x.hasMatch() && y.hasMatch()) << geometry.toStdString();
    const QPoint background(x.captured(1).toInt() + 10, y.captured(1).toInt() + 4);
    ASSERT_TRUE(server_.xdotool({"mousemove", QString::number(background.x()), QString::number(background.y()), "click",
                                 "1", "sleep", "0.3", "key", "ctrl+w"}));
    ASSERT_TRUE(eventually([&] { return !mainWindowShown(); })) << "Ctrl+W did not close the main window";

    EXPECT_EQ(startAgain(), handedOver);
    EXPECT_TRUE(eventually(mainWindowShown)) << "the closed main window did not come back";
    EXPECT_TRUE(eventually([&] { return isAbove(server_.windowStack(), mainTitle, "Desktop"); }))
        << server_.windowStack().join(", ").toStdString();

    // Another application's window covers the whole screen.
    QProcess cover;
    cover.setProcessEnvironment(environmentOnDisplay());
    cover.start(QStringLiteral("xlogo"),
                {"-geometry", QStringLiteral("%1x%2+0+0").arg(kScreenWidth).arg(kScreenHeight)});
    ASSERT_TRUE(cover.waitForStarted());
    ASSERT_TRUE(eventually([&] { return isAbove(server_.windowStack(), "xlogo", mainTitle); }))
        << server_.windowStack().join(", ").toStdString();

    EXPECT_EQ(startAgain(), handedOver);
    EXPECT_TRUE(eventually([&] { return isAbove(server_.windowStack(), mainTitle, "xlogo"); }))
        << "the main window stayed below: " << server_.windowStack().join(", ").toStdString();
    server_.screenshot().save(galleryPath("real-display-raised.png"));

    cover.kill();
    cover.waitForFinished();
    ASSERT_EQ(::kill(static_cast<pid_t>(vesk.processId()), SIGINT), 0);
    EXPECT_TRUE(vesk.waitForFinished(30000));
    EXPECT_EQ(vesk.exitCode(), 0) << vesk.readAll().toStdString();
}

// The application runs in a process of its own on the server: this test
// program again, running only the one test `filter` names.
void RealDisplayTest::runOnDisplay(const QString& filter) const
{
    QProcess child;
    QProcessEnvironment environment = environmentOnDisplay();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_also_run_disabled_tests", "--gtest_filter=" + filter});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

TEST_F(RealDisplayTest, DuringASessionOnlyTheAllowedWindowTakesRealClicks)
{
    runOnDisplay("RealDisplaySession.DISABLED_ClicksOutsideTheHoleChangeNothingAndTheHoleTakesThem");
}

TEST_F(RealDisplayTest, AClickIntoAFieldOfTheBugReportFormTakesTheTypingThere)
{
    runOnDisplay("RealDisplaySession.DISABLED_AClickIntoABugReportFieldTakesTheTypingThere");
}

// Waits (at most 20 s) for a condition, running the event loop meanwhile.
template <typename Condition>
bool waitFor(Condition condition)
{
    QDeadlineTimer deadline(20000);
    while (!condition() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return condition();
}

bool deliveredPressAt(const SimulatedDesktop& desktop, const QPointF& point, std::optional<ProcessID>* target)
{
    for (const auto& [event, outcome] : desktop.events().deliveredEvents()) {
        if (event.type == EventType::leftMouseDown && event.location == point) {
            *target = outcome.targetPID;
            return true;
        }
    }
    return false;
}

// The application on the default scenario, shown on the X server the tests
// of RealDisplayTest run this program on; they do not run on their own.
class RealDisplaySession : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        desktop_.emplace(scheduler_, folder_.filePath("root"));
        const ScenarioLoadResult scenario = DesktopScenarioLoader::loadDefault();
        ASSERT_TRUE(scenario.ok());
        ASSERT_TRUE(
            desktop_->applyScenario(scenarioOnDisplays(*scenario.scenario, SimulatedDesktop::qtScreenDisplays()))
                .isEmpty());
        presenter_.emplace(*desktop_);
        app_.emplace(VeskAppEnvironment{desktop_->interfaces(), scheduler_, clock_,
                                        std::make_shared<SerialQueueSessionTimerFactory>(),
                                        folder_.filePath("data/VeskData.store"), folder_.filePath("defaults"),
                                        [](int status) { FAIL() << "the application ended with status " << status; }});
        app_->launch();
        server_.useRunningServer(qEnvironmentVariable("DISPLAY"));
    }

    void startSessionWithTheEditor()
    {
        std::map<QString, QUrl> urls{{kEditor, *desktop_->workspace().urlForApplication(kEditor)}};
        app_->sessionManager().startSession(0, {kEditor}, urls, std::nullopt, false, 0);
        ASSERT_TRUE(app_->sessionManager().isSessionActive());
    }

    QTemporaryDir folder_;
    QtScheduler scheduler_;
    SystemClock clock_;
    std::optional<SimulatedDesktop> desktop_;
    std::optional<RealDisplayPresenter> presenter_;
    std::optional<VeskApp> app_;
    XvfbServer server_;
};

TEST_F(RealDisplaySession, DISABLED_ClicksOutsideTheHoleChangeNothingAndTheHoleTakesThem)
{
    SimulatedDesktop& desktop = *desktop_;
    VeskApp& app = *app_;
    const ProcessID editor = desktop.runningApplication(kEditor)->pid;
    startSessionWithTheEditor();

    // The overlay blacks out the screen but for the editor's window.
    const QRectF editorBounds = desktop.windowsOf(editor).front()->bounds;
    const QPointF inside = editorBounds.center();
    const QPointF outside(editorBounds.right() + 40, editorBounds.center().y());
    // The browser, hidden during the session, or the overlay's backing panel.
    ASSERT_NE(desktop.windowAt(outside)->ownerPID, editor);
    const XvfbServer& server = server_;
    QImage screen;
    const QRgb editorColour = DesktopScreenCapturer::windowColour(kEditor).rgb();
    EXPECT_TRUE(waitFor([&] {
        screen = server.screenshot();
        return !screen.isNull() && screen.pixel(inside.toPoint()) == editorColour
               && screen.pixel(outside.toPoint()) == qRgb(0, 0, 0);
    })) << "the editor does not show through the overlay's hole";
    screen.save(galleryPath("real-display-session.png"));

    // Outside the hole a click reaches the model's taps, and nothing changes.
    const std::optional<ProcessID> frontmost = desktop.frontmostPID();
    std::vector<WindowNumber> stacking;
    for (const DesktopWindow* window : desktop.windowsFrontToBack())
        stacking.push_back(window->number);
    ASSERT_TRUE(
        server.xdotool({"mousemove", QString::number(outside.x()), QString::number(outside.y()), "click", "1"}));
    std::optional<ProcessID> target;
    EXPECT_TRUE(waitFor([&] {
        return desktop.mouseLocation() == desktop.cocoaPoint(outside) && !desktop.isMouseButtonDown(0);
    })) << "the click did not reach the model";
    EXPECT_FALSE(deliveredPressAt(desktop, outside, &target)) << "delivered to " << target.value_or(0);
    EXPECT_EQ(desktop.frontmostPID(), frontmost);
    std::vector<WindowNumber> stackingAfter;
    for (const DesktopWindow* window : desktop.windowsFrontToBack())
        stackingAfter.push_back(window->number);
    EXPECT_EQ(stackingAfter, stacking);
    EXPECT_TRUE(app.sessionManager().isSessionActive());

    // Inside the hole it reaches the editor.
    ASSERT_TRUE(server.xdotool({"mousemove", QString::number(inside.x()), QString::number(inside.y()), "click", "1"}));
    EXPECT_TRUE(waitFor([&] { return deliveredPressAt(desktop, inside, &target); }));
    EXPECT_EQ(target, editor);
    EXPECT_EQ(desktop.frontmostPID(), editor);

    // The emergency hotkey (Super stands for Command) ends the session.
    ASSERT_TRUE(server.xdotool({"key", "super+shift+Escape"}));
    EXPECT_TRUE(waitFor([&] { return !app.sessionManager().isSessionActive(); }))
        << "the hotkey did not end the session";
}

// A click into the description and then into the contact field of a
// bug-report form that opened with the keyboard in its title: what is typed
// after each click lands in the clicked field.
void expectClicksMoveTheTyping(QWidget& form, const XvfbServer& server)
{
    auto fieldWithPrompt = [&](const QString& prompt) {
        for (auto* field : form.findChildren<QLineEdit*>()) {
            if (field->placeholderText().startsWith(prompt))
                return field;
        }
        return static_cast<QLineEdit*>(nullptr);
    };
    QLineEdit* title = fieldWithPrompt("Titel");
    QLineEdit* contact = fieldWithPrompt("E-Mail");
    auto* details = form.findChild<QPlainTextEdit*>();
    ASSERT_TRUE(title && contact && details);
    ASSERT_TRUE(waitFor([&] { return title->hasFocus(); })) << "the form did not open with the keyboard in its title";

    auto clickAndType = [&](QWidget* field, QWidget* clicked, const QString& text) {
        const QPoint centre = clicked->mapToGlobal(clicked->rect().center());
        EXPECT_TRUE(
            server.xdotool({"mousemove", QString::number(centre.x()), QString::number(centre.y()), "click", "1"}));
        EXPECT_TRUE(waitFor([&] { return field->hasFocus(); })) << "the click left the keyboard where it was";
        EXPECT_TRUE(server.xdotool({"type", "--delay", "20", text}));
    };
    clickAndType(details, details->viewport(), "was");
    EXPECT_TRUE(waitFor([&] { return details->toPlainText() == "was"; })) << details->toPlainText().toStdString();
    clickAndType(contact, contact, "mail");
    EXPECT_TRUE(waitFor([&] { return contact->text() == "mail"; })) << contact->text().toStdString();
    EXPECT_EQ(title->text(), "");
}

// The setup screen's sheet first, then the panel of a running session.
TEST_F(RealDisplaySession, DISABLED_AClickIntoABugReportFieldTakesTheTypingThere)
{
    VeskApp& app = *app_;
    const XvfbServer& server = server_;
    ASSERT_TRUE(waitFor([&] { return app.setupView() && app.setupView()->isVisible(); }));
    app.setupView()->model().bugReportButtonTapped();
    ASSERT_TRUE(
        waitFor([&] { return app.setupView()->bugReportSheet() && app.setupView()->bugReportSheet()->isVisible(); }));
    {
        SCOPED_TRACE("setup screen's sheet");
        expectClicksMoveTheTyping(*app.setupView()->bugReportSheet(), server);
    }
    app.setupView()->model().setBugReportPresented(false);
    ASSERT_TRUE(
        waitFor([&] { return !app.setupView()->bugReportSheet() || !app.setupView()->bugReportSheet()->isVisible(); }));

    startSessionWithTheEditor();
    app.sessionManager().toggleBugReportPanel();
    BugReportPanel* panel = app.composition().uiController().bugReportPanel();
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(waitFor([&] { return panel->isVisible(); }));
    {
        SCOPED_TRACE("session's panel");
        expectClicksMoveTheTyping(*panel, server);
    }
}

} // namespace
