#include "logging/VeskLogFileStore.h"

#include "LogCapture.h"
#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <unistd.h>

using namespace vesk;
using vesk::test::LogCapture;

namespace {

// A clock the test sets; read on the log queue.
class TestClock final : public Clock {
public:
    explicit TestClock(QDateTime start) : msecs_(start.toMSecsSinceEpoch()) { }
    QDateTime now() const override { return QDateTime::fromMSecsSinceEpoch(msecs_, Qt::UTC); }
    void advance(qint64 msecs) { msecs_ += msecs; }

private:
    std::atomic<qint64> msecs_;
};

const QDateTime kStart(QDate(2026, 1, 5), QTime(9, 0), Qt::UTC);
const QString kFirstName = QStringLiteral("vesk-log-2026-01-05_09-00-00.md");

QString readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QStringList logFiles(const QString& directory)
{
    return QDir(directory).entryList({QStringLiteral("vesk-log-*.md")}, QDir::Files, QDir::Name);
}

QString headerText(const QString& createdAt, const QString& reason, const QString& directory)
{
    return QStringLiteral("# VESK Debug Log\n\n- createdAt: %1\n- reason: %2\n- logDirectory: %3\n\n"
                          "| timestamp | level | component | message |\n| --- | --- | --- | --- |\n")
        .arg(createdAt, reason, directory);
}

class VeskLogFileStoreTest : public ::testing::Test {
protected:
    QString path(const QString& relative) const { return root.path() + QLatin1Char('/') + relative; }

    // A path that can never become a directory: it lies under a regular file.
    QString blockedPath(const QString& name)
    {
        const QString blocker = path(QStringLiteral("blocker-") + name);
        QFile file(blocker);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return blocker + QStringLiteral("/logs");
    }

    std::unique_ptr<VeskLogFileStore> makeStore()
    {
        return std::make_unique<VeskLogFileStore>([this] { return environment; }, clock, QTimeZone::utc());
    }

    QStringList reports() const
    {
        QStringList texts = capture.defaultCategoryMessages();
        for (QString& text : texts)
            text.remove(QStringLiteral("[VeskLogFileStore] "));
        return texts;
    }

    QTemporaryDir root;
    LogCapture capture;
    std::shared_ptr<TestClock> clock = std::make_shared<TestClock>(kStart);
    VeskLogFileStore::Environment environment{path(QStringLiteral("logs")), {}, path(QString()), {}};
};

TEST_F(VeskLogFileStoreTest, StartsTheLaunchFileWithHeaderAndAppendsRows)
{
    const QString logs = path(QStringLiteral("nested/logs"));
    environment.logsDirectory = logs;
    auto store = makeStore();
    EXPECT_EQ(store->currentLogURL(), QUrl::fromLocalFile(logs + QLatin1Char('/') + kFirstName));

    clock->advance(1234);
    store->enqueueWrite(VeskLogLevel::debug, QStringLiteral("AppDelegate"), QStringLiteral("Launched — pid=42"));
    store->enqueueWrite(VeskLogLevel::info, QStringLiteral("B"), QStringLiteral("two"));
    store->enqueueWrite(VeskLogLevel::warning, QStringLiteral("C"), QStringLiteral("three"));
    store->enqueueWrite(VeskLogLevel::error, QStringLiteral("D"), QStringLiteral("four"));
    store->drain();

    EXPECT_EQ(readFile(logs + QLatin1Char('/') + kFirstName),
              headerText(QStringLiteral("2026-01-05T09:00:00.000Z"), QStringLiteral("app-launch"), logs)
                  + QStringLiteral("| 2026-01-05T09:00:01.234Z | DEBUG | AppDelegate | Launched — pid=42 |\n"
                                   "| 2026-01-05T09:00:01.234Z | INFO | B | two |\n"
                                   "| 2026-01-05T09:00:01.234Z | WARNING | C | three |\n"
                                   "| 2026-01-05T09:00:01.234Z | ERROR | D | four |\n"));
    EXPECT_EQ(reports(), (QStringList{QStringLiteral("Log directory resolved: %1 (source=env:VESK_LOGS_DIR)").arg(logs),
                                      QStringLiteral("Log file created: %1/%2").arg(logs, kFirstName)}));
}

TEST_F(VeskLogFileStoreTest, EscapesBarsAndLineBreaksInComponentAndMessage)
{
    const struct {
        QString component;
        QString message;
        QString row;
    } cases[] = {
        {"C", "a|b\r\nc", "| C | a\\|b<br>c |"},
        {"C", "lone\rcr and lone\nlf", "| C | lone<br>cr and lone<br>lf |"},
        {"C", "\n\r", "| C | <br><br> |"},
        {"C", "\r\n\r\n", "| C | <br><br> |"},
        {"Pipe|Name", "ok", "| Pipe\\|Name | ok |"},
        {"Multi\nLine", "<b>*not* markdown-escaped*</b>", "| Multi<br>Line | <b>*not* markdown-escaped*</b> |"},
    };
    auto store = makeStore();
    for (const auto& c : cases)
        store->enqueueWrite(VeskLogLevel::info, c.component, c.message);
    store->drain();

    const QStringList lines = readFile(store->currentLogURL().toLocalFile()).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 8 + int(std::size(cases)) + 1);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(lines[8 + int(i)], QStringLiteral("| 2026-01-05T09:00:00.000Z | INFO ") + cases[i].row)
            << cases[i].message.toStdString();
}

