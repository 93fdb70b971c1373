#include "store/SqliteFocusSessionStore.h"
#include "store/ModelContainer.h"

#include "LogCapture.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vesk;

namespace {

const QDateTime start(QDate(2026, 1, 5), QTime(9, 0, 0, 250), Qt::UTC);
const QUuid sessionID("{0f8c3b9a-1111-4222-8333-944455556666}");
const QString sessionIDText = "0F8C3B9A-1111-4222-8333-944455556666";

struct LogLine {
    QtMsgType type;
    QString message;
    bool operator==(const LogLine&) const = default;
};

void PrintTo(const LogLine& line, std::ostream* out)
{
    *out << line.type << " " << line.message.toStdString();
}

class SqliteFocusSessionStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        container = open();
        ASSERT_TRUE(container);
        store = std::make_unique<SqliteFocusSessionStore>(container->mainContext());
    }

    std::unique_ptr<ModelContainer> open()
    {
        auto opened = ModelContainer::open(dir.filePath("VeskData.store"));
        return opened.ok() ? std::move(opened).value() : nullptr;
    }

    // The records as a fresh connection reads them from the file.
    std::vector<FocusSession> storedSessions()
    {
        auto reader = open();
        auto fetched = reader->mainContext().fetch<FocusSession>();
        EXPECT_TRUE(fetched.ok());
        std::vector<FocusSession> sessions;
        if (fetched.ok()) {
            for (const auto& record : fetched.value())
                sessions.push_back(*record);
        }
        return sessions;
    }

    std::vector<LogLine> storeLog() const
    {
        std::vector<LogLine> lines;
        for (const auto& entry : log.entries()) {
            if (entry.component == "SqliteFocusSessionStore")
                lines.push_back({entry.type, entry.message});
        }
        return lines;
    }

    void failNextSaves(bool fail)
    {
        container->mainContext().setFaultInjector([fail](StoreOperation operation) -> std::optional<StoreError> {
            if (fail && operation == StoreOperation::save)
                return StoreError{"The disk is full"};
            return std::nullopt;
        });
    }

    QTemporaryDir dir;
    std::unique_ptr<ModelContainer> container;
    std::unique_ptr<SqliteFocusSessionStore> store;
    test::LogCapture log;
};

} // namespace

TEST_F(SqliteFocusSessionStoreTest, ASessionsLifeRoundTripsEveryField)
{
    ASSERT_TRUE(store
                    ->createSessionRecord(sessionID, start, 1800, QString("  Finish the draft \n"),
                                          {"com.a", "com.b", "com.a"}, {"com.a", "com.b"})
                    .ok());
    ASSERT_TRUE(store->updateSessionAllowlist(sessionID, {"com.a", "com.c"}, {"com.a", "com.b", "com.c"}).ok());
    ASSERT_TRUE(store
                    ->stopSessionRecord(sessionID, start.addSecs(1800), SessionEndReason::timerExpired, {"com.c"},
                                        {"com.a", "com.b", "com.c", "com.c"})
                    .ok());
    ASSERT_TRUE(store
                    ->updateSessionReflection(sessionID, GoalStatus::partial, VeskHelpful::somewhat,
                                              QString(" Got halfway "), start.addSecs(1900))
                    .ok());

    const auto stored = storedSessions();
    ASSERT_EQ(stored.size(), 1u);
    const FocusSession& session = stored[0];
    EXPECT_EQ(session.id, sessionID);
    EXPECT_EQ(session.startedAt, start);
    EXPECT_EQ(session.endedAt, start.addSecs(1800));
    EXPECT_EQ(session.durationSeconds, 1800);
    EXPECT_EQ(session.allowedAppBundleIDs, QStringList{"com.c"});
    EXPECT_EQ(session.allAllowedAppBundleIDs, (QStringList{"com.a", "com.b", "com.c", "com.c"}));
    EXPECT_FALSE(session.isActive);
    EXPECT_EQ(session.endReason, QString("timerExpired"));
    EXPECT_EQ(session.goalText, QString("Finish the draft"));
    EXPECT_EQ(session.goalStatus, GoalStatus::partial);
    EXPECT_EQ(session.veskHelpful, VeskHelpful::somewhat);
    EXPECT_EQ(session.goalNote, QString("Got halfway"));
    EXPECT_EQ(session.goalAnsweredAt, start.addSecs(1900));

    EXPECT_EQ(storeLog(),
              (std::vector<LogLine>{
                  {QtInfoMsg, "Created FocusSession record — id=" + sessionIDText + ", allowedApps=3, hasGoal=true"},
                  {QtInfoMsg,
                   "Updated FocusSession allowlist — id=" + sessionIDText + ", currentApps=2, historicalApps=3"},
                  {QtInfoMsg, "Stopped FocusSession record — id=" + sessionIDText + ", reason=timerExpired"},
                  {QtInfoMsg, "Updated FocusSession reflection — id=" + sessionIDText
                                  + ", goalStatus=partial, veskHelpful=somewhat, hasNote=true"},
              }));
}

