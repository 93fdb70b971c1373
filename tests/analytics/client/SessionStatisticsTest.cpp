#include "analytics/client/SessionStatistics.h"
#include "ClientTestScene.h"

#include <gtest/gtest.h>

using namespace vesk::telemetry;
using vesk::telemetry::testing::ClientTestScene;

namespace {

constexpr qint64 kDay = 86400;

class SessionStatisticsTest : public ClientTestScene {
protected:
    struct SentSignal {
        QString name;
        SignalParameters parameters;
        bool operator==(const SentSignal&) const = default;
    };

    // A launch: the statistics as the client builds them when it starts,
    // replacing those of the previous launch.
    SessionStatistics& launch()
    {
        statistics.reset();
        statistics =
            std::make_unique<SessionStatistics>(environment(), [this](const QString& name, const SignalParameters& p) {
                sent.push_back({name, p});
            });
        return *statistics;
    }

    // The suite once the statistics' writes have landed.
    vesk::UserDefaults& stored()
    {
        if (statistics)
            statistics->flushPendingWrites();
        return *suite;
    }

    void storeSessions(const std::vector<StoredSession>& sessions)
    {
        suite->setData("recentSessions", StoredSession::encodeList(sessions));
    }

    std::vector<StoredSession> storedSessions()
    {
        return StoredSession::decodeList(stored().dataForKey("recentSessions").value_or("[]")).value();
    }

    QDateTime secondsAgo(qint64 seconds) { return scheduler.now().addSecs(-seconds); }