TEST_F(VeskLogFileStoreTest, SessionStartMarkersAreRowsOfTheCurrentFile)
{
    auto store = makeStore();
    store->enqueueWrite(VeskLogLevel::info, QStringLiteral("A"), QStringLiteral("before"));
    store->logSessionStart(0, {});
    store->logSessionStart(1800,
                           {QStringLiteral("com.zeta"), QStringLiteral("com.alpha|x"), QStringLiteral("com.Mid")});

    const QString logs = path(QStringLiteral("logs"));
    EXPECT_EQ(logFiles(logs), QStringList{kFirstName});
    const QString content = readFile(logs + QLatin1Char('/') + kFirstName);
    EXPECT_TRUE(content.endsWith(QStringLiteral(
        "| A | before |\n"
        "| 2026-01-05T09:00:00.000Z | INFO | VeskLogFileStore | === SESSION START === duration=0s, allowedApps=[] |\n"
        "| 2026-01-05T09:00:00.000Z | INFO | VeskLogFileStore | === SESSION START === "
        "duration=1800s, allowedApps=[com.Mid, com.alpha\\|x, com.zeta] |\n")))
        << content.toStdString();
    EXPECT_FALSE(capture.contains(QStringLiteral("SESSION START")));
}

TEST_F(VeskLogFileStoreTest, ResolvesTheLogDirectoryInOrder)
{
    enum class Setup { usable, empty, blocked };
    const struct {
        const char* name;
        Setup logsDir;
        Setup projectRoot;
        int projectDepth; // levels of the working directory below a project folder; -1: none
        bool appSupport;
        const char* expectedRelative; // under the temp root; nullptr: none usable
        const char* source;
        QStringList errors; // "%L" the blocked VESK_LOGS_DIR value, "%P" the blocked project candidate
    } cases[] = {
        {"logs dir first", Setup::usable, Setup::usable, 0, true, "logs", "env:VESK_LOGS_DIR", {}},
        {"empty logs dir is ignored silently",
         Setup::empty,
         Setup::usable,
         0,
         true,
         "root/docs/LOGS",
         "env:VESK_PROJECT_ROOT",
         {}},
        {"blocked logs dir falls through",
         Setup::blocked,
         Setup::usable,
         -1,
         true,
         "root/docs/LOGS",
         "env:VESK_PROJECT_ROOT",
         {"VESK_LOGS_DIR not writable: %L"}},
        {"project folder seven levels up",
         Setup::blocked,
         Setup::blocked,
         7,
         true,
         "project/docs/LOGS",
         "cwd-traversal",
         {"VESK_LOGS_DIR not writable: %L", "VESK_PROJECT_ROOT/docs/LOGS not writable: %P"}},
        {"project folder eight levels up is out of reach",
         Setup::empty,
         Setup::empty,
         8,
         true,
         "support/VESK/LOGS",
         "application-support",
         {}},
        {"nothing but the app data folder",
         Setup::empty,
         Setup::empty,
         -1,
         true,
         "support/VESK/LOGS",
         "application-support",
         {}},
        {"nothing usable",
         Setup::blocked,
         Setup::empty,
         -1,
         false,
         nullptr,
         nullptr,
         {"VESK_LOGS_DIR not writable: %L",
          "FATAL: Could not resolve ANY writable logs directory — all log entries will be lost",
          "rotateLogFileLocked FAILED — no writable logs directory for reason=app-launch"}},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir caseRoot;
        const auto under = [&](const QString& relative) { return caseRoot.path() + QLatin1Char('/') + relative; };
        auto blocked = [&](const QString& name) {
            QFile file(under(name));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            return under(name);
        };
        environment = {};
        if (c.logsDir == Setup::usable)
            environment.logsDirectory = under(QStringLiteral("logs"));
        if (c.logsDir == Setup::blocked)
            environment.logsDirectory = blocked(QStringLiteral("file-a")) + QStringLiteral("/logs");
        if (c.projectRoot == Setup::usable)
            environment.projectRoot = under(QStringLiteral("root"));
        if (c.projectRoot == Setup::blocked)
            environment.projectRoot = blocked(QStringLiteral("file-b"));
        QString workingDirectory = under(QStringLiteral("project"));
        QDir().mkpath(workingDirectory);
        if (c.projectDepth >= 0) {
            QFile(under(QStringLiteral("project/AGENTS.md"))).open(QIODevice::WriteOnly);
            QDir().mkpath(under(QStringLiteral("project/macOS_theVesk_v1.xcodeproj")));
            for (int level = 0; level < c.projectDepth; ++level)
                workingDirectory += QStringLiteral("/d%1").arg(level);
            QDir().mkpath(workingDirectory);
        }
        environment.currentDirectory = workingDirectory;
        if (c.appSupport)
            environment.applicationSupportDirectory = under(QStringLiteral("support"));

        capture.clear();
        auto store = makeStore();

        QStringList expectedErrors;
        for (QString error : c.errors) {
            error.replace(QStringLiteral("%L"), environment.logsDirectory);
            error.replace(QStringLiteral("%P"), environment.projectRoot + QStringLiteral("/docs/LOGS"));
            expectedErrors.append(error);
        }
        QStringList errors;
        for (const auto& entry : capture.entries()) {
            if (entry.type == QtCriticalMsg && !entry.message.contains(QStringLiteral("Failed to create directory")))
                errors.append(entry.message.mid(QStringLiteral("[VeskLogFileStore] ").size()));
        }
        EXPECT_EQ(errors, expectedErrors);
        EXPECT_TRUE(reports().contains(QStringLiteral("CWD traversal starting from: ") + workingDirectory)
                    || c.logsDir == Setup::usable || c.projectRoot == Setup::usable);

        if (!c.expectedRelative) {
            EXPECT_TRUE(store->currentLogURL().isEmpty());
            EXPECT_FALSE(reports().filter(QStringLiteral("Log directory resolved")).size());
            continue;
        }
        const QString expected = under(QString::fromLatin1(c.expectedRelative));
        EXPECT_EQ(store->currentLogURL(), QUrl::fromLocalFile(expected + QLatin1Char('/') + kFirstName));
        EXPECT_TRUE(readFile(expected + QLatin1Char('/') + kFirstName)
                        .contains(QStringLiteral("\n- logDirectory: ") + expected + QLatin1Char('\n')));
        EXPECT_TRUE(reports().contains(
            QStringLiteral("Log directory resolved: %1 (source=%2)").arg(expected, QString::fromLatin1(c.source))));
    }
}

