#include "screens/FocusSessionStatistics.h"
#include "SessionRecords.h"
#include "core/ManualScheduler.h"

#include <gtest/gtest.h>

namespace vesk::test {
namespace {

using Sessions = std::vector<std::shared_ptr<FocusSession>>;

std::shared_ptr<FocusSession> answered(std::optional<GoalStatus> goal, std::optional<VeskHelpful> helpful,
                                       std::optional<QString> note = std::nullopt)
{
    auto session = finishedSession(utc(2026, 3, 5, 10, 0), 600);
    session->goalStatus = goal;
    session->veskHelpful = helpful;
    session->goalNote = std::move(note);
    return session;
}

class FocusSessionStatisticsTest : public ::testing::Test {
protected:
    FocusSessionStatistics statistics(const Sessions& sessions) { return computeHistoryStatistics(sessions, clock); }
    ManualScheduler clock{utc(2026, 3, 5, 12, 0)};
};

TEST_F(FocusSessionStatisticsTest, NoSessionsGiveZerosAndADash)
{
    const auto empty = statistics({});
    EXPECT_EQ(empty, FocusSessionStatistics{});
    EXPECT_EQ(empty.percentText(), "—");
    EXPECT_EQ(empty.focusMinutesText(), "0 min");
    EXPECT_EQ(empty.outcomeCountsText(), "0 · 0 · 0");
}

TEST_F(FocusSessionStatisticsTest, CountsEachAnswerAndOnlyRealAnswersCountAsAnswered)
{
    const auto result = statistics({
        answered(GoalStatus::done, VeskHelpful::yes),
        answered(GoalStatus::done, std::nullopt),
        answered(GoalStatus::partial, VeskHelpful::no),
        answered(std::nullopt, VeskHelpful::somewhat),
        answered(std::nullopt, std::nullopt, QStringLiteral("Notiz")),
        answered(std::nullopt, std::nullopt, QStringLiteral(" \n ")),
        answered(std::nullopt, std::nullopt),
    });
    EXPECT_EQ(result.sessionCount, 7);
    EXPECT_EQ(result.answeredCount, 5);
    EXPECT_EQ(result.doneCount, 2);
    EXPECT_EQ(result.partialCount, 1);
    EXPECT_EQ(result.failedCount, 0);
    EXPECT_EQ(result.helpfulYesCount, 1);
    EXPECT_EQ(result.helpfulSomewhatCount, 1);
    EXPECT_EQ(result.helpfulNoCount, 1);
    EXPECT_EQ(result.outcomeCountsText(), "2 · 1 · 0");
    EXPECT_EQ(result.totalFocusSeconds, 7 * 600);
}

TEST_F(FocusSessionStatisticsTest, TheScoreIsThePlainMeanOfTheAnswersInWholePercent)
{
    struct Case {
        std::vector<VeskHelpful> answers;
        double score;
        QString text;
    };
    const std::vector<Case> cases = {
        {{VeskHelpful::yes, VeskHelpful::somewhat, VeskHelpful::no}, 0.5, "50 %"},
        {{VeskHelpful::yes, VeskHelpful::yes, VeskHelpful::somewhat}, 5.0 / 6.0, "83 %"},
        {{VeskHelpful::yes}, 1.0, "100 %"},
        {{VeskHelpful::no}, 0.0, "0 %"},
    };
    for (const Case& c : cases) {
        Sessions sessions;
        for (VeskHelpful answer : c.answers)
            sessions.push_back(answered(std::nullopt, answer));
        sessions.push_back(answered(GoalStatus::done, std::nullopt)); // no helpfulness answer: not in the mean
        const auto result = statistics(sessions);
        ASSERT_TRUE(result.helpfulScore);
        EXPECT_NEAR(*result.helpfulScore, c.score, 1e-12);
        EXPECT_EQ(result.percentText(), c.text);
    }
    FocusSessionStatistics eighth;
    eighth.helpfulScore = 0.125;
    EXPECT_EQ(eighth.percentText(), "13 %");
}

TEST_F(FocusSessionStatisticsTest, FocusTimeInMinutesBelowAnHourThenInHoursWithAGermanDecimal)
{
    // A tie between two tenths of an hour (4500 s = 1.25 h, 6300 s = 1.75 h)
    // goes to the even tenth.
    const std::vector<std::pair<qint64, QString>> cases = {
        {0, "0 min"},  {119, "1 min"},  {3599, "59 min"}, {3600, "1 h"},       {3779, "1 h"},
        {3780, "1 h"}, {3781, "1,1 h"}, {4500, "1,2 h"},  {5400, "1,5 h"},     {6300, "1,8 h"},
        {7200, "2 h"}, {7199, "2 h"},   {36000, "10 h"},  {3600000, "1000 h"}, {3600 * 12345, "12345 h"},
    };
    for (const auto& [seconds, text] : cases) {
        FocusSessionStatistics figures;
        figures.totalFocusSeconds = seconds;
        EXPECT_EQ(figures.focusMinutesText(), text) << seconds;
    }
}

TEST_F(FocusSessionStatisticsTest, RunningAndOpenEndedSessionsCountUpToNow)
{
    auto openEnded = finishedSession(clock.now().addSecs(-900), 0);
    openEnded->endedAt.reset();
    openEnded->durationSeconds = 0;
    auto planned = finishedSession(clock.now().addSecs(-60), 0);
    planned->endedAt.reset();
    planned->durationSeconds = 1800;
    auto endedEarly = finishedSession(utc(2026, 3, 5, 9, 0), 300);
    endedEarly->durationSeconds = 3600;
    EXPECT_EQ(statistics({openEnded, planned, endedEarly}).totalFocusSeconds, 900 + 1800 + 300);
}

} // namespace
} // namespace vesk::test
