#include "store/ModelContainer.h"
#include "store/MakeModelContainer.h"

#include "LogCapture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

using namespace vesk;

namespace {

const QDateTime start(QDate(2026, 1, 5), QTime(9, 0), Qt::UTC);

class ModelContainerTest : public ::testing::Test {
protected:
    QString storePath() const { return dir.filePath(ModelContainer::storeFileName); }

    std::unique_ptr<ModelContainer> openStore()
    {
        auto opened = ModelContainer::open(storePath());
        EXPECT_TRUE(opened.ok()) << (opened.ok() ? "" : opened.error().description.toStdString());
        return opened.ok() ? std::move(opened).value() : nullptr;
    }

    int userVersion()
    {
        int version = -1;
        {
            QSqlDatabase reader = QSqlDatabase::addDatabase("QSQLITE", "user-version-reader");
            reader.setDatabaseName(storePath());
            EXPECT_TRUE(reader.open());
            QSqlQuery query("PRAGMA user_version", reader);
            if (query.next())
                version = query.value(0).toInt();
        }
        QSqlDatabase::removeDatabase("user-version-reader");
        return version;
    }

    QTemporaryDir dir;
};

QByteArray fileContents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString runSqlite(const QString& path, const QString& sql)
{
    QProcess sqlite;
    sqlite.start("sqlite3", {path, sql});
    if (!sqlite.waitForFinished(10000) || sqlite.exitCode() != 0)
        return "sqlite3 failed: " + QString::fromUtf8(sqlite.readAllStandardError());
    return QString::fromUtf8(sqlite.readAllStandardOutput()).trimmed();
}

// Runs `work` with standard error redirected into a file, and returns what was written.
template <typename Work>
QString capturedStandardError(const QString& file, Work work)
{
    std::fflush(stderr);
    const int saved = dup(fileno(stderr));
    FILE* target = std::fopen(file.toLocal8Bit().constData(), "w");
    dup2(fileno(target), fileno(stderr));
    work();
    std::fflush(stderr);
    dup2(saved, fileno(stderr));
    close(saved);
    std::fclose(target);
    QFile written(file);
    written.open(QIODevice::ReadOnly);
    return QString::fromUtf8(written.readAll());
}

} // namespace

TEST_F(ModelContainerTest, DefaultStoreFileLiesDirectlyInTheAppDataFolder)
{
    const QString path = ModelContainer::defaultStorePath();
    EXPECT_TRUE(path.endsWith("/VeskData.store"));
    EXPECT_EQ(QFileInfo(path).absolutePath(),
              QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).absolutePath());
}

TEST_F(ModelContainerTest, CreatesTheSchemaOnceAndRecordsItsVersion)
{
    const QString nested = dir.filePath("not/yet/there/VeskData.store");
    {
        auto opened = ModelContainer::open(nested);
        ASSERT_TRUE(opened.ok()) << opened.error().description.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(nested));

    {
        auto container = openStore();
        ASSERT_TRUE(container);
        container->mainContext().insert(std::make_shared<CurrentAllowlist>(CurrentAllowlist{{"a"}, {}, start}));
        ASSERT_TRUE(container->mainContext().save().ok());
    }
    EXPECT_EQ(userVersion(), ModelContainer::schemaUserVersion);
    EXPECT_EQ(ModelContainer::schemaVersion(), "1.0.0");

    // Opening again keeps what is stored.
    auto reopened = openStore();
    ASSERT_TRUE(reopened);
    auto fetched = reopened->mainContext().fetch<CurrentAllowlist>();
    ASSERT_TRUE(fetched.ok());
    ASSERT_EQ(fetched.value().size(), 1u);
    EXPECT_EQ(fetched.value()[0]->appBundleIDs, QStringList{"a"});
}