TEST_F(SqliteFocusSessionStoreTest, LaunchRecoveryClosesOrphansLeftByAnEarlierRun)
{
    const std::vector<QUuid> ids{QUuid::createUuid(), QUuid::createUuid(), QUuid::createUuid()};
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(
            store->createSessionRecord(ids[i], start.addSecs(-60 * i), 900, std::nullopt, {"com.a"}, {"com.a"}).ok());
    ASSERT_TRUE(store->createSessionRecord(QUuid::createUuid(), start, 900, std::nullopt, {}, {}).ok());
    ASSERT_TRUE(store->stopSessionRecord(storedSessions().back().id, start, SessionEndReason::manualStop, {}, {}).ok());

    // The next launch: a second store over the same file.
    auto relaunched = open();
    SqliteFocusSessionStore recovering(relaunched->mainContext());
    log.clear();
    const QDateTime recoveredAt = start.addSecs(3600);
    const StoreResult<int> recovered = recovering.recoverOrphanedSessions(recoveredAt);
    ASSERT_TRUE(recovered.ok());
    EXPECT_EQ(recovered.value(), 3);
    EXPECT_EQ(storeLog(), (std::vector<LogLine>{
                              {QtInfoMsg, "Closed 3 active persisted sessions — reason=crash"},
                              {QtWarningMsg, "Recovered 3 orphaned persisted sessions"},
                          }));

    int crashed = 0;
    for (const FocusSession& session : storedSessions()) {
        EXPECT_FALSE(session.isActive);
        if (session.endReason == QString("crash")) {
            ++crashed;
            EXPECT_EQ(session.endedAt, recoveredAt);
        } else {
            EXPECT_EQ(session.endReason, QString("manualStop"));
            EXPECT_EQ(session.endedAt, start);
        }
    }
    EXPECT_EQ(crashed, 3);

    log.clear();
    const StoreResult<int> again = recovering.recoverOrphanedSessions(recoveredAt);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.value(), 0);
    EXPECT_EQ(storeLog(), (std::vector<LogLine>{
                              {QtDebugMsg, "No orphaned persisted sessions found during launch recovery"},
                          }));
}

TEST_F(SqliteFocusSessionStoreTest, LaunchRecoveryClosesTheActiveSessionPastAnUnreadableRecord)
{
    ASSERT_TRUE(store->createSessionRecord(QUuid::createUuid(), start, 900, std::nullopt, {"com.a"}, {"com.a"}).ok());
    ASSERT_TRUE(store->createSessionRecord(sessionID, start.addSecs(60), 900, std::nullopt, {"com.a"}, {"com.a"}).ok());
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "damage");
        raw.setDatabaseName(dir.filePath("VeskData.store"));
        ASSERT_TRUE(raw.open());
        ASSERT_TRUE(QSqlQuery(raw).exec("UPDATE FocusSession SET allAllowedAppBundleIDs = NULL WHERE pk = 1"));
    }
    QSqlDatabase::removeDatabase("damage");

    auto relaunched = open();
    SqliteFocusSessionStore recovering(relaunched->mainContext());
    const StoreResult<int> recovered = recovering.recoverOrphanedSessions(start.addSecs(3600));
    ASSERT_TRUE(recovered.ok()) << recovered.error().description.toStdString();
    EXPECT_EQ(recovered.value(), 1);
    const std::vector<FocusSession> stored = storedSessions();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].id, sessionID);
    EXPECT_EQ(stored[0].endReason, QString("crash"));
    EXPECT_TRUE(log.contains("Skipped an unreadable FocusSession record — id="));
}

