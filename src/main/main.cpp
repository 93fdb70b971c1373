#include "app/InstanceClaim.h"
#include "app/RuntimeDirectory.h"
#include "app/TerminationSignalHandler.h"
#include "app/VeskApp.h"
#include "core/QtScheduler.h"
#include "core/TextFormat.h"
#include "core/UserDefaults.h"
#include "logging/VeskLogFileStore.h"
#include "logging/VeskLogger.h"
#include "platform/simulated/DesktopScenarioLoader.h"
#include "platform/simulated/RealDisplayPresenter.h"
#include "platform/simulated/ScenarioOnDisplays.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "platform/x11/DesktopChoice.h"
#include "platform/x11/X11Desktop.h"
#include "scripted/ScriptedRun.h"
#include "session/SerialQueueSessionTimerFactory.h"
#include "store/MakeModelContainer.h"
#include "store/ModelContainer.h"
#include "ui/ApplicationLook.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

// "--name" or "--name=value" among the arguments.
bool hasArgument(int argc, char** argv, const char* name)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], name, std::strlen(name)) == 0)
            return true;
    }
    return false;
}

void printError(const QString& message)
{
    std::fprintf(stderr, "vesk: %s\n", message.toLocal8Bit().constData());
}

// Standard output may be a pipe that is already closed (`vesk … | head -1`):
// the run's outcome is in its report and its exit status, so a summary that
// cannot be written is only noted.
void printSummary(const QString& summary)
{
    if (std::printf("%s\n", summary.toLocal8Bit().constData()) < 0 || std::fflush(stdout) != 0)
        printError(QStringLiteral("could not write the summary to standard output: ")
                   + QString::fromLocal8Bit(std::strerror(errno)));
}

struct ScriptedOptions {
    QCommandLineOption desktop;
    QCommandLineOption script;
    QCommandLineOption report;
    QCommandLineOption runDirectory;
    QCommandLineOption relaunch;
    QCommandLineOption killAt;
};

int runScripted(const QCommandLineParser& parser, const ScriptedOptions& options)
{
    if (!parser.isSet(options.report)) {
        printError(QStringLiteral("--script needs --report REPORT.json"));
        return vesk::ScriptedRun::invalidInput;
    }
    std::optional<int> killAt;
    if (parser.isSet(options.killAt)) {
        bool valid = false;
        killAt = parser.value(options.killAt).toInt(&valid);
        if (!valid || *killAt < 0) {
            printError(QStringLiteral("--kill-at takes a moment, counted from 0, not \"%1\"")
                           .arg(parser.value(options.killAt)));
            return vesk::ScriptedRun::invalidInput;
        }
    }
    vesk::ScriptedRunOptions runOptions{parser.value(options.desktop), parser.value(options.script),
                                        parser.value(options.report), parser.value(options.runDirectory)};
    runOptions.relaunch = parser.isSet(options.relaunch);
    runOptions.killAtCommandMoment = killAt;
    vesk::ScriptedRun run(std::move(runOptions));
    const int status = run.run();
    if (run.wroteReport())
        printSummary(run.summary());
    if (status != vesk::ScriptedRun::succeeded)
        printError(run.error());
    return status;
}

// The desktops as the About window names them.
const char* const simulatedDesktopName = QT_TRANSLATE_NOOP("AboutWindow", "Simulierter Desktop");
const char* const x11DesktopName = QT_TRANSLATE_NOOP("AboutWindow", "X11-Desktop");

// The simulated desktop of the scenario asked for (else the default one),
// shown on the display when there is one.
struct SimulatedOnDisplay {
    SimulatedOnDisplay(vesk::Scheduler& scheduler, const QString& root) : desktop(scheduler, root) { }
    vesk::platform::SimulatedDesktop desktop;
    std::unique_ptr<vesk::platform::RealDisplayPresenter> presenter;
};

