#include "logging/VeskLogFileStore.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace vesk {

namespace {

const QString kComponent = QStringLiteral("VeskLogFileStore");
// Same-second files are numbered "-2", "-3", ...; this bounds the search.
constexpr int kMaxSameSecondFiles = 1000;

// The store's own reports go to the default category and never into a file.
void reportInfo(const QString& text)
{
    qInfo().noquote() << QStringLiteral("[VeskLogFileStore] ") + text;
}

void reportError(const QString& text)
{
    qCritical().noquote() << QStringLiteral("[VeskLogFileStore] ") + text;
}

QString escapeCell(QString text)
{
    text.replace(QLatin1Char('|'), QStringLiteral("\\|"));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    text.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    text.replace(QLatin1Char('\r'), QStringLiteral("<br>"));
    return text;
}

QString timestampText(const QDateTime& date)
{
    return date.toUTC().toString(Qt::ISODateWithMs);
}

QString absolutePath(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Writes `content` to a new file named after `baseName` in `directory` in one
// atomic step, never replacing an existing file: when the name is taken, the
// next free numbered name is used. Returns the path, or the error in `error`.
std::optional<QString> createFileAtomically(const QString& directory, const QString& baseName,
                                            const QByteArray& content, QString& target, QString& error)
{
    target = directory + QLatin1Char('/') + baseName + QStringLiteral(".md");
    QTemporaryFile temporary(directory + QStringLiteral("/.") + baseName + QStringLiteral("-XXXXXX.tmp"));
    if (!temporary.open() || temporary.write(content) != content.size() || !temporary.flush()
        || ::fsync(temporary.handle()) != 0) {
        error = temporary.errorString();
        return std::nullopt;
    }
    temporary.close();
    for (int number = 1; number <= kMaxSameSecondFiles; ++number) {
        if (number > 1)
            target = directory + QLatin1Char('/') + baseName + QLatin1Char('-') + QString::number(number)
                     + QStringLiteral(".md");
        QFile file(temporary.fileName());
        if (file.rename(target)) {
            temporary.setAutoRemove(false);
            return target;
        }
        if (!QFileInfo::exists(target)) {
            error = file.errorString();
            return std::nullopt;
        }
    }
    error = QStringLiteral("too many log files started within the same second");
    return std::nullopt;
}

} // namespace

VeskLogFileStore::Environment VeskLogFileStore::Environment::ofProcess()
{
    Environment environment;
    environment.logsDirectory = qEnvironmentVariable("VESK_LOGS_DIR");
    environment.projectRoot = qEnvironmentVariable("VESK_PROJECT_ROOT");
    environment.currentDirectory = QDir::currentPath();
    environment.applicationSupportDirectory = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return environment;
}

VeskLogFileStore::VeskLogFileStore(EnvironmentProvider environment, std::shared_ptr<const Clock> clock,
                                   QTimeZone fileNameTimeZone)
    : environment_(std::move(environment))
    , clock_(std::move(clock))
    , fileNameTimeZone_(std::move(fileNameTimeZone))
    , queue_(QString::fromLatin1(queueLabel))
{
    queue_.sync([this] { rotateLogFileLocked(QStringLiteral("app-launch")); });
}

VeskLogFileStore& VeskLogFileStore::shared()
{
    // Never destroyed: loggers may still be used while other statics go away.
    static VeskLogFileStore* const store =
        new VeskLogFileStore(&Environment::ofProcess, std::make_shared<SystemClock>());
    return *store;
}

void VeskLogFileStore::enqueueWrite(VeskLogLevel level, const QString& component, const QString& message)
{
    queue_.async([this, level, component, message] { write(level, component, message); });
}

void VeskLogFileStore::logSessionStart(int durationSeconds, const std::set<QString>& allowedBundleIDs)
{
    // A std::set iterates in ascending order already.
    const QStringList identifiers(allowedBundleIDs.begin(), allowedBundleIDs.end());
    const QString marker = QStringLiteral("=== SESSION START === duration=%1s, allowedApps=[%2]")
                               .arg(durationSeconds)
                               .arg(identifiers.join(QStringLiteral(", ")));
    queue_.sync([this, &marker] {
        if (!currentLogPath_)
            rotateLogFileLocked(QStringLiteral("session-start"));
        if (currentLogPath_)
            appendToLogFile(row(QStringLiteral("INFO"), kComponent, marker), *currentLogPath_);
    });
}

QUrl VeskLogFileStore::currentLogURL()
{
    QUrl url;
    queue_.sync([this, &url] {
        if (currentLogPath_)
            url = QUrl::fromLocalFile(*currentLogPath_);
    });
    return url;
}

void VeskLogFileStore::drain()
{
    queue_.sync([] {});
}

void VeskLogFileStore::write(VeskLogLevel level, const QString& component, const QString& message)
{
    if (!currentLogPath_)
        rotateLogFileLocked(QStringLiteral("auto-recover"));
    if (!currentLogPath_) {
        reportError(QStringLiteral("write: currentLogURL is nil — log entry dropped: ") + message);
        return;
    }
    appendToLogFile(row(logLevelLabel(level), component, message), *currentLogPath_);
}

QString VeskLogFileStore::row(const QString& label, const QString& component, const QString& message) const
{
    return QStringLiteral("| %1 | %2 | %3 | %4 |\n")
        .arg(timestampText(clock_->now()), label, escapeCell(component), escapeCell(message));
}

QString VeskLogFileStore::header(const QDateTime& createdAt, const QString& reason, const QString& directory) const
{
    return QStringLiteral("# VESK Debug Log\n"
                          "\n"
                          "- createdAt: %1\n"
                          "- reason: %2\n"
                          "- logDirectory: %3\n"
                          "\n"
                          "| timestamp | level | component | message |\n"
                          "| --- | --- | --- | --- |\n")
        .arg(timestampText(createdAt), reason, directory);
}

void VeskLogFileStore::rotateLogFileLocked(const QString& reason)
{
    const std::optional<QString> directory = resolveLogsDirectory();
    if (!directory) {
        reportError(QStringLiteral("rotateLogFileLocked FAILED — no writable logs directory for reason=") + reason);
        return;
    }
    const QDateTime createdAt = clock_->now();
    const QString baseName = QStringLiteral("vesk-log-")
                             + createdAt.toTimeZone(fileNameTimeZone_).toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    QString target;
    QString error;
    const std::optional<QString> created =
        createFileAtomically(*directory, baseName, header(createdAt, reason, *directory).toUtf8(), target, error);
    currentLogPath_ = created;
    if (created)
        reportInfo(QStringLiteral("Log file created: ") + *created);
    else
        reportError(QStringLiteral("Failed to create log file at %1: %2").arg(target, error));
}

std::optional<QString> VeskLogFileStore::resolveLogsDirectory()
{
    const Environment environment = environment_();

    if (!environment.logsDirectory.isEmpty()) {
        const QString candidate = absolutePath(environment.logsDirectory);
        if (ensureWritableDirectory(candidate)) {
            selectDirectory(candidate, QStringLiteral("env:VESK_LOGS_DIR"));
            return candidate;
        }
        reportError(QStringLiteral("VESK_LOGS_DIR not writable: ") + environment.logsDirectory);
    }

    if (!environment.projectRoot.isEmpty()) {
        const QString candidate = absolutePath(environment.projectRoot + QStringLiteral("/docs/LOGS"));
        if (ensureWritableDirectory(candidate)) {
            selectDirectory(candidate, QStringLiteral("env:VESK_PROJECT_ROOT"));
            return candidate;
        }
        reportError(QStringLiteral("VESK_PROJECT_ROOT/docs/LOGS not writable: ") + candidate);
    }

    if (const auto candidate = projectLogsDirectory(environment.currentDirectory)) {
        selectDirectory(*candidate, QStringLiteral("cwd-traversal"));
        return candidate;
    }

    if (!environment.applicationSupportDirectory.isEmpty()) {
        const QString candidate = absolutePath(environment.applicationSupportDirectory + QStringLiteral("/VESK/LOGS"));
        if (ensureWritableDirectory(candidate)) {
            selectDirectory(candidate, QStringLiteral("application-support"));
            return candidate;
        }
        reportError(QStringLiteral("Application Support fallback not writable: ") + candidate);
    }

    reportError(QStringLiteral("FATAL: Could not resolve ANY writable logs directory — all log entries will be lost"));
    return std::nullopt;
}

// Walks up from `startDirectory` (itself and at most seven ancestors) to a
// project folder, one holding both "AGENTS.md" and the project file, and
// takes its "docs/LOGS" when usable.
std::optional<QString> VeskLogFileStore::projectLogsDirectory(const QString& startDirectory)
{
    QString directory = absolutePath(startDirectory);
    reportInfo(QStringLiteral("CWD traversal starting from: ") + directory);
    constexpr int kMaxDirectories = 8;
    for (int examined = 0; examined < kMaxDirectories; ++examined) {
        const QDir dir(directory);
        if (QFileInfo::exists(dir.filePath(QStringLiteral("AGENTS.md")))
            && QFileInfo::exists(dir.filePath(QStringLiteral("macOS_theVesk_v1.xcodeproj")))) {
            const QString candidate = dir.filePath(QStringLiteral("docs/LOGS"));
            if (ensureWritableDirectory(candidate))
                return candidate;
            reportError(QStringLiteral("Project root found but docs/LOGS not writable: ") + candidate);
        }
        const QString parent = QDir::cleanPath(directory + QStringLiteral("/.."));
        if (parent == directory)
            break;
        directory = parent;
    }
    return std::nullopt;
}

bool VeskLogFileStore::ensureWritableDirectory(const QString& path)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(path).toStdString()), error);
    if (error) {
        reportError(
            QStringLiteral("Failed to create directory %1: %2").arg(path, QString::fromStdString(error.message())));
        return false;
    }
    // An existing directory we may not write to would swallow every file; skip it.
    if (::access(QFile::encodeName(path).constData(), W_OK | X_OK) != 0) {
        reportError(QStringLiteral("Failed to create directory %1: directory is not writable").arg(path));
        return false;
    }
    return true;
}

void VeskLogFileStore::selectDirectory(const QString& path, const QString& source)
{
    if (didLogDirectorySelection_)
        return;
    didLogDirectorySelection_ = true;
    reportInfo(QStringLiteral("Log directory resolved: %1 (source=%2)").arg(path, source));
}

void VeskLogFileStore::appendToLogFile(const QString& row, const QString& path)
{
    QFile file(path);
    const QByteArray data = row.toUtf8();
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly)
                         && file.write(data) == data.size() && file.flush() && ::fsync(file.handle()) == 0;
    if (!written) {
        const QString description =
            file.error() != QFileDevice::NoError ? file.errorString() : QString::fromLocal8Bit(strerror(errno));
        reportError(QStringLiteral("Failed to append log entry: ") + description);
    }
}

} // namespace vesk
