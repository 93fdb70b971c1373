#include "scripted/ScriptedRun.h"

#include "app/AppDelegate.h"
#include "app/InstanceLock.h"
#include "app/SessionManagerComposition.h"
#include "app/VeskApp.h"
#include "core/FileIO.h"
#include "core/MainThread.h"
#include "core/ManualScheduler.h"
#include "logging/VeskLogFileStore.h"
#include "platform/VirtualKeyCodes.h"
#include "platform/simulated/DesktopCommandRunner.h"
#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/DesktopScenarioLoader.h"
#include "platform/simulated/DesktopScreenCapturer.h"
#include "platform/simulated/DesktopWorkspace.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "scripted/RunDirectory.h"
#include "scripted/RunMemoryFolders.h"
#include "scripted/RunReportWriter.h"
#include "scripted/ScriptedControlInput.h"
#include "scripted/VirtualTimeDriver.h"
#include "session/SchedulerSessionTimerFactory.h"
#include "session/SessionManager.h"
#include "settings/VeskDefaultsStore.h"
#include "store/GoalRule.h"
#include "store/ModelContainer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QWindow>

#include <csignal>
#include <unistd.h>

namespace vesk {

namespace {

// The run whose timeline receives the log messages.
std::atomic<ScriptedRun*> gActiveRun{nullptr};

QString levelText(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return QStringLiteral("debug");
    case QtInfoMsg:
        return QStringLiteral("info");
    case QtWarningMsg:
        return QStringLiteral("warning");
    case QtCriticalMsg:
    case QtFatalMsg:
        break;
    }
    return QStringLiteral("error");
}

QJsonObject errorOutcome(const QString& message)
{
    return QJsonObject{{"error", message}};
}

std::optional<QString> bundleIdentifierOf(const platform::SimulatedDesktop& desktop, platform::ProcessID pid)
{
    const platform::DesktopApplication* application = desktop.application(pid);
    return application ? application->bundleIdentifier : std::nullopt;
}

QJsonValue optionalText(const std::optional<QString>& text)
{
    return text ? QJsonValue(*text) : QJsonValue();
}

} // namespace

ScriptedRun::ScriptedRun(ScriptedRunOptions options) : options_(std::move(options))
{
    runDirectory_ = options_.runDirectory.isEmpty() ? defaultRunDirectory(options_.reportPath) : options_.runDirectory;
}

QString ScriptedRun::defaultRunDirectory(const QString& reportPath)
{
    const QFileInfo report(reportPath);
    return report.absoluteDir().filePath(report.completeBaseName() + "-run");
}

ScriptedRun::~ScriptedRun()
{
    closeApplication();
    if (const std::optional<QString> notMoved = closeMemoryFolders())
        qWarning().noquote() << "The scripted run's files stay in memory:" << *notMoved;
    if (gActiveRun.load() == this) {
        qInstallMessageHandler(previousMessageHandler_);
        gActiveRun = nullptr;
    }
}

void ScriptedRun::closeApplication()
{
    // The application goes before the desktop it runs on, and both before
    // the log messages stop going to this run; then its log rows are written out.
    const bool ranApplication = app_ != nullptr;
    timeForEntries_ = nullptr;
    controls_.reset();
    app_.reset();
    desktop_.reset();
    if (ranApplication)
        VeskLogFileStore::shared().drain();
}

std::optional<QString> ScriptedRun::closeMemoryFolders()
{
    if (!memoryFolders_)
        return std::nullopt;
    const std::optional<QString> notMoved = memoryFolders_->moveIntoRunFolder();
    memoryFolders_.reset();
    return notMoved;
}

