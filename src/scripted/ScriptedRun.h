#pragma once

#include "scripted/RunScript.h"
#include "store/ModelContext.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>

namespace vesk::platform {
class SimulatedDesktop;
struct DesktopScenario;
struct EventOutcome;
} // namespace vesk::platform

namespace vesk {

class InstanceLock;
class ManualScheduler;
class RunMemoryFolders;
class VeskApp;
class ScriptedControlInput;
class VirtualTimeDriver;

struct ScriptedRunOptions {
    // The desktop scenario; empty for the default scenario.
    QString desktopPath;
    QString scriptPath;
    QString reportPath;
    // Where the run keeps its store, settings, bundles and screenshots;
    // empty for "<report folder>/<report name>-run". It must be new or made
    // by an earlier run (see RunDirectory).
    QString runDirectory;
    // Tests: makes the store's fetches or saves fail, as a full disk would.
    StoreFaultInjector storeFaults = {};
    // Launches again on the run folder of an earlier run (one that was killed,
    // say) instead of emptying it: its store, settings, logs and the desktop's
    // defaults domains stay, so this launch's recovery finds what it left.
    bool relaunch = false;
    // Tests of the recovery: the process ends with SIGKILL at that moment of
    // the desktop's command-line tools, counted from 0 before and after each
    // command they run (the system settings' reads and writes, the Dock's
    // restarts), as a crash there would end it.
    std::optional<int> killAtCommandMoment = {};
};

// Runs the whole application headless on the simulated desktop in virtual
// time, as fast as it can, through the steps of a script, and writes a report
// of what came out. The run always ends with the application's termination:
// the script's own "terminate" step or one after its last step. The report's
// sessions are what the store holds afterwards; a store, settings or
// screenshot write that did not reach the disk is listed in its errors and
// fails the run.
class ScriptedRun {
public:
    // Exit statuses of the run.
    static constexpr int succeeded = 0;
    static constexpr int failed = 1;
    static constexpr int invalidInput = 2;

    explicit ScriptedRun(ScriptedRunOptions options);
    ~ScriptedRun();
    ScriptedRun(const ScriptedRun&) = delete;
    ScriptedRun& operator=(const ScriptedRun&) = delete;

    // "<report folder>/<report name>-run".
    static QString defaultRunDirectory(const QString& reportPath);

    int run();
    // Why the run failed; empty after a successful run.
    const QString& error() const { return error_; }
    // Whether the report was written (also by a run that failed for lost writes).
    bool wroteReport() const { return !report_.isEmpty(); }
    const QString& runDirectory() const { return runDirectory_; }
    // A few lines for the terminal: the sessions, the screenshots, the log file.
    QString summary() const;
    // The report as written.
    const QJsonObject& report() const { return report_; }

    // The services a run reaches: those the script names, else those the
    // environment names; none besides. A run never reaches a service of its
    // own accord, and its analytics signals are marked as test signals.
    static ServiceEndpoints endpointsFor(const RunScript& script);

private:
    int prepare(const platform::DesktopScenario& scenario, const RunScript& script);
    bool prepareRunDirectory();
    void killAtCommandMoment(int moment);
    // Ends the application and writes out its log rows; then the folders kept
    // in memory move into the run folder.
    void closeApplication();
    std::optional<QString> closeMemoryFolders();
    // A write that did not reach the disk, or the store that could not be read back.
    void recordDataFailure(const QString& failure);
    void execute(const ScriptStep& step);
    QJsonObject performStep(const ScriptStep& step);
    QJsonObject clickOrKey(const ScriptStep& step);
    void deliverKeyToOwnWindow(const platform::EventOutcome& outcome, const ScriptStep& step);
    QJsonObject launch(const ScriptStep& step);
    QJsonObject quit(const ScriptStep& step);
    QJsonObject changeMainWindow(const ScriptStep& step);
    QJsonObject switchSpace(const ScriptStep& step);
    QJsonObject screenshot(const ScriptStep& step);
    QJsonObject sigterm();
    void terminate(bool implicit);
    void observeApplication();
    QJsonObject buildReport();

    void record(QJsonObject entry);
    double timelineTime() const;
    static void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message);

    ScriptedRunOptions options_;
    QString runDirectory_;
    ServiceEndpoints endpoints_;
    QString error_;
    QJsonObject report_;

    std::shared_ptr<InstanceLock> instanceLock_;
    std::unique_ptr<RunMemoryFolders> memoryFolders_;
    std::unique_ptr<ManualScheduler> scheduler_;
    std::unique_ptr<platform::SimulatedDesktop> desktop_;
    std::unique_ptr<VirtualTimeDriver> time_;
    std::unique_ptr<ScriptedControlInput> controls_;
    // The driver as the log messages of any thread reach it: a new timeline
    // entry asks it to turn the event loop at the end of its slice.
    std::atomic<VirtualTimeDriver*> timeForEntries_{nullptr};
    std::unique_ptr<VeskApp> app_;

    mutable std::mutex timelineMutex_;
    QJsonArray timeline_;
    QJsonObject screenshots_;
    // Step errors and data failures, as they happened.
    QJsonArray errors_;
    int dataFailures_ = 0;
    mutable std::atomic<double> lastMainThreadTime_{0};
    QtMessageHandler previousMessageHandler_ = nullptr;
};

} // namespace vesk
