#include "update/UpdatePanelText.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <limits>

namespace vesk {
namespace {

const QString fallback = QStringLiteral("Diese Version enthält Verbesserungen und Fehlerbehebungen.");

struct NotesCase {
    const char* name;
    std::optional<QString> html;
    QStringList lines;
};

class ReleaseNotesLinesTest : public ::testing::TestWithParam<NotesCase> { };

TEST_P(ReleaseNotesLinesTest, GivesTheLinesThePanelLists)
{
    EXPECT_EQ(releaseNotesLines(GetParam().html), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Notes, ReleaseNotesLinesTest,
    ::testing::Values(
        NotesCase{"List", QStringLiteral("<ul><li>Schneller</li><li>Stabiler</li></ul>"), {"Schneller", "Stabiler"}},
        NotesCase{"SelfClosingBreak", QStringLiteral("A<br/>B"), {"A", "B"}},
        NotesCase{"EveryBreakForm", QStringLiteral("A<br>B<br />C\nD"), {"A", "B", "C", "D"}},
        NotesCase{"Paragraph", QStringLiteral("<p>Text</p>"), {"Text"}},
        NotesCase{"UpperCaseBreakIsOnlyATag", QStringLiteral("A<BR>B"), {"AB"}},
        NotesCase{"LoneClosingBracket", QStringLiteral("a > b"), {"a  b"}},
        NotesCase{"LoneOpeningBracket", QStringLiteral("a < b"), {"a"}},
        NotesCase{"EntitiesStay", QStringLiteral("<li>Fish &amp; Chips</li>"), {"Fish &amp; Chips"}},
        NotesCase{"BlankItemsDropped", QStringLiteral("<li>  Eins </li><li> </li>\n\n<li>Zwei</li>"), {"Eins", "Zwei"}},
        NotesCase{"OnlyTagsAndSpaces", QStringLiteral("<ul> <li> </li>\n <br/> </ul>"), {fallback}},
        NotesCase{"Empty", QString(), {fallback}}, NotesCase{"Missing", std::nullopt, {fallback}}),
    [](const ::testing::TestParamInfo<NotesCase>& testCase) { return std::string(testCase.param.name); });

TEST(StripHTMLTagsTest, DropsTagsAndBothBrackets)
{
    EXPECT_EQ(stripHTMLTags(QStringLiteral("<b>fett</b> und <i>schräg</i>")), QStringLiteral("fett und schräg"));
    EXPECT_EQ(stripHTMLTags(QStringLiteral("1 > 0")), QStringLiteral("1  0"));
    EXPECT_EQ(stripHTMLTags(QStringLiteral("ende <offen")), QStringLiteral("ende "));
    EXPECT_EQ(stripHTMLTags(QStringLiteral("a <x> b > c")), QStringLiteral("a  b  c"));
}

struct PercentCase {
    double progress;
    long long percent;
};

class RoundedPercentTest : public ::testing::TestWithParam<PercentCase> { };

TEST_P(RoundedPercentTest, RoundsHalvesAwayFromZero)
{
    EXPECT_EQ(roundedPercent(GetParam().progress), GetParam().percent) << GetParam().progress;
}

INSTANTIATE_TEST_SUITE_P(Percent, RoundedPercentTest,
                         ::testing::Values(PercentCase{0, 0}, PercentCase{0.004, 0}, PercentCase{0.005, 1},
                                           PercentCase{0.454, 45}, PercentCase{0.455, 46}, PercentCase{0.995, 100},
                                           PercentCase{1.0, 100},
                                           PercentCase{std::numeric_limits<double>::quiet_NaN(), 0}));

TEST(MegabyteTextTest, DecimalMegabytesInTheLocalesForm)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(megabyteText(18'350'080, german), QStringLiteral("18,4 MB"));
    EXPECT_EQ(megabyteText(0, german), QStringLiteral("0,0 MB"));
    EXPECT_EQ(megabyteText(200'000, german), QStringLiteral("0,2 MB"));
    EXPECT_EQ(megabyteText(123'456'789, german), QStringLiteral("123 MB"));
    EXPECT_EQ(megabyteText(1'234'567'890, german), QStringLiteral("1.235 MB")) << "megabytes only, never gigabytes";
    EXPECT_EQ(megabyteText(18'350'080, QLocale(QLocale::English, QLocale::UnitedStates)), QStringLiteral("18.4 MB"));
    EXPECT_EQ(megabyteText(std::numeric_limits<std::int64_t>::max(), german).right(3), QStringLiteral(" MB"));
}

} // namespace
} // namespace vesk
