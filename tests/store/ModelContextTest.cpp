#include "store/ModelContainer.h"

#include "LogCapture.h"
#include "core/TextFormat.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vesk;

namespace {

const QDateTime start(QDate(2026, 1, 5), QTime(9, 0), Qt::UTC);

std::shared_ptr<FocusSession> session(const QString& goal, int minutesAfterStart, bool active = true)
{
    auto record = std::make_shared<FocusSession>(
        FocusSession::make(QUuid::createUuid(), start.addSecs(60 * minutesAfterStart), 900, goal, {}, {}));
    record->isActive = active;
    return record;
}

class ModelContextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        container = open();
        ASSERT_TRUE(container);
    }

    std::unique_ptr<ModelContainer> open()
    {
        auto opened = ModelContainer::open(dir.filePath("VeskData.store"));
        return opened.ok() ? std::move(opened).value() : nullptr;
    }

    ModelContext& context() { return container->mainContext(); }

    // What a fresh connection finds on disk.
    std::vector<std::shared_ptr<FocusSession>> storedSessions()
    {
        auto reader = open();
        auto fetched = reader->mainContext().fetch<FocusSession>();
        EXPECT_TRUE(fetched.ok());
        return fetched.ok() ? fetched.value() : std::vector<std::shared_ptr<FocusSession>>{};
    }

    QTemporaryDir dir;
    std::unique_ptr<ModelContainer> container;
};

} // namespace

TEST_F(ModelContextTest, ARowIsOneSharedRecordWithinAContext)
{
    context().insert(session("a", 0));
    ASSERT_TRUE(context().save().ok());
    auto first = context().fetch<FocusSession>();
    auto second = context().fetch<FocusSession>();
    ASSERT_TRUE(first.ok() && second.ok());
    ASSERT_EQ(first.value().size(), 1u);
    EXPECT_EQ(first.value()[0], second.value()[0]);
    EXPECT_TRUE(context().persistentIdentifier(first.value()[0]).has_value());

    // Another context over the same file holds its own record object.
    auto other = open();
    auto elsewhere = other->mainContext().fetch<FocusSession>();
    ASSERT_TRUE(elsewhere.ok());
    EXPECT_NE(elsewhere.value()[0], first.value()[0]);
}

TEST_F(ModelContextTest, FetchFiltersSortsAndLimitsIncludingUnsavedRecords)
{
    context().insert(session("late", 30));
    context().insert(session("closed", 5, false));
    ASSERT_TRUE(context().save().ok());
    context().insert(session("early", 1)); // not saved yet

    auto active = context().fetch<FocusSession>({
        .predicate = [](const FocusSession& s) { return s.isActive; },
        .sortBefore = [](const FocusSession& a, const FocusSession& b) { return a.startedAt < b.startedAt; },
    });
    ASSERT_TRUE(active.ok());
    ASSERT_EQ(active.value().size(), 2u);
    EXPECT_EQ(active.value()[0]->goalText, QString("early"));
    EXPECT_EQ(active.value()[1]->goalText, QString("late"));

    auto limited = context().fetch<FocusSession>({.fetchLimit = 1});
    ASSERT_TRUE(limited.ok());
    ASSERT_EQ(limited.value().size(), 1u);
    EXPECT_EQ(limited.value()[0]->goalText, QString("late")); // the store's order, unsaved records last
}

TEST_F(ModelContextTest, ListsKeepTheirOrderAndDuplicates)
{
    auto record = session("lists", 0);
    record->allowedAppBundleIDs = {"b", "a", "b", "", "ü \"quoted\""};
    record->allAllowedAppBundleIDs = {};
    context().insert(record);
    ASSERT_TRUE(context().save().ok());
    const auto stored = storedSessions();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->allowedAppBundleIDs, (QStringList{"b", "a", "b", "", "ü \"quoted\""}));
    EXPECT_TRUE(stored[0]->allAllowedAppBundleIDs.isEmpty());
}

TEST_F(ModelContextTest, AFailedSaveKeepsChangesPendingForTheNextSave)
{
    auto record = session("goal", 0);
    context().insert(record);
    ASSERT_TRUE(context().save().ok());
    EXPECT_FALSE(context().hasChanges());

    bool failSaves = true;
    context().setFaultInjector([&](StoreOperation operation) -> std::optional<StoreError> {
        if (operation == StoreOperation::save && failSaves)
            return StoreError{"disk full"};
        return std::nullopt;
    });
    QStringList reportedFailures;
    context().setSaveFailureHandler([&](const StoreError& error) { reportedFailures.append(error.description); });
    record->goalNote = "changed";
    auto added = session("added", 2);
    context().insert(added);
    const StoreResult<> failed = context().save();
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error().description, "disk full");
    EXPECT_EQ(reportedFailures, QStringList{"disk full"});
    EXPECT_TRUE(context().hasChanges());
    EXPECT_EQ(storedSessions().size(), 1u);
    EXPECT_EQ(storedSessions()[0]->goalNote, std::nullopt);
    // The context still shows its own pending state.
    EXPECT_EQ(context().fetch<FocusSession>().value().size(), 2u);

    failSaves = false;
    ASSERT_TRUE(context().save().ok());
    EXPECT_FALSE(context().hasChanges());
    EXPECT_EQ(reportedFailures.size(), 1) << "a save that works reports nothing";
    const auto stored = storedSessions();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0]->goalNote, QString("changed"));
    EXPECT_EQ(stored[1]->goalText, QString("added"));
    // Saving again writes nothing new: still two rows.
    ASSERT_TRUE(context().save().ok());
    EXPECT_EQ(storedSessions().size(), 2u);
}

