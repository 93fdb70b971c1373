#include "app/VeskApp.h"

#include "LogCapture.h"
#include "TestDesktop.h"
#include "app/AppDelegate.h"
#include "app/InstanceChannel.h"
#include "app/InstanceLock.h"
#include "app/MainWindow.h"
#include "app/SessionSetupView.h"
#include "core/ManualScheduler.h"
#include "core/UserDefaults.h"
#include "enforcement/DockMissionControlFallbackService.h"
#include "enforcement/ScreenshotThumbnailSuppressionService.h"
#include "logging/VeskLogFileStore.h"
#include "platform/WindowLevel.h"
#include "platform/simulated/DefaultsDomains.h"
#include "platform/simulated/DesktopScreenCapturer.h"
#include "platform/simulated/DesktopWorkspace.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "scripted/VirtualTimeDriver.h"
#include "session/SchedulerSessionTimerFactory.h"
#include "session/SessionManager.h"
#include "settings/VeskDefaultsStore.h"
#include "setup/MetaPopoverWindow.h"
#include "setup/SessionSetupModel.h"
#include "setup/SessionSummaryLine.h"
#include "store/FocusSession.h"
#include "store/ModelContainer.h"
#include "store/ModelContext.h"
#include "ui/ReducedMotion.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <future>
#include <utility>

using namespace vesk;

namespace {

class VeskAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(directory_.isValid());
        ASSERT_TRUE(desktop_.applyScenario(test::oneDisplayScenario()).isEmpty());
        app_ = std::make_unique<VeskApp>(VeskAppEnvironment{desktop_.interfaces(), scheduler_, scheduler_,
                                                            std::make_shared<SchedulerSessionTimerFactory>(scheduler_),
                                                            directory_.path() + "/VeskData.store",
                                                            directory_.path() + "/defaults",
                                                            [](int) { FAIL() << "the store opens"; }});
        ASSERT_TRUE(app_->isReady());
        app_->launch();
    }

    std::vector<std::shared_ptr<FocusSession>> storedSessions()
    {
        return app_->modelContainer().mainContext().fetch<FocusSession>().value();
    }

    void startEditorSession()
    {
        const QUrl editorURL = *desktop_.workspace().urlForApplication(test::kEditorBundleID);
        app_->sessionManager().startSession(60, {test::kEditorBundleID}, {{test::kEditorBundleID, editorURL}},
                                            QStringLiteral("Write"), false, 3);
        time_.advance(6.0);
        ASSERT_TRUE(app_->sessionManager().isSessionActive());
    }

    QTemporaryDir directory_;
    ManualScheduler scheduler_;
    platform::SimulatedDesktop desktop_{scheduler_, directory_.path() + "/root"};
    VirtualTimeDriver time_{scheduler_, desktop_};
    std::unique_ptr<VeskApp> app_;
};

TEST_F(VeskAppTest, MotionIsReducedByTheSystemSettingOrTheAppsSetting)
{
    const ReducedMotion& reducedMotion = app_->reducedMotion();
    EXPECT_FALSE(reducedMotion.isOn());
    desktop_.setReduceMotion(true);
    EXPECT_TRUE(reducedMotion.isOn());
    desktop_.setReduceMotion(false);
    app_->defaultsStore().setReducedMotion(true);
    EXPECT_TRUE(reducedMotion.isOn());
}