TEST_F(ModelContainerTest, TheSqliteToolSeesThreeTablesWithReadableColumns)
{
    {
        auto container = openStore();
        ASSERT_TRUE(container);
        FocusSession session = FocusSession::make(QUuid("{0f8c3b9a-1111-4222-8333-944455556666}"), start, 1800,
                                                  QString("Write"), {"com.example.notes", "com.example.notes"}, {"x"});
        session.goalStatus = GoalStatus::done;
        container->mainContext().insert(std::make_shared<FocusSession>(session));
        ASSERT_TRUE(container->mainContext().save().ok());
    }
    if (QStandardPaths::findExecutable("sqlite3").isEmpty())
        GTEST_SKIP() << "sqlite3 is not installed";

    EXPECT_EQ(runSqlite(storePath(), ".tables").split(QRegularExpression("\\s+")),
              (QStringList{"AllowlistPreset", "CurrentAllowlist", "FocusSession"}));
    EXPECT_EQ(runSqlite(storePath(), "SELECT name FROM pragma_table_info('FocusSession')").split('\n'),
              (QStringList{"pk", "id", "startedAt", "endedAt", "durationSeconds", "allowedAppBundleIDs",
                           "allAllowedAppBundleIDs", "isActive", "endReason", "goalText", "goalStatus", "veskHelpful",
                           "goalNote", "goalAnsweredAt"}));
    EXPECT_EQ(runSqlite(storePath(), "SELECT name FROM pragma_table_info('AllowlistPreset')").split('\n'),
              (QStringList{"pk", "id", "name", "appBundleIDs", "createdAt"}));
    EXPECT_EQ(runSqlite(storePath(), "SELECT name FROM pragma_table_info('CurrentAllowlist')").split('\n'),
              (QStringList{"pk", "appBundleIDs", "goalText", "updatedAt"}));
    EXPECT_EQ(
        runSqlite(storePath(), "SELECT id, startedAt, durationSeconds, allowedAppBundleIDs, isActive, goalText, "
                               "goalStatus, endedAt IS NULL FROM FocusSession"),
        R"(0F8C3B9A-1111-4222-8333-944455556666|2026-01-05T09:00:00.000Z|1800|["com.example.notes","com.example.notes"]|1|Write|done|1)");
    EXPECT_EQ(runSqlite(storePath(), "PRAGMA user_version"), "10000");
}

TEST_F(ModelContainerTest, SeveralContainersOverOneFileCoexist)
{
    auto first = openStore();
    auto second = openStore();
    ASSERT_TRUE(first && second);
    first->mainContext().insert(std::make_shared<CurrentAllowlist>(CurrentAllowlist{{"a"}, {}, start}));
    ASSERT_TRUE(first->mainContext().save().ok());
    auto seen = second->mainContext().fetch<CurrentAllowlist>();
    ASSERT_TRUE(seen.ok());
    EXPECT_EQ(seen.value().size(), 1u);
    first.reset();
    // The other connection still works after one container is gone.
    EXPECT_TRUE(second->mainContext().fetch<FocusSession>().ok());
}

TEST_F(ModelContainerTest, RefusesFilesItCannotOpenAndLeavesThemAlone)
{
    struct Case {
        const char* name;
        std::function<QString()> prepare; // returns the path to open
    };
    const std::vector<Case> cases{
        {"not a database",
         [&] {
             QFile file(dir.filePath("garbage.store"));
             file.open(QIODevice::WriteOnly);
             file.write(QByteArray(4096, 'x'));
             return file.fileName();
         }},
        {"a folder",
         [&] {
             QDir(dir.path()).mkpath("folder.store");
             return dir.filePath("folder.store");
         }},
        {"written by a newer version",
         [&] {
             const QString path = dir.filePath("newer.store");
             runSqlite(path, "CREATE TABLE FocusSession (pk INTEGER PRIMARY KEY); PRAGMA user_version = 20000;");
             return path;
         }},
        {"a table of another shape at the current version",
         [&] {
             const QString path = dir.filePath("reshaped.store");
             runSqlite(path, "CREATE TABLE FocusSession (pk INTEGER PRIMARY KEY, id TEXT, startedAt TEXT); "
                             "CREATE TABLE AllowlistPreset (pk INTEGER PRIMARY KEY); "
                             "CREATE TABLE CurrentAllowlist (pk INTEGER PRIMARY KEY); PRAGMA user_version = 10000;");
             return path;
         }},
        {"a table missing at the current version",
         [&] {
             const QString path = dir.filePath("missing.store");
             {
                 auto complete = ModelContainer::open(path);
             }
             runSqlite(path, "DROP TABLE AllowlistPreset;");
             return path;
         }},
        {"a table of another shape without a version",
         [&] {
             const QString path = dir.filePath("foreign.store");
             runSqlite(path, "CREATE TABLE CurrentAllowlist (pk INTEGER PRIMARY KEY, owner TEXT, balance INTEGER);");
             return path;
         }},
    };
    for (const Case& c : cases) {
        const QString path = c.prepare();
        const QByteArray before = fileContents(path);
        auto opened = ModelContainer::open(path);
        EXPECT_FALSE(opened.ok()) << c.name;
        if (!opened.ok()) {
            EXPECT_FALSE(opened.error().description.isEmpty()) << c.name;
        }
        EXPECT_EQ(fileContents(path), before) << c.name;
    }
    const auto reshaped = ModelContainer::open(dir.filePath("reshaped.store"));
    ASSERT_FALSE(reshaped.ok());
    EXPECT_EQ(reshaped.error().description,
              "The store's table FocusSession does not match this version of Vesk — expected=pk INTEGER, id TEXT, "
              "startedAt TEXT, endedAt TEXT, durationSeconds INTEGER, allowedAppBundleIDs TEXT, "
              "allAllowedAppBundleIDs TEXT, isActive INTEGER, endReason TEXT, goalText TEXT, goalStatus TEXT, "
              "veskHelpful TEXT, goalNote TEXT, goalAnsweredAt TEXT, found=pk INTEGER, id TEXT, startedAt TEXT");
    const auto missing = ModelContainer::open(dir.filePath("missing.store"));
    ASSERT_FALSE(missing.ok());
    EXPECT_TRUE(missing.error().description.endsWith("found=no table")) << missing.error().description.toStdString();
}