TEST_F(VeskLogFileStoreTest, WalkFromTheFileSystemRootExaminesOnlyTheRoot)
{
    environment = {{}, {}, QStringLiteral("/"), path(QStringLiteral("support"))};
    auto store = makeStore();
    EXPECT_EQ(store->currentLogURL().toLocalFile(), path(QStringLiteral("support/VESK/LOGS/")) + kFirstName);
    EXPECT_EQ(reports().first(), QStringLiteral("CWD traversal starting from: /"));
}

TEST_F(VeskLogFileStoreTest, AFolderWithAgentsFileButNoProjectFileIsNoProjectFolder)
{
    QFile(path(QStringLiteral("AGENTS.md"))).open(QIODevice::WriteOnly);
    QDir().mkpath(path(QStringLiteral("work")));
    environment = {{}, {}, path(QStringLiteral("work")), path(QStringLiteral("support"))};
    auto store = makeStore();
    EXPECT_EQ(store->currentLogURL().toLocalFile(), path(QStringLiteral("support/VESK/LOGS/")) + kFirstName);
    EXPECT_FALSE(QDir(path(QStringLiteral("docs"))).exists());
}

TEST_F(VeskLogFileStoreTest, ProjectFolderWithUnusableLogsFolderIsReportedAndPassed)
{
    QDir().mkpath(path(QStringLiteral("outer/macOS_theVesk_v1.xcodeproj")));
    QFile(path(QStringLiteral("outer/AGENTS.md"))).open(QIODevice::WriteOnly);
    QDir().mkpath(path(QStringLiteral("outer/inner/macOS_theVesk_v1.xcodeproj")));
    QFile(path(QStringLiteral("outer/inner/AGENTS.md"))).open(QIODevice::WriteOnly);
    QFile(path(QStringLiteral("outer/inner/docs"))).open(QIODevice::WriteOnly); // a file where docs/ would go
    environment = {{}, {}, path(QStringLiteral("outer/inner")), {}};
    auto store = makeStore();
    EXPECT_EQ(store->currentLogURL().toLocalFile(), path(QStringLiteral("outer/docs/LOGS/")) + kFirstName);
    EXPECT_TRUE(reports().contains(QStringLiteral("Project root found but docs/LOGS not writable: ")
                                   + path(QStringLiteral("outer/inner/docs/LOGS"))));
}