QString ScriptedRun::summary() const
{
    QStringList lines;
    lines << QStringLiteral("Scripted run ended at %1 s of virtual time; report: %2")
                 .arg(report_.value("endedAt").toDouble())
                 .arg(QFileInfo(options_.reportPath).absoluteFilePath());
    const QJsonArray sessions = report_.value("sessions").toArray();
    lines << QStringLiteral("Sessions: %1").arg(sessions.size());
    for (const QJsonValue& value : sessions) {
        const QJsonObject session = value.toObject();
        QStringList apps;
        for (const QJsonValue& app : session.value("allowedAppBundleIDs").toArray())
            apps << app.toString();
        lines << QStringLiteral("  %1 s with %2, %3")
                     .arg(session.value("durationSeconds").toInt())
                     .arg(apps.join(", "))
                     .arg(session.value("isActive").toBool()
                              ? QStringLiteral("still active")
                              : QStringLiteral("ended: ") + session.value("endReason").toString());
    }
    const QJsonObject screenshots = report_.value("screenshots").toObject();
    lines << (screenshots.isEmpty() ? QStringLiteral("Screenshots: none") : QStringLiteral("Screenshots:"));
    for (auto it = screenshots.constBegin(); it != screenshots.constEnd(); ++it) {
        QStringList paths;
        for (const QJsonValue& path : it.value().toArray())
            paths << path.toString();
        lines << QStringLiteral("  %1: %2").arg(it.key(), paths.join(", "));
    }
    lines << QStringLiteral("Log file: %1").arg(report_.value("logFile").toString());
    QStringList endpoints;
    const QJsonObject used = report_.value("endpoints").toObject();
    for (auto it = used.constBegin(); it != used.constEnd(); ++it) {
        if (it.value().isString())
            endpoints << QStringLiteral("%1 %2").arg(it.key(), it.value().toString());
    }
    lines << QStringLiteral("Network endpoints: %1")
                 .arg(endpoints.isEmpty() ? QStringLiteral("none") : endpoints.join(", "));
    const QJsonArray errors = report_.value("errors").toArray();
    lines << QStringLiteral("Errors: %1").arg(errors.isEmpty() ? QStringLiteral("none") : QString());
    for (const QJsonValue& error : errors)
        lines << QStringLiteral("  ") + error.toString();
    return lines.join('\n');
}

ServiceEndpoints ScriptedRun::endpointsFor(const RunScript& script)
{
    const ServiceEndpoints named = script.endpoints();
    const ServiceEndpoints environment = ServiceEndpoints::namedByEnvironment();
    return {named.analytics ? named.analytics : environment.analytics,
            named.reports ? named.reports : environment.reports,
            named.updateFeed ? named.updateFeed : environment.updateFeed};
}

int ScriptedRun::run()
{
    const platform::ScenarioLoadResult scenario = options_.desktopPath.isEmpty()
                                                      ? platform::DesktopScenarioLoader::loadDefault()
                                                      : platform::DesktopScenarioLoader::loadFile(options_.desktopPath);
    if (!scenario.ok()) {
        error_ = QStringLiteral("desktop scenario: ") + scenario.error;
        return invalidInput;
    }
    const RunScript::ParseResult script = RunScript::loadFile(options_.scriptPath);
    if (!script.ok()) {
        error_ = QStringLiteral("script: ") + script.error;
        return invalidInput;
    }
    endpoints_ = endpointsFor(*script.script);
    if (const int status = prepare(*scenario.scenario, *script.script); status != succeeded)
        return status;

    bool terminated = false;
    for (const ScriptStep& step : script.script->steps()) {
        time_->advanceTo(step.at);
        execute(step);
        terminated = app_->isTerminated();
        if (terminated)
            break;
    }
    if (!terminated)
        terminate(true);

    report_ = buildReport();
    closeApplication();
    if (const std::optional<QString> notMoved = closeMemoryFolders()) {
        recordDataFailure(QStringLiteral("moving the run's files into the run folder: ") + *notMoved);
        report_["errors"] = errors_;
    }
    QString writeError;
    if (!RunReportWriter::write(report_, options_.reportPath, &writeError)) {
        report_ = {};
        error_ = writeError;
        return failed;
    }
    if (dataFailures_ > 0) {
        error_ = QStringLiteral("%1 writes or reads of the run's data failed; the report lists them under \"errors\"")
                     .arg(dataFailures_);
        return failed;
    }
    return succeeded;
}