    std::unique_ptr<SessionStatistics> statistics;
    std::vector<SentSignal> sent;
    const SentSignal newInstall{"Telemetry.Acquisition.newInstallDetected",
                                {{"Telemetry.Acquisition.firstSessionDate", "2026-01-05"}}};
};

TEST_F(SessionStatisticsTest, ASessionShorterThanOneSecondIsNeverStored)
{
    setVeskActive(true);
    launch();
    statistics->startNewSession();
    scheduler.advance(0.9);
    setVeskActive(false);
    EXPECT_TRUE(statistics->recentSessions().empty());
    EXPECT_FALSE(stored().objectExists("recentSessions"));
    EXPECT_FALSE(statistics->isMeasuring());
}

TEST_F(SessionStatisticsTest, TheFirstSessionAnnouncesANewInstallationOnce)
{
    setVeskActive(true);
    launch();
    statistics->startNewSession();
    EXPECT_EQ(sent, std::vector<SentSignal>{newInstall});
    EXPECT_EQ(stored().stringForKey("firstSessionDate"), QString("2026-01-05"));
    scheduler.advance(5);
    EXPECT_EQ(storedSessions(), (std::vector<StoredSession>{{scheduler.now().addSecs(-5), 5}}));

    // A later session of the same process, and the next launch, find the stored session.
    statistics->startNewSession();
    scheduler.advance(3);
    launch();
    statistics->startNewSession();
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_EQ(statistics->recentSessions().size(), 2u);
}

TEST_F(SessionStatisticsTest, SessionsOlderThanNinetyDaysAreDroppedAndCounted)
{
    suite->setInteger("deletedSessionsCount", 4);
    storeSessions({{secondsAgo(91 * kDay), 30}, {secondsAgo(90 * kDay), 40}, {secondsAgo(89 * kDay), 50}});
    launch();
    EXPECT_EQ(statistics->recentSessions(), (std::vector<StoredSession>{{secondsAgo(89 * kDay), 50}}));
    EXPECT_EQ(stored().integerForKey("deletedSessionsCount"), 6);
    // The total stays the same.
    EXPECT_EQ(statistics->payloadEntries().at("Telemetry.Retention.totalSessionsCount"), "7");
    statistics->startNewSession();
    EXPECT_TRUE(sent.empty());
}

TEST_F(SessionStatisticsTest, AUserWhoseSessionsAreAllOldCountsAsANewInstallationAgain)
{
    storeSessions({{secondsAgo(91 * kDay), 30}});
    launch();
    EXPECT_EQ(stored().integerForKey("deletedSessionsCount"), 1);
    statistics->startNewSession();
    EXPECT_EQ(sent, std::vector<SentSignal>{newInstall});
}

TEST_F(SessionStatisticsTest, OnlyActiveTimeCounts)
{
    setVeskActive(true);
    launch();
    statistics->startNewSession();
    scheduler.advance(10.5);
    EXPECT_EQ(storedSessions().back().durationInSeconds, 10);
    setVeskActive(false);
    EXPECT_EQ(storedSessions().back().durationInSeconds, 10);
    EXPECT_DOUBLE_EQ(statistics->currentSessionDuration(), 10.5);

    scheduler.advance(60);
    setVeskActive(true);
    scheduler.advance(4);
    EXPECT_EQ(storedSessions(), (std::vector<StoredSession>{{scheduler.now().addMSecs(-74500), 14}}));
}

TEST_F(SessionStatisticsTest, AverageAndPreviousSessionLeaveOutTheSessionInProgress)
{
    SessionStatistics& empty = launch();
    EXPECT_EQ(empty.payloadEntries().at("Telemetry.Retention.averageSessionSeconds"), "-1");
    EXPECT_FALSE(empty.payloadEntries().contains("Telemetry.Retention.previousSessionSeconds"));

    storeSessions({{secondsAgo(3 * kDay), 10}});
    EXPECT_EQ(launch().averageSessionSeconds(), 10);

    storeSessions({{secondsAgo(3 * kDay), 10}, {secondsAgo(2 * kDay), 20}, {secondsAgo(kDay), 99}});
    const SignalParameters entries = launch().payloadEntries();
    EXPECT_EQ(entries.at("Telemetry.Retention.averageSessionSeconds"), "15");
    EXPECT_EQ(entries.at("Telemetry.Retention.previousSessionSeconds"), "20");
    EXPECT_EQ(entries.at("Telemetry.Retention.totalSessionsCount"), "3");

    storeSessions({{secondsAgo(3 * kDay), 10}, {secondsAgo(2 * kDay), 11}, {secondsAgo(kDay), 0}});
    EXPECT_EQ(launch().averageSessionSeconds(), 10);
}

TEST_F(SessionStatisticsTest, DistinctDaysGrowOncePerLaunchOnANewDay)
{
    launch();
    launch();
    EXPECT_EQ(stored().stringArrayForKey("distinctDaysUsed"), QStringList{"2026-01-05"});

    // A process running past midnight records the day only at its next launch.
    launch();
    scheduler.setDate(QDateTime(QDate(2026, 1, 6), QTime(9, 0), Qt::UTC));
    EXPECT_EQ(stored().stringArrayForKey("distinctDaysUsed"), QStringList{"2026-01-05"});
    launch();
    EXPECT_EQ(stored().stringArrayForKey("distinctDaysUsed"), (QStringList{"2026-01-05", "2026-01-06"}));

    // Only the last day is compared: a clock set back adds a known day again.
    scheduler.setDate(QDateTime(QDate(2026, 1, 5), QTime(9, 0), Qt::UTC));
    const SignalParameters entries = launch().payloadEntries();
    EXPECT_EQ(stored().stringArrayForKey("distinctDaysUsed"), (QStringList{"2026-01-05", "2026-01-06", "2026-01-05"}));
    EXPECT_EQ(entries.at("Telemetry.Retention.distinctDaysUsed"), "3");
}

TEST_F(SessionStatisticsTest, DaysAreLocalAndTheLastMonthCutOffIsTheLocalDayToo)
{
    // 23:30 UTC is already the next day in Berlin.
    scheduler.setDate(QDateTime(QDate(2026, 2, 4), QTime(23, 30), Qt::UTC));
    suite->setStringArray("distinctDaysUsed", {"2026-01-05", "2026-01-06"});
    launch();
    EXPECT_EQ(stored().stringArrayForKey("distinctDaysUsed"), (QStringList{"2026-01-05", "2026-01-06", "2026-02-05"}));
    // Thirty days earlier is 2026-01-06 in Berlin (still 2026-01-05 in GMT).
    EXPECT_EQ(statistics->payloadEntries().at("Telemetry.Retention.distinctDaysUsedLastMonth"), "2");
    EXPECT_EQ(SessionStatistics::countDaysOnOrAfter("2026-01-06", {"2026-01-05", "2026-01-06", "2026-02-05"}), 2);
    EXPECT_EQ(SessionStatistics::countDaysOnOrAfter("2026-03-01", {}), 0);
}

TEST_F(SessionStatisticsTest, FirstSessionDateIsTheStoredOneElseToday)
{
    EXPECT_EQ(launch().payloadEntries().at("Telemetry.Acquisition.firstSessionDate"), "2026-01-05");
    suite->setString("firstSessionDate", "2025-11-30");
    EXPECT_EQ(launch().payloadEntries().at("Telemetry.Acquisition.firstSessionDate"), "2025-11-30");
}

TEST_F(SessionStatisticsTest, BecomingActiveMeasuresEvenWithoutASessionStart)
{
    launch();
    setVeskActive(true);
    scheduler.advance(3);
    ASSERT_EQ(storedSessions().size(), 1u);
    EXPECT_EQ(storedSessions().front().startedAt, QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(storedSessions().front().durationInSeconds, 3);

    // The next launch drops that session as an old one.
    setVeskActive(false);
    launch();
    EXPECT_TRUE(statistics->recentSessions().empty());
    EXPECT_EQ(stored().integerForKey("deletedSessionsCount"), 1);
}

TEST_F(SessionStatisticsTest, AnUnreadableListStartsEmptyAndIsReplacedByTheNextSession)
{
    suite->setInteger("deletedSessionsCount", 2);
    suite->setData("recentSessions", "[{\"st\": \"yesterday\"}]");
    launch();
    EXPECT_TRUE(statistics->recentSessions().empty());
    EXPECT_EQ(stored().integerForKey("deletedSessionsCount"), 2);
    setVeskActive(true);
    statistics->startNewSession();
    scheduler.advance(2);
    EXPECT_EQ(storedSessions(), (std::vector<StoredSession>{{secondsAgo(2), 2}}));
}

TEST_F(SessionStatisticsTest, WithoutASuiteNothingIsReadOrWritten)
{
    suite->setStringArray("distinctDaysUsed", {"2025-12-01"});
    vesk::UserDefaults* kept = suite.get();
    ClientEnvironment withoutSuite = environment();
    withoutSuite.clientSuite = nullptr;
    SessionStatistics unsaved(withoutSuite, [this](const QString& name, const SignalParameters& p) {
        sent.push_back({name, p});
    });
    setVeskActive(true);
    unsaved.startNewSession();
    scheduler.advance(5);
    EXPECT_EQ(unsaved.recentSessions().size(), 1u);
    EXPECT_EQ(sent, std::vector<SentSignal>{newInstall});
    EXPECT_EQ(kept->dictionaryRepresentation().keys(), QStringList{"distinctDaysUsed"});
    EXPECT_EQ(kept->stringArrayForKey("distinctDaysUsed"), QStringList{"2025-12-01"});
    EXPECT_EQ(unsaved.payloadEntries().at("Telemetry.Retention.distinctDaysUsed"), "0");
    EXPECT_EQ(unsaved.payloadEntries().at("Telemetry.Retention.totalSessionsCount"), "1");
}

TEST(StoredSession, ListsAreWholeSecondsSince1970)
{
    const std::vector<StoredSession> sessions{
        {QDateTime::fromMSecsSinceEpoch(1700000000999, Qt::UTC), 12},
        {QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC), 3},
    };
    EXPECT_EQ(StoredSession::encodeList(sessions), R"([{"dn":12,"st":1700000000},{"dn":3,"st":-62135596800}])");
    EXPECT_EQ(StoredSession::decodeList(R"([{"st":1700000000.5,"dn":12}])"),
              (std::vector<StoredSession>{{QDateTime::fromMSecsSinceEpoch(1700000000500, Qt::UTC), 12}}));
    EXPECT_EQ(StoredSession::decodeList(R"([{"st":1700000000,"dn":1.5}])"), std::nullopt);
    EXPECT_EQ(StoredSession::decodeList(R"([{"dn":1}])"), std::nullopt);
}

} // namespace