TEST_F(VeskLogFileStoreTest, EveryRowWithoutAUsableDirectoryRetriesThenRecovers)
{
    const QString blockedLogs = blockedPath(QStringLiteral("logs"));
    const QString blockedProject = blockedPath(QStringLiteral("project"));
    const QString blockedSupport = blockedPath(QStringLiteral("support"));
    environment = {blockedLogs, blockedProject, path(QString()), blockedSupport};
    auto store = makeStore();
    EXPECT_TRUE(store->currentLogURL().isEmpty());

    capture.clear();
    store->enqueueWrite(VeskLogLevel::info, QStringLiteral("A"), QStringLiteral("lost row"));
    store->drain();
    const QString notADirectory = QString::fromStdString(std::make_error_code(std::errc::not_a_directory).message());
    EXPECT_EQ(reports(),
              (QStringList{
                  QStringLiteral("Failed to create directory %1: %2").arg(blockedLogs, notADirectory),
                  QStringLiteral("VESK_LOGS_DIR not writable: ") + blockedLogs,
                  QStringLiteral("Failed to create directory %1/docs/LOGS: %2").arg(blockedProject, notADirectory),
                  QStringLiteral("VESK_PROJECT_ROOT/docs/LOGS not writable: %1/docs/LOGS").arg(blockedProject),
                  QStringLiteral("CWD traversal starting from: ") + root.path(),
                  QStringLiteral("Failed to create directory %1/VESK/LOGS: %2").arg(blockedSupport, notADirectory),
                  QStringLiteral("Application Support fallback not writable: %1/VESK/LOGS").arg(blockedSupport),
                  QStringLiteral("FATAL: Could not resolve ANY writable logs directory — all log entries will be lost"),
                  QStringLiteral("rotateLogFileLocked FAILED — no writable logs directory for reason=auto-recover"),
                  QStringLiteral("write: currentLogURL is nil — log entry dropped: lost row"),
              }));

    // The blocking file goes away: the next row starts a file of its own.
    QFile::remove(path(QStringLiteral("blocker-support")));
    clock->advance(2000);
    store->enqueueWrite(VeskLogLevel::warning, QStringLiteral("A"), QStringLiteral("kept row"));
    store->drain();
    const QString logs = path(QStringLiteral("blocker-support/logs/VESK/LOGS"));
    const QString file = logs + QStringLiteral("/vesk-log-2026-01-05_09-00-02.md");
    EXPECT_EQ(store->currentLogURL().toLocalFile(), file);
    EXPECT_EQ(readFile(file),
              headerText(QStringLiteral("2026-01-05T09:00:02.000Z"), QStringLiteral("auto-recover"), logs)
                  + QStringLiteral("| 2026-01-05T09:00:02.000Z | WARNING | A | kept row |\n"));
}