TEST_F(SqliteFocusSessionStoreTest, ClosingWithNothingActiveSavesAndLogsNothing)
{
    bool saved = false;
    container->mainContext().setFaultInjector([&](StoreOperation operation) -> std::optional<StoreError> {
        saved = saved || operation == StoreOperation::save;
        return std::nullopt;
    });
    const StoreResult<int> closed = store->closeActiveSessions(start, SessionEndReason::crash);
    ASSERT_TRUE(closed.ok());
    EXPECT_EQ(closed.value(), 0);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(storeLog().empty());
}

TEST_F(SqliteFocusSessionStoreTest, ClosingActiveSessionsUsesTheGivenReason)
{
    ASSERT_TRUE(store->createSessionRecord(sessionID, start, 0, std::nullopt, {}, {}).ok());
    log.clear();
    const StoreResult<int> closed = store->closeActiveSessions(start.addSecs(5), SessionEndReason::appTerminate);
    ASSERT_TRUE(closed.ok());
    EXPECT_EQ(closed.value(), 1);
    EXPECT_EQ(storeLog(),
              (std::vector<LogLine>{{QtInfoMsg, "Closed 1 active persisted sessions — reason=appTerminate"}}));
    EXPECT_EQ(storedSessions()[0].endReason, QString("appTerminate"));
}

TEST_F(SqliteFocusSessionStoreTest, UpdatesOfAMissingRecordAreSkippedWithAWarning)
{
    ASSERT_TRUE(store->createSessionRecord(sessionID, start, 900, QString("goal"), {"com.a"}, {"com.a"}).ok());
    const std::vector<FocusSession> before = storedSessions();
    const QUuid missing("{aaaaaaaa-bbbb-4ccc-8ddd-eeeeeeeeeeee}");
    log.clear();

    EXPECT_TRUE(store->updateSessionAllowlist(missing, {"x"}, {"x"}).ok());
    EXPECT_TRUE(store->stopSessionRecord(missing, start, SessionEndReason::manualStop, {}, {}).ok());
    EXPECT_TRUE(store->updateSessionReflection(missing, GoalStatus::done, std::nullopt, QString("n"), start).ok());

    const QString missingText = "AAAAAAAA-BBBB-4CCC-8DDD-EEEEEEEEEEEE";
    EXPECT_EQ(storeLog(),
              (std::vector<LogLine>{
                  {QtWarningMsg, "Skipped FocusSession update because record was not found — id=" + missingText},
                  {QtWarningMsg, "Skipped FocusSession stop because record was not found — id=" + missingText},
                  {QtWarningMsg,
                   "Skipped FocusSession reflection update because record was not found — id=" + missingText},
              }));
    const std::vector<FocusSession> after = storedSessions();
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].toColumns(), before[0].toColumns());
    EXPECT_FALSE(container->mainContext().hasChanges());
}

TEST_F(SqliteFocusSessionStoreTest, GoalAndNoteRules)
{
    ASSERT_TRUE(store->createSessionRecord(sessionID, start, 900, QString(" \n  \n"), {}, {}).ok());
    const QUuid second = QUuid::createUuid();
    ASSERT_TRUE(store->createSessionRecord(second, start, 900, QString(81, 'g'), {}, {}).ok());
    EXPECT_TRUE(storeLog()[0].message.endsWith("hasGoal=false"));

    ASSERT_TRUE(
        store->updateSessionReflection(sessionID, std::nullopt, VeskHelpful::no, QString(300, 'n'), start).ok());
    EXPECT_EQ(storeLog().back().message, "Updated FocusSession reflection — id=" + sessionIDText
                                             + ", goalStatus=nil, veskHelpful=no, hasNote=true");
    auto stored = storedSessions();
    EXPECT_EQ(stored[0].goalText, std::nullopt);
    EXPECT_EQ(stored[1].goalText, QString(80, 'g'));
    EXPECT_EQ(stored[0].goalNote, QString(280, 'n'));

    // A later empty answer replaces the earlier note and answers.
    ASSERT_TRUE(
        store->updateSessionReflection(sessionID, std::nullopt, std::nullopt, QString("  "), start.addSecs(9)).ok());
    EXPECT_TRUE(storeLog().back().message.endsWith("goalStatus=nil, veskHelpful=nil, hasNote=false"));
    stored = storedSessions();
    EXPECT_EQ(stored[0].goalNote, std::nullopt);
    EXPECT_EQ(stored[0].veskHelpful, std::nullopt);
    EXPECT_EQ(stored[0].goalAnsweredAt, start.addSecs(9));

    // A surrogate without its partner encodes no character: the file keeps
    // exactly what the record holds.
    const QUuid third = QUuid::createUuid();
    ASSERT_TRUE(store->createSessionRecord(third, start, 900, "Plan" + QString(QChar(0xD800)), {}, {}).ok());
    EXPECT_EQ(storedSessions()[2].goalText, QString("Plan"));
}