std::unique_ptr<SimulatedOnDisplay> buildSimulatedDesktop(const QCommandLineParser& parser,
                                                          const QCommandLineOption& desktopOption,
                                                          vesk::Scheduler& scheduler, const QString& root,
                                                          const QString& storePath, QString& error)
{
    const vesk::platform::ScenarioLoadResult scenario =
        parser.isSet(desktopOption) ? vesk::platform::DesktopScenarioLoader::loadFile(parser.value(desktopOption))
                                    : vesk::platform::DesktopScenarioLoader::loadDefault();
    if (!scenario.ok()) {
        error = scenario.error;
        return nullptr;
    }
    // On a display the default desktop takes the machine's screens; a scenario
    // that was asked for keeps its own displays.
    const bool onRealDisplay = vesk::platform::RealDisplayPresenter::isAvailable();
    const vesk::platform::DesktopScenario desktopScenario =
        onRealDisplay && !parser.isSet(desktopOption)
            ? vesk::platform::scenarioOnDisplays(*scenario.scenario,
                                                 vesk::platform::SimulatedDesktop::qtScreenDisplays())
            : *scenario.scenario;

    // The applications' bundles are built from the scenario at every start;
    // the defaults domains are the machine's settings and outlive the process,
    // so that a launch after a crash puts back what the crashed one changed.
    auto simulated = std::make_unique<SimulatedOnDisplay>(scheduler, root);
    simulated->desktop.keepDefaultsDomainsIn(
        QDir(QFileInfo(storePath).absolutePath())
            .filePath(QStringLiteral("desktop/")
                      + QString::fromUtf8(vesk::platform::SimulatedDesktop::defaultsDomainsFileName)));
    if (error = simulated->desktop.applyScenario(desktopScenario); !error.isEmpty())
        return nullptr;
    // Before the application's windows, so that they open above it.
    if (onRealDisplay)
        simulated->presenter = std::make_unique<vesk::platform::RealDisplayPresenter>(simulated->desktop);
    return simulated;
}