// A directory that can be created, but whose path leaves no room for a file
// name within the system's path limit: the header write fails.
QString directoryWithoutRoomForFiles(const QString& base)
{
    constexpr int kPathLimit = 4095;
    QString directory = base;
    while (directory.size() < kPathLimit - 20)
        directory +=
            QLatin1Char('/') + QString(std::min<qsizetype>(200, kPathLimit - 21 - directory.size()), QLatin1Char('d'));
    return directory;
}

TEST_F(VeskLogFileStoreTest, AfterAFailedHeaderWriteTheNextOperationStartsTheFile)
{
    const struct {
        const char* reason;
        std::function<void(VeskLogFileStore&)> next;
        QString firstRow;
    } cases[] = {
        {"auto-recover",
         [](VeskLogFileStore& store) {
             store.enqueueWrite(VeskLogLevel::info, QStringLiteral("A"), QStringLiteral("row"));
         },
         QStringLiteral("| A | row |")},
        {"session-start", [](VeskLogFileStore& store) { store.logSessionStart(60, {QStringLiteral("com.a")}); },
         QStringLiteral("| VeskLogFileStore | === SESSION START === duration=60s, allowedApps=[com.a] |")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        QTemporaryDir logs;
        const QString crowded = directoryWithoutRoomForFiles(root.path());
        environment = {crowded, {}, QStringLiteral("/"), {}};
        capture.clear();
        auto store = makeStore();
        EXPECT_TRUE(store->currentLogURL().isEmpty());
        EXPECT_TRUE(QFileInfo(crowded).isDir());
        EXPECT_TRUE(reports().last().startsWith(
            QStringLiteral("Failed to create log file at %1/%2: ").arg(crowded, kFirstName)));

        environment.logsDirectory = logs.path();
        c.next(*store);
        store->drain();
        const QString file = logs.path() + QLatin1Char('/') + kFirstName;
        EXPECT_EQ(store->currentLogURL().toLocalFile(), file);
        const QStringList lines = readFile(file).split(QLatin1Char('\n'));
        ASSERT_GE(lines.size(), 9);
        EXPECT_EQ(lines[3], QStringLiteral("- reason: ") + QString::fromLatin1(c.reason));
        EXPECT_TRUE(lines[8].endsWith(c.firstRow)) << lines[8].toStdString();
    }
}

TEST_F(VeskLogFileStoreTest, ExistingDirectoryWithoutWritePermissionIsSkipped)
{
    // The process's own /proc entry: a directory that exists and that nobody, root included, may write to.
    const QString readOnly = QStringLiteral("/proc/self");
    if (!QFileInfo(readOnly).isDir())
        GTEST_SKIP() << "no /proc on this system";
    environment = {readOnly, {}, QStringLiteral("/"), path(QStringLiteral("support"))};
    auto store = makeStore();
    EXPECT_EQ(store->currentLogURL().toLocalFile(), path(QStringLiteral("support/VESK/LOGS/")) + kFirstName);
    EXPECT_EQ(reports().mid(0, 2),
              (QStringList{QStringLiteral("Failed to create directory /proc/self: directory is not writable"),
                           QStringLiteral("VESK_LOGS_DIR not writable: /proc/self")}));
}

TEST_F(VeskLogFileStoreTest, FilesStartedWithinTheSameSecondNeverReplaceEachOther)
{
    const QString logs = path(QStringLiteral("logs"));
    std::vector<std::unique_ptr<VeskLogFileStore>> stores;
    for (int i = 0; i < 3; ++i) {
        clock->advance(100);
        stores.push_back(makeStore());
        stores.back()->enqueueWrite(VeskLogLevel::info, QStringLiteral("Store"), QString::number(i));
        stores.back()->drain();
    }
    EXPECT_EQ(logFiles(logs), (QStringList{QStringLiteral("vesk-log-2026-01-05_09-00-00-2.md"),
                                           QStringLiteral("vesk-log-2026-01-05_09-00-00-3.md"), kFirstName}));
    for (int i = 0; i < 3; ++i) {
        const QString content = readFile(stores[i]->currentLogURL().toLocalFile());
        EXPECT_TRUE(content.startsWith(QStringLiteral("# VESK Debug Log\n")));
        EXPECT_TRUE(content.endsWith(QStringLiteral("| Store | %1 |\n").arg(i))) << content.toStdString();
    }
    EXPECT_TRUE(QDir(logs).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".tmp")).isEmpty());
}