TEST_F(ModelContainerTest, StartUpEndsTheProcessWhenTheStoreCannotBeOpened)
{
    QFile garbage(storePath());
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();

    test::LogCapture log;
    std::vector<int> exits;
    std::unique_ptr<ModelContainer> container;
    const QString errorOutput = capturedStandardError(dir.filePath("stderr.txt"), [&] {
        container = makeModelContainer(storePath(), [&](int status) { exits.push_back(status); });
    });
    EXPECT_EQ(container, nullptr);
    EXPECT_EQ(exits, std::vector<int>{1});
    EXPECT_TRUE(errorOutput.startsWith("Could not create ModelContainer: ")) << errorOutput.toStdString();
    const QString reason = errorOutput.trimmed().mid(QString("Could not create ModelContainer: ").size());
    EXPECT_FALSE(reason.isEmpty());
    std::vector<test::LogCapture::Entry> appLog;
    for (const auto& entry : log.entries()) {
        if (entry.component == "VeskApp")
            appLog.push_back(entry);
    }
    ASSERT_EQ(appLog.size(), 1u);
    EXPECT_EQ(appLog[0].type, QtCriticalMsg);
    EXPECT_EQ(appLog[0].message, "Could not create ModelContainer at " + storePath() + ": " + reason);
}

TEST_F(ModelContainerTest, StartUpOpensTheStoreWithoutExiting)
{
    test::LogCapture log;
    bool exited = false;
    auto container = makeModelContainer(storePath(), [&](int) { exited = true; });
    ASSERT_NE(container, nullptr);
    EXPECT_FALSE(exited);
    EXPECT_EQ(log.messages("VeskApp"), QStringList{"ModelContainer ready at " + storePath()});
    EXPECT_EQ(container->path(), QFileInfo(storePath()).absoluteFilePath());
}

TEST_F(ModelContainerTest, StartUpFailureExitsWithStatusOneAndAClearMessage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The dying process runs this test afresh, so the store path must not
    // depend on the fixture's temporary folder: both processes share the log folder.
    const QDir logs(qEnvironmentVariable("VESK_LOGS_DIR"));
    const QString unopenable = logs.filePath("unopenable-VeskData.store");
    QFile garbage(unopenable);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();

    EXPECT_EXIT(makeModelContainer(unopenable, exitProcess), ::testing::ExitedWithCode(1),
                "Could not create ModelContainer: .+");

    // It wrote its reason into its log file before it ended.
    bool logged = false;
    for (const QString& name : logs.entryList({"vesk-log-*.md"}, QDir::Files)) {
        const QString contents = QString::fromUtf8(fileContents(logs.filePath(name)));
        logged =
            logged || contents.contains("| ERROR | VeskApp | Could not create ModelContainer at " + unopenable + ": ");
    }
    EXPECT_TRUE(logged);
}