// A fresh run every time, unless it is a relaunch: an earlier run's store
// and settings would change what this one does. Only a folder a run made is
// emptied, and only while no other run uses it.
bool ScriptedRun::prepareRunDirectory()
{
    if (auto refused = RunDirectory::claim(runDirectory_)) {
        error_ = *refused;
        return false;
    }
    QString lockError;
    instanceLock_ = InstanceLock::acquire(runDirectory_, 0, &lockError);
    if (!instanceLock_) {
        error_ = lockError;
        return false;
    }
    if (!options_.relaunch) {
        if (auto notRemoved = RunDirectory::clear(runDirectory_, {options_.scriptPath, options_.desktopPath})) {
            error_ = *notRemoved;
            return false;
        }
    }
    // The settings and the log files are synchronised to the disk at every
    // change; they stay in memory until the run ends (a relaunch goes on with
    // the folders it finds).
    QStringList frequentlyWritten{QStringLiteral("defaults")};
    // Log files go next to the run unless told otherwise.
    if (qEnvironmentVariableIsEmpty("VESK_LOGS_DIR")) {
        qputenv("VESK_LOGS_DIR", QDir(runDirectory_).filePath(QStringLiteral("logs")).toUtf8());
        frequentlyWritten << QStringLiteral("logs");
    }
    if (!options_.relaunch)
        memoryFolders_ = RunMemoryFolders::linkInto(runDirectory_, frequentlyWritten);
    return true;
}

void ScriptedRun::killAtCommandMoment(int moment)
{
    desktop_->commandRunner().setCommandObserver([moment, count = 0](const QStringList&, bool) mutable {
        if (count++ == moment)
            ::kill(::getpid(), SIGKILL);
    });
}

int ScriptedRun::prepare(const platform::DesktopScenario& scenario, const RunScript& script)
{
    if (!prepareRunDirectory())
        return failed;
    const QDir run(runDirectory_);

    previousMessageHandler_ = qInstallMessageHandler(handleMessage);
    gActiveRun = this;

    // Virtual time starts at the wall clock's current second.
    QDateTime start = QDateTime::currentDateTimeUtc();
    start.setTime(QTime(start.time().hour(), start.time().minute(), start.time().second()));
    scheduler_ = std::make_unique<ManualScheduler>(start);
    desktop_ = std::make_unique<platform::SimulatedDesktop>(*scheduler_, run.filePath("desktop"));
    // The system's settings outlive a killed run, as on a machine.
    desktop_->keepDefaultsDomainsIn(
        QDir(run.filePath("desktop")).filePath(QString::fromUtf8(platform::SimulatedDesktop::defaultsDomainsFileName)));
    if (options_.killAtCommandMoment)
        killAtCommandMoment(*options_.killAtCommandMoment);
    const QString scenarioError = desktop_->applyScenario(scenario);
    if (!scenarioError.isEmpty()) {
        error_ = QStringLiteral("desktop scenario: ") + scenarioError;
        return invalidInput;
    }
    // Which applications are installed is known once the desktop stands.
    if (const std::optional<QString> notInstalled = script.uninstalledApplication([this](const QString& bundleID) {
            return desktop_->workspace().urlForApplication(bundleID).has_value();
        })) {
        error_ = QStringLiteral("script: ") + *notInstalled;
        return invalidInput;
    }
    time_ = std::make_unique<VirtualTimeDriver>(*scheduler_, *desktop_);
    controls_ = std::make_unique<ScriptedControlInput>(*desktop_);
    timeForEntries_ = time_.get();

    bool storeFailed = false;
    VeskAppEnvironment environment{desktop_->interfaces(),
                                   *scheduler_,
                                   *scheduler_,
                                   std::make_shared<SchedulerSessionTimerFactory>(*scheduler_),
                                   run.filePath(ModelContainer::storeFileName),
                                   run.filePath("defaults"),
                                   [&](int) { storeFailed = true; }};
    environment.instanceLock = instanceLock_;
    environment.analyticsCacheFilePath = run.filePath("caches/telemetrysignalcache");
    environment.desktopDirectory = run.filePath("Desktop");
    environment.endpoints = endpoints_;
    environment.analyticsTestMode = true;
    environment.writeFailed = [this](const QString& failure) { recordDataFailure(failure); };
    app_ = std::make_unique<VeskApp>(std::move(environment));
    if (storeFailed || !app_->isReady()) {
        error_ = QStringLiteral("the session store in %1 could not be opened").arg(runDirectory_);
        return failed;
    }
    if (options_.storeFaults)
        app_->modelContainer().mainContext().setFaultInjector(options_.storeFaults);
    if (script.language())
        app_->defaultsStore().setLanguage(*script.language());
    observeApplication();
    app_->launch();
    time_->settle();
    return succeeded;
}

