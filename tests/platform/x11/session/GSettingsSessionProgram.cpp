// A Vesk process for the system-settings tests: the application as the program
// composes it (VeskApp) on the default simulated desktop, in virtual time,
// except that its system-settings commands go to GSettings through the runner
// the X11 desktop builds (the `gsettings` found on PATH, this process's
// XDG_CURRENT_DESKTOP).
//
//   vesk_gsettings_session FOLDER
//
// It keeps its store, user defaults and log in FOLDER, launches (the launch
// recovery runs) and says "launched"; then it takes one command a line on
// standard input and answers each:
//   start      starts a ten-minute session that allows the text editor ("started")
//   stop       stops it as the user does ("stopped")
//   terminate  asks the application to terminate, as the quit command does; the process ends
// The end of standard input terminates too. SIGTERM and the other termination
// signals end it through the application's own handler.

#include "analytics/NoopAnalyticsService.h"
#include "app/VeskApp.h"
#include "core/ManualScheduler.h"
#include "logging/VeskLogFileStore.h"
#include "platform/simulated/DesktopScenarioLoader.h"
#include "platform/simulated/DesktopWorkspace.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "platform/x11/GSettingsCommandRunner.h"
#include "platform/x11/GSettingsTool.h"
#include "platform/x11/XdgEnvironment.h"
#include "scripted/VirtualTimeDriver.h"
#include "session/SchedulerSessionTimerFactory.h"
#include "session/SessionManager.h"

#include <QApplication>
#include <QDir>
#include <QSocketNotifier>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

using namespace vesk;

const QString editor = QStringLiteral("org.example.TextEditor");

// The simulated desktop's parts, with system-settings commands of another runner.
platform::PlatformInterfaces withCommandRunner(const platform::PlatformInterfaces& p,
                                               platform::CommandRunning& commandRunner)
{
    return {p.windowList,
            p.screens,
            p.screenChanges,
            p.workspace,
            p.files,
            p.bundles,
            p.accessibility,
            p.eventTaps,
            p.defaultsDomains,
            commandRunner,
            p.ownWindows,
            p.presentationOptions,
            p.ownApplication,
            p.pointer,
            p.permissions,
            p.reduceMotion,
            p.screenCapture,
            p.diagnosticPayloads,
            p.systemInfo,
            p.applicationActivity,
            p.storeTransactions};
}

void say(const char* answer)
{
    std::printf("%s\n", answer);
    std::fflush(stdout);
}

// One line of standard input without its end; none at its end.
std::optional<std::string> readLine()
{
    std::string line;
    char c = 0;
    while (::read(STDIN_FILENO, &c, 1) == 1) {
        if (c == '\n')
            return line;
        line += c;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vesk_gsettings_session FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    qputenv("VESK_LOGS_DIR", folder.filePath(QStringLiteral("logs")).toLocal8Bit());
    VeskLogFileStore::shared();

    ManualScheduler scheduler;
    platform::SimulatedDesktop desktop(scheduler, folder.filePath(QStringLiteral("desktop")));
    const platform::ScenarioLoadResult scenario = platform::DesktopScenarioLoader::loadDefault();
    if (!scenario.ok() || !desktop.applyScenario(*scenario.scenario).isEmpty()) {
        std::fprintf(stderr, "the default desktop scenario does not load\n");
        return 1;
    }
    VirtualTimeDriver time(scheduler, desktop);
    platform::GSettingsCommandRunner settings(std::make_unique<platform::GSettingsTool>(),
                                              platform::XdgEnvironment::fromProcess().currentDesktops.join(u':'));

    VeskAppEnvironment environment{withCommandRunner(desktop.interfaces(), settings),
                                   scheduler,
                                   scheduler,
                                   std::make_shared<SchedulerSessionTimerFactory>(scheduler),
                                   folder.filePath(QStringLiteral("VeskData.store")),
                                   folder.filePath(QStringLiteral("defaults")),
                                   [](int status) { std::exit(status); }};
    environment.endpoints = ServiceEndpoints{};
    environment.makeAnalyticsService = [](VeskDefaultsStore&) { return std::make_shared<NoopAnalyticsService>(); };
    environment.desktopDirectory = folder.filePath(QStringLiteral("Desktop"));
    VeskApp vesk(std::move(environment));
    QObject::connect(&vesk, &VeskApp::terminated, &app, &QApplication::quit, Qt::QueuedConnection);
    vesk.launch();
    time.settle();
    say("launched");

    QSocketNotifier commands(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&commands, &QSocketNotifier::activated, &app, [&] {
        // A session's start turns the event loop: the next command waits for this one's answer.
        commands.setEnabled(false);
        const std::optional<std::string> command = readLine();
        SessionManager& manager = vesk.sessionManager();
        if (command == "start") {
            const std::optional<QUrl> url = desktop.workspace().urlForApplication(editor);
            manager.startSession(600, {editor}, {{editor, url.value_or(QUrl())}}, std::nullopt, false, 3);
            time.advance(6.0);
            say(manager.isSessionActive() ? "started" : "not started");
            commands.setEnabled(true);
        } else if (command == "stop") {
            manager.stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen);
            time.settle();
            say(manager.isSessionActive() ? "not stopped" : "stopped");
            commands.setEnabled(true);
        } else {
            vesk.requestTermination();
        }
    });
    const int status = app.exec();
    VeskLogFileStore::shared().drain();
    return status;
}