TEST_F(VeskLogFileStoreTest, DrainWaitsForEveryQueuedRowInOrder)
{
    auto store = makeStore();
    std::thread writer([&] {
        for (int i = 0; i < 300; ++i)
            store->enqueueWrite(VeskLogLevel::debug, QStringLiteral("Writer"), QString::number(i));
    });
    writer.join();
    store->drain();
    const QStringList lines = readFile(store->currentLogURL().toLocalFile()).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 8 + 300 + 1);
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(lines[8 + i].endsWith(QStringLiteral("| Writer | %1 |").arg(i))) << lines[8 + i].toStdString();
}

TEST_F(VeskLogFileStoreTest, WaitingCallsFromInsideTheQueueRunInline)
{
    auto store = makeStore();
    QUrl url;
    store->queue().sync([&] {
        url = store->currentLogURL();
        store->logSessionStart(5, {});
        store->drain();
    });
    EXPECT_FALSE(url.isEmpty());
    EXPECT_TRUE(readFile(url.toLocalFile()).endsWith(QStringLiteral("duration=5s, allowedApps=[] |\n")));
}

TEST_F(VeskLogFileStoreTest, AFailedAppendLosesTheRowButKeepsTheFile)
{
    auto store = makeStore();
    const QString file = store->currentLogURL().toLocalFile();
    ASSERT_TRUE(QFile::remove(file));

    store->enqueueWrite(VeskLogLevel::info, QStringLiteral("A"), QStringLiteral("lost"));
    store->drain();
    EXPECT_EQ(store->currentLogURL().toLocalFile(), file);
    EXPECT_TRUE(logFiles(path(QStringLiteral("logs"))).isEmpty()) << "no new file, and the old one is not recreated";
    EXPECT_TRUE(reports().last().startsWith(QStringLiteral("Failed to append log entry: ")));

    QFile recreated(file);
    ASSERT_TRUE(recreated.open(QIODevice::WriteOnly));
    recreated.close();
    store->enqueueWrite(VeskLogLevel::info, QStringLiteral("A"), QStringLiteral("kept"));
    store->drain();
    EXPECT_EQ(readFile(file), QStringLiteral("| 2026-01-05T09:00:00.000Z | INFO | A | kept |\n"));
}

} // namespace