TEST_F(VeskAppTest, TerminationDuringASessionRecordsAppTerminateAndLeavesTheAllowedAppRunning)
{
    startEditorSession();
    QSignalSpy terminated(app_.get(), &VeskApp::terminated);
    // The log queue is held until the stop has reset the session, with a
    // backlog of rows before the stop's own: without the termination's drains
    // they would still be queued when the process ends.
    const QString logPath = VeskLogFileStore::shared().currentLogURL().toLocalFile();
    std::promise<void> gate;
    // (A stop that never comes fails the test below instead of hanging it.)
    VeskLogFileStore::shared().queue().async(
        [gateOpened = gate.get_future().share()] { gateOpened.wait_for(std::chrono::seconds(10)); });
    for (int row = 0; row < 5; ++row)
        VeskLogFileStore::shared().enqueueWrite(VeskLogLevel::debug, QStringLiteral("TerminationProbe"),
                                                QStringLiteral("queued row %1").arg(row));
    bool opened = false;
    const QObject connection;
    QObject::connect(&app_->sessionManager(), &SessionManager::isSessionActiveChanged, &connection, [&] {
        if (!std::exchange(opened, true))
            gate.set_value();
    });

    app_->requestTermination();

    EXPECT_EQ(terminated.count(), 1);
    EXPECT_TRUE(app_->isTerminated());
    EXPECT_FALSE(app_->sessionManager().isSessionActive());
    const auto sessions = storedSessions();
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_FALSE(sessions[0]->isActive);
    EXPECT_EQ(sessions[0]->endReason, QString("appTerminate"));
    EXPECT_EQ(sessions[0]->goalText, QString("Write"));
    const platform::DesktopApplication* editor = desktop_.runningApplication(test::kEditorBundleID);
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(editor->terminated);

    // The delegate drained the log: every row queued before the end is in the file already.
    ASSERT_TRUE(opened);
    QFile logFile(logPath);
    ASSERT_TRUE(logFile.open(QIODevice::ReadOnly));
    const QString log = QString::fromUtf8(logFile.readAll());
    const qsizetype backlog = log.lastIndexOf("| TerminationProbe | queued row 4 |");
    const qsizetype request = log.indexOf("applicationShouldTerminate: active session detected", backlog);
    const qsizetype stop = log.indexOf("Stopping session — lifecycle=", request);
    const qsizetype finalReset = log.indexOf("applicationWillTerminate: final safety reset", stop);
    EXPECT_NE(backlog, -1);
    EXPECT_NE(request, -1);
    EXPECT_NE(stop, -1);
    EXPECT_NE(finalReset, -1);
}

TEST_F(VeskAppTest, LaunchClosesSessionsAnEarlierRunLeftActive)
{
    startEditorSession();
    // The process dies without terminating: the record stays active, and the
    // lock it leaves behind is taken over (InstanceLockTest shows how).
    ASSERT_TRUE(storedSessions().at(0)->isActive);
    desktop_.setTerminationHandlers({}, {});
    ASSERT_TRUE(QFile::remove(directory_.filePath(InstanceLock::fileName)));

    ManualScheduler scheduler;
    platform::SimulatedDesktop desktop(scheduler, directory_.path() + "/root2");
    ASSERT_TRUE(desktop.applyScenario(test::oneDisplayScenario()).isEmpty());
    VeskApp relaunched(VeskAppEnvironment{desktop.interfaces(), scheduler, scheduler,
                                          std::make_shared<SchedulerSessionTimerFactory>(scheduler),
                                          directory_.path() + "/VeskData.store", directory_.path() + "/defaults"});
    ASSERT_TRUE(relaunched.isReady());
    relaunched.launch();

    const auto sessions = relaunched.modelContainer().mainContext().fetch<FocusSession>().value();
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_FALSE(sessions[0]->isActive);
    EXPECT_EQ(sessions[0]->endReason, QString("crash"));
    EXPECT_EQ(relaunched.standardDefaults().object("NSQuitAlwaysKeepsWindows"), QVariant(false));
}

// The Dock keys and the thumbnail key as the defaults tool reads them, with the presentation options.
QStringList systemSettings(platform::SimulatedDesktop& desktop)
{
    QStringList values;
    for (const auto& entry : DockMissionControlFallbackService::forcedDockPreferences())
        values.append(desktop.defaults().value("com.apple.dock", entry.key).value_or("-").toString());
    values.append(desktop.defaults().value("com.apple.screencapture", "show-thumbnail").value_or("-").toString());
    values.append(QString::number(desktop.presentationOptions()));
    return values;
}

const QStringList kUntouchedSystem{"-", "-", "-", "-", "-", "-", "-", "-", "0"};

TEST_F(VeskAppTest, TerminationDuringASessionPutsEverySystemSettingBack)
{
    startEditorSession();
    EXPECT_EQ(systemSettings(desktop_),
              (QStringList{"true", "false", "false", "false", "false", "true", "1000", "false", "314"}));
    EXPECT_FALSE(desktop_.isDockShown());

    app_->requestTermination();
    EXPECT_EQ(systemSettings(desktop_), kUntouchedSystem);
    EXPECT_TRUE(desktop_.isDockShown());
    EXPECT_EQ(desktop_.appliedDockPreferences(), QVariantMap());
    EXPECT_TRUE(desktop_.ownWindows().empty());
    EXPECT_FALSE(app_->standardDefaults().objectExists(DockMissionControlFallbackService::backupDefaultsKey));
    EXPECT_FALSE(app_->standardDefaults().objectExists(ScreenshotThumbnailSuppressionService::backupDefaultsKey));
}