int runInteractive(QApplication& app, const QCommandLineParser& parser, const QCommandLineOption& desktopOption,
                   const QCommandLineOption& simulatedOption, const QCommandLineOption& quitAfter)
{
    const vesk::VeskLogger logger(QStringLiteral("VeskApp"));
    std::optional<double> quitAfterSeconds;
    if (parser.isSet(quitAfter)) {
        bool valid = false;
        quitAfterSeconds = parser.value(quitAfter).toDouble(&valid);
        if (!valid || !(*quitAfterSeconds >= 0)) {
            printError(
                QStringLiteral("--quit-after takes a number of seconds, not \"%1\"").arg(parser.value(quitAfter)));
            return 2;
        }
    }
    // Before the desktop shows: a start that finds another instance on the
    // same data folder hands over to it and ends.
    const QString storePath = vesk::ModelContainer::defaultStorePath();
    vesk::InstanceClaim claim =
        vesk::InstanceClaim::make(QFileInfo(storePath).absolutePath(), vesk::InstanceLock::relaunchWaitSeconds);
    if (claim.outcome == vesk::InstanceClaim::Outcome::handedOver) {
        logger.log(vesk::VeskLogLevel::info, claim.message);
        printSummary(claim.message);
        return 0;
    }
    if (claim.outcome == vesk::InstanceClaim::Outcome::refused) {
        logger.log(vesk::VeskLogLevel::error, claim.message);
        printError(claim.message);
        return 1;
    }

    // Decided once the instance is this one's: the real desktop where the
    // display's window manager can be worked with, else the simulated one.
    std::unique_ptr<vesk::platform::X11Desktop> x11;
    const vesk::platform::DesktopChoice choice = vesk::platform::DesktopChoice::choose(
        {parser.isSet(desktopOption), parser.isSet(simulatedOption), QGuiApplication::platformName(),
         qEnvironmentVariable("WAYLAND_DISPLAY"), qEnvironmentVariable("XDG_SESSION_TYPE"), [&x11] {
             x11 = vesk::platform::X11Desktop::create(QCoreApplication::applicationName());
             return x11 != nullptr;
         }});
    const bool onX11 = choice.kind == vesk::platform::DesktopChoice::Kind::x11;
    logger.log(vesk::VeskLogLevel::info,
               QStringLiteral("Desktop chosen — desktop=%1 reason=%2")
                   .arg(onX11 ? QStringLiteral("X11") : QStringLiteral("simulated"), choice.reason));
    if (!choice.notice.isEmpty()) {
        logger.log(vesk::VeskLogLevel::warning, choice.notice);
        printError(choice.notice);
    }
    if (!onX11)
        x11.reset();

    QTemporaryDir desktopRoot;
    vesk::QtScheduler scheduler;
    vesk::SystemClock clock;
    std::unique_ptr<SimulatedOnDisplay> simulated;
    if (!onX11) {
        QString error;
        simulated = buildSimulatedDesktop(parser, desktopOption, scheduler, desktopRoot.path(), storePath, error);
        if (!simulated) {
            printError(QStringLiteral("desktop scenario: ") + error);
            return 2;
        }
    }

    vesk::VeskAppEnvironment environment{onX11 ? x11->interfaces() : simulated->desktop.interfaces(),
                                         scheduler,
                                         clock,
                                         std::make_shared<vesk::SerialQueueSessionTimerFactory>(),
                                         storePath,
                                         vesk::UserDefaults::defaultRootDirectory(),
                                         [](int status) {
                                             vesk::VeskLogFileStore::shared().drain();
                                             std::exit(status);
                                         }};
    environment.instanceLock = std::move(claim.lock);
    // On the real desktop updates go where Vesk's program is installed.
    if (onX11) {
        environment.executablePath = QCoreApplication::applicationFilePath();
        environment.arguments = QCoreApplication::arguments().mid(1);
    }
    environment.desktopName = QString::fromUtf8(onX11 ? x11DesktopName : simulatedDesktopName);
    vesk::VeskApp vesk(std::move(environment));
    QObject::connect(&vesk, &vesk::VeskApp::terminated, &app, &QApplication::quit, Qt::QueuedConnection);
    // A quit that does not come through the application's own request (the
    // session ending, say) still runs the delegate's termination.
    QObject::connect(&app, &QApplication::aboutToQuit, &vesk, [&vesk] {
        if (!vesk.isTerminated())
            vesk.requestTermination();
    });
    vesk.launch();

    if (quitAfterSeconds) {
        logger.log(vesk::VeskLogLevel::info,
                   QStringLiteral("Quitting after a fixed time — seconds=%1").arg(vesk::doubleText(*quitAfterSeconds)));
        scheduler.asyncAfter(*quitAfterSeconds, [&vesk] { vesk.requestTermination(); });
    }

    const int status = app.exec();
    vesk::VeskLogFileStore::shared().drain();
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    // Before anything is written: a closed pipe on standard output or error
    // must not end the process before it has put the system back.
    vesk::TerminationSignalHandler::ignoreBrokenPipes();
    // Before Qt looks for it; a fallback that cannot be used leaves Qt's warning.
    vesk::provideRuntimeDirectory();
    // A scripted run is always headless; without any display, run offscreen
    // instead of failing to connect to one.
    const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && (noDisplay || hasArgument(argc, argv, "--script")))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The simulated desktop shows on an X server, where windows can be
    // placed and stacked (through XWayland in a Wayland session).
    else if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    // A scripted run's user reads German, the interface's source language,
    // whatever the machine's, so that a script finds the texts it names (a
    // script picks another language with its "language").
    if (hasArgument(argc, argv, "--script"))
        qputenv("LANGUAGE", "de");
    QApplication app(argc, argv);
    // No organisation name: the data and settings folders are ~/.local/share/Vesk and ~/.config/Vesk.
    QApplication::setApplicationName("Vesk");
    QApplication::setApplicationVersion(QStringLiteral(VESK_VERSION));
    // The installed desktop entry and icon (share/applications, share/icons).
    QGuiApplication::setDesktopFileName(QStringLiteral(VESK_APP_ID));
    QGuiApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(VESK_APP_ID)));
    vesk::ApplicationLook::apply(app);

    QCommandLineParser parser;
    parser.setApplicationDescription("Vesk focus sessions");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption desktop("desktop", "Run on the desktop scenario in this JSON file.", "scenario");
    const QCommandLineOption script("script", "Run headless through the steps of this JSON script.", "script");
    const QCommandLineOption report("report", "Write the scripted run's report to this JSON file.", "report");
    const QCommandLineOption runDirectory("run-dir", "Keep the scripted run's store and screenshots here.", "folder");
    const QCommandLineOption relaunch(
        "relaunch", "Launch the scripted run again on the run folder an earlier run left, without emptying it.");
    const QCommandLineOption killAt(
        "kill-at", "End the scripted run with SIGKILL at this moment of the system tools (tests of the recovery).",
        "moment");
    const QCommandLineOption quitAfter("quit-after", "Quit after the given number of seconds.", "seconds");
    const QCommandLineOption simulated("simulated",
                                       "Run on the simulated desktop (the default scenario) also where the real "
                                       "desktop could be used.");
    parser.addOptions({desktop, script, report, runDirectory, relaunch, killAt, quitAfter, simulated});
    parser.process(app);

    // The scripted run starts its log once it has its run folder.
    if (parser.isSet(script))
        return runScripted(parser, {desktop, script, report, runDirectory, relaunch, killAt});

    if (parser.isSet(report) || parser.isSet(runDirectory) || parser.isSet(relaunch) || parser.isSet(killAt)) {
        printError(QStringLiteral(
            "--report, --run-dir, --relaunch and --kill-at belong to a scripted run (--script SCRIPT.json)"));
        return vesk::ScriptedRun::invalidInput;
    }
    // The first use of the store starts this launch's log file.
    vesk::VeskLogFileStore::shared();
    return runInteractive(app, parser, desktop, simulated, quitAfter);
}
