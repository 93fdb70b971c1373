#include "analytics/client/SignalDateCoding.h"

#include <QLocale>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

using namespace vesk::telemetry;

namespace {

// Runs with the process's time zone and default locale changed, and restores both.
class ForeignTimeZoneAndLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedTZ_ = qgetenv("TZ");
        hadTZ_ = qEnvironmentVariableIsSet("TZ");
        qputenv("TZ", "Asia/Kolkata");
        tzset();
        QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    }

    void TearDown() override
    {
        if (hadTZ_)
            qputenv("TZ", savedTZ_);
        else
            qunsetenv("TZ");
        tzset();
        QLocale::setDefault(QLocale::c());
    }

private:
    QByteArray savedTZ_;
    bool hadTZ_ = false;
};

TEST_F(ForeignTimeZoneAndLocale, WireDatesAreUtcWholeSecondsWithAFixedOffset)
{
    const QDateTime utc(QDate(2024, 3, 5), QTime(14, 7, 9, 870), Qt::UTC);
    EXPECT_EQ(wireDateText(utc), "2024-03-05T14:07:09+0000");
    EXPECT_EQ(wireDateText(utc.toLocalTime()), "2024-03-05T14:07:09+0000");
    EXPECT_EQ(wireDateText(utc.toTimeZone(QTimeZone("America/St_Johns"))), "2024-03-05T14:07:09+0000");
}

TEST(SignalDateCoding, WireTextsReadBackWithTheirOffset)
{
    EXPECT_EQ(dateFromWireText("2024-03-05T14:07:09+0000"), QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9), Qt::UTC));
    EXPECT_EQ(dateFromWireText("2024-03-05T19:37:09+0530"), QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9), Qt::UTC));
    EXPECT_EQ(dateFromWireText("2024-03-05T10:37:09-0330"), QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9), Qt::UTC));
    for (const char* bad : {"2024-03-05T14:07:09Z", "2024-03-05 14:07:09+0000", "2024-02-30T14:07:09+0000", ""})
        EXPECT_EQ(dateFromWireText(bad), std::nullopt) << bad;
}

TEST(SignalDateCoding, CacheDatesCountSecondsFromTheStartOf2001)
{
    EXPECT_EQ(secondsSinceReferenceDate(QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC)), 0.0);
    EXPECT_EQ(secondsSinceReferenceDate(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9, 250), Qt::UTC)), 731340429.25);
    EXPECT_EQ(secondsSinceReferenceDate(QDateTime(QDate(2000, 12, 31), QTime(23, 59, 59), Qt::UTC)), -1.0);
    EXPECT_EQ(dateFromSecondsSinceReferenceDate(731340429.25),
              QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9, 250), Qt::UTC));
}

} // namespace