void ScriptedRun::recordDataFailure(const QString& failure)
{
    ++dataFailures_;
    errors_.append(failure);
}

void ScriptedRun::observeApplication()
{
    SessionManager& manager = app_->sessionManager();
    auto session = [this](const QString& event, QJsonValue value) {
        record({{"kind", "session"}, {"event", event}, {"value", value}});
    };
    QObject::connect(&manager, &SessionManager::isStartingSessionChanged, &manager,
                     [session, &manager] { session("isStartingSession", manager.isStartingSession()); });
    QObject::connect(&manager, &SessionManager::isSessionActiveChanged, &manager,
                     [session, &manager] { session("isSessionActive", manager.isSessionActive()); });
    QObject::connect(&manager, &SessionManager::isHardcoreSessionChanged, &manager,
                     [session, &manager] { session("isHardcoreSession", manager.isHardcoreSession()); });
    QObject::connect(&manager, &SessionManager::pendingReflectionChanged, &manager, [session, &manager] {
        const auto& reflection = manager.pendingReflection();
        session("pendingReflection", reflection ? QJsonValue(toRaw(reflection->endReason)) : QJsonValue());
    });
    QObject::connect(&manager, &SessionManager::pendingAppLaunchPromptChanged, &manager, [session, &manager] {
        const auto& prompt = manager.pendingAppLaunchPrompt();
        session("pendingAppLaunchPrompt", prompt ? QJsonValue(prompt->bundleID) : QJsonValue());
    });

    platform::SimulatedDesktop& desktop = *desktop_;
    auto application = [this, &desktop](const QString& event, platform::ProcessID pid) {
        record({{"kind", "desktop"},
                {"event", event},
                {"pid", pid},
                {"bundleID", optionalText(bundleIdentifierOf(desktop, pid))}});
    };
    using Desktop = platform::SimulatedDesktop;
    QObject::connect(&desktop, &Desktop::applicationLaunched, &desktop,
                     [application](platform::ProcessID pid) { application("applicationLaunched", pid); });
    QObject::connect(&desktop, &Desktop::applicationTerminated, &desktop,
                     [application](platform::ProcessID pid) { application("applicationTerminated", pid); });
    QObject::connect(&desktop, &Desktop::applicationHidden, &desktop,
                     [application](platform::ProcessID pid) { application("applicationHidden", pid); });
    QObject::connect(&desktop, &Desktop::applicationUnhidden, &desktop,
                     [application](platform::ProcessID pid) { application("applicationUnhidden", pid); });
    QObject::connect(&desktop, &Desktop::activeSpaceChanged, &desktop, [this] {
        record({{"kind", "desktop"}, {"event", "activeSpaceChanged"}});
    });
    QObject::connect(&desktop, &Desktop::presentationOptionsChanged, &desktop, [this](int options) {
        record({{"kind", "desktop"}, {"event", "presentationOptions"}, {"value", options}});
    });
}

void ScriptedRun::execute(const ScriptStep& step)
{
    const double startedAt = time_->now();
    QJsonObject outcome = performStep(step);
    time_->settle();

    QJsonObject entry{{"kind", "step"}, {"index", step.index}, {"do", toRaw(step.action)}};
    if (step.at < startedAt)
        entry["scheduledAt"] = step.at;
    entry["at"] = startedAt;
    for (auto it = outcome.constBegin(); it != outcome.constEnd(); ++it)
        entry[it.key()] = it.value();
    entry["isSessionActive"] = app_->sessionManager().isSessionActive();
    entry["remainingSeconds"] = app_->sessionManager().remainingSeconds();
    if (outcome.contains("error"))
        errors_.append(QStringLiteral("steps[%1] (%2): %3")
                           .arg(step.index)
                           .arg(toRaw(step.action), outcome.value("error").toString()));
    std::lock_guard lock(timelineMutex_);
    timeline_.append(entry);
}