TEST_F(ModelContextTest, AFailingStatementRollsBackTheWholeSave)
{
    context().insert(session("first", 0));
    auto broken = std::make_shared<FocusSession>(*session("second", 1));
    context().insert(broken);
    // Make the second insert fail inside SQLite itself.
    QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "trigger-writer");
    raw.setDatabaseName(dir.filePath("VeskData.store"));
    ASSERT_TRUE(raw.open());
    QSqlQuery(raw).exec("CREATE TRIGGER refuse BEFORE INSERT ON FocusSession WHEN NEW.goalText = 'second' "
                        "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    const StoreResult<> failed = context().save();
    ASSERT_FALSE(failed.ok());
    EXPECT_TRUE(failed.error().description.contains("refused")) << failed.error().description.toStdString();
    EXPECT_TRUE(storedSessions().empty());

    QSqlQuery(raw).exec("DROP TRIGGER refuse");
    raw.close();
    raw = QSqlDatabase();
    QSqlDatabase::removeDatabase("trigger-writer");
    ASSERT_TRUE(context().save().ok());
    EXPECT_EQ(storedSessions().size(), 2u);
}

TEST_F(ModelContextTest, FetchFailuresAreReported)
{
    context().setFaultInjector([](StoreOperation operation) -> std::optional<StoreError> {
        if (operation == StoreOperation::fetch)
            return StoreError{"unreadable"};
        return std::nullopt;
    });
    auto fetched = context().fetch<FocusSession>();
    ASSERT_FALSE(fetched.ok());
    EXPECT_EQ(fetched.error().description, "unreadable");
}

TEST_F(ModelContextTest, AnUnreadableRowIsSkippedWithAWarningNamingItAndTheOthersAreRead)
{
    struct Corruption {
        const char* name;
        const char* assignment;
        const char* storedID;
    };
    const std::vector<Corruption> corruptions{
        {"an invalid identifier", "id = 'not-a-uuid'", "not-a-uuid"},
        {"no identifier", "id = NULL", "NULL"},
        {"no list", "allowedAppBundleIDs = NULL", nullptr},
        {"an unknown answer", "goalStatus = 'maybe'", nullptr},
        {"an unreadable date", "startedAt = 'yesterday'", nullptr},
    };
    for (const Corruption& corruption : corruptions) {
        QTemporaryDir folder;
        const QString path = folder.filePath("VeskData.store");
        auto writer = ModelContainer::open(path).value();
        auto damaged = session("damaged", 0);
        auto intact = session("intact", 1);
        writer->mainContext().insert(damaged);
        writer->mainContext().insert(intact);
        ASSERT_TRUE(writer->mainContext().save().ok());
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "corrupter");
            raw.setDatabaseName(path);
            ASSERT_TRUE(raw.open());
            ASSERT_TRUE(QSqlQuery(raw).exec(
                QStringLiteral("UPDATE FocusSession SET %1 WHERE pk = 1").arg(corruption.assignment)));
        }
        QSqlDatabase::removeDatabase("corrupter");

        test::LogCapture log;
        auto reader = ModelContainer::open(path).value();
        auto fetched = reader->mainContext().fetch<FocusSession>();
        ASSERT_TRUE(fetched.ok()) << corruption.name;
        ASSERT_EQ(fetched.value().size(), 1u) << corruption.name;
        EXPECT_EQ(fetched.value()[0]->goalText, QString("intact")) << corruption.name;

        const QString id = corruption.storedID ? QString(corruption.storedID) : uuidText(damaged->id);
        const QStringList warnings = log.messages("ModelContext");
        ASSERT_EQ(warnings.size(), 1) << corruption.name;
        EXPECT_TRUE(warnings[0].startsWith(
            QStringLiteral("Skipped an unreadable FocusSession record — id=%1, pk=1, reason=").arg(id)))
            << warnings[0].toStdString();
        // Once per row: fetching again does not repeat the warning.
        ASSERT_TRUE(reader->mainContext().fetch<FocusSession>().ok());
        EXPECT_EQ(log.messages("ModelContext").size(), 1) << corruption.name;

        // Saving leaves the damaged row as it is: still there, still unreadable.
        fetched.value()[0]->isActive = false;
        ASSERT_TRUE(reader->mainContext().save().ok());
        test::LogCapture again;
        auto third = ModelContainer::open(path).value();
        EXPECT_EQ(third->mainContext().fetch<FocusSession>().value().size(), 1u);
        EXPECT_EQ(again.messages("ModelContext").size(), 1) << corruption.name;
    }
}