TEST_F(SqliteFocusSessionStoreTest, StoppingAClosedRecordClosesItAgain)
{
    ASSERT_TRUE(store->createSessionRecord(sessionID, start, 900, std::nullopt, {}, {}).ok());
    ASSERT_TRUE(store->stopSessionRecord(sessionID, start.addSecs(10), SessionEndReason::manualStop, {}, {}).ok());
    ASSERT_TRUE(
        store->stopSessionRecord(sessionID, start.addSecs(20), SessionEndReason::emergencyExit, {"x"}, {"x"}).ok());
    const auto stored = storedSessions();
    EXPECT_EQ(stored[0].endedAt, start.addSecs(20));
    EXPECT_EQ(stored[0].endReason, QString("emergencyExit"));
    EXPECT_EQ(stored[0].allowedAppBundleIDs, QStringList{"x"});
}

TEST_F(SqliteFocusSessionStoreTest, AFailedSaveIsReportedAndTheChangeIsWrittenByTheNextSave)
{
    ASSERT_TRUE(store->createSessionRecord(sessionID, start, 900, std::nullopt, {"com.a"}, {"com.a"}).ok());
    log.clear();
    failNextSaves(true);

    const StoreResult<> stopped =
        store->stopSessionRecord(sessionID, start.addSecs(60), SessionEndReason::manualStop, {"com.a"}, {"com.a"});
    ASSERT_FALSE(stopped.ok());
    EXPECT_EQ(stopped.error().description, "The disk is full");
    EXPECT_TRUE(storeLog().empty());
    EXPECT_TRUE(storedSessions()[0].isActive);

    const StoreResult<> created = store->createSessionRecord(QUuid::createUuid(), start, 900, std::nullopt, {}, {});
    EXPECT_FALSE(created.ok());
    const StoreResult<int> closed = store->closeActiveSessions(start, SessionEndReason::crash);
    EXPECT_FALSE(closed.ok());
    EXPECT_TRUE(storeLog().empty());

    failNextSaves(false);
    ASSERT_TRUE(
        store->updateSessionReflection(sessionID, GoalStatus::failed, VeskHelpful::yes, std::nullopt, start.addSecs(90))
            .ok());
    const auto stored = storedSessions();
    ASSERT_EQ(stored.size(), 2u);
    // Everything that failed to save is written with the reflection: the stop,
    // and the second record, which the failed close had already closed.
    EXPECT_FALSE(stored[0].isActive);
    EXPECT_EQ(stored[0].endReason, QString("manualStop"));
    EXPECT_EQ(stored[0].endedAt, start.addSecs(60));
    EXPECT_EQ(stored[0].goalStatus, GoalStatus::failed);
    EXPECT_FALSE(stored[1].isActive);
    EXPECT_EQ(stored[1].endReason, QString("crash"));
}

TEST_F(SqliteFocusSessionStoreTest, FetchFailuresAreReportedWithoutChangingAnything)
{
    ASSERT_TRUE(store->createSessionRecord(sessionID, start, 900, std::nullopt, {}, {}).ok());
    container->mainContext().setFaultInjector([](StoreOperation operation) -> std::optional<StoreError> {
        if (operation == StoreOperation::fetch)
            return StoreError{"unreadable"};
        return std::nullopt;
    });
    log.clear();
    EXPECT_EQ(store->recoverOrphanedSessions(start).error().description, "unreadable");
    EXPECT_EQ(store->closeActiveSessions(start, SessionEndReason::crash).error().description, "unreadable");
    EXPECT_FALSE(store->updateSessionAllowlist(sessionID, {}, {}).ok());
    EXPECT_FALSE(store->stopSessionRecord(sessionID, start, SessionEndReason::manualStop, {}, {}).ok());
    EXPECT_FALSE(store->updateSessionReflection(sessionID, std::nullopt, std::nullopt, std::nullopt, start).ok());
    EXPECT_TRUE(storeLog().empty());
    EXPECT_TRUE(storedSessions()[0].isActive);
}
