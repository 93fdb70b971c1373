#include "analytics/client/LogHandler.h"
#include "LogCapture.h"

#include <gtest/gtest.h>

#include <vector>

using vesk::telemetry::LogHandler;
using Level = LogHandler::LogLevel;

namespace {

struct FilterCase {
    Level handlerLevel;
    std::vector<Level> passed;
};

class LogHandlerFilter : public ::testing::TestWithParam<FilterCase> { };

TEST_P(LogHandlerFilter, PassesOnlyLinesAtOrAboveItsLevel)
{
    std::vector<Level> received;
    const LogHandler handler(GetParam().handlerLevel, [&](Level level, const QString&) { received.push_back(level); });
    int built = 0;
    for (Level level : {Level::debug, Level::info, Level::error})
        handler.log(level, [&] {
            ++built;
            return QStringLiteral("line");
        });
    EXPECT_EQ(received, GetParam().passed);
    // A message is built only when it will be passed on.
    EXPECT_EQ(built, static_cast<int>(GetParam().passed.size()));
}

INSTANTIATE_TEST_SUITE_P(Levels, LogHandlerFilter,
                         ::testing::Values(FilterCase{Level::debug, {Level::debug, Level::info, Level::error}},
                                           FilterCase{Level::info, {Level::info, Level::error}},
                                           FilterCase{Level::error, {Level::error}}));

TEST(LogHandler, LevelsHaveTheirRawValuesAndTexts)
{
    EXPECT_EQ(LogHandler::levelFromRaw(0), Level::debug);
    EXPECT_EQ(LogHandler::levelFromRaw(1), Level::info);
    EXPECT_EQ(LogHandler::levelFromRaw(2), Level::error);
    EXPECT_EQ(LogHandler::levelFromRaw(3), std::nullopt);
    EXPECT_EQ(LogHandler::levelFromRaw(-1), std::nullopt);
    EXPECT_EQ(LogHandler::levelText(Level::debug), "DEBUG");
    EXPECT_EQ(LogHandler::levelText(Level::info), "INFO");
    EXPECT_EQ(LogHandler::levelText(Level::error), "ERROR");
}

TEST(LogHandler, PrintOutputWritesOneTaggedLineToStandardOutput)
{
    ::testing::internal::CaptureStdout();
    LogHandler(Level::debug, &LogHandler::printOutput).log(Level::error, [] { return QStringLiteral("x"); });
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "[Telemetry: ERROR] x\n");
}

TEST(LogHandler, StandardHandlerWritesToTheSystemLogFromInfoOn)
{
    vesk::test::LogCapture capture;
    const LogHandler handler = LogHandler::standard(Level::info);
    EXPECT_EQ(handler.logLevel(), Level::info);
    handler.log(Level::debug, [] { return QStringLiteral("hidden"); });
    handler.log(Level::info, [] { return QStringLiteral("Loaded 3 signals"); });
    handler.log(Level::error, [] { return QStringLiteral("Error saving Telemetry cache"); });

    const auto entries = capture.entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].category, "Telemetry.LogHandler");
    EXPECT_EQ(entries[0].type, QtInfoMsg);
    EXPECT_EQ(entries[0].message, "Loaded 3 signals");
    EXPECT_EQ(entries[1].type, QtCriticalMsg);
    EXPECT_EQ(entries[1].message, "Error saving Telemetry cache");
}

TEST(LogHandler, WithoutAHandlerTheLineIsDroppedUnbuilt)
{
    bool built = false;
    vesk::telemetry::logWith(std::nullopt, Level::error, [&] {
        built = true;
        return QString();
    });
    EXPECT_FALSE(built);
}

} // namespace