TEST_F(VeskAppTest, TheNextLaunchPutsBackWhatARunKilledDuringASessionChanged)
{
    startEditorSession();
    // Killed: what it still does reaches nothing, its settings file stays as it was.
    desktop_.crashOwnProcess();
    const QString keptDefaults = directory_.filePath("defaults-after-kill");
    QDir().mkpath(keptDefaults);
    ASSERT_TRUE(QFile::copy(directory_.filePath("defaults/de.pelko.vesk.json"), keptDefaults + "/de.pelko.vesk.json"));
    desktop_.setTerminationHandlers({}, {});
    app_.reset();
    EXPECT_EQ(systemSettings(desktop_),
              (QStringList{"true", "false", "false", "false", "false", "true", "1000", "false", "0"}));

    desktop_.relaunchOwnProcess();
    VeskApp relaunched(VeskAppEnvironment{desktop_.interfaces(), scheduler_, scheduler_,
                                          std::make_shared<SchedulerSessionTimerFactory>(scheduler_),
                                          directory_.path() + "/VeskData.store", keptDefaults});
    ASSERT_TRUE(relaunched.isReady());
    relaunched.launch();
    EXPECT_EQ(systemSettings(desktop_), kUntouchedSystem);
    EXPECT_TRUE(desktop_.isDockShown());
    EXPECT_FALSE(relaunched.standardDefaults().objectExists(DockMissionControlFallbackService::backupDefaultsKey));
    EXPECT_FALSE(relaunched.standardDefaults().objectExists(ScreenshotThumbnailSuppressionService::backupDefaultsKey));
}

// However the running instance answers, the second one ends without opening
// the store: with status 0 when the running one took over, else refused.
TEST_F(VeskAppTest, ASecondInstanceOnTheSameDataFolderEndsWithoutTouchingTheStore)
{
    startEditorSession();
    const QString storePath = directory_.path() + "/VeskData.store";
    QFile store(storePath);
    ASSERT_TRUE(store.open(QIODevice::ReadOnly));
    const QByteArray storeBefore = store.readAll();
    store.close();

    const struct {
        InstanceChannel::Answer answer;
        int status;
        QString logged;
    } cases[] = {
        {InstanceChannel::Answer::none, 1,
         "Vesk is already running with the data folder " + directory_.path() + " (process"},
        {InstanceChannel::Answer::ending, 1,
         "Vesk is already running with the data folder " + directory_.path() + " (process"},
        {InstanceChannel::Answer::shown, 0,
         "Vesk is already running with the data folder " + directory_.path()
             + "; its main window was brought to the front"},
        {InstanceChannel::Answer::inSession, 0,
         "Vesk is already running with the data folder " + directory_.path()
             + " and is in a focus session; its main window comes back when the session ends"},
    };
    for (const auto& [answer, status, logged] : cases) {
        SCOPED_TRACE(logged.toStdString());
        ManualScheduler scheduler;
        platform::SimulatedDesktop desktop(scheduler, directory_.path() + "/root2");
        ASSERT_TRUE(desktop.applyScenario(test::oneDisplayScenario()).isEmpty());
        std::vector<int> exits;
        std::vector<QString> asked;
        VeskAppEnvironment environment{desktop.interfaces(),
                                       scheduler,
                                       scheduler,
                                       std::make_shared<SchedulerSessionTimerFactory>(scheduler),
                                       storePath,
                                       directory_.path() + "/defaults",
                                       [&](int exitStatus) { exits.push_back(exitStatus); }};
        environment.instanceLockWaitSeconds = 0;
        environment.askRunningInstance = [&, answer = answer](const QString& folder) {
            asked.push_back(folder);
            return answer;
        };
        test::LogCapture log;
        VeskApp second(std::move(environment));
        if (second.isReady())
            second.launch();

        EXPECT_FALSE(second.isReady());
        EXPECT_EQ(exits, std::vector<int>{status});
        EXPECT_EQ(asked, std::vector<QString>{directory_.path()});
        EXPECT_TRUE(log.contains(logged));
    }
    // The first instance's session is still running, in memory and on disk.
    ASSERT_TRUE(store.open(QIODevice::ReadOnly));
    EXPECT_EQ(store.readAll(), storeBefore);
    EXPECT_TRUE(app_->sessionManager().isSessionActive());
}

