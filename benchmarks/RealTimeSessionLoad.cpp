// The processor time a focus session costs in real time: the whole
// application on the default desktop scenario, offscreen, with the overlay
// ticking at the display rate. Prints the share of one core used while the
// session runs.
//
//   session_load [--seconds N] [--warm-up N] [--apps id,id,...]

#include "app/VeskApp.h"
#include "core/QtScheduler.h"
#include "platform/simulated/DesktopScenarioLoader.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "session/SerialQueueSessionTimerFactory.h"
#include "session/SessionManager.h"
#include "store/ModelContainer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

namespace {

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& time) { return double(time.tv_sec) + double(time.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs the event loop for the given time.
void runFor(double seconds)
{
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir folder;
    if (qEnvironmentVariableIsEmpty("VESK_LOGS_DIR"))
        qputenv("VESK_LOGS_DIR", QDir(folder.path()).filePath("logs").toUtf8());
    // Only the log file keeps the application's lines, as in a quiet run.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);

    QCommandLineParser parser;
    const QCommandLineOption seconds("seconds", "Measured session time.", "seconds", "20");
    const QCommandLineOption warmUp("warm-up", "Session time before measuring.", "seconds", "2");
    const QCommandLineOption apps("apps", "Allowed bundle identifiers, comma-separated.", "ids",
                                  "org.example.TextEditor,org.example.Terminal");
    parser.addOptions({seconds, warmUp, apps});
    parser.process(app);

    const vesk::platform::ScenarioLoadResult scenario = vesk::platform::DesktopScenarioLoader::loadDefault();
    vesk::QtScheduler scheduler;
    vesk::SystemClock clock;
    vesk::platform::SimulatedDesktop desktop(scheduler, QDir(folder.path()).filePath("desktop"));
    if (!scenario.ok() || !desktop.applyScenario(*scenario.scenario).isEmpty()) {
        std::fprintf(stderr, "session_load: the default scenario does not load\n");
        return 1;
    }
    vesk::VeskApp vesk(
        {desktop.interfaces(), scheduler, clock, std::make_shared<vesk::SerialQueueSessionTimerFactory>(),
         QDir(folder.path()).filePath(vesk::ModelContainer::storeFileName), QDir(folder.path()).filePath("defaults")});
    vesk.launch();

    std::set<QString> allowed;
    for (const QString& id : parser.value(apps).split(',', Qt::SkipEmptyParts))
        allowed.insert(id);
    vesk.sessionManager().startSession(3600, allowed, {}, std::nullopt, false, 0);
    runFor(parser.value(warmUp).toDouble());
    if (!vesk.sessionManager().isSessionActive()) {
        std::fprintf(stderr, "session_load: the session did not start\n");
        return 1;
    }

    QElapsedTimer wall;
    const double processorBefore = processorSeconds();
    wall.start();
    runFor(parser.value(seconds).toDouble());
    const double processor = processorSeconds() - processorBefore;
    const double elapsed = double(wall.nsecsElapsed()) / 1e9;
    std::printf("session_load: %.2f s of processor time in %.2f s of session: %.2f %% of one core\n", processor,
                elapsed, 100.0 * processor / elapsed);
    vesk.requestTermination();
    return 0;
}