QJsonObject ScriptedRun::performStep(const ScriptStep& step)
{
    using Action = ScriptStep::Action;
    switch (step.action) {
    case Action::startSession: {
        std::set<QString> apps(step.apps.begin(), step.apps.end());
        std::map<QString, QUrl> urls;
        for (const QString& bundleID : apps) {
            if (const auto url = desktop_->workspace().urlForApplication(bundleID))
                urls.emplace(bundleID, *url);
        }
        app_->sessionManager().startSession(step.durationSeconds, apps, urls, goalRule(step.goal), step.hardcore,
                                            step.setupSeconds);
        return {{"apps", QJsonArray::fromStringList(step.apps)},
                {"durationSeconds", step.durationSeconds},
                {"hardcore", step.hardcore}};
    }
    case Action::click:
    case Action::key:
        return clickOrKey(step);
    case Action::clickText:
        return controls_->clickText(step.text);
    case Action::type:
        return controls_->type(step.text);
    case Action::launch:
        return launch(step);
    case Action::quit:
        return quit(step);
    case Action::minimize:
    case Action::move:
        return changeMainWindow(step);
    case Action::switchSpace:
        return switchSpace(step);
    case Action::screenshot:
        return screenshot(step);
    case Action::advance:
        time_->advance(step.seconds);
        return {{"seconds", step.seconds}};
    case Action::sigterm:
        return sigterm();
    case Action::terminate:
        terminate(false);
        return {{"terminated", app_->isTerminated()}};
    }
    return {};
}

QJsonObject ScriptedRun::clickOrKey(const ScriptStep& step)
{
    platform::DesktopEventSystem& events = desktop_->events();
    QJsonObject result;
    platform::EventOutcome outcome;
    if (step.action == ScriptStep::Action::click) {
        desktop_->setMouseLocation(desktop_->cocoaPoint(step.point));
        outcome = events.click(step.point, step.button);
        result = {{"x", step.point.x()}, {"y", step.point.y()}, {"button", step.button}};
        if (const auto control = controls_->deliverClick(outcome, step.point, step.button))
            result["control"] = *control;
    } else {
        outcome = events.keyPress(step.keyCode, step.modifierFlags);
        result = {{"chord", step.chord}};
        deliverKeyToOwnWindow(outcome, step);
    }
    result["delivered"] = outcome.delivered;
    result["swallowed"] = outcome.swallowedByTap.has_value() || outcome.swallowedByMonitor;
    if (outcome.targetPID)
        result["targetBundleID"] = optionalText(bundleIdentifierOf(*desktop_, *outcome.targetPID));
    if (outcome.targetWindow)
        result["targetWindow"] = qint64(*outcome.targetWindow);
    return result;
}

namespace {

Qt::KeyboardModifiers qtModifiers(std::uint64_t flags)
{
    Qt::KeyboardModifiers modifiers;
    modifiers.setFlag(Qt::ShiftModifier, flags & platform::EventFlag::shift);
    modifiers.setFlag(Qt::ControlModifier, flags & platform::EventFlag::control);
    modifiers.setFlag(Qt::MetaModifier, flags & platform::EventFlag::command);
    modifiers.setFlag(Qt::AltModifier, flags & platform::EventFlag::option);
    return modifiers;
}

} // namespace

// A key the desktop gave one of our windows reaches its widgets, as the
// window system would hand it over: pressed and released.
void ScriptedRun::deliverKeyToOwnWindow(const platform::EventOutcome& outcome, const ScriptStep& step)
{
    if (!outcome.delivered || outcome.targetPID != desktop_->ownPID() || !outcome.targetWindow)
        return;
    QWindow* window = desktop_->ownWindowHandle(*outcome.targetWindow);
    const std::optional<int> key = platform::qtKeyForVirtualKeyCode(step.keyCode);
    if (!window || !key)
        return;
    const Qt::KeyboardModifiers modifiers = qtModifiers(step.modifierFlags);
    QKeyEvent press(QEvent::KeyPress, *key, modifiers);
    QCoreApplication::sendEvent(window, &press);
    QKeyEvent release(QEvent::KeyRelease, *key, modifiers);
    QCoreApplication::sendEvent(window, &release);
}

