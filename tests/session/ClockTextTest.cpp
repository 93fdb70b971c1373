#include "session/ClockText.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(ClockTextTest, ElapsedTimeAlwaysShowsHoursMinutesAndSeconds)
{
    const QDateTime start(QDate(2026, 3, 5), QTime(10, 0), Qt::UTC);
    const std::vector<std::pair<qint64, QString>> cases = {
        {0, "00:00:00"},       {1000, "00:00:01"},    {1499, "00:00:01"},  {1500, "00:00:02"},
        {3599000, "00:59:59"}, {3600000, "01:00:00"}, {-2000, "00:00:00"}, {360000000, "100:00:00"},
    };
    for (const auto& [milliseconds, text] : cases)
        EXPECT_EQ(clockText(start, start.addMSecs(milliseconds)), text) << milliseconds;
}

TEST(ClockTextTest, MinutesAndSecondsLeaveMinutesUncapped)
{
    EXPECT_EQ(minutesSecondsText(0), "00:00");
    EXPECT_EQ(minutesSecondsText(725), "12:05");
    EXPECT_EQ(minutesSecondsText(125 * 60 + 7), "125:07");
    EXPECT_EQ(minutesSecondsText(-1), "00:00");
}

} // namespace
} // namespace vesk
