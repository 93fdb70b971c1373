#include "analytics/AnalyticsEvent.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace vesk;

TEST(AnalyticsBucketTest, DurationBucketsPutEachLowerEdgeIntoTheHigherBucket)
{
    const std::pair<qint64, QString> cases[] = {
        {-5, "<15m"},     {0, "<15m"},      {899, "<15m"},  {900, "15-30m"}, {1799, "15-30m"},
        {1800, "30-60m"}, {3599, "30-60m"}, {3600, "1-2h"}, {7199, "1-2h"},  {7200, ">2h"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(label(analyticsDurationBucket(seconds)), text) << seconds;
}

TEST(AnalyticsBucketTest, SetupAndMonitorBuckets)
{
    const std::pair<qint64, QString> setup[] = {
        {0, "<10s"}, {9, "<10s"}, {10, "10-30s"}, {29, "10-30s"}, {30, "30-60s"}, {59, "30-60s"}, {60, ">60s"},
    };
    for (const auto& [seconds, text] : setup)
        EXPECT_EQ(label(setupDurationBucket(seconds)), text) << seconds;

    const std::pair<qint64, QString> monitors[] = {{0, "1"}, {1, "1"}, {2, "2"}, {3, "3+"}, {4, "3+"}};
    for (const auto& [count, text] : monitors)
        EXPECT_EQ(label(monitorCountBucket(count)), text) << count;
}

TEST(AnalyticsEventTest, SignalNamesAndParameters)
{
    const AnalyticsEvent started = AnalyticsEvent::SessionStarted{
        AnalyticsDurationBucket::from1To2Hours, 3,       true, SetupDurationBucket::over60Seconds,
        MonitorCountBucket::threeOrMore,        "split", false};
    EXPECT_EQ(started.signalName(), "session.started");
    EXPECT_EQ(started.parameters(), (std::map<QString, QString>{
                                        {"plannedDurationBucket", "1-2h"},
                                        {"allowedAppCount", "3"},
                                        {"hardcore", "true"},
                                        {"setupDurationBucket", ">60s"},
                                        {"monitorCountBucket", "3+"},
                                        {"stageMode", "split"},
                                        {"hasGoal", "false"},
                                    }));

    const AnalyticsEvent ended = AnalyticsEvent::SessionEnded{"timerExpired", AnalyticsDurationBucket::over2Hours, 2};
    EXPECT_EQ(ended.signalName(), "session.ended");
    EXPECT_EQ(ended.parameters(), (std::map<QString, QString>{
                                      {"endReason", "timerExpired"},
                                      {"actualDurationBucket", ">2h"},
                                      {"dynamicallyAddedCount", "2"},
                                  }));

    const AnalyticsEvent launched = AnalyticsEvent::AppLaunched{false};
    EXPECT_EQ(launched.signalName(), "app.launched");
    EXPECT_EQ(launched.parameters(), (std::map<QString, QString>{{"accessibilityGranted", "false"}}));
}

TEST(AnalyticsEventTest, ReflectionEventsCarryOnlyTheGivenAnswers)
{
    const AnalyticsEvent onlyGoal = AnalyticsEvent::ReflectionAnswered{GoalStatus::partial, std::nullopt, std::nullopt};
    EXPECT_EQ(onlyGoal.parameters(), (std::map<QString, QString>{{"goalStatus", "partial"}}));

    const AnalyticsEvent all = AnalyticsEvent::ReflectionAnswered{GoalStatus::failed, VeskHelpful::somewhat,
                                                                  ReflectionReasonCategory::technicalProblem};
    EXPECT_EQ(all.parameters(), (std::map<QString, QString>{
                                    {"goalStatus", "failed"},
                                    {"veskHelpful", "somewhat"},
                                    {"reasonCategory", "technicalProblem"},
                                }));

    const AnalyticsEvent nothing = AnalyticsEvent::ReflectionAnswered{};
    const AnalyticsEvent skipped = AnalyticsEvent::ReflectionSkipped{};
    EXPECT_EQ(nothing.signalName(), "reflection.answered");
    EXPECT_TRUE(nothing.parameters().empty());
    EXPECT_EQ(skipped.signalName(), "reflection.skipped");
    EXPECT_TRUE(skipped.parameters().empty());
    EXPECT_NE(nothing, skipped);
}

TEST(ReflectionReasonCategoryTest, RawTextsRoundTripExactly)
{
    const QStringList raw = {"distractionGotThrough", "veskDisturbed", "goalUnclear", "technicalProblem", "other"};
    const auto all = allCases<ReflectionReasonCategory>();
    ASSERT_EQ(all.size(), static_cast<std::size_t>(raw.size()));
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(toRaw(all[i]), raw[qsizetype(i)]);
        EXPECT_EQ(fromRaw<ReflectionReasonCategory>(raw[qsizetype(i)]), all[i]);
    }
    EXPECT_FALSE(fromRaw<ReflectionReasonCategory>("Other"));
    EXPECT_FALSE(fromRaw<ReflectionReasonCategory>(""));
}
