#pragma once

#include "core/Clock.h"
#include "core/SerialQueue.h"
#include "logging/VeskLogLevel.h"

#include <QString>
#include <QTimeZone>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <set>

namespace vesk {

// Keeps the current Markdown log file and appends one table row per log call.
// All file work runs on the serial queue "de.pelko.vesk.log-file"; callers
// never wait for the disk except at creation, at the session-start marker, in
// drain() and when reading the current file.
class VeskLogFileStore {
public:
    // What the choice of the log directory reads. It is looked up afresh for
    // every new file.
    struct Environment {
        QString logsDirectory; // VESK_LOGS_DIR
        QString projectRoot;   // VESK_PROJECT_ROOT
        QString currentDirectory;
        QString applicationSupportDirectory; // empty when the system names none

        // The process's environment variables, working directory and app data folder.
        static Environment ofProcess();
    };
    using EnvironmentProvider = std::function<Environment()>;

    static constexpr const char* queueLabel = "de.pelko.vesk.log-file";

    // Starts the "app-launch" file before returning (or fails to, and reports why).
    VeskLogFileStore(EnvironmentProvider environment, std::shared_ptr<const Clock> clock,
                     QTimeZone fileNameTimeZone = QTimeZone::systemTimeZone());
    ~VeskLogFileStore() = default;
    VeskLogFileStore(const VeskLogFileStore&) = delete;
    VeskLogFileStore& operator=(const VeskLogFileStore&) = delete;

    // The application's store, created on first use; it lives until the process ends.
    static VeskLogFileStore& shared();

    // Queues one row for the current file and returns at once.
    void enqueueWrite(VeskLogLevel level, const QString& component, const QString& message);
    // Writes the session-start marker row (file only, never the system log)
    // and returns once it has been handled.
    void logSessionStart(int durationSeconds, const std::set<QString>& allowedBundleIDs);
    // The current log file, or an empty URL when there is none.
    QUrl currentLogURL();
    // Returns once every row queued before the call has been written.
    void drain();
    SerialQueue& queue() { return queue_; }

private:
    void write(VeskLogLevel level, const QString& component, const QString& message);
    void rotateLogFileLocked(const QString& reason);
    std::optional<QString> resolveLogsDirectory();
    std::optional<QString> projectLogsDirectory(const QString& startDirectory);
    bool ensureWritableDirectory(const QString& path);
    void appendToLogFile(const QString& row, const QString& path);
    void selectDirectory(const QString& path, const QString& source);
    QString header(const QDateTime& createdAt, const QString& reason, const QString& directory) const;
    QString row(const QString& label, const QString& component, const QString& message) const;

    EnvironmentProvider environment_;
    std::shared_ptr<const Clock> clock_;
    QTimeZone fileNameTimeZone_;
    // Used only on queue_.
    bool didLogDirectorySelection_ = false;
    std::optional<QString> currentLogPath_;
    // Last member: its thread is joined before the state it works on goes away.
    SerialQueue queue_;
};

} // namespace vesk
