#include "enforcement/DockPreferenceValue.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

#include <cmath>

using namespace vesk;

namespace {

const DockPreferenceValue kBoolKind{true};
const DockPreferenceValue kFloatKind{1000.0};

struct ParseCase {
    const char* name;
    QString output;
    DockPreferenceValue expectedKind;
    DockPreferenceValue parsed;
};

class DockPreferenceParseTest : public ::testing::TestWithParam<ParseCase> { };

TEST_P(DockPreferenceParseTest, ReadsTheToolsOutputAsTheKindOfTheForcedValue)
{
    EXPECT_EQ(DockPreferenceValue::parse(GetParam().output, GetParam().expectedKind), GetParam().parsed);
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, DockPreferenceParseTest,
    ::testing::Values(
        ParseCase{"one", "1\n", kBoolKind, {true}}, ParseCase{"zero", "0\n", kBoolKind, {false}},
        ParseCase{"trueWord", " TRUE \n", kBoolKind, {true}}, ParseCase{"yes", "yes", kBoolKind, {true}},
        ParseCase{"no", "No\n", kBoolKind, {false}},
        ParseCase{"numberForBool", "2\n", kBoolKind, {QStringLiteral("2")}},
        ParseCase{"textForBool", "  on \n", kBoolKind, {QStringLiteral("on")}},
        ParseCase{"fraction", "0.5\n", kFloatKind, {0.5}}, ParseCase{"whole", "1000\n", kFloatKind, {1000.0}},
        ParseCase{"exponent", "1e3", kFloatKind, {1000.0}},
        ParseCase{"trailingText", "0.5s\n", kFloatKind, {QStringLiteral("0.5s")}},
        ParseCase{"commaDecimal", "0,5", kFloatKind, {QStringLiteral("0,5")}},
        ParseCase{"emptyForFloat", "\n", kFloatKind, {QString()}},
        ParseCase{"rawStaysRaw", " left\n", DockPreferenceValue{QStringLiteral("x")}, {QStringLiteral("left")}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(DockPreferenceValueTest, WritesAndDescriptionsUseSixSignificantDigits)
{
    EXPECT_EQ(DockPreferenceValue{1000.0}.writeArguments(), (QStringList{"-float", "1000"}));
    EXPECT_EQ(DockPreferenceValue{0.5}.writeArguments(), (QStringList{"-float", "0.5"}));
    EXPECT_EQ(DockPreferenceValue{0.123456789}.writeArguments(), (QStringList{"-float", "0.123457"}));
    EXPECT_EQ(DockPreferenceValue{true}.writeArguments(), (QStringList{"-bool", "true"}));
    EXPECT_EQ(DockPreferenceValue{false}.writeArguments(), (QStringList{"-bool", "false"}));
    // Text goes without a type flag, so the tool stores it as text.
    EXPECT_EQ(DockPreferenceValue{QStringLiteral("2")}.writeArguments(), QStringList{"2"});
    EXPECT_EQ(DockPreferenceValue{1000.0}.description(), "1000");
    EXPECT_EQ(DockPreferenceValue{false}.description(), "false");
}

TEST(DockPreferenceValueTest, EachKindHasItsJsonForm)
{
    const auto text = [](const DockPreferenceValue& value) {
        return QJsonDocument(std::get<QJsonObject>(value.toJson(QString()))).toJson(QJsonDocument::Compact);
    };
    EXPECT_EQ(text({false}), R"({"bool":{"_0":false}})");
    EXPECT_EQ(text({1000.0}), R"({"float":{"_0":1000}})");
    EXPECT_EQ(text({QStringLiteral("2")}), R"({"raw":{"_0":"2"}})");
    const auto infinite = DockPreferenceValue{INFINITY}.toJson(QStringLiteral("autohide-delay"));
    EXPECT_EQ(std::get<QString>(infinite), "Unable to encode inf directly in JSON. — codingPath=autohide-delay.float");
    for (const DockPreferenceValue& value :
         {DockPreferenceValue{true}, DockPreferenceValue{0.25}, DockPreferenceValue{QStringLiteral("left")}}) {
        const auto decoded = DockPreferenceValue::fromJson(std::get<QJsonObject>(value.toJson(QString())), QString());
        EXPECT_EQ(std::get<DockPreferenceValue>(decoded), value);
    }
}

} // namespace
