// The processor time a focus session costs in real time: the whole
// application with a session running, the overlay ticking at the display
// rate. Prints the share of one core used while the session runs.
//
//   session_load [--seconds N] [--warm-up N] [--apps id,id,...]
//       the default desktop scenario on the simulated desktop, offscreen
//       unless QT_QPA_PLATFORM says otherwise;
//   session_load --compare-on-xvfb [--rounds N] [--seconds N] [--warm-up N]
//       starts Xvfb (1920 × 1080) and openbox and runs the same session,
//       round by round, once on the X11 desktop of that server (the default
//       scenario's applications as X clients with desktop entries) and once
//       on the simulated desktop (the default scenario on one display of
//       the server's size), each in a process of its own under Qt's xcb
//       platform on the server; prints each share;
//   session_load --desktop x11|simulated-one-display   one such process.

#include "X11TestServer.h"
#include "app/VeskApp.h"
#include "core/QtScheduler.h"
#include "platform/simulated/DesktopScenarioLoader.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "platform/x11/X11Desktop.h"
#include "session/SerialQueueSessionTimerFactory.h"
#include "session/SessionManager.h"
#include "store/ModelContainer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

const QRectF serverScreen(0, 0, 1920, 1080);

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

// Runs the event loop until the condition holds or the time is up.
bool runUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        runFor(0.05);
    }
    return true;
}

struct Measure {
    double seconds = 20;
    double warmUp = 2;
    std::set<QString> allowed;
};

// The application over the platform, a session of the allowed applications,
// and the share of one core it uses once warmed up.
int measureSession(const vesk::platform::PlatformInterfaces& platform, vesk::QtScheduler& scheduler,
                   const QString& folder, const Measure& measure, const char* label)
{
    vesk::SystemClock clock;
    vesk::VeskApp vesk({platform, scheduler, clock, std::make_shared<vesk::SerialQueueSessionTimerFactory>(),
                        QDir(folder).filePath(vesk::ModelContainer::storeFileName), QDir(folder).filePath("defaults")});
    vesk.launch();
    vesk.sessionManager().startSession(3600, measure.allowed, {}, std::nullopt, false, 0);
    runFor(measure.warmUp);
    if (!vesk.sessionManager().isSessionActive()) {
        std::fprintf(stderr, "session_load: the session did not start\n");
        return 1;
    }

    QElapsedTimer wall;
    const double processorBefore = processorSeconds();
    wall.start();
    runFor(measure.seconds);
    const double processor = processorSeconds() - processorBefore;
    const double elapsed = double(wall.nsecsElapsed()) / 1e9;
    std::printf("session_load: %s%.2f s of processor time in %.2f s of session: %.2f %% of one core\n", label,
                processor, elapsed, 100.0 * processor / elapsed);
    std::fflush(stdout);
    vesk.requestTermination();
    return 0;
}

vesk::platform::DesktopScenario defaultScenario()
{
    const vesk::platform::ScenarioLoadResult loaded = vesk::platform::DesktopScenarioLoader::loadDefault();
    if (!loaded.ok()) {
        std::fprintf(stderr, "session_load: the default scenario does not load\n");
        std::exit(1);
    }
    return *loaded.scenario;
}

int runSimulated(const QString& folder, const Measure& measure, bool oneServerDisplay)
{
    vesk::platform::DesktopScenario scenario = defaultScenario();
    if (oneServerDisplay) {
        scenario.displays.resize(1);
        scenario.displays.front().bounds = serverScreen;
        scenario.displays.front().frame.reset();
        scenario.displays.front().visibleFrame.reset();
    }
    vesk::QtScheduler scheduler;
    vesk::platform::SimulatedDesktop desktop(scheduler, QDir(folder).filePath("desktop"));
    if (const QString error = desktop.applyScenario(scenario); !error.isEmpty()) {
        std::fprintf(stderr, "session_load: %s\n", qPrintable(error));
        return 1;
    }
    return measureSession(desktop.interfaces(), scheduler, folder, measure,
                          oneServerDisplay ? "simulated desktop on Xvfb+openbox: " : "");
}

QString windowClassOf(int application)
{
    return QStringLiteral("VeskLoadApp%1").arg(application);
}