QJsonObject ScriptedRun::launch(const ScriptStep& step)
{
    const auto url = desktop_->workspace().urlForApplication(step.bundleID);
    if (!url)
        return errorOutcome(
            QStringLiteral("no application with the bundle identifier %1 is installed").arg(step.bundleID));
    desktop_->workspace().openApplication(*url, platform::OpenConfiguration{}, {});
    return {{"bundleID", step.bundleID}};
}

QJsonObject ScriptedRun::quit(const ScriptStep& step)
{
    const platform::DesktopApplication* application = desktop_->runningApplication(step.bundleID);
    if (!application)
        return errorOutcome(QStringLiteral("%1 is not running").arg(step.bundleID));
    const bool requested = desktop_->terminate(application->pid);
    return {{"bundleID", step.bundleID}, {"requested", requested}};
}

QJsonObject ScriptedRun::changeMainWindow(const ScriptStep& step)
{
    const platform::DesktopApplication* application = desktop_->runningApplication(step.bundleID);
    if (!application)
        return errorOutcome(QStringLiteral("%1 is not running").arg(step.bundleID));
    const auto number = desktop_->mainWindow(application->pid);
    const platform::DesktopWindow* window = number ? desktop_->window(*number) : nullptr;
    if (!window)
        return errorOutcome(QStringLiteral("%1 has no window").arg(step.bundleID));
    QJsonObject result{{"bundleID", step.bundleID}, {"window", qint64(*number)}};
    if (step.action == ScriptStep::Action::minimize) {
        desktop_->setWindowMinimized(*number, true);
        return result;
    }
    const QRectF bounds(step.point, QSizeF(step.width.value_or(window->bounds.width()),
                                           step.height.value_or(window->bounds.height())));
    desktop_->setWindowBounds(*number, bounds);
    result["bounds"] = QJsonArray{bounds.x(), bounds.y(), bounds.width(), bounds.height()};
    return result;
}

QJsonObject ScriptedRun::switchSpace(const ScriptStep& step)
{
    const auto& displays = desktop_->displays();
    if (step.display >= static_cast<int>(displays.size()))
        return errorOutcome(
            QStringLiteral("there is no display %1 (the desktop has %2)").arg(step.display).arg(displays.size()));
    const platform::DesktopDisplay& display = displays.at(static_cast<size_t>(step.display));
    bool switched = false;
    if (step.space) {
        if (*step.space >= static_cast<int>(display.spaceIDs.size()))
            return errorOutcome(QStringLiteral("display %1 has no Space %2 (it has %3)")
                                    .arg(step.display)
                                    .arg(*step.space)
                                    .arg(display.spaceIDs.size()));
        switched = desktop_->switchToSpace(display.spaceIDs.at(static_cast<size_t>(*step.space)));
    } else {
        switched = desktop_->switchToAdjacentSpace(step.display, step.spaceStep);
    }
    return {{"display", step.display},
            {"switched", switched},
            {"activeSpaceID", desktop_->activeSpaceID(step.display)}};
}

QJsonObject ScriptedRun::screenshot(const ScriptStep& step)
{
    const QDir directory(QDir(runDirectory_).filePath("screenshots"));
    if (!QDir().mkpath(directory.path()))
        return errorOutcome(QStringLiteral("cannot create %1").arg(directory.path()));
    const std::vector<QImage> images = platform::DesktopScreenCapturer(*desktop_).captureAll();
    QJsonArray paths;
    for (size_t index = 0; index < images.size(); ++index) {
        const QString path = directory.absoluteFilePath(QStringLiteral("%1-display%2.png").arg(step.name).arg(index));
        // Encoded first and written whole, so a file that is listed is a whole image.
        QByteArray png;
        QBuffer buffer(&png);
        std::optional<QString> failure;
        if (!buffer.open(QIODevice::WriteOnly) || !images[index].save(&buffer, "PNG"))
            failure = QStringLiteral("cannot encode %1").arg(path);
        else
            failure = writeFileAtomically(path, png);
        if (failure) {
            ++dataFailures_;
            return errorOutcome(*failure);
        }
        paths.append(path);
    }
    screenshots_[step.name] = paths;
    return {{"name", step.name}, {"paths", paths}};
}