// Asks over the data folder's channel from another thread, as a later start
// does from its own process, while this thread lets the application answer.
InstanceChannel::Answer askForMainWindow(const QString& dataFolder)
{
    auto answer =
        std::async(std::launch::async, [dataFolder] { return InstanceChannel::askForMainWindow(dataFolder, 20000); });
    while (answer.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return answer.get();
}

TEST_F(VeskAppTest, AnotherStartBringsBackTheClosedOrMinimisedMainWindow)
{
    MainWindow& window = *app_->mainWindow();
    window.close();
    ASSERT_FALSE(window.isVisible());
    test::LogCapture log;
    EXPECT_EQ(askForMainWindow(directory_.path()), InstanceChannel::Answer::shown);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.windowNumber().has_value()) << "listed again among our windows";
    EXPECT_TRUE(log.contains("Main window brought to the front for another start"));

    window.showMinimized();
    ASSERT_TRUE(window.isMinimized());
    EXPECT_EQ(askForMainWindow(directory_.path()), InstanceChannel::Answer::shown);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
}

// The session's overlay and panels are in front during a session, and a
// terminating application shows nothing: the later start hears why.
TEST_F(VeskAppTest, DuringASessionOrTheTerminationTheMainWindowStaysHidden)
{
    startEditorSession();
    ASSERT_FALSE(app_->mainWindow()->isVisible());
    EXPECT_EQ(askForMainWindow(directory_.path()), InstanceChannel::Answer::inSession);
    EXPECT_FALSE(app_->mainWindow()->isVisible());
    EXPECT_TRUE(app_->sessionManager().isSessionActive());

    app_->requestTermination();
    ASSERT_TRUE(app_->isTerminated());
    app_->mainWindow()->hide();
    EXPECT_EQ(askForMainWindow(directory_.path()), InstanceChannel::Answer::ending);
    EXPECT_FALSE(app_->mainWindow()->isVisible());
}

TEST_F(VeskAppTest, TheMainWindowIsListedWhileShownAndHiddenDuringTheSession)
{
    ASSERT_TRUE(app_->mainWindow()->windowNumber().has_value());
    auto mainWindowVisible = [&] {
        for (const platform::OwnWindowInfo& window : desktop_.ownWindows()) {
            if (window.number == *app_->mainWindow()->windowNumber())
                return window.visible;
        }
        return false;
    };
    EXPECT_TRUE(mainWindowVisible());
    startEditorSession();
    EXPECT_FALSE(mainWindowVisible());
    app_->sessionManager().stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    EXPECT_TRUE(mainWindowVisible());

    // Minimised before the next session, it is back on screen after it.
    app_->mainWindow()->showMinimized();
    EXPECT_FALSE(mainWindowVisible());
    startEditorSession();
    app_->sessionManager().stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
    EXPECT_FALSE(app_->mainWindow()->isMinimized());
    EXPECT_TRUE(mainWindowVisible());
}