// The default scenario's applications as X clients, each with a desktop
// entry (in the data home this process was given) that names its class.
int runOnX11(const QString& folder, const Measure& measure)
{
    const vesk::platform::DesktopScenario scenario = defaultScenario();
    const QString entries = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications");
    QDir().mkpath(entries);
    std::vector<std::unique_ptr<QProcess>> clients;
    for (size_t index = 0; index < scenario.applications.size(); ++index) {
        const auto& application = scenario.applications[index];
        const QString id = application.bundleIdentifier.value_or(QString());
        const QString windowClass = windowClassOf(int(index));
        QFile entry(entries + u'/' + id + QStringLiteral(".desktop"));
        if (!entry.open(QIODevice::WriteOnly))
            return 1;
        entry.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=true\nStartupWMClass=%2\n")
                        .arg(id, windowClass)
                        .toUtf8());
        for (const auto& window : application.windows) {
            const QRect bounds = window.bounds.toRect().intersected(serverScreen.toRect());
            auto client = std::make_unique<QProcess>();
            client->start(QStringLiteral(VESK_X11_TEST_CLIENT),
                          {"--class", windowClass.toLower() + u',' + windowClass, "--title", window.title, "--geometry",
                           QStringLiteral("%1x%2+%3+%4")
                               .arg(bounds.width())
                               .arg(bounds.height())
                               .arg(bounds.x())
                               .arg(bounds.y())});
            if (!client->waitForReadyRead(10000)) {
                std::fprintf(stderr, "session_load: a client window did not show\n");
                return 1;
            }
            clients.push_back(std::move(client));
        }
    }
    vesk::QtScheduler scheduler;
    const std::unique_ptr<vesk::platform::X11Desktop> desktop =
        vesk::platform::X11Desktop::create(QCoreApplication::applicationName());
    if (!desktop) {
        std::fprintf(stderr, "session_load: no X11 desktop on this display\n");
        return 1;
    }
    // Every client window listed with its application before the session starts.
    vesk::platform::Workspace& workspace = desktop->workspace();
    const bool known = runUntil(
        [&] {
            for (const QString& id : measure.allowed) {
                const auto running = workspace.runningApplications();
                if (std::none_of(running.begin(), running.end(),
                                 [&](const auto& app) { return app->bundleIdentifier() == id; }))
                    return false;
            }
            return true;
        },
        10000);
    if (!known) {
        std::fprintf(stderr, "session_load: the allowed applications are not known on the X11 desktop\n");
        return 1;
    }
    const int status =
        measureSession(desktop->interfaces(), scheduler, folder, measure, "X11 desktop on Xvfb+openbox: ");
    for (auto& client : clients) {
        client->kill();
        client->waitForFinished();
    }
    return status;
}

// Each side in a process of its own on one server, round by round.
int compareOnXvfb(const QStringList& measureArguments, int rounds)
{
    X11TestServer server;
    if (const QString missing = X11TestServer::missingTools(); !missing.isEmpty()) {
        std::fprintf(stderr, "session_load: missing %s\n", qPrintable(missing));
        return 1;
    }
    if (!server.start(int(serverScreen.width()), int(serverScreen.height()))) {
        std::fprintf(stderr, "session_load: %s\n", qPrintable(server.error()));
        return 1;
    }
    for (int round = 0; round < rounds; ++round) {
        for (const char* desktop : {"x11", "simulated-one-display"}) {
            QTemporaryDir data;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("QT_QPA_PLATFORM", "xcb");
            environment.insert("DISPLAY", server.display());
            environment.insert("XDG_DATA_HOME", data.path());
            environment.insert("XDG_DATA_DIRS", data.filePath("none"));
            // The desktop's settings stay in memory, on no desktop family.
            environment.insert("GSETTINGS_BACKEND", "memory");
            environment.insert("XDG_CURRENT_DESKTOP", "");
            QProcess child;
            child.setProcessEnvironment(environment);
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(QCoreApplication::applicationFilePath(),
                        QStringList{"--desktop", QString::fromLatin1(desktop)} + measureArguments);
            if (!child.waitForFinished(-1) || child.exitCode() != 0)
                return 1;
        }
    }
    return 0;
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
    const QCommandLineOption compare("compare-on-xvfb", "The X11 and the simulated desktop side by side on Xvfb.");
    const QCommandLineOption rounds("rounds", "Rounds of the comparison.", "rounds", "2");
    const QCommandLineOption desktop("desktop", "x11 or simulated-one-display (a process of the comparison).",
                                     "desktop");
    parser.addOptions({seconds, warmUp, apps, compare, rounds, desktop});
    parser.process(app);

    if (parser.isSet(compare)) {
        return compareOnXvfb({"--seconds", parser.value(seconds), "--warm-up", parser.value(warmUp), "--apps",
                              parser.value(apps)},
                             parser.value(rounds).toInt());
    }
    Measure measure{parser.value(seconds).toDouble(), parser.value(warmUp).toDouble(), {}};
    for (const QString& id : parser.value(apps).split(',', Qt::SkipEmptyParts))
        measure.allowed.insert(id);
    if (parser.value(desktop) == QStringLiteral("x11"))
        return runOnX11(folder.path(), measure);
    return runSimulated(folder.path(), measure, parser.value(desktop) == QStringLiteral("simulated-one-display"));
}
