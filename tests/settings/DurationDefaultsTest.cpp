#include "settings/DurationDefaults.h"

#include <QSet>
#include <QString>
#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(DurationDefaults, ListsTheFiveChoicesInOrder)
{
    const auto& options = DurationDefaults::options();
    ASSERT_EQ(options.size(), 5u);
    const std::vector<std::tuple<QString, qint64, std::optional<int>>> expected{
        {"15 Min", 900, 15},
        {"30 Min", 1800, 30},
        {"60 Min", 3600, 60},
        {"120 Min", 7200, 120},
        {"Unbegrenzt", 0, std::nullopt},
    };
    for (size_t i = 0; i < options.size(); ++i) {
        EXPECT_EQ(QString::fromUtf8(options[i].label), std::get<0>(expected[i]));
        EXPECT_EQ(options[i].seconds, std::get<1>(expected[i]));
        EXPECT_EQ(options[i].minutes, std::get<2>(expected[i]));
    }
    EXPECT_EQ(&options, &DurationDefaults::options());
}

TEST(DurationDefaults, MinutesOnlyForTheListedTimedChoices)
{
    const std::vector<std::pair<qint64, std::optional<int>>> cases{
        {900, 15},           {1800, 30},           {3600, 60},           {7200, 120},
        {0, std::nullopt},   {1200, std::nullopt}, {2700, std::nullopt}, {-900, std::nullopt},
        {901, std::nullopt},
    };
    for (const auto& [seconds, minutes] : cases)
        EXPECT_EQ(DurationDefaults::minutes(seconds), minutes) << seconds;
}

TEST(DurationDefaults, OptionsAreTheSameChoiceWhenTheirSecondsAre)
{
    const DurationDefaults::Option a{"15 Min", 900, 15};
    const DurationDefaults::Option b{"Viertelstunde", 900, std::nullopt};
    const DurationDefaults::Option c{"15 Min", 1800, 15};
    EXPECT_EQ(a, b);
    EXPECT_EQ(qHash(a), qHash(b));
    EXPECT_FALSE(a == c);
    EXPECT_EQ((QSet<DurationDefaults::Option>{a, b, c}).size(), 2);
}

} // namespace
} // namespace vesk