TEST_F(VeskAppTest, TheMetaPopoverIsListedAboveTheMainWindowWhileOpenSoACaptureShowsIt)
{
    const auto listed = [this](const QWidget& window) -> std::optional<platform::OwnWindowInfo> {
        for (const platform::OwnWindowInfo& info : desktop_.ownWindows()) {
            if (desktop_.ownWindowHandle(info.number) == window.windowHandle())
                return info;
        }
        return std::nullopt;
    };
    SessionSetupView& setup = *app_->setupView();
    setup.model().setMetaPopoverShown(true);
    QPointer<MetaPopoverWindow> popover = setup.findChild<SessionSummaryLine*>()->popover();
    ASSERT_NE(popover, nullptr);
    ASSERT_TRUE(popover->isVisible());

    const auto entry = listed(*popover);
    ASSERT_TRUE(entry);
    EXPECT_TRUE(entry->visible);
    EXPECT_EQ(entry->level, platform::WindowLevel::popUpMenu);
    const QRect quartzFrame = popover->frameGeometry();
    EXPECT_EQ(entry->frame,
              QRectF(quartzFrame.x(), 900 - quartzFrame.bottom() - 1, quartzFrame.width(), quartzFrame.height()));
    ASSERT_TRUE(listed(*app_->mainWindow()));
    EXPECT_GT(entry->level, listed(*app_->mainWindow())->level);
    const auto place = [this](platform::WindowNumber number) {
        const auto windows = desktop_.windowsFrontToBack();
        return std::find_if(windows.begin(), windows.end(), [number](const auto* w) { return w->number == number; })
               - windows.begin();
    };
    EXPECT_LT(place(entry->number), place(*app_->mainWindow()->windowNumber()))
        << "in front of the main window it opened over";

    // The capture draws it where it is, over the main window.
    // Its header and duration row, which lie on the display.
    const QRect body(20, 20, quartzFrame.width() - 40, 80);
    ASSERT_LT(quartzFrame.top() + body.bottom(), 900);
    const QImage capture = platform::DesktopScreenCapturer(desktop_).capture(0).convertToFormat(QImage::Format_RGB32);
    const QImage drawn = popover->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(capture.copy(body.translated(quartzFrame.topLeft())) == drawn.copy(body));

    setup.model().setMetaPopoverShown(false);
    ASSERT_TRUE(popover);
    ASSERT_TRUE(listed(*popover));
    EXPECT_FALSE(listed(*popover)->visible) << "closed, it is off screen";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(popover, nullptr);
    EXPECT_EQ(desktop_.window(entry->number), nullptr) << "the entry goes with the popover";
}

// SIGTERM is what a session manager sends at logout and a service manager at
// stop; the SIGKILL that follows would leave every system setting changed.
TEST_F(VeskAppTest, SigtermDuringASessionClearsThePresentationOptionsAndTerminatesTheNormalWay)
{
    startEditorSession();
    ASSERT_EQ(desktop_.presentationOptions(), 314);
    ASSERT_FALSE(desktop_.isDockShown());

    ASSERT_EQ(::raise(SIGTERM), 0);
    QDeadlineTimer deadline(1000);
    while (!app_->isTerminated() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    ASSERT_TRUE(app_->isTerminated());
    EXPECT_EQ(desktop_.presentationOptions(), 0);
    EXPECT_FALSE(app_->sessionManager().isSessionActive());
    const auto sessions = storedSessions();
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_EQ(sessions[0]->endReason, QString("appTerminate"));
    EXPECT_TRUE(desktop_.isDockShown()) << "the Dock settings are restored";
    EXPECT_FALSE(app_->standardDefaults().objectExists(DockMissionControlFallbackService::backupDefaultsKey));
}

// Counts the requests to quit that reach the application object.
class QuitRequestCounter final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit)
            ++count;
        return false;
    }
    int count = 0;
};

TEST_F(VeskAppTest, ClosingTheMainWindowLeavesTheApplicationRunning)
{
    ASSERT_TRUE(app_->mainWindow()->isVisible());
    QuitRequestCounter quitRequests;
    QCoreApplication::instance()->installEventFilter(&quitRequests);
    // The event loop runs the close and what it posts; a quit because the
    // last window closed would show as a quit request.
    QTimer::singleShot(0, app_->mainWindow(), &QWidget::close);
    QTimer::singleShot(0, [] { QTimer::singleShot(0, [] { QCoreApplication::exit(7); }); });
    EXPECT_EQ(QCoreApplication::exec(), 7);
    QCoreApplication::instance()->removeEventFilter(&quitRequests);

    EXPECT_EQ(quitRequests.count, 0);
    EXPECT_FALSE(app_->mainWindow()->isVisible());
    EXPECT_FALSE(app_->isTerminated());
}

TEST_F(VeskAppTest, AStoreThatCannotOpenEndsTheStartWithStatusOne)
{
    QFile blocker(directory_.path() + "/not-a-folder");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    std::optional<int> status;
    VeskApp broken(VeskAppEnvironment{desktop_.interfaces(), scheduler_, scheduler_,
                                      std::make_shared<SchedulerSessionTimerFactory>(scheduler_),
                                      directory_.path() + "/not-a-folder/VeskData.store",
                                      directory_.path() + "/defaults", [&](int code) { status = code; }});
    EXPECT_FALSE(broken.isReady());
    EXPECT_EQ(status, 1);
}

} // namespace