QJsonObject ScriptedRun::sigterm()
{
    const int before = app_->delegate().handledSigtermCount();
    ::raise(SIGTERM);
    // The handler has written to the self-pipe; the notifier runs on a turn of the event loop.
    for (int turn = 0; turn < 100 && app_->delegate().handledSigtermCount() == before; ++turn)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const bool handled = app_->delegate().handledSigtermCount() > before;
    QJsonObject result{{"handled", handled}, {"presentationOptions", desktop_->presentationOptions()}};
    if (!handled)
        result["error"] = QStringLiteral("the SIGTERM notice did not reach the main thread");
    return result;
}

void ScriptedRun::terminate(bool implicit)
{
    if (implicit)
        record({{"kind", "step"}, {"do", "terminate"}, {"implicit", true}});
    app_->requestTermination();
    time_->settle();
}

QJsonObject ScriptedRun::buildReport()
{
    QJsonObject report;
    // The sessions as the store holds them, read afresh from the file: what
    // the application kept only in memory (a save that failed) is not there.
    StoreResult<std::unique_ptr<ModelContainer>> stored = ModelContainer::open(app_->modelContainer().path());
    QString storeError = stored ? QString() : stored.error().description;
    if (stored)
        report["sessions"] = RunReportWriter::sessions(stored.value()->mainContext(), &storeError);
    if (!storeError.isEmpty())
        recordDataFailure(QStringLiteral("reading the session store: ") + storeError);
    report["settings"] = RunReportWriter::settings(app_->defaultsStore());
    report["defaults"] = RunReportWriter::defaults(*desktop_, app_->standardDefaults());
    report["presentationOptions"] = desktop_->presentationOptions();
    report["windows"] = RunReportWriter::windows(*desktop_);
    report["runningApplications"] = RunReportWriter::runningApplications(*desktop_);
    report["logFile"] = VeskLogFileStore::shared().currentLogURL().toLocalFile();
    report["screenshots"] = screenshots_;
    report["terminated"] = app_->isTerminated();
    report["endedAt"] = time_->now();
    report["runDirectory"] = runDirectory_;
    report["endpoints"] = endpoints_.toJson();
    report["errors"] = errors_;
    std::lock_guard lock(timelineMutex_);
    report["timeline"] = timeline_;
    return report;
}

void ScriptedRun::record(QJsonObject entry)
{
    entry["at"] = timelineTime();
    {
        std::lock_guard lock(timelineMutex_);
        timeline_.append(entry);
    }
    if (VirtualTimeDriver* time = timeForEntries_.load())
        time->requestSettle();
}

double ScriptedRun::timelineTime() const
{
    // Other threads see the time the main thread last read.
    if (!isMainThread() || !scheduler_)
        return lastMainThreadTime_.load();
    const double now = scheduler_->uptime();
    lastMainThreadTime_.store(now);
    return now;
}

void ScriptedRun::handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    ScriptedRun* run = gActiveRun.load();
    if (!run)
        return;
    const QString category = QString::fromUtf8(context.category ? context.category : "default");
    if (const std::optional<QString> component = VeskLogger::componentOfCategory(category))
        run->record({{"kind", "log"}, {"component", *component}, {"level", levelText(type)}, {"message", message}});
    // The log file keeps every row; the terminal shows only what needs
    // attention. The headless platform's notes on window operations it does
    // not have (raising a window, say) are expected in a headless run.
    const bool headlessPlatformNote = message.startsWith(QLatin1String("This plugin does not support"));
    if (type != QtDebugMsg && type != QtInfoMsg && !headlessPlatformNote && run->previousMessageHandler_)
        run->previousMessageHandler_(type, context, message);
}

} // namespace vesk
